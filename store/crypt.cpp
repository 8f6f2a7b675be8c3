#include "store/crypt.h"

#include <algorithm>
#include <cstring>

#include "store/date.h"
#include "store/des_tables.h"
#include "store/random.h"

// How the fast form relates to the table steps.
//
// Every table step complements what it selects. Carried through the rounds, the complements of
// IP, of the expansion and of IP^-1 cancel against each other once the halves are kept
// complemented (L' = ~L, R' = ~R): then L'R' = IP(block), a round is R'_next = L' ^ f with
// f = ~P(S(E_salted(R') ^ K)), and the output is IP^-1(R'L'). Only the complement of P remains,
// and it is folded into the first S-box table. The key schedule's two complements cancel too,
// so the subkeys are plain DES subkeys.
//
// The halves live rotated left by one bit during the rounds, so that all eight 6-bit groups of the
// expansion can be cut from two rotations of R without moving single bits: the odd groups (S2, S4,
// S6, S8) sit in the low word, the even ones in the high word of a 64-bit value, each in the low
// six bits of a byte. A group and the group four further on sit 16 bits apart there, so the salt's
// swaps of expansion entries become a mask that takes the swapped bits from a copy of that value
// with each half turned by 16 bits.
//
// Lines are enciphered independently block by block (there is no chaining), so several blocks go
// through the rounds side by side.

namespace torvane {

const char TextAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
const char kFixedKeyText[] = "R4%vLq8#Tz1!";

namespace {

// Bit offset, in the 64-bit round value, of the low end of each S-box's 6-bit group.
constexpr int kSlot[8] = {56, 24, 48, 16, 40, 8, 32, 0};

struct FastTables {
    uint32_t sp[8][64];    // S-box then P, in the rotated form the rounds keep
    uint64_t pc1[16][16];  // a nibble of the key block -> its bits in C (bits 55..28) and D (27..0)
    uint64_t pc2[8][128];  // seven bits of CD -> subkey bits in the round layout
    uint32_t value[256];   // a character's position in TextAlphabet, all bits set when absent
};

constexpr uint32_t Rotl(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}
constexpr uint32_t Rotr(uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

uint32_t Permute32(const uint8_t* table, int n, uint32_t x) {
    uint32_t out = 0;
    for (int i = 0; i < n; ++i) out = (out << 1) | ((x >> (32 - table[i])) & 1u);
    return out;
}

FastTables BuildTables() {
    FastTables t{};
    for (int box = 0; box < 8; ++box) {
        for (int index = 0; index < 64; ++index) {
            const int row = ((index >> 4) & 2) | (index & 1);
            const int column = (index >> 1) & 15;
            const uint32_t s = static_cast<uint32_t>(des::kS[box][row][column]) << (28 - 4 * box);
            t.sp[box][index] = Rotl(Permute32(des::kP, 32, s), 1);
            if (box == 0) t.sp[box][index] = ~t.sp[box][index];
        }
    }
    for (int i = 0; i < 56; ++i) {
        const int source = des::kPC1[i] - 1;  // 0 = most significant bit of the key block
        for (int v = 0; v < 16; ++v) {
            if (v & (8 >> (source % 4))) t.pc1[source / 4][v] |= uint64_t{1} << (55 - i);
        }
    }
    for (int i = 0; i < 48; ++i) {
        const int source = des::kPC2[i] - 1;  // 0 = most significant bit of CD
        const int place = kSlot[i / 6] + 5 - i % 6;
        for (int v = 0; v < 128; ++v) {
            if (v & (64 >> (source % 7))) t.pc2[source / 7][v] |= uint64_t{1} << place;
        }
    }
    std::memset(t.value, 0xFF, sizeof t.value);
    for (int i = 0; i < 65; ++i) t.value[static_cast<uint8_t>(TextAlphabet[i])] = static_cast<uint32_t>(i);
    return t;
}

const FastTables& Tables() {
    static const FastTables tables = BuildTables();
    return tables;
}

uint32_t LoadLittle(const uint8_t* p) {
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void StoreLittle(uint32_t x, uint8_t* p) {
    p[0] = static_cast<uint8_t>(x);
    p[1] = static_cast<uint8_t>(x >> 8);
    p[2] = static_cast<uint8_t>(x >> 16);
    p[3] = static_cast<uint8_t>(x >> 24);
}

uint32_t SwapBytes(uint32_t x) {
    return (x >> 24) | ((x >> 8) & 0xFF00u) | ((x << 8) & 0xFF0000u) | (x << 24);
}

// IP as five swaps of bit groups between the halves (Outerbridge's form); leaves both halves
// rotated left by one.
inline void InitialPermutation(uint32_t& left, uint32_t& right) {
    uint32_t w = ((left >> 4) ^ right) & 0x0F0F0F0Fu;
    right ^= w;
    left ^= w << 4;
    w = ((left >> 16) ^ right) & 0x0000FFFFu;
    right ^= w;
    left ^= w << 16;
    w = ((right >> 2) ^ left) & 0x33333333u;
    left ^= w;
    right ^= w << 2;
    w = ((right >> 8) ^ left) & 0x00FF00FFu;
    left ^= w;
    right ^= w << 8;
    right = Rotl(right, 1);
    w = (left ^ right) & 0xAAAAAAAAu;
    left ^= w;
    right ^= w;
    left = Rotl(left, 1);
}

// IP^-1 of R L from the rotated halves; the inverse of the steps above.
inline void FinalPermutation(uint32_t left, uint32_t right, uint32_t& hi, uint32_t& lo) {
    right = Rotr(right, 1);
    uint32_t w = (left ^ right) & 0xAAAAAAAAu;
    left ^= w;
    right ^= w;
    left = Rotr(left, 1);
    w = ((left >> 8) ^ right) & 0x00FF00FFu;
    right ^= w;
    left ^= w << 8;
    w = ((left >> 2) ^ right) & 0x33333333u;
    right ^= w;
    left ^= w << 2;
    w = ((right >> 16) ^ left) & 0x0000FFFFu;
    left ^= w;
    right ^= w << 16;
    w = ((right >> 4) ^ left) & 0x0F0F0F0Fu;
    left ^= w;
    right ^= w << 4;
    hi = right;
    lo = left;
}

// The salt's swaps take each swapped bit from a copy of the value with its halves turned by 16 bits;
// both copies come straight from r, so the swap adds little to the round's chain of dependencies.
inline uint32_t Feistel(const uint32_t (*sp)[64], uint32_t r, uint64_t subKey, uint64_t swapped) {
    const uint64_t plain = static_cast<uint64_t>(Rotr(r, 4)) << 32 | r;
    const uint64_t turned = static_cast<uint64_t>(Rotr(r, 20)) << 32 | Rotr(r, 16);
    const uint64_t w = ((plain & ~swapped) | (turned & swapped)) ^ subKey;
    return sp[0][(w >> 56) & 63] ^ sp[1][(w >> 24) & 63] ^ sp[2][(w >> 48) & 63] ^ sp[3][(w >> 16) & 63] ^
           sp[4][(w >> 40) & 63] ^ sp[5][(w >> 8) & 63] ^ sp[6][(w >> 32) & 63] ^ sp[7][w & 63];
}

// The block function on N blocks at once, each as its two little-endian halves. The rounds of one
// block wait on each other's table loads; independent blocks side by side fill those waits.
template <int N>
inline void CryptLanes(const uint32_t (*sp)[64], const uint64_t* subKeys, uint64_t swapped, uint32_t* hi,
                       uint32_t* lo) {
    uint32_t left[N];
    uint32_t right[N];
    for (int n = 0; n < N; ++n) {
        left[n] = hi[n];
        right[n] = lo[n];
        InitialPermutation(left[n], right[n]);
    }
    for (int round = 0; round < 16; round += 2) {
        for (int n = 0; n < N; ++n) left[n] ^= Feistel(sp, right[n], subKeys[round], swapped);
        for (int n = 0; n < N; ++n) right[n] ^= Feistel(sp, left[n], subKeys[round + 1], swapped);
    }
    for (int n = 0; n < N; ++n) FinalPermutation(left[n], right[n], hi[n], lo[n]);
}

inline void EncodeValue(uint32_t v, char* out) {
    out[0] = TextAlphabet[v >> 11];
    out[1] = TextAlphabet[(v >> 5) & 63];
    out[2] = TextAlphabet[v & 31];
}

// The four bytes of DecodeQuad as one number, the first byte most significant.
inline uint32_t DecodeValue(const uint32_t* value, const char* six) {
    const auto at = [&](int i) { return value[static_cast<uint8_t>(six[i])]; };
    uint32_t v = at(0);
    v = (v << 6) | at(1);
    v = (v << 5) | at(2);
    v = (v << 5) | at(3);
    v = (v << 6) | at(4);
    v = (v << 5) | at(5);
    return v;
}

// Which expansion entries a salt character swaps: bit j of the result swaps entries j and j + 24
// of its group of six.
uint32_t SaltSwaps(uint8_t c) {
    const uint32_t d = c >> 1;
    return ((d >> 1) & 15) + (d & 32) + ((d & 1) << 4);
}

constexpr int kLanes = 4;  // blocks enciphered side by side

// Block b of a text, the last one padded with zero bytes.
inline void LoadPlain(const uint8_t* text, size_t size, size_t b, uint32_t& hi, uint32_t& lo) {
    uint8_t padded[8] = {};
    const uint8_t* p = text + 8 * b;
    if (size - 8 * b < 8) {
        std::memcpy(padded, p, size - 8 * b);
        p = padded;
    }
    hi = LoadLittle(p);
    lo = LoadLittle(p + 4);
}

// Twelve characters for a block: its bytes in memory order, two at a time, the first of each pair high.
inline void EncodeBlock(uint32_t hi, uint32_t lo, char* out) {
    const uint32_t h = SwapBytes(hi);
    const uint32_t l = SwapBytes(lo);
    EncodeValue(h >> 16, out);
    EncodeValue(h & 0xFFFF, out + 3);
    EncodeValue(l >> 16, out + 6);
    EncodeValue(l & 0xFFFF, out + 9);
}

inline void DecodeBlock(const uint32_t* value, const char* twelve, uint32_t& hi, uint32_t& lo) {
    hi = SwapBytes(DecodeValue(value, twelve));
    lo = SwapBytes(DecodeValue(value, twelve + 6));
}

// A deciphered block's text ends at its first zero byte (the padding of the last block); returns
// how many bytes of the eight written to out count. The zero is found in registers: a call to
// memchr for every eight bytes took longer than deciphering them.
inline size_t StoreText(uint32_t hi, uint32_t lo, char* out) {
    StoreLittle(hi, reinterpret_cast<uint8_t*>(out));
    StoreLittle(lo, reinterpret_cast<uint8_t*>(out) + 4);
    const uint64_t bytes = static_cast<uint64_t>(lo) << 32 | hi;  // byte i of the block at bits 8i
    // The lowest byte flagged here is the first zero byte (higher flags may be false).
    const uint64_t zeros = (bytes - 0x0101010101010101ull) & ~bytes & 0x8080808080808080ull;
    if (zeros == 0) return 8;
    size_t n = 0;
    while (!(zeros >> (8 * n + 7) & 1)) ++n;
    return n;
}

}  // namespace

std::string EncodePair(uint8_t x, uint8_t y) {
    std::string out(3, '\0');
    EncodeValue(static_cast<uint32_t>(x) << 8 | y, &out[0]);
    return out;
}

void DecodeQuad(const char* six, uint8_t out[4]) {
    const uint32_t v = DecodeValue(Tables().value, six);
    out[0] = static_cast<uint8_t>(v >> 24);
    out[1] = static_cast<uint8_t>(v >> 16);
    out[2] = static_cast<uint8_t>(v >> 8);
    out[3] = static_cast<uint8_t>(v);
}

TCrypt::TCrypt() {
    SeedRandom();
    SetKey("");
}

void TCrypt::SetKey(const std::string& key) {
    Key = key.empty() ? std::string(kFixedKeyText) : key;
    Mode = kPass;
    NewSalt();
}

void TCrypt::NewSalt() {
    const TimeOfDay now = Clock().LocalTimeOfDay();
    const uint32_t ms = static_cast<uint32_t>(now.millisecond);
    const uint32_t r1 = RandomBelow(65535);
    const uint32_t r2 = RandomBelow(65535);
    const uint32_t w1 = (static_cast<uint32_t>(now.minute) * 16) ^ ms ^ r1;
    const uint32_t w2 = (static_cast<uint32_t>(now.second) * 16) ^ ms ^ r2;
    const uint32_t v = w1 * 65536 + w2;
    Salt.resize(6);
    EncodeValue((v & 0xFF) << 8 | ((v >> 8) & 0xFF), &Salt[0]);
    EncodeValue(((v >> 16) & 0xFF) << 8 | (v >> 24), &Salt[3]);
}

std::string TCrypt::Process(const std::string& text) {
    switch (Mode) {
        case kEncipher:
            return Encipher(text);
        case kDecipher:
            return Decipher(text);
        default:
            return text;
    }
}

void TCrypt::MakeSubKeys(uint8_t mode) {
    Mode = mode;
    const FastTables& t = Tables();
    // The schedule reads the salt followed by the key as one text.
    const size_t total = Salt.size() + Key.size();
    const auto at = [&](size_t i) -> uint8_t {
        if (i < Salt.size()) return static_cast<uint8_t>(Salt[i]);
        if (i < total) return static_cast<uint8_t>(Key[i - Salt.size()]);
        return 0;
    };

    saltMask_ = 0;
    for (int i = 0; i < 4; ++i) {
        const uint32_t swaps = SaltSwaps(at(i));
        for (int j = 0; j < 6; ++j) {
            if (swaps & (1u << j)) {
                saltMask_ |= uint64_t{1} << (kSlot[i] + 5 - j) | uint64_t{1} << (kSlot[i + 4] + 5 - j);
            }
        }
    }

    uint8_t keyBytes[8];
    const size_t first = total > 8 ? 3 : 0;
    for (size_t i = 0; i < 8; ++i) keyBytes[i] = at(first + i);
    const uint64_t keyBlock = static_cast<uint64_t>(LoadLittle(keyBytes)) << 32 | LoadLittle(keyBytes + 4);

    uint64_t cd = 0;
    for (int n = 0; n < 16; ++n) cd |= t.pc1[n][(keyBlock >> (60 - 4 * n)) & 15];
    uint32_t c = static_cast<uint32_t>(cd >> 28);
    uint32_t d = static_cast<uint32_t>(cd) & 0x0FFFFFFFu;
    for (int step = 0; step < 16; ++step) {
        const int s = des::kKeyShifts[step];
        c = ((c << s) | (c >> (28 - s))) & 0x0FFFFFFFu;
        d = ((d << s) | (d >> (28 - s))) & 0x0FFFFFFFu;
        const uint64_t subKey = t.pc2[0][c >> 21] | t.pc2[1][(c >> 14) & 127] | t.pc2[2][(c >> 7) & 127] |
                                t.pc2[3][c & 127] | t.pc2[4][d >> 21] | t.pc2[5][(d >> 14) & 127] |
                                t.pc2[6][(d >> 7) & 127] | t.pc2[7][d & 127];
        subKeys_[mode == kDecipher ? 15 - step : step] = subKey;
    }
}

void TCrypt::CryptBlock(uint8_t block[8]) const {
    uint32_t hi = LoadLittle(block);
    uint32_t lo = LoadLittle(block + 4);
    CryptLanes<1>(Tables().sp, subKeys_, saltMask_, &hi, &lo);
    StoreLittle(hi, block);
    StoreLittle(lo, block + 4);
}

std::string TCrypt::Encipher(const std::string& text) {
    std::string out;
    EncipherTo(text, out);
    return out;
}

void TCrypt::EncipherTo(std::string_view text, std::string& out) {
    MakeSubKeys(kEncipher);
    if (text.empty()) return;
    const uint32_t(*sp)[64] = Tables().sp;
    const size_t blocks = (text.size() + 7) / 8;
    const size_t at = out.size();
    out.resize(at + Salt.size() + 12 * blocks);
    std::memcpy(&out[at], Salt.data(), Salt.size());
    char* dst = &out[at + Salt.size()];
    const auto* src = reinterpret_cast<const uint8_t*>(text.data());
    // The last group may have unused lanes; they run on zeros and are not written.
    for (size_t b = 0; b < blocks; b += kLanes) {
        const size_t used = std::min<size_t>(kLanes, blocks - b);
        uint32_t hi[kLanes] = {};
        uint32_t lo[kLanes] = {};
        for (size_t n = 0; n < used; ++n) LoadPlain(src, text.size(), b + n, hi[n], lo[n]);
        CryptLanes<kLanes>(sp, subKeys_, saltMask_, hi, lo);
        for (size_t n = 0; n < used; ++n) EncodeBlock(hi[n], lo[n], dst + 12 * (b + n));
    }
}

std::string TCrypt::Decipher(std::string_view line) {
    std::string out;
    DecipherTo(line, out);
    return out;
}

void TCrypt::DecipherTo(std::string_view line, std::string& out) {
    if (line.size() <= 13) {
        out.assign(line);
        return;
    }
    Salt.assign(line.substr(0, 6));
    MakeSubKeys(kDecipher);
    const FastTables& t = Tables();
    const size_t blocks = (line.size() - 6) / 12;
    out.resize(blocks * 8);
    char* dst = &out[0];
    const char* src = line.data() + 6;
    for (size_t b = 0; b < blocks; b += kLanes) {
        const size_t used = std::min<size_t>(kLanes, blocks - b);
        uint32_t hi[kLanes] = {};
        uint32_t lo[kLanes] = {};
        for (size_t n = 0; n < used; ++n) DecodeBlock(t.value, src + 12 * (b + n), hi[n], lo[n]);
        CryptLanes<kLanes>(t.sp, subKeys_, saltMask_, hi, lo);
        for (size_t n = 0; n < used; ++n) dst += StoreText(hi[n], lo[n], dst);
    }
    out.resize(static_cast<size_t>(dst - out.data()));
}

}  // namespace torvane
