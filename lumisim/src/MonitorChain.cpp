#include "MonitorChain.h"

#include <cstdio>

namespace lumivane::sim {

namespace {
// The ID of a "#nnn" prefix (1..255), or 0 when the line has none.
int prefixIdOf(std::string_view line)
{
    if (line.size() < 4 || line[0] != '#')
        return 0;
    int id = 0;
    for (size_t i = 1; i < 4; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return 0;
        id = id * 10 + (line[i] - '0');
    }
    return id >= 1 && id <= 255 ? id : 0;
}
} // namespace

MonitorChain::MonitorChain(const ChainSpec& spec, const CommandSupport& support)
{
    for (const MonitorSpec& monitor : spec.monitors)
        m_monitors.push_back(std::make_unique<EmulatedMonitor>(monitor, support));
}

std::string MonitorChain::idList() const
{
    std::string list;
    for (const auto& monitor : m_monitors) {
        if (!list.empty())
            list.push_back(',');
        list += std::to_string(monitor->state().id);
    }
    return list;
}

MonitorChain::Answer MonitorChain::handleLine(std::string_view line, SimClock::time_point now)
{
    recordLine(m_lines, line);
    Answer answer;
    answer.prefixId = prefixIdOf(line);
    if (answer.prefixId != 0) {
        for (const auto& monitor : m_monitors) {
            if (monitor->state().id == answer.prefixId) {
                answer.monitor = monitor.get();
                answer.line = std::string(line.substr(0, 4)) + monitor->carryOut(line.substr(4), now);
                break;
            }
        }
        return answer;
    }
    answer.monitor = m_monitors.front().get();
    if (line == "IDLS????") {
        answer.line = idList();
    } else if (line.substr(0, 4) == "IDAS") {
        const bool assign = line == "IDAS0001";
        for (size_t i = 0; assign && !m_idAssignmentIgnored && i < m_monitors.size(); ++i)
            m_monitors[i]->state().id = static_cast<int>(i + 1);
        answer.line = assign ? "OK" : "ERR";
    } else {
        answer.line = answer.monitor->carryOut(line, now);
    }
    return answer;
}

} // namespace lumivane::sim
