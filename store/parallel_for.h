#pragma once
// Independent work on the parts of a range on every processor, on the threads the process keeps
// for it (store/worker_pool.h). The caller's thread works too and returns once every part is
// done, so results land in place in their order.
#include <algorithm>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>

#include "store/worker_pool.h"

namespace torvane {

// Calls work(begin, end) for contiguous parts of [0, count), on several threads at once where
// there are at least minPart items for each. The parts are several to a thread and taken in
// turn: a thread the system gives less time (other programs are running) does fewer of them,
// instead of the others waiting for it to finish an equal share. When a part throws, the first
// exception is thrown again here once every part has ended.
template <typename Work>
void ParallelFor(size_t count, size_t minPart, Work&& work) {
    constexpr size_t kPartsPerThread = 8;
    const size_t processors = std::max(1u, std::thread::hardware_concurrency());
    const size_t threads = std::max<size_t>(1, std::min(processors, count / std::max<size_t>(1, minPart)));
    if (threads <= 1) {
        if (count > 0) work(size_t{0}, count);
        return;
    }
    const size_t part = std::max(std::max<size_t>(1, minPart), count / (threads * kPartsPerThread));
    std::mutex failureLock;
    std::exception_ptr failure;
    RunOnWorkers((count + part - 1) / part, [&](size_t index) {
        try {
            work(index * part, std::min(count, (index + 1) * part));
        } catch (...) {
            std::lock_guard<std::mutex> hold(failureLock);
            if (!failure) failure = std::current_exception();
        }
    });
    if (failure) std::rethrow_exception(failure);
}

}  // namespace torvane
