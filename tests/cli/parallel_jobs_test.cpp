#include "parallel_jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

namespace tvk {
namespace {

TEST(RunJobs, RunsEveryIndexOnceOnAnyNumberOfThreads) {
    for (const unsigned jobs : {1u, 2u, 7u, 64u}) {
        for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{100}}) {
            SCOPED_TRACE(std::to_string(jobs) + " threads, " + std::to_string(count) + " jobs");
            std::mutex lock;
            std::multiset<std::size_t> done;
            std::set<std::thread::id> threads;
            const auto failure = run_jobs(count, jobs, [&](std::size_t i) {
                const std::lock_guard<std::mutex> guard(lock);
                done.insert(i);
                threads.insert(std::this_thread::get_id());
                return std::string();
            });
            EXPECT_FALSE(failure);
            EXPECT_EQ(done.size(), count);
            EXPECT_EQ(std::set<std::size_t>(done.begin(), done.end()).size(), count);
            EXPECT_LE(threads.size(), std::max<std::size_t>(1, std::min<std::size_t>(jobs, count)));
        }
    }
}

TEST(RunJobs, ReportsTheLowestFailureEvenWhenALaterOneFailsFirst) {
    // Job 1 fails only after job 5 has failed: the report is still job 1's.
    std::atomic<bool> five_failed{false};
    std::atomic<int> started_after_failure{0};
    const auto failure = run_jobs(50, 4, [&](std::size_t i) -> std::string {
        if (five_failed && i > 5) {
            ++started_after_failure;
        }
        if (i == 5) {
            five_failed = true;
            return "five";
        }
        if (i == 1) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!five_failed && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::yield();
            }
            return "one";
        }
        return {};
    });
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, "one");
    // Once a job failed, no later job starts (each thread may have taken one index already).
    EXPECT_LE(started_after_failure, 4);
}

TEST(RunJobs, AnExceptionOfTheLowestFailureIsThrownAgain) {
    EXPECT_THROW(run_jobs(20, 3,
                          [](std::size_t i) -> std::string {
                              if (i == 2) {
                                  throw std::runtime_error("two");
                              }
                              return i == 9 ? "nine" : "";
                          }),
                 std::runtime_error);
    EXPECT_EQ(run_jobs(20, 3,
                       [](std::size_t i) -> std::string {
                           if (i == 12) {
                               throw std::runtime_error("twelve");
                           }
                           return i == 9 ? "nine" : "";
                       }),
              "nine");
}

}  // namespace
}  // namespace tvk
