#include "Settings.h"

#include "DataFolder.h"
#include "ProfileFile.h"
#include "Utf8.h"

#include <algorithm>

namespace lumivane {
namespace {
constexpr size_t kExecCommandLimit = 519;
}

void EnvironmentSettings::readFrom(const ProfileFile& file)
{
    debug = file.readInt("Debug", "Debug", debug);
    resource = file.readString("Environment", "Resource", resource);
    language = file.readInt("Environment", "Language", language);
    zrPowerWait = file.readInt("Environment", "ZRPowerWait", zrPowerWait);
    monitorSettingRow = file.readInt("Environment", "MonitorSettingRow", monitorSettingRow);
    monitorSettingColumn = file.readInt("Environment", "MonitorSettingColumn", monitorSettingColumn);
}

void OperatorSettings::readFrom(const ProfileFile& file)
{
    const OperatorSettings defaults;
    authority = file.readInt("Config", "Authority", defaults.authority);
    customize = file.readInt("Config", "Customize", defaults.customize);
    inputModeAvailable = file.readInt("Config", "InputModeAvailable", defaults.inputModeAvailable);
    searchPort = file.readInt("Config", "SearchPort", defaults.searchPort);
    monitoring = file.readInt("Check", "Monitoring", defaults.monitoring);
    interval = file.readInt("Check", "Interval", defaults.interval);
    messageBox = file.readInt("Check", "MessageBox", defaults.messageBox);
    logAttach = file.readInt("Check", "LogAttach", defaults.logAttach);
    execCommand = file.readInt("Check", "ExecCommand", defaults.execCommand);
    execCommandName =
        std::string(cutUtf8(file.readString("Check", "ExecCommandName", defaults.execCommandName), kExecCommandLimit));
    metricsFile = file.readString("Check", "MetricsFile", defaults.metricsFile);
    parallel = std::clamp(file.readInt("Check", "Parallel", defaults.parallel), 1, kMaxParallel);
    zrPowerWait = file.readInt("Environment", "ZRPowerWait", defaults.zrPowerWait);
}

std::string environmentIniPath()
{
    return programFilesFolder() + "/QVXCtrlEnv.ini";
}

std::string operatorIniPath()
{
    return dataFilePath("QVXCtrl.ini");
}

ProcessSettings& processSettings()
{
    static ProcessSettings settings;
    return settings;
}

void loadProcessSettings()
{
    ProcessSettings& settings = processSettings();
    settings.environment.readFrom(ProfileFile::load(environmentIniPath()));
    const std::string operatorPath = operatorIniPath();
    if (!operatorPath.empty())
        settings.operatorSettings.readFrom(ProfileFile::load(operatorPath));
}

bool writeOperatorSetting(const char* section, const char* key, int value)
{
    const std::string path = dataFilePath("QVXCtrl.ini", true);
    return !path.empty() && ProfileFile::writeInt(path, section, key, value);
}

} // namespace lumivane
