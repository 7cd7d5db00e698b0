#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tvk {

// The threads that --jobs asks for when it is not given: one per core.
unsigned default_jobs();

// Runs work(i) for every i below `count` on up to `jobs` threads, handing out the indexes in
// order. work returns an empty text when it succeeded, else its error message. After the first
// failure no new index is started. Returns the message of the lowest index that failed, so that the
// error reported is the same whatever the number of threads; an exception thrown by that work is
// thrown again here.
std::optional<std::string> run_jobs(std::size_t count, unsigned jobs,
                                    const std::function<std::string(std::size_t)>& work);

// The jobs done so far, for one thread that takes their results in index order while they run.
class JobsDone {
  public:
    explicit JobsDone(std::size_t count) : m_done(count, false) {}

    // Job i is done: its result may be taken.
    void mark(std::size_t i);
    // No job is marked after this: every wait returns.
    void finish();
    // Waits until job i is done: true then, false when the jobs finished without it.
    bool wait(std::size_t i);

  private:
    static constexpr std::size_t kWaitBatch = 32;
    // True when jobs `first` up to `end` are all done; called with the mutex held.
    bool all_done(std::size_t first, std::size_t end) const;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<bool> m_done;
    std::size_t m_awaited = 0;      // the first job a thread waits for
    std::size_t m_awaited_end = 0;  // past the last; equal to m_awaited when none waits
    bool m_finished = false;
};

}  // namespace tvk
