#include "ServerPanel.h"

#include "MonitorLink.h"

namespace lumivane {

ServerPanel ServerPanel::workerCopy() const
{
    ServerPanel copy = *this;
    copy.handled = false;
    copy.commandError = false;
    copy.newError = false;
    copy.state.inputId = 0;
    copy.state.statusText.clear();
    copy.state.signalText.clear();
    copy.state.temperatureText.clear();
    copy.state.workTime = -1;
    return copy;
}

std::string ServerPanel::endpoint() const
{
    return monitorPortText(data);
}

} // namespace lumivane
