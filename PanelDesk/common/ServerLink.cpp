#include "ServerLink.h"

#include "DataFolder.h"
#include "ProcessLauncher.h"
#include "WindowMessage.h"

namespace lumivane {

void notifyServer(int message)
{
    postWindowMessage(kServerWindowClass, {message, 0, 0});
}

ServerStarter::ServerStarter() : m_folder(programFolder()) {}

bool ServerStarter::start(int authority, std::string& error) const
{
    return spawnDetached({programPath(), "/show", std::to_string(authority)}, error);
}

} // namespace lumivane
