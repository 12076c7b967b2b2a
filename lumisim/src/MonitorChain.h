#pragma once

#include "EmulatedMonitor.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane::sim {

// The monitors on one line, in chain order: the first is the one attached to the PC (or the LAN
// monitor). It routes a command line by its "#nnn" prefix, answers the chain commands IDLS and IDAS
// itself, and records every line it received.
class MonitorChain
{
public:
    struct Answer
    {
        EmulatedMonitor* monitor = nullptr; // whose delay and faults apply; null: nobody answers
        std::string line;                   // the reply with its prefix, without line end
        int prefixId = 0;                   // the ID the command was addressed to (0: none)
    };

    MonitorChain(const ChainSpec& spec, const CommandSupport& support);

    Answer handleLine(std::string_view line, SimClock::time_point now);

    std::vector<std::unique_ptr<EmulatedMonitor>>& monitors() { return m_monitors; }
    const std::vector<std::unique_ptr<EmulatedMonitor>>& monitors() const { return m_monitors; }
    const std::vector<std::string>& lines() const { return m_lines; }
    void setIdAssignmentIgnored(bool ignored) { m_idAssignmentIgnored = ignored; }

private:
    std::string idList() const;

    std::vector<std::unique_ptr<EmulatedMonitor>> m_monitors;
    std::vector<std::string> m_lines;
    bool m_idAssignmentIgnored = false;
};

} // namespace lumivane::sim
