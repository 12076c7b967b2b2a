#include "LanLogin.h"

#include "LinkLimits.h"
#include "Wait.h"

#include <cerrno>
#include <string>

namespace lumivane::link {

namespace {

// Reads the monitor's side of the log-in: whole lines, and the prompts that end without a line end.
class GreetingReader
{
public:
    GreetingReader(Transport& transport, int timeoutMs, const volatile int32_t* cancel)
        : m_transport(transport), m_deadline(timeoutMs), m_cancel(cancel)
    {
    }

    // The next non-empty line, or `prompt` when the buffer starts with it. False when nothing usable came.
    bool next(std::string_view prompt, std::string& text)
    {
        while (true) {
            skipLineEnds();
            if (!prompt.empty() && m_buffer.compare(0, prompt.size(), prompt) == 0) {
                text.assign(prompt);
                m_buffer.erase(0, prompt.size());
                return true;
            }
            const size_t end = m_buffer.find("\r\n");
            if (end != std::string::npos) {
                text.assign(m_buffer, 0, end);
                m_buffer.erase(0, end + 2);
                return true;
            }
            if (m_buffer.size() > kMaxReplyLine || !readMore())
                return false;
        }
    }

private:
    void skipLineEnds()
    {
        const size_t first = m_buffer.find_first_not_of("\r\n");
        // Keep a lone CR: it may be the start of a CR LF still on its way.
        const size_t keep = first == std::string::npos ? (m_buffer.empty() || m_buffer.back() != '\r' ? 0 : 1) : 0;
        m_buffer.erase(0, first == std::string::npos ? m_buffer.size() - keep : first);
    }

    bool readMore()
    {
        char chunk[1024];
        while (true) {
            const ssize_t count = m_transport.readSome(chunk, sizeof chunk);
            if (count > 0) {
                m_buffer.append(chunk, static_cast<size_t>(count));
                return true;
            }
            if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                return false;
            if (waitFor(m_transport.descriptor(), false, m_deadline, m_cancel) != WaitResult::Ready)
                return false;
        }
    }

    Transport& m_transport;
    Deadline m_deadline;
    const volatile int32_t* m_cancel;
    std::string m_buffer;
};

bool sendLine(Transport& transport, std::string_view text, int timeoutMs, const volatile int32_t* cancel)
{
    std::string line(text);
    line.push_back('\r');
    const Deadline deadline(timeoutMs);
    size_t sent = 0;
    while (sent < line.size()) {
        const ssize_t count = transport.writeSome(line.data() + sent, line.size() - sent);
        if (count > 0) {
            sent += static_cast<size_t>(count);
        } else if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) ||
                   waitFor(transport.descriptor(), true, deadline, cancel) != WaitResult::Ready) {
            return false;
        }
    }
    return true;
}

bool holdsLineEnd(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

LoginOutcome outcomeOfFinalLine(std::string_view line)
{
    if (line == "OK")
        return LoginOutcome::Ready;
    if (line == "DENIED")
        return LoginOutcome::Denied;
    return LoginOutcome::Failed;
}

} // namespace

LoginOutcome greetAndLogIn(Transport& transport, std::string_view user, std::string_view password, int timeoutMs,
                           const volatile int32_t* cancel)
{
    GreetingReader reader(transport, timeoutMs, cancel);
    std::string text;
    if (!reader.next("Login:", text))
        return LoginOutcome::Failed;
    if (text == "READY")
        return LoginOutcome::Ready;
    if (text == "REFUSED")
        return LoginOutcome::Refused;
    if (text == "BUSY")
        return LoginOutcome::Busy;
    if (text != "Login:")
        return LoginOutcome::Failed;

    if (holdsLineEnd(user) || holdsLineEnd(password))
        return LoginOutcome::Denied;
    if (!sendLine(transport, user, timeoutMs, cancel) || !reader.next("Password:", text))
        return LoginOutcome::Failed;
    if (text != "Password:")
        return outcomeOfFinalLine(text);
    if (!sendLine(transport, password, timeoutMs, cancel) || !reader.next({}, text))
        return LoginOutcome::Failed;
    return outcomeOfFinalLine(text);
}

} // namespace lumivane::link
