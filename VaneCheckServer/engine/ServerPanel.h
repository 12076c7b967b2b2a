#pragma once

#include "CMyLog.h"
#include "InputModes.h"
#include "tessera.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace lumivane {

// statusFlags of a monitor that gave no usable answer.
inline constexpr uint32_t kConnectionErrorFlags = 0x40000000;

// What the server last learned about a monitor. Copied whole between the live list and the worker's copies.
struct MonitorState
{
    uint32_t statusFlags = 0;  // 0 good, kConnectionErrorFlags, or the hardware status bits
    std::string statusText;    // the last status or error message
    std::time_t lastCheck = 0; // time of the last check or failed command
    bool hasStatus = false;    // at least one check or command result exists
    int power = 0;             // last power-state reply (1 on, 2 signal waiting)
    InputModeIndex inputId = 0;
    std::string signalText;
    std::string temperatureText;
    int workTime = -1; // hours, -1: none reported
};

// One registered monitor as the server works with it: the panel record, its own log and its state. The
// frame keeps the live list; the worker gets copies and changes nothing else, so that the work on one
// monitor depends on its copy alone.
struct ServerPanel
{
    TESSERA_PANEL_DATA data{};
    CMyLog log;
    MonitorState state;

    // Per run of the worker.
    bool handled = false;      // checked, or a command to it failed
    bool commandError = false; // a command to it failed
    bool newError = false;     // statusFlags changed to a nonzero value

    // A copy for the worker: per-run flags cleared, the texts and figures of the coming check emptied.
    ServerPanel workerCopy() const;
    // Takes over what a worker copy found.
    void takeResults(const ServerPanel& copy) { state = copy.state; }

    // Where the monitor is reached: its COM port (with the chain on it) or its LAN address and data port (with
    // the chain behind that monitor). Monitors of one endpoint cannot be talked to at the same time.
    std::string endpoint() const;
    bool isLan() const { return data.nInterface == 1; }
    bool isMonitoringTarget() const { return data.bUse && data.bMonitoring; }
    bool hasSchedule(int scheduleId) const { return data.bUse && data.bSchedule && data.nScheduleNo == scheduleId; }
};

} // namespace lumivane
