#pragma once

#include "Json.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// The server's state as it writes it for scripts after every run: "Status/status.json" in the data folder.
// Texts are those of the status window's columns.
inline constexpr int kStatusSchemaVersion = 1;

struct MonitorStatusEntry
{
    struct NextAction
    {
        std::time_t time = 0;
        bool powerOn = false;
        int inputId = 0; // input chosen after power-on, 0 none
        std::string text;      // "Power On" or "Power Off"
        std::string inputName; // the input's name, empty for none
    };

    int number = 0;
    std::string name;
    int groupNumber = 0; // 0: directly under the root
    std::string groupName;
    bool hasState = false;
    std::string status;  // the status column: "(Not Get, yet)", the short status text or the power text
    int power = 0;       // last power-state reply (1 on, 2 signal waiting); only with a state
    std::string powerText;
    int inputId = 0;     // shown only when on and good; otherwise 0
    std::string input;   // "---" when none is shown
    std::string signal;  // "---" when none is shown
    uint32_t statusFlags = 0;
    std::string statusText; // the last status or error message
    std::time_t lastCheck = 0;
    std::optional<NextAction> next; // the next schedule action of today
};

struct ServerStatus
{
    std::time_t written = 0;
    std::time_t serverStarted = 0;
    std::time_t lastPoll = 0; // end of the last run; 0: none yet
    bool running = false;
    bool monitoring = false;
    int pollIntervalMinutes = 60;
    std::vector<MonitorStatusEntry> monitors;
};

// "2026-12-08T14:05:00+01:00": local time with its offset from UTC.
std::string isoTimeText(std::time_t time);
// Reads what isoTimeText writes (also "Z" for UTC); nothing for anything else.
std::optional<std::time_t> parseIsoTime(std::string_view text);

JsonValue statusToJson(const ServerStatus& status);
// The document back; fields that are missing read as their defaults. Nothing, with `error` set, when the
// document is no status object or its schema is newer than this program knows.
std::optional<ServerStatus> statusFromJson(const JsonValue& document, std::string& error);

// "<data folder>/Status/status.json"; with `create` the folder Status is created when missing. Empty when
// the data folder is unknown (or, with `create`, the folder cannot be made; `error` says why).
std::string statusFilePath(bool create, std::string* error = nullptr);

// Replaces the file at `path` atomically (a temporary file in the same folder, synced, renamed over it); a
// new file gets the mode of the shared files.
bool replaceFileAtomically(const std::string& path, std::string_view content, std::string& error);

// Column texts shared by the status window and lumictl: the monitoring time ("---" without a state, the
// time "%02d:%02d" when it is of the day of `now`, else the date "%04d/%02d/%02d"), and today's schedule
// ("08:00 - Power On", or "(No schedule)").
std::string monitoringTimeText(bool hasState, std::time_t lastCheck, std::time_t now);
std::string nextActionText(const std::optional<MonitorStatusEntry::NextAction>& next);

} // namespace lumivane
