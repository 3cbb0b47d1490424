// Runs a check with the rights of an ordinary user. File permissions do not
// bind the super-user (as CI runs), so there the check runs in a child
// process that first gives up those rights for the "nobody" user's.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>

namespace vx::test {

// `check` returns "" when all is well, otherwise what went wrong; so does
// AsOrdinaryUser, which adds what went wrong with the child process.
inline std::string AsOrdinaryUser(const std::function<std::string()>& check) {
    if (::geteuid() != 0) return check();
    int fds[2];
    if (::pipe(fds) != 0) return "cannot make a pipe";
    const pid_t child = ::fork();
    if (child < 0) return "cannot fork";
    if (child == 0) {
        ::close(fds[0]);
        std::string result;
        if (::setgid(65534) != 0 || ::setuid(65534) != 0 || ::geteuid() == 0)
            result = "cannot drop the super-user's rights";
        else
            result = check();
        for (std::size_t done = 0; done < result.size();) {
            const ssize_t n = ::write(fds[1], result.data() + done, result.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[512];
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        result.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (timedOut) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return "waitpid failed";
    }
    if (timedOut) return "the check as an ordinary user did not end within 30 s";
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the check as an ordinary user crashed";
    return result;
}

} // namespace vx::test
