#pragma once

#include <string>

namespace lumivane {

// Tells the monitoring server that shared data changed (windowMessages::kSettingsChanged,
// kPanelsChanged, kSchedulesChanged). Nothing happens when the server is not running.
void notifyServer(int message);

// Starts the monitoring server "lumiwatch" from a program folder with "/show <authority>", without
// waiting for it.
class ServerStarter
{
public:
    static constexpr const char* kProgramName = "lumiwatch";

    ServerStarter(); // the console's own program folder
    explicit ServerStarter(std::string programFolder) : m_folder(std::move(programFolder)) {}

    std::string programPath() const { return m_folder + "/" + kProgramName; }
    // False with the cause in `error` when the program cannot be started.
    bool start(int authority, std::string& error) const;

private:
    std::string m_folder;
};

} // namespace lumivane
