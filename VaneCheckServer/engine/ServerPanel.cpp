#include "ServerPanel.h"

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

} // namespace lumivane
