#include "store/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace torvane {
namespace {

// Shared by its caller and the threads that take part in it, so that it lives until the last
// of them is done with it, whoever that is.
struct Job {
    const std::function<void(size_t)>* task = nullptr;  // the caller's: called only before done
    size_t count = 0;
    std::atomic<size_t> next{0};  // the first task not yet taken
    std::atomic<size_t> done{0};
    std::mutex lock;
    std::condition_variable finished;
};

void Work(Job& job) {
    for (size_t i; (i = job.next.fetch_add(1)) < job.count;) {
        (*job.task)(i);
        if (job.done.fetch_add(1) + 1 == job.count) {
            std::lock_guard<std::mutex> hold(job.lock);
            job.finished.notify_all();
        }
    }
}

class Workers {
public:
    Workers() {
        const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 1; i < processors; ++i) {
            try {
                std::thread(&Workers::Serve, this).detach();
            } catch (const std::system_error&) {
                break;  // fewer threads: the callers do the rest
            }
        }
    }

    void Run(size_t count, const std::function<void(size_t)>& task) {
        const auto job = std::make_shared<Job>();
        job->task = &task;
        job->count = count;
        {
            std::lock_guard<std::mutex> hold(lock_);
            jobs_.push_back(job);
        }
        waiting_.notify_all();
        Work(*job);
        {
            std::lock_guard<std::mutex> hold(lock_);
            jobs_.erase(std::remove(jobs_.begin(), jobs_.end(), job), jobs_.end());
        }
        std::unique_lock<std::mutex> hold(job->lock);
        job->finished.wait(hold, [&job] { return job->done.load() == job->count; });
    }

private:
    void Serve() {
        std::unique_lock<std::mutex> hold(lock_);
        for (;;) {
            waiting_.wait(hold, [this] { return !jobs_.empty(); });
            const std::shared_ptr<Job> job = jobs_.front();
            // Every task taken: nothing is left here for this thread or the next.
            if (job->next.load() >= job->count) {
                jobs_.pop_front();
                continue;
            }
            hold.unlock();
            Work(*job);
            hold.lock();
        }
    }

    std::mutex lock_;
    std::condition_variable waiting_;
    std::deque<std::shared_ptr<Job>> jobs_;
};

}  // namespace

void RunOnWorkers(size_t count, const std::function<void(size_t)>& task) {
    if (count == 0) return;
    // Never destroyed: its threads wait for work until the process ends.
    static Workers* const workers = new Workers;
    workers->Run(count, task);
}

}  // namespace torvane
