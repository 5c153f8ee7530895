#include "system/parallel_work.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace Vemo {
namespace {

TEST(run_in_parallel, RunsEveryTaskOnceWhateverTheThreads)
{
    for (const unsigned threads : {0u, 1u, 2u, 7u, 64u})
        for (const std::uint64_t count : {0u, 1u, 5u, 1000u}) {
            std::vector<std::atomic<int>> runs(count);
            run_in_parallel(count, threads, [&](std::uint64_t i) { ++runs[i]; });
            for (std::uint64_t i = 0; i < count; ++i)
                ASSERT_EQ(runs[i], 1) << "task " << i << " of " << count << ", " << threads
                                      << " threads";
        }
}

TEST(run_in_parallel, ATaskThatFailsIsReportedOnceEveryThreadHasStopped)
{
    for (const unsigned threads : {1u, 4u}) {
        std::atomic<std::uint64_t> running{0};
        EXPECT_THROW(run_in_parallel(1000, threads,
                                     [&](std::uint64_t i) {
                                         ++running;
                                         if (i == 10)
                                             throw std::runtime_error("task 10");
                                         --running;
                                     }),
                     std::runtime_error);
        // Only the failed task never finished.
        EXPECT_EQ(running, 1u);
    }
}

}  // namespace
}  // namespace Vemo
