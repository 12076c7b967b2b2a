#include "ProcessLauncher.h"

#include "SharedFile.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace lumivane {

std::vector<std::string> splitCommandLine(std::string_view line)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true; // "" is an empty argument
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

namespace {

class SpawnAttributes
{
public:
    SpawnAttributes()
    {
        posix_spawnattr_init(&m_attributes);
        // A clean signal state: the starter may block or ignore signals the child relies on.
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        sigaddset(&defaults, SIGCHLD);
        posix_spawnattr_setsigmask(&m_attributes, &none);
        posix_spawnattr_setsigdefault(&m_attributes, &defaults);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
        flags |= POSIX_SPAWN_SETSID;
#endif
        posix_spawnattr_setflags(&m_attributes, flags);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    ~SpawnAttributes()
    {
        posix_spawnattr_destroy(&m_attributes);
    }
    const posix_spawnattr_t* get() const
    {
        return &m_attributes;
    }

private:
    posix_spawnattr_t m_attributes;
};

} // namespace

bool spawnDetached(const std::vector<std::string>& arguments, std::string& error, pid_t* childId)
{
    if (arguments.empty() || arguments.front().empty()) {
        error = "No program to start.";
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const SpawnAttributes attributes;
    pid_t child = 0;
    // glibc reports a failed exec as the result of posix_spawn itself.
    const int result = ::posix_spawn(&child, argv[0], nullptr, attributes.get(), argv.data(), environ);
    if (result != 0) {
        error = systemErrorText(result) + " - " + arguments.front();
        return false;
    }
    if (childId)
        *childId = child;
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace lumivane
