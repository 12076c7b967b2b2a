#include "WindowMessage.h"

#include "DataFolder.h"
#include "SharedFile.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace lumivane {
namespace {

template <typename Number> bool takeNumber(std::string_view& text, Number& value, bool last)
{
    const size_t end = last ? text.size() : text.find(' ');
    if (end == 0 || end == std::string_view::npos)
        return false;
    const std::string_view digits = text.substr(0, end);
    const auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || stop != digits.data() + digits.size())
        return false;
    text.remove_prefix(last ? end : end + 1);
    return true;
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

void setError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

} // namespace

std::string formatWindowMessage(const WindowMessage& message)
{
    return std::to_string(message.message) + ' ' + std::to_string(message.wParam) + ' ' +
           std::to_string(message.lParam) + '\n';
}

std::optional<WindowMessage> parseWindowMessage(std::string_view line)
{
    WindowMessage message;
    if (!takeNumber(line, message.message, false) || !takeNumber(line, message.wParam, false) ||
        !takeNumber(line, message.lParam, true) || message.message < 0)
        return std::nullopt;
    return message;
}

std::vector<int> messagesAcceptedBy(std::string_view className)
{
    if (className == kServerWindowClass)
        return {windowMessages::kSettingsChanged, windowMessages::kPanelsChanged, windowMessages::kSchedulesChanged,
                windowMessages::kShowStatus};
    if (className == kConsoleWindowClass)
        return {windowMessages::kActivate};
    return {};
}

std::string windowSocketPath(std::string_view className, bool createFolder)
{
    const std::string folder = runtimeFolder(createFolder);
    if (folder.empty() || className.empty())
        return {};
    std::string path = folder + "/" + std::string(className) + ".sock";
    if (path.size() >= sizeof(sockaddr_un::sun_path))
        return {};
    return path;
}

PostResult postWindowMessage(std::string_view className, const WindowMessage& message, std::string* error)
{
    const std::string path = windowSocketPath(className);
    if (path.empty()) {
        setError(error, "The socket path of " + std::string(className) + " is unknown or too long.");
        return PostResult::Failed;
    }
    return postWindowMessageTo(path, message, error);
}

PostResult postWindowMessageTo(const std::string& socketPath, const WindowMessage& message, std::string* error)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) {
        setError(error, "Invalid socket path.");
        return PostResult::Failed;
    }
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());

    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.get() < 0) {
        setError(error, systemErrorText(errno));
        return PostResult::Failed;
    }
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int cause = errno;
        setError(error, systemErrorText(cause));
        // A missing socket file or one nobody listens on: the receiver is not running.
        return cause == ENOENT || cause == ECONNREFUSED ? PostResult::NoListener : PostResult::Failed;
    }
    const std::string line = formatWindowMessage(message);
    const ssize_t written = ::send(socket.get(), line.data(), line.size(), MSG_NOSIGNAL);
    if (written != static_cast<ssize_t>(line.size())) {
        setError(error, written < 0 ? systemErrorText(errno) : "The message was cut short.");
        return PostResult::Failed;
    }
    return PostResult::Delivered;
}

bool hasListener(std::string_view className)
{
    const std::string socketPath = windowSocketPath(className);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.get() < 0)
        return false;
    // A full backlog (EAGAIN) is a listener too.
    return ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
           errno == EAGAIN;
}

} // namespace lumivane
