#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

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

}  // namespace tvk
