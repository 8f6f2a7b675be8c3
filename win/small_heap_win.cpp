// The program's small allocations (operator new up to kLargest bytes) come from pools of
// equal-sized blocks instead of the C runtime's heap. A record list of 100,000 records makes
// about a million small strings; the runtime's heap takes a lock and walks its free lists for
// each (under Wine slower still, and two threads allocating at once slow each other down), while
// a pool block is a pointer taken from a list. Freed blocks go back to their span for the next
// allocation of their size; the memory stays with the program.
//
// Blocks are cut from spans of kSpan bytes inside one reserved address range, one size per span,
// so a block's size follows from its address alone.
//
// Large blocks (the file's bytes, a vector of 100,000 records) come from reserved parts of the
// address space, in sizes that are powers of two, one part per size. The runtime's heap gives such
// blocks back to the system when they are freed, and every load then touches fresh pages, each
// of which costs a fault (under Wine on a virtual machine, microseconds: more than parsing the
// bytes in it). A freed large block is kept for the next one of its size instead, up to
// kKeepFree bytes; beyond that its pages are given back and taken again when it is reused.
//
// Requests outside both, and any once a range or part is used up, go to the runtime's heap, as
// does the freeing of whatever lies outside them.
#include "win/small_heap_win.h"

#include <windows.h>

#include <atomic>
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
// Address space only, committed as spans are cut. Wine's cost of reserving grows with the size
// (a fraction of a millisecond per gigabyte, at the start of every run): 4 GB of small blocks is
// far more than any catalogue makes.
constexpr size_t kRange = size_t{4} << 30;
constexpr size_t kSpans = kRange / kSpan;

constexpr size_t kBigLeast = 256 * 1024;
constexpr size_t kBigClasses = 13;  // up to kBigLeast << 12, a gigabyte
constexpr size_t kBigBlocksPerPart = 64;
constexpr size_t kBigPartMost = size_t{4} << 30;
constexpr size_t kKeepFree = size_t{256} << 20;
constexpr size_t kPage = 4096;

struct FreeBlock {
    FreeBlock* next;
};

struct FreeBigBlock {
    FreeBigBlock* next;
    bool committed;  // false: only this first page still is
};

// A lock held for a few instructions. Wine's slim reader/writer lock wakes waiters through a
// process-wide queue on every release, which made the lock dearer than the allocation it guards.
class SpinLock {
public:
    void Lock() {
        for (int spins = 0; held_.exchange(true, std::memory_order_acquire); ++spins) {
            while (held_.load(std::memory_order_relaxed)) {
                if (spins++ < 100) {
                    YieldProcessor();
                } else {
                    SwitchToThread();  // the holder may have been descheduled
                }
            }
        }
    }
    void Unlock() { held_.store(false, std::memory_order_release); }

private:
    std::atomic<bool> held_{false};
};

constexpr uint32_t kNoSpan = UINT32_MAX;

// Each span keeps its own freed blocks, and one whose blocks are all freed is cut again from its
// start: blocks taken one after another then lie one after another, as in fresh memory. A list
// cleared and loaded again would otherwise get its records' texts back in the order they were
// freed, scattered over every span of their size, and every pass over the list paid for that.
// A line of its own: threads taking blocks side by side work on neighbouring spans, and a
// shared line would pass between their processors at every block.
struct alignas(64) Span {
    FreeBlock* free;
    uint32_t cut;   // bytes cut from its start
    uint32_t live;  // blocks in use
    uint32_t nextPartial;
    bool listed;  // in its pool's list of spans with room
};

struct Pool {
    SpinLock lock;
    uint32_t current = kNoSpan;  // the span blocks are taken from
    uint32_t partial = kNoSpan;  // the other spans with room, each listed once
};

// Each thread takes its blocks from one of several sets of pools, chosen by its id, so that
// threads parsing a file side by side do not queue for one lock. A block goes back to the set
// it came from, whichever thread frees it.
constexpr size_t kSets = 8;

// All of it constant-initialised: operator new may run before any constructor does.
Pool pools[kSets][kClasses];
Span spans[kSpans];
uint8_t spanClass[kSpans];
uint8_t spanSet[kSpans];
SpinLock rangeLock;
char* rangeBase = nullptr;
size_t rangeUsed = 0;       // bytes cut into spans
size_t rangeCommitted = 0;  // bytes committed
bool rangeFailed = false;

SpinLock bigLock;
// Each size's part of the address space, reserved when first needed (null: not yet, or it failed).
std::atomic<char*> bigPart[kBigClasses];
bool bigTried[kBigClasses];
char* bigNext[kBigClasses];  // the first never used block of each size's part
FreeBigBlock* bigFree[kBigClasses];
size_t bigKept = 0;  // bytes of freed large blocks that still are committed

size_t BigPartSize(size_t cls) {
    const size_t size = (kBigLeast << cls) * kBigBlocksPerPart;
    return size < kBigPartMost ? size : kBigPartMost;
}

// The size class of a block in one of the parts, or kBigClasses for any other block. A part's
// start is set once, before any block of it exists.
size_t BigClassOf(const void* block) {
    const char* p = static_cast<const char*>(block);
    for (size_t cls = 0; cls < kBigClasses; ++cls) {
        const char* part = bigPart[cls].load(std::memory_order_acquire);
        if (part && p >= part && p < part + BigPartSize(cls)) return cls;
    }
    return kBigClasses;
}

// A large block of at least size bytes, or null where the runtime's heap must serve it.
void* AllocateBig(size_t size) {
    size_t cls = 0;
    while (cls < kBigClasses && (kBigLeast << cls) < size) ++cls;
    if (cls == kBigClasses) return nullptr;
    const size_t blockSize = kBigLeast << cls;
    bigLock.Lock();
    char* part = bigPart[cls].load(std::memory_order_relaxed);
    if (!part && !bigTried[cls]) {
        bigTried[cls] = true;
        part = static_cast<char*>(VirtualAlloc(nullptr, BigPartSize(cls), MEM_RESERVE, PAGE_NOACCESS));
        bigNext[cls] = part;
        bigPart[cls].store(part, std::memory_order_release);
    }
    void* block = nullptr;
    if (FreeBigBlock* cached = part ? bigFree[cls] : nullptr) {
        const bool committed = cached->committed;
        if (committed || VirtualAlloc(cached, blockSize, MEM_COMMIT, PAGE_READWRITE)) {
            bigFree[cls] = cached->next;
            if (committed) bigKept -= blockSize;
            block = cached;
        }
    } else if (part && bigNext[cls] + blockSize <= part + BigPartSize(cls) &&
               VirtualAlloc(bigNext[cls], blockSize, MEM_COMMIT, PAGE_READWRITE)) {
        block = bigNext[cls];
        bigNext[cls] += blockSize;
    }
    bigLock.Unlock();
    return block;
}

void ReleaseBig(void* block, size_t cls) {
    const size_t blockSize = kBigLeast << cls;
    bigLock.Lock();
    auto* freed = static_cast<FreeBigBlock*>(block);
    freed->committed = bigKept + blockSize <= kKeepFree ||
                       !VirtualFree(static_cast<char*>(block) + kPage, blockSize - kPage, MEM_DECOMMIT);
    if (freed->committed) bigKept += blockSize;
    freed->next = bigFree[cls];
    bigFree[cls] = freed;
    bigLock.Unlock();
}

// A new span for the class, or null when the range or the memory is used up.
char* NewSpan(size_t set, size_t cls) {
    rangeLock.Lock();
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
            spanSet[rangeUsed / kSpan] = static_cast<uint8_t>(set);
            rangeUsed += kSpan;
        }
    }
    rangeLock.Unlock();
    return span;
}

void* Allocate(size_t size) {
    if (size > kLargest) {
        void* big = size >= kBigLeast ? AllocateBig(size) : nullptr;
        return big ? big : std::malloc(size);
    }
    const size_t cls = size == 0 ? 0 : (size - 1) / kGrain;
    const size_t blockSize = (cls + 1) * kGrain;
    // Thread ids are multiples of four.
    const size_t set = GetCurrentThreadId() / 4 % kSets;
    Pool& pool = pools[set][cls];
    pool.lock.Lock();
    void* block = nullptr;
    for (;;) {
        if (pool.current != kNoSpan) {
            Span& span = spans[pool.current];
            if (span.free) {
                block = span.free;
                span.free = span.free->next;
            } else if (span.cut + blockSize <= kSpan) {
                block = rangeBase + size_t{pool.current} * kSpan + span.cut;
                span.cut += static_cast<uint32_t>(blockSize);
            }
            if (block) {
                ++span.live;
                break;
            }
        }
        if (pool.partial != kNoSpan) {
            pool.current = pool.partial;
            spans[pool.current].listed = false;
            pool.partial = spans[pool.current].nextPartial;
            continue;
        }
        char* fresh = NewSpan(set, cls);
        if (!fresh) break;
        pool.current = static_cast<uint32_t>((fresh - rangeBase) / kSpan);
    }
    pool.lock.Unlock();
    return block ? block : std::malloc(size);
}

void Release(void* block) {
    if (!block) return;
    if (!SmallHeapOwns(block)) {
        if (const size_t cls = BigClassOf(block); cls < kBigClasses) {
            ReleaseBig(block, cls);
        } else {
            std::free(block);
        }
        return;
    }
    const auto index = static_cast<uint32_t>((static_cast<char*>(block) - rangeBase) / kSpan);
    Pool& pool = pools[spanSet[index]][spanClass[index]];
    pool.lock.Lock();
    Span& span = spans[index];
    if (--span.live == 0) {
        span.free = nullptr;
        span.cut = 0;
    } else {
        auto* freed = static_cast<FreeBlock*>(block);
        freed->next = span.free;
        span.free = freed;
    }
    if (index != pool.current && !span.listed) {
        span.nextPartial = pool.partial;
        pool.partial = index;
        span.listed = true;
    }
    pool.lock.Unlock();
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
