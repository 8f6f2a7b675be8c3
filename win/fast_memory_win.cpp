// The Windows build's own memmove, memcpy and memchr. Every string the record list copies or
// searches goes through them, and the C runtime's (msvcrt.dll) cost a call into the DLL and,
// under Wine, a byte-by-byte memchr: together a fifth of a load's time. These are defined in the
// program, so the linker binds the program's calls, the C++ library's included, to them.
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

namespace {

using Block = __m128i;
constexpr size_t kBlock = sizeof(Block);

inline Block Load(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const Block*>(p));
}
inline void Store(unsigned char* p, Block b) {
    _mm_storeu_si128(reinterpret_cast<Block*>(p), b);
}

template <typename T>
inline T LoadAs(const unsigned char* p) {
    T value;
    __builtin_memcpy(&value, p, sizeof value);  // a single move: never a call
    return value;
}
template <typename T>
inline void StoreAs(unsigned char* p, T value) {
    __builtin_memcpy(p, &value, sizeof value);
}

// Up to two blocks: both ends are loaded before anything is stored, so overlap cannot matter.
inline void MoveShort(unsigned char* d, const unsigned char* s, size_t n) {
    if (n >= kBlock) {
        const Block head = Load(s), tail = Load(s + n - kBlock);
        Store(d, head);
        Store(d + n - kBlock, tail);
    } else if (n >= 8) {
        const uint64_t head = LoadAs<uint64_t>(s), tail = LoadAs<uint64_t>(s + n - 8);
        StoreAs(d, head);
        StoreAs(d + n - 8, tail);
    } else if (n >= 4) {
        const uint32_t head = LoadAs<uint32_t>(s), tail = LoadAs<uint32_t>(s + n - 4);
        StoreAs(d, head);
        StoreAs(d + n - 4, tail);
    } else if (n >= 2) {
        const uint16_t head = LoadAs<uint16_t>(s), tail = LoadAs<uint16_t>(s + n - 2);
        StoreAs(d, head);
        StoreAs(d + n - 2, tail);
    } else if (n == 1) {
        *d = *s;
    }
}

}  // namespace

// The compiler must not turn the copying loop back into a call of memmove.
#define TORVANE_NO_LIBCALLS __attribute__((optimize("no-tree-loop-distribute-patterns")))

extern "C" TORVANE_NO_LIBCALLS void* memmove(void* dst, const void* src, size_t n) {
    auto* d = static_cast<unsigned char*>(dst);
    const auto* s = static_cast<const unsigned char*>(src);
    if (n <= 2 * kBlock) {
        MoveShort(d, s, n);
        return dst;
    }
    if (static_cast<size_t>(d - s) >= n) {
        // Forwards: the destination lies below the source or apart from it, so each block is
        // read before any store reaches it. The last block, read first, is stored last.
        const Block tail = Load(s + n - kBlock);
        for (size_t i = 0; i < n - kBlock; i += kBlock) Store(d + i, Load(s + i));
        Store(d + n - kBlock, tail);
    } else {
        // Backwards, for a destination that overlaps the source from above.
        const Block head = Load(s);
        for (size_t i = n - kBlock; i > 0; i = i > kBlock ? i - kBlock : 0) Store(d + i, Load(s + i));
        Store(d, head);
    }
    return dst;
}

extern "C" TORVANE_NO_LIBCALLS void* memcpy(void* dst, const void* src, size_t n) {
    return memmove(dst, src, n);
}

extern "C" TORVANE_NO_LIBCALLS void* memchr(const void* buffer, int c, size_t n) {
    const auto* p = static_cast<const unsigned char*>(buffer);
    if (n == 0) return nullptr;
    const Block wanted = _mm_set1_epi8(static_cast<char>(c));
    // Aligned loads never cross into the next page, so reading a whole block around the range's
    // ends cannot fault; the bytes outside the range are masked off.
    const size_t skew = reinterpret_cast<uintptr_t>(p) % kBlock;
    const unsigned char* block = p - skew;
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
                        _mm_cmpeq_epi8(_mm_load_si128(reinterpret_cast<const Block*>(block)), wanted))) >>
                    skew;
    size_t offset = 0;  // of block + skew, the byte that bit 0 of mask stands for, from p
    for (;;) {
        if (mask != 0) {
            const size_t found = offset + static_cast<size_t>(__builtin_ctz(mask));
            return found < n ? const_cast<unsigned char*>(p + found) : nullptr;
        }
        offset += kBlock - (offset == 0 ? skew : 0);
        if (offset >= n) return nullptr;
        block += kBlock;
        mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_load_si128(reinterpret_cast<const Block*>(block)), wanted)));
    }
}
