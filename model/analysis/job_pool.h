// A small pool of worker threads for batches of independent jobs: Run(n, fn)
// calls fn(job, worker) for job = 0..n-1, spread over the workers and the
// calling thread, and returns when every job of the batch has ended. The
// threads live as long as the pool and wait between batches. Each job must
// touch only what belongs to it (its own result slot, the worker's own
// scratch data), so a batch gives the same results whichever thread ran
// which job.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vx {

class JobPool {
public:
    // threads: how many threads run jobs, the caller's included (at least 1;
    // fewer when the system cannot start that many).
    explicit JobPool(int threads);
    ~JobPool();
    JobPool(const JobPool&) = delete;
    JobPool& operator=(const JobPool&) = delete;

    // The number of threads that run jobs, the caller's included; worker
    // numbers passed to fn lie in 0 .. Threads() - 1 (0 is the caller).
    int Threads() const { return static_cast<int>(workers_.size()) + 1; }

    // Runs fn for every job of the batch. An exception thrown by a job is
    // thrown again here, once the batch has ended (the first one).
    void Run(int jobs, const std::function<void(int job, int worker)>& fn);

    // Threads for a batch of `jobs` on this machine: one per core, at most
    // one per job, at least 1; `wanted` > 0 asks for that many instead.
    static int ThreadsFor(int jobs, int wanted = 0);

private:
    void WorkerLoop(int worker);
    void TakeJobs(int worker);

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable start_;
    std::condition_variable done_;
    std::uint64_t batch_ = 0; // counts batches; a worker runs each once
    bool stopping_ = false;
    const std::function<void(int, int)>* fn_ = nullptr;
    int jobs_ = 0;
    int next_ = 0;    // the next job to hand out
    int running_ = 0; // workers still in the current batch
    std::exception_ptr error_;
};

} // namespace vx
