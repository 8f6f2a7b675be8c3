#pragma once
// Threads started once and kept for the life of the process, for ParallelFor. Starting a thread
// costs little on Linux but under Wine about as much as formatting a thousand records (the
// system clears a megabyte of its stack), and a save starts a round of work every few thousand.
#include <cstddef>
#include <functional>

namespace torvane {

// Calls task(i) for every i in [0, count), on the kept threads and on the calling thread, and
// returns when every call has returned. The calling thread takes tasks too, so a task may itself
// call RunOnWorkers without waiting for threads that are busy. Tasks must not throw.
void RunOnWorkers(size_t count, const std::function<void(size_t)>& task);

}  // namespace torvane
