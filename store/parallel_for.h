#pragma once
// Independent work on the parts of a range, one part per processor, on the threads the process
// keeps for it (store/worker_pool.h). The caller's thread does parts too and returns once every
// part is done, so results land in place in their order.
#include <algorithm>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>

#include "store/worker_pool.h"

namespace torvane {

// Calls work(begin, end) for contiguous parts of [0, count), at least minPart items each, on
// several threads at once. When a part throws, the first exception is thrown again here once
// every part has ended.
template <typename Work>
void ParallelFor(size_t count, size_t minPart, Work&& work) {
    const size_t processors = std::max(1u, std::thread::hardware_concurrency());
    const size_t parts = std::max<size_t>(1, std::min(processors, count / std::max<size_t>(1, minPart)));
    if (parts <= 1) {
        if (count > 0) work(size_t{0}, count);
        return;
    }
    std::mutex failureLock;
    std::exception_ptr failure;
    auto guarded = [&](size_t begin, size_t end) {
        try {
            work(begin, end);
        } catch (...) {
            std::lock_guard<std::mutex> hold(failureLock);
            if (!failure) failure = std::current_exception();
        }
    };
    const size_t step = (count + parts - 1) / parts;
    RunOnWorkers((count + step - 1) / step, [&](size_t part) {
        guarded(part * step, std::min(count, (part + 1) * step));
    });
    if (failure) std::rethrow_exception(failure);
}

}  // namespace torvane
