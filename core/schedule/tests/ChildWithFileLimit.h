#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumivane::test {

// Runs `body` in a child process whose files may not grow beyond `bytes`, so that writes fail even for
// root; returns the child's exit status (the value `body` returned), or -1 when it did not exit normally.
inline int runWithFileSizeLimit(rlim_t bytes, const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace lumivane::test
