#include "model/analysis/job_pool.h"

#include <algorithm>
#include <system_error>

namespace vx {

JobPool::JobPool(int threads) {
    const int extra = std::max(threads, 1) - 1;
    workers_.reserve(static_cast<std::size_t>(extra));
    // A machine that cannot start another thread gets a smaller pool (at
    // worst the caller alone), never a failure.
    try {
        for (int w = 1; w <= extra; ++w) workers_.emplace_back([this, w] { WorkerLoop(w); });
    } catch (const std::system_error&) {
    }
}

JobPool::~JobPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    start_.notify_all();
    for (std::thread& t : workers_) t.join();
}

int JobPool::ThreadsFor(int jobs, int wanted) {
    if (wanted > 0) return wanted;
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::max(1, std::min(cores, jobs));
}

void JobPool::TakeJobs(int worker) {
    for (;;) {
        int job = 0;
        {
            std::lock_guard lock(mutex_);
            if (next_ >= jobs_) return;
            job = next_++;
        }
        try {
            (*fn_)(job, worker);
        } catch (...) {
            std::lock_guard lock(mutex_);
            if (!error_) error_ = std::current_exception();
        }
    }
}

void JobPool::WorkerLoop(int worker) {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            start_.wait(lock, [&] { return stopping_ || batch_ != seen; });
            if (stopping_) return;
            seen = batch_;
        }
        TakeJobs(worker);
        {
            std::lock_guard lock(mutex_);
            --running_;
        }
        done_.notify_one();
    }
}

void JobPool::Run(int jobs, const std::function<void(int job, int worker)>& fn) {
    if (jobs <= 0) return;
    {
        std::lock_guard lock(mutex_);
        fn_ = &fn;
        jobs_ = jobs;
        next_ = 0;
        error_ = nullptr;
        running_ = static_cast<int>(workers_.size());
        ++batch_;
    }
    start_.notify_all();
    TakeJobs(0);
    std::exception_ptr error;
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return running_ == 0; });
        fn_ = nullptr;
        error = error_;
        error_ = nullptr;
    }
    if (error) std::rethrow_exception(error);
}

} // namespace vx
