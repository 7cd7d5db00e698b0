#include "unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tvk::test {
namespace {

const passwd* nobody() {
    return geteuid() == 0 ? getpwnam("nobody") : nullptr;
}

unsigned unprivileged_group() {
    const passwd* user = nobody();
    return user ? user->pw_gid : getegid();
}

}  // namespace

unsigned unprivileged_user() {
    const passwd* user = nobody();
    return user ? user->pw_uid : geteuid();
}

int run_unprivileged(const std::function<int()>& body) {
    const uid_t user = unprivileged_user();
    const gid_t group = unprivileged_group();
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(group) != 0 || setuid(user) != 0)) {
            _exit(255);
        }
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 255) {
        return -1;
    }
    return WEXITSTATUS(status);
}

}  // namespace tvk::test
