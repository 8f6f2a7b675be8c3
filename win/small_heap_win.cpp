// The program's small allocations (operator new up to kLargest bytes) come from pools of
// equal-sized blocks instead of the C runtime's heap. A record list of 100,000 records makes
// about a million small strings; the runtime's heap takes a lock and walks its free lists for
// each (under Wine slower still, and two threads allocating at once slow each other down), while
// a pool block is a pointer taken from a list. Freed blocks go back to their pool for the next
// allocation of their size; the memory stays with the program.
//
// Blocks are cut from spans of kSpan bytes inside one reserved address range, one size per span,
// so a block's size follows from its address alone. Larger requests, and any once the range is
// used up, go to the runtime's heap, as does the freeing of whatever lies outside the range.
#include "win/small_heap_win.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace torvane::win {
namespace {

constexpr size_t kGrain = 16;  // every block is aligned to it, as operator new must be
constexpr size_t kLargest = 512;
constexpr size_t kClasses = kLargest / kGrain;
constexpr size_t kSpan = 64 * 1024;
constexpr size_t kCommitStep = 1024 * 1024;
constexpr size_t kRange = size_t{16} << 30;  // address space only; committed as spans are cut
constexpr size_t kSpans = kRange / kSpan;

struct FreeBlock {
    FreeBlock* next;
};

struct Pool {
    SRWLOCK lock = SRWLOCK_INIT;
    FreeBlock* free = nullptr;
    char* next = nullptr;  // the rest of the pool's newest span
    char* end = nullptr;
};

// All of it constant-initialised: operator new may run before any constructor does.
Pool pools[kClasses];
uint8_t spanClass[kSpans];
SRWLOCK rangeLock = SRWLOCK_INIT;
char* rangeBase = nullptr;
size_t rangeUsed = 0;       // bytes cut into spans
size_t rangeCommitted = 0;  // bytes committed
bool rangeFailed = false;

// A new span for the class, or null when the range or the memory is used up.
char* NewSpan(size_t cls) {
    AcquireSRWLockExclusive(&rangeLock);
    char* span = nullptr;
    if (!rangeBase && !rangeFailed) {
        rangeBase = static_cast<char*>(VirtualAlloc(nullptr, kRange, MEM_RESERVE, PAGE_NOACCESS));
        rangeFailed = rangeBase == nullptr;
    }
    if (rangeBase && rangeUsed + kSpan <= kRange) {
        if (rangeUsed + kSpan > rangeCommitted) {
            const size_t step = kRange - rangeCommitted < kCommitStep ? kRange - rangeCommitted : kCommitStep;
            if (VirtualAlloc(rangeBase + rangeCommitted, step, MEM_COMMIT, PAGE_READWRITE)) rangeCommitted += step;
        }
        if (rangeUsed + kSpan <= rangeCommitted) {
            span = rangeBase + rangeUsed;
            spanClass[rangeUsed / kSpan] = static_cast<uint8_t>(cls);
            rangeUsed += kSpan;
        }
    }
    ReleaseSRWLockExclusive(&rangeLock);
    return span;
}

void* Allocate(size_t size) {
    if (size > kLargest) return std::malloc(size);
    const size_t cls = size == 0 ? 0 : (size - 1) / kGrain;
    const size_t blockSize = (cls + 1) * kGrain;
    Pool& pool = pools[cls];
    AcquireSRWLockExclusive(&pool.lock);
    void* block = pool.free;
    if (block) {
        pool.free = pool.free->next;
    } else {
        if (pool.next == pool.end) {
            char* span = NewSpan(cls);
            if (span) {
                pool.next = span;
                pool.end = span + kSpan / blockSize * blockSize;
            }
        }
        if (pool.next != pool.end) {
            block = pool.next;
            pool.next += blockSize;
        }
    }
    ReleaseSRWLockExclusive(&pool.lock);
    return block ? block : std::malloc(size);
}

void Release(void* block) {
    if (!block) return;
    if (!SmallHeapOwns(block)) {
        std::free(block);
        return;
    }
    const size_t offset = static_cast<size_t>(static_cast<char*>(block) - rangeBase);
    Pool& pool = pools[spanClass[offset / kSpan]];
    AcquireSRWLockExclusive(&pool.lock);
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = pool.free;
    pool.free = freed;
    ReleaseSRWLockExclusive(&pool.lock);
}

void* AllocateOrThrow(size_t size) {
    for (;;) {
        if (void* block = Allocate(size)) return block;
        const std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

}  // namespace

bool SmallHeapOwns(const void* block) {
    // The base is set once, before any block of the range exists, and never changes.
    const char* p = static_cast<const char*>(block);
    return rangeBase && p >= rangeBase && p < rangeBase + kRange;
}

}  // namespace torvane::win

void* operator new(size_t size) {
    return torvane::win::AllocateOrThrow(size);
}
void* operator new[](size_t size) {
    return torvane::win::AllocateOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return torvane::win::AllocateOrThrow(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    try {
        return torvane::win::AllocateOrThrow(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* block) noexcept {
    torvane::win::Release(block);
}
void operator delete[](void* block) noexcept {
    torvane::win::Release(block);
}
void operator delete(void* block, size_t) noexcept {
    torvane::win::Release(block);
}
void operator delete[](void* block, size_t) noexcept {
    torvane::win::Release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    torvane::win::Release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    torvane::win::Release(block);
}
