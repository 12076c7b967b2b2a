#pragma once

#include "CommandSupport.h"
#include "FleetDescription.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane::sim {

using SimClock = std::chrono::steady_clock;

// The records of received lines keep this many at most; beyond it the older half is dropped, so that a
// fleet under load for hours does not grow without end.
inline constexpr size_t kMaxRecordedLines = 100000;
void recordLine(std::vector<std::string>& record, std::string_view line);

// One monitor's side of the command protocol: it carries out a command text (without ID prefix) and
// gives the reply line (without line end). Its state is what the fleet described plus every setting it
// was sent; its faults are read by the port that carries its replies.
class EmulatedMonitor
{
public:
    EmulatedMonitor(MonitorSpec spec, const CommandSupport& support);

    std::string carryOut(std::string_view command, SimClock::time_point now);

    MonitorSpec& state() { return m_state; }
    const MonitorSpec& state() const { return m_state; }

    // Switches the power as POWR would; switching on starts the power-up time.
    void setPower(bool on, SimClock::time_point now);

    // The value last set with "<code>%04d" (or the power, input and ID the monitor keeps itself).
    std::optional<int> value(std::string_view code) const;

    // Every command text this monitor carried out (or refused), in order.
    const std::vector<std::string>& commands() const { return m_commands; }

private:
    std::string answerQuery(std::string_view code) const;
    std::string applySetting(std::string_view code, std::string_view parameter, SimClock::time_point now);
    std::string statusWord() const;
    // The fleet file's lacks= and has= before the model's availability.
    bool supports(std::string_view code, std::string_view command) const;

    MonitorSpec m_state;
    const CommandSupport& m_support;
    std::map<std::string, int, std::less<>> m_values;
    std::map<std::string, std::string, std::less<>> m_texts;
    SimClock::time_point m_readyAt{};
    std::vector<std::string> m_commands;
};

} // namespace lumivane::sim
