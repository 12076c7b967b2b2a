#include "CommandIo.h"

#include "CommunicationRun.h"
#include "TerminalObserver.h"
#include "WindowMessage.h"

namespace lumivane::ctl {

bool runWithPolicy(const CommandIo& io, std::vector<CommandItem>& items, const std::vector<TESSERA_PANEL_DATA>& monitors)
{
    if (items.empty())
        return true;
    std::vector<const TESSERA_PANEL_DATA*> pointers;
    for (const TESSERA_PANEL_DATA& monitor : monitors)
        pointers.push_back(&monitor);
    const ErrorPolicy policy =
        io.line.value("on-error") ? ErrorPolicy::parse(*io.line.value("on-error")) : ErrorPolicy{};
    TerminalObserver observer(policy, io.err, io.errIsTerminal);
    observer.setTotals(static_cast<int>(monitors.size()), static_cast<int>(items.size()));
    return runCommandList(items, pointers, observer);
}

void tellServer(int message)
{
    postWindowMessage(kServerWindowClass, {message, 0, 0}); // no server running: it reads the files at start
}

} // namespace lumivane::ctl
