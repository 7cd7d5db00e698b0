#include "parallel_jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace tvk {
namespace {

// Job 1 fails only after job 5 has failed: the report is still job 1's, and once a job failed no
// later job starts (each thread may have taken one index already).
TEST(RunJobs, ReportsTheLowestFailureEvenWhenALaterOneFailsFirst) {
    std::atomic<bool> five_failed{false};
    std::atomic<int> started_after_failure{0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    EXPECT_EQ(
        run_jobs(50, 4,
                 [&](std::size_t i) -> std::string {
                     started_after_failure += five_failed && i > 5 ? 1 : 0;
                     five_failed = five_failed || i == 5;
                     while (i == 1 && !five_failed && std::chrono::steady_clock::now() < deadline) {
                         std::this_thread::yield();
                     }
                     return i == 1 || i == 5 ? std::to_string(i) : "";
                 }),
        "1");
    EXPECT_LE(started_after_failure, 4);
}

}  // namespace
}  // namespace tvk
