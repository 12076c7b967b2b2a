// lumisim <fleet file> [--control <socket path>]
// Starts the fleet, prints where its monitors are, and runs until SIGTERM or SIGINT. Control commands
// (see ControlCommands.h) are read line by line from standard input and, with --control, from a Unix
// socket; each gets its answer back on the same channel.
#include "ControlCommands.h"
#include "Emulator.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

using lumivane::sim::Emulator;

namespace {

// The fleet file is read whole and closed before the emulator's threads start. False with errno set.
bool readFleetFile(const std::string& path, std::string& text)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char chunk[4096];
    ssize_t count;
    while ((count = ::read(fd, chunk, sizeof chunk)) > 0)
        text.append(chunk, static_cast<size_t>(count));
    const int readErrno = errno;
    ::close(fd);
    errno = readErrno;
    return count == 0;
}

int listenControlSocket(const std::string& path)
{
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ::unlink(path.c_str());
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

// Lines from one descriptor, each answered on `out`.
class CommandChannel
{
public:
    CommandChannel(int in, int out) : m_in(in), m_out(out) {}
    int in() const { return m_in; }

    // False once the channel is closed.
    bool serve(Emulator& emulator)
    {
        char chunk[1024];
        const ssize_t count = ::read(m_in, chunk, sizeof chunk);
        if (count <= 0)
            return false;
        m_buffer.append(chunk, static_cast<size_t>(count));
        size_t end;
        while ((end = m_buffer.find('\n')) != std::string::npos) {
            std::string answer = emulator.control(m_buffer.substr(0, end));
            m_buffer.erase(0, end + 1);
            if (answer.empty() || answer.back() != '\n')
                answer.push_back('\n');
            if (::write(m_out, answer.data(), answer.size()) < 0)
                return false;
        }
        return m_buffer.size() < 65536;
    }

private:
    int m_in;
    int m_out;
    std::string m_buffer;
};

} // namespace

int main(int argc, char** argv)
{
    std::string fleetPath;
    std::string controlPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--control") == 0 && i + 1 < argc)
            controlPath = argv[++i];
        else if (fleetPath.empty() && argv[i][0] != '-')
            fleetPath = argv[i];
        else
            fleetPath.clear(), i = argc;
    }
    if (fleetPath.empty()) {
        std::fprintf(stderr, "usage: lumisim <fleet file> [--control <socket path>]\n");
        return 2;
    }
    std::string fleetText;
    if (!readFleetFile(fleetPath, fleetText)) {
        std::fprintf(stderr, "lumisim: cannot read %s: %s\n", fleetPath.c_str(), std::strerror(errno));
        return 1;
    }

    // The signals are taken through a descriptor; the emulator's thread inherits the blocked mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);

    std::string error;
    auto emulator = Emulator::startText(fleetText, &error);
    if (!emulator) {
        std::fprintf(stderr, "lumisim: %s\n", error.c_str());
        return 1;
    }
    const int controlFd = controlPath.empty() ? -1 : listenControlSocket(controlPath);
    if (!controlPath.empty() && controlFd < 0) {
        std::fprintf(stderr, "lumisim: cannot listen on %s\n", controlPath.c_str());
        return 1;
    }
    std::printf("%s", emulator->control("where").c_str());
    if (controlFd >= 0)
        std::printf("control %s\n", controlPath.c_str());
    std::printf("ready\n");
    std::fflush(stdout);

    std::vector<CommandChannel> channels{CommandChannel(STDIN_FILENO, STDOUT_FILENO)};
    while (true) {
        std::vector<pollfd> entries{{signalFd, POLLIN, 0}, {controlFd, POLLIN, 0}};
        for (const CommandChannel& channel : channels)
            entries.push_back({channel.in(), POLLIN, 0});
        if (::poll(entries.data(), entries.size(), -1) < 0)
            continue;
        if (entries[0].revents != 0)
            break;
        if (entries[1].revents & POLLIN) {
            const int client = ::accept4(controlFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0)
                channels.emplace_back(client, client);
        }
        for (size_t i = channels.size(); i-- > 0;) {
            if (entries[i + 2].revents == 0 || channels[i].serve(*emulator))
                continue;
            if (channels[i].in() != STDIN_FILENO)
                ::close(channels[i].in());
            channels.erase(channels.begin() + static_cast<long>(i));
        }
    }
    if (controlFd >= 0) {
        ::close(controlFd);
        ::unlink(controlPath.c_str());
    }
    return 0;
}
