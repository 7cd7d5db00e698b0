#pragma once

#include <functional>

namespace tvk::test {

// Runs `body` in a forked child as a user whom permission bits bind: the user "nobody" when the
// tests run as root (where no permission check bites), the user itself otherwise. The child's
// exit status is body's result; -1 when the child could not run or drop its rights.
int run_unprivileged(const std::function<int()>& body);

// The user id that run_unprivileged runs as.
unsigned unprivileged_user();

}  // namespace tvk::test
