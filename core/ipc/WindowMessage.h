#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// The programs tell each other about changed shared data with "window messages": one line
// "<message> <wParam> <lParam>\n" written to a Unix socket named after the receiving window class. No
// data travels in a message; both programs read the shared files.
namespace windowMessages {
inline constexpr int kActivate = 0x0006;       // console: bring the running console forward
inline constexpr int kSettingsChanged = 1124;  // monitoring or security settings changed
inline constexpr int kPanelsChanged = 1125;    // monitors or their schedule assignment changed
inline constexpr int kSchedulesChanged = 1126; // schedules or report times changed
inline constexpr int kShowStatus = 1128;       // server: open the status window, wParam = authority
} // namespace windowMessages

inline constexpr const char* kConsoleWindowClass = "Lumivane_ClassName";
inline constexpr const char* kServerWindowClass = "Lumivane_Server_ClassName";

// The messages a program takes from other programs: the server its four notices, the console only
// "activate". Messages a program sends itself (the server's run-finished notice) never come through the
// socket. Other classes accept nothing.
std::vector<int> messagesAcceptedBy(std::string_view className);

struct WindowMessage
{
    int message = 0;
    int64_t wParam = 0;
    int64_t lParam = 0;

    friend bool operator==(const WindowMessage&, const WindowMessage&) = default;
};

// "1124 0 0\n".
std::string formatWindowMessage(const WindowMessage& message);
// One line without its line end: three decimal numbers separated by single blanks, the message number
// not negative. Anything else is refused.
std::optional<WindowMessage> parseWindowMessage(std::string_view line);

// "<runtime folder>/<class name>.sock"; empty when the runtime folder is unknown or the path does not fit
// a socket address.
std::string windowSocketPath(std::string_view className, bool createFolder = false);

enum class PostResult
{
    Delivered,
    NoListener, // nobody listens: the receiving program is not running; not an error
    Failed,
};

// Connects without blocking, writes the line, closes; never waits for an answer.
PostResult postWindowMessage(std::string_view className, const WindowMessage& message, std::string* error = nullptr);
PostResult postWindowMessageTo(const std::string& socketPath, const WindowMessage& message,
                               std::string* error = nullptr);

// Whether the program of `className` runs: something listens on its socket. The connection is closed
// without a line, which the listener drops without a word. Unlike a try of the single-instance mutex, this
// can never make an instance that is starting at that moment believe that another one runs.
bool hasListener(std::string_view className);

} // namespace lumivane
