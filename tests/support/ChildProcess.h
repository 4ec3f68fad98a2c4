#pragma once

#include <csignal>
#include <cstdio>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs part of a test in a child process under limits the test process itself must not take on: a file
// size limit (a write fails as on a full disk) or the rights of an ordinary user (root ignores permissions).
namespace testsupport {

struct ChildLimits
{
    // When the tests run as root, the child becomes "nobody", for whom permissions apply.
    bool unprivileged = false;
    // RLIMIT_FSIZE in bytes (-1: none), with SIGXFSZ ignored so that a write past it fails instead of
    // ending the process.
    long long fileSizeLimit = -1;
};

// Says what went wrong in the child, whose own test failures the parent never sees.
inline bool ChildFailure(const char *what)
{
    std::fprintf(stderr, "in the child process: %s\n", what);
    return false;
}

// nullopt when the limits could not be taken on (the test should be skipped), else whether `body`
// returned true.
inline std::optional<bool> RunInChild(const ChildLimits &limits, const std::function<bool()> &body)
{
    constexpr int CouldNotSetUp = 77;
    constexpr uid_t Nobody = 65534;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        if (limits.unprivileged && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0))
            _exit(CouldNotSetUp);
        if (limits.fileSizeLimit >= 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(limits.fileSizeLimit), rlim_t(limits.fileSizeLimit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(CouldNotSetUp);
        }
        const bool passed = body();
        std::fflush(nullptr);
        // No exit handlers: they belong to the parent's test run.
        _exit(passed ? 0 : 1);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return false;
    if (WEXITSTATUS(status) == CouldNotSetUp)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

} // namespace testsupport
