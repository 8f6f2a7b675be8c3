#include "tests/core/crypt_reference.h"

#include <algorithm>
#include <utility>

#include "store/crypt.h"
#include "store/des_tables.h"

namespace torvane::reference {
namespace {

int AlphabetValue(char c) {
    for (int i = 0; i < 65; ++i) {
        if (TextAlphabet[i] == c) return i;
    }
    return -1;
}

}  // namespace

std::string ReferenceEncodePair(uint8_t x, uint8_t y) {
    const int v = x * 256 + y;
    return {TextAlphabet[v / 2048], TextAlphabet[(v / 32) % 64], TextAlphabet[v % 32]};
}

void ReferenceDecodeQuad(const char* six, uint8_t out[4]) {
    static const int kWidths[6] = {5, 6, 5, 5, 6, 5};
    uint32_t v = 0;
    for (int i = 0; i < 6; ++i) v = (v << kWidths[i]) | static_cast<uint32_t>(AlphabetValue(six[i]));
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

ReferenceCipher::Bits ReferenceCipher::Select(const uint8_t* table, int n, const Bits& x) const {
    Bits out(n);
    for (int i = 0; i < n; ++i) out[i] = x[table[i] - 1] ^ (options_.complement ? 1 : 0);
    return out;
}

ReferenceCipher::Bits ReferenceCipher::BlockBits(const uint8_t bytes[8]) const {
    Bits bits(64);
    for (int half = 0; half < 2; ++half) {
        const uint8_t* b = bytes + 4 * half;
        const uint32_t number = options_.bigEndian
                                    ? (uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3])
                                    : (uint32_t{b[3]} << 24 | uint32_t{b[2]} << 16 | uint32_t{b[1]} << 8 | b[0]);
        for (int k = 0; k < 32; ++k) bits[32 * half + k] = (number >> (31 - k)) & 1;
    }
    return bits;
}

void ReferenceCipher::StoreBlock(const Bits& bits, uint8_t bytes[8]) const {
    for (int half = 0; half < 2; ++half) {
        uint32_t number = 0;
        for (int k = 0; k < 32; ++k) number = (number << 1) | static_cast<uint32_t>(bits[32 * half + k]);
        for (int i = 0; i < 4; ++i) {
            const int shift = options_.bigEndian ? 24 - 8 * i : 8 * i;
            bytes[4 * half + i] = static_cast<uint8_t>(number >> shift);
        }
    }
}

void ReferenceCipher::ScheduleKeyBlock(const uint8_t key[8], bool decipher) {
    std::copy(des::kE, des::kE + 48, expansion_);
    Bits cd = Select(des::kPC1, 56, BlockBits(key));
    subKeys_.clear();
    for (int step = 0; step < 16; ++step) {
        for (int shift = 0; shift < des::kKeyShifts[step]; ++shift) {
            std::rotate(cd.begin(), cd.begin() + 1, cd.begin() + 28);
            std::rotate(cd.begin() + 28, cd.begin() + 29, cd.end());
        }
        subKeys_.push_back(Select(des::kPC2, 48, cd));
    }
    if (decipher) std::reverse(subKeys_.begin(), subKeys_.end());
}

void ReferenceCipher::Schedule(const std::string& salt, const std::string& key, bool decipher) {
    std::string s = salt + key;
    if (s.size() > 8) s.erase(0, 3);
    uint8_t keyBytes[8] = {};
    std::copy_n(s.begin(), std::min<size_t>(8, s.size()), keyBytes);
    ScheduleKeyBlock(keyBytes, decipher);

    if (!options_.salted) return;
    const std::string full = salt + key;
    for (int i = 0; i < 4; ++i) {
        const int c = i < static_cast<int>(full.size()) ? static_cast<uint8_t>(full[i]) : 0;
        const int d = c / 2;
        const int b = (d / 2) % 16 + (d & 32) + (d % 2) * 16;
        for (int j = 0; j < 6; ++j) {
            if (b & (1 << j)) std::swap(expansion_[6 * i + j], expansion_[6 * i + j + 24]);
        }
    }
}

void ReferenceCipher::CryptBlock(uint8_t block[8]) const {
    const Bits v = Select(des::kIP, 64, BlockBits(block));
    Bits left(v.begin(), v.begin() + 32);
    Bits right(v.begin() + 32, v.end());
    for (int round = 0; round < 16; ++round) {
        Bits e = Select(expansion_, 48, right);
        for (int i = 0; i < 48; ++i) e[i] ^= subKeys_[round][i];
        Bits s(32);
        for (int box = 0; box < 8; ++box) {
            const int* six = &e[6 * box];
            const int row = six[0] * 2 + six[5];
            const int column = six[1] * 8 + six[2] * 4 + six[3] * 2 + six[4];
            const int value = des::kS[box][row][column];
            for (int k = 0; k < 4; ++k) s[4 * box + k] = (value >> (3 - k)) & 1;
        }
        const Bits f = Select(des::kP, 32, s);
        Bits next(32);
        for (int i = 0; i < 32; ++i) next[i] = left[i] ^ f[i];
        left = right;
        right = next;
    }
    Bits swapped = right;
    swapped.insert(swapped.end(), left.begin(), left.end());
    StoreBlock(Select(des::kFP, 64, swapped), block);
}

std::string ReferenceCipher::Encipher(const std::string& salt, const std::string& key, const std::string& text) {
    Schedule(salt, key, false);
    if (text.empty()) return {};
    std::string out = salt;
    for (size_t pos = 0; pos < text.size(); pos += 8) {
        uint8_t b[8] = {};
        for (size_t i = 0; i < 8 && pos + i < text.size(); ++i) b[i] = static_cast<uint8_t>(text[pos + i]);
        CryptBlock(b);
        for (int i = 0; i < 8; i += 2) out += ReferenceEncodePair(b[i], b[i + 1]);
    }
    return out;
}

std::string ReferenceCipher::Decipher(const std::string& key, const std::string& line) {
    if (line.size() <= 13) return line;
    const std::string body = line.substr(6);
    Schedule(line.substr(0, 6), key, true);
    std::string out;
    for (size_t pos = 0; pos + 12 <= body.size(); pos += 12) {
        uint8_t b[8];
        ReferenceDecodeQuad(&body[pos], b);
        ReferenceDecodeQuad(&body[pos + 6], b + 4);
        CryptBlock(b);
        for (int i = 0; i < 8 && b[i] != 0; ++i) out += static_cast<char>(b[i]);
    }
    return out;
}

}  // namespace torvane::reference
