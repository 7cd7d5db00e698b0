#include "parallel_jobs.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tvk {
namespace {

// Memory freed while jobs run is kept for reuse instead of being given back to the system: giving
// pages back interrupts every other thread of the process so that it forgets them (a TLB
// shootdown), which on a virtual machine can cost more than the picture worked on. The process of
// a command that runs jobs is short-lived, and no block of memory it uses is large.
void keep_freed_memory() {
#if defined(__GLIBC__)
    static std::once_flag once;
    std::call_once(once, [] {
        constexpr int kKeptBytes = 256 << 20;
        constexpr int kLargestFromHeap = 32 << 20;  // larger blocks are mapped on their own
        mallopt(M_TRIM_THRESHOLD, kKeptBytes);
        mallopt(M_MMAP_THRESHOLD, kLargestFromHeap);
    });
#endif
}

}  // namespace

unsigned default_jobs() {
    return std::max(1u, std::thread::hardware_concurrency());
}

std::optional<std::string> run_jobs(std::size_t count, unsigned jobs,
                                    const std::function<std::string(std::size_t)>& work) {
    keep_freed_memory();
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

void JobsDone::mark(std::size_t i) {
    {
        const std::lock_guard lock(m_mutex);
        m_done[i] = true;
        // A waiter is woken once the jobs it waits for are all done, not for every job done.
        if (m_awaited == m_awaited_end || !all_done(m_awaited, m_awaited_end)) {
            return;
        }
    }
    m_changed.notify_all();
}

void JobsDone::finish() {
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_changed.notify_all();
}

bool JobsDone::all_done(std::size_t first, std::size_t end) const {
    return std::all_of(m_done.begin() + static_cast<std::ptrdiff_t>(first),
                       m_done.begin() + static_cast<std::ptrdiff_t>(end),
                       [](bool done) { return done; });
}

bool JobsDone::wait(std::size_t i) {
    std::unique_lock lock(m_mutex);
    if (m_done[i]) {
        return true;
    }
    // Woken for a batch of jobs rather than for each, the waiter takes turns with the workers
    // less often.
    m_awaited = i;
    m_awaited_end = std::min(i + kWaitBatch, m_done.size());
    m_changed.wait(lock, [&] { return all_done(m_awaited, m_awaited_end) || m_finished; });
    m_awaited_end = m_awaited;
    return m_done[i];
}

}  // namespace tvk
