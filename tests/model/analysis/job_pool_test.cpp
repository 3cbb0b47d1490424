// The job pool: every job of a batch runs exactly once, on a worker of the
// pool, batch after batch; a job's exception reaches the caller.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "model/analysis/job_pool.h"

namespace vx {
namespace {

TEST(JobPoolTest, EveryJobOfEveryBatchRunsOnceOnAWorkerOfThePool) {
    for (const int threads : {1, 2, 5}) {
        JobPool pool(threads);
        EXPECT_EQ(pool.Threads(), threads);
        for (const int jobs : {0, 1, 3, 17}) {
            for (int batch = 0; batch < 20; ++batch) {
                std::vector<std::atomic<int>> runs(static_cast<std::size_t>(jobs));
                std::atomic<bool> workerInRange{true};
                pool.Run(jobs, [&](int job, int worker) {
                    runs[static_cast<std::size_t>(job)]++;
                    if (worker < 0 || worker >= threads) workerInRange = false;
                });
                for (const auto& r : runs) EXPECT_EQ(r.load(), 1) << threads << " threads, " << jobs << " jobs";
                EXPECT_TRUE(workerInRange);
            }
        }
    }
}

TEST(JobPoolTest, AJobsExceptionReachesTheCallerAfterTheBatchAndThePoolGoesOn) {
    JobPool pool(3);
    std::atomic<int> ran{0};
    EXPECT_THROW(pool.Run(8,
                          [&](int job, int) {
                              ++ran;
                              if (job == 5) throw std::runtime_error("job 5");
                          }),
                 std::runtime_error);
    EXPECT_EQ(ran.load(), 8);
    ran = 0;
    pool.Run(4, [&](int, int) { ++ran; });
    EXPECT_EQ(ran.load(), 4);
}

TEST(JobPoolTest, ThreadsForABatchAreAtLeastOneAndAtMostOnePerJob) {
    EXPECT_EQ(JobPool::ThreadsFor(1), 1);
    EXPECT_EQ(JobPool::ThreadsFor(0), 1);
    EXPECT_LE(JobPool::ThreadsFor(4), 4);
    EXPECT_GE(JobPool::ThreadsFor(4), 1);
    EXPECT_EQ(JobPool::ThreadsFor(4, 3), 3);
}

} // namespace
} // namespace vx
