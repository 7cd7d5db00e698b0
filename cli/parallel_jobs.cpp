#include "parallel_jobs.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

namespace tvk {

unsigned default_jobs() {
    return std::max(1u, std::thread::hardware_concurrency());
}

std::optional<std::string> run_jobs(std::size_t count, unsigned jobs,
                                    const std::function<std::string(std::size_t)>& work) {
    struct Outcome {
        std::string error;
        std::exception_ptr exception;
    };
    std::vector<Outcome> outcomes(count);
    std::atomic<std::size_t> next{0};
    // Indexes below the lowest failure so far still run: one of them may fail first.
    std::atomic<std::size_t> lowest_failure{count};
    const auto worker = [&] {
        for (std::size_t i = next++; i < lowest_failure; i = next++) {
            try {
                outcomes[i].error = work(i);
            } catch (...) {
                outcomes[i].exception = std::current_exception();
            }
            if (!outcomes[i].error.empty() || outcomes[i].exception) {
                std::size_t lowest = lowest_failure;
                while (i < lowest && !lowest_failure.compare_exchange_weak(lowest, i)) {
                }
            }
        }
    };
    const std::size_t threads = std::clamp<std::size_t>(jobs, 1, std::max<std::size_t>(count, 1));
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < threads; ++t) {
        helpers.emplace_back(worker);
    }
    worker();
    helpers.clear();  // joins every helper
    for (Outcome& outcome : outcomes) {
        if (outcome.exception) {
            std::rethrow_exception(outcome.exception);
        }
        if (!outcome.error.empty()) {
            return std::move(outcome.error);
        }
    }
    return std::nullopt;
}

}  // namespace tvk
