#pragma once

#include <string>

namespace lumivane {

class ProfileFile;

// Installation switches from "QVXCtrlEnv.ini" beside the programs; read once at start, never written.
struct EnvironmentSettings {
    int debug = 0;               // non-zero: communication runs succeed without opening a port
    std::string resource;        // translation file used over the built-in texts
    int language = 14;           // value of the monitor language setting after a reset
    int zrPowerWait = 15;        // seconds between input queries of a ZR-1190 after power-on
    int monitorSettingRow = 5;   // largest enlarge layout, one direction
    int monitorSettingColumn = 5;

    void readFrom(const ProfileFile& file);
};

// Operator settings from "QVXCtrl.ini" in the data folder. readFrom() sets every key: a key the file lacks
// reads as its default below, never as the value an earlier read found.
struct OperatorSettings {
    // [Config]
    int authority = 1;
    int customize = 0;
    int inputModeAvailable = 0;
    int searchPort = 0;
    // [Check]
    int monitoring = 0;
    int interval = 60;
    int messageBox = 0;
    int logAttach = 0;
    int execCommand = 0;
    std::string execCommandName; // at most 519 bytes
    // Where the server writes its figures in the Prometheus text format after every run (for node_exporter's
    // textfile collector); empty: nowhere.
    std::string metricsFile;
    // How many monitors the server works at the same time (1 to kMaxParallel); monitors that share a COM
    // port or a LAN address and port are always worked one after another. 1: one monitor at a time, in
    // list order. The default lets a hundred monitors get their power-on within a second or two even
    // over a slow LAN, with a modest number of threads and connections.
    int parallel = 32;
    static constexpr int kMaxParallel = 256;
    // [Environment], as the server reads it from this file
    int zrPowerWait = 15;

    void readFrom(const ProfileFile& file);
};

// Section and key names of "QVXCtrl.ini", for the writers.
namespace settingKeys {
inline constexpr const char* kConfig = "Config";
inline constexpr const char* kCheck = "Check";
inline constexpr const char* kEnvironment = "Environment";
inline constexpr const char* kDebug = "Debug";
} // namespace settingKeys

std::string environmentIniPath(); // "<program folder>/QVXCtrlEnv.ini"
std::string operatorIniPath();    // "<data folder>/QVXCtrl.ini"; empty when the folder is unknown

// The process-wide settings, read at start and re-read by whoever changes them.
struct ProcessSettings {
    EnvironmentSettings environment;
    OperatorSettings operatorSettings;
};
ProcessSettings& processSettings();
void loadProcessSettings();

// Writes one operator setting as decimal text; false (nothing written) when the data folder is unknown
// or the file cannot be written.
bool writeOperatorSetting(const char* section, const char* key, int value);

} // namespace lumivane
