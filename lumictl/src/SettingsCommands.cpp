#include "SettingsCommands.h"

#include "CommunicationRun.h"
#include "CtlText.h"
#include "ModelLookup.h"
#include "SettingFile.h"
#include "SettingLists.h"
#include "SettingTransfer.h"
#include "Settings.h"
#include "TargetSelection.h"
#include "TerminalObserver.h"

namespace lumivane::ctl {

const char* const kSettingsHelp =
    "usage: lumictl settings save MONITOR FILE\n"
    "       lumictl settings load FILE TARGET... [--force]\n"
    "save reads power, input and every setting value from MONITOR and writes them to the monitor setting\n"
    "file FILE (.msf). load sends the file's power and input to each target and, when it names an input,\n"
    "all its values. The targets must share one model; a file saved from another model name is loaded\n"
    "only with --force, one of the other family (ZR-1190 / QX-Series) never.\n";

namespace {

ModelCode modelOf(const TESSERA_PANEL_DATA& monitor)
{
    return modelFromName(monitor.szModel, monitor.nModelFlags);
}

// Every step of a transfer runs over the same monitors with lumictl's error policy.
TransferRunner runnerOver(const CommandIo& io, const std::vector<TESSERA_PANEL_DATA>& monitors)
{
    return [&io, &monitors](TransferRun, std::vector<CommandItem>& items) { return runWithPolicy(io, items, monitors); };
}

int saveSettings(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({});
    if (words.size() != 2)
        throw UsageError{"settings save: give one MONITOR and the FILE"};
    const std::vector<TESSERA_PANEL_DATA> source{findMonitor(io.registry.panels(), words[0])};
    MONITOR_SETTING setting;
    if (!receiveFromSource(runnerOver(io, source), setting, modelOf(source[0]),
                           processSettings().environment.language, true, ReceiveScope::Everything))
        return 1; // a file of defaults would pass for the monitor's settings
    const SettingFileStatus written = writeSettingFile(words[1], source[0].szModel, setting);
    if (written != SettingFileStatus::Ok) {
        io.err << "lumictl: " << oneLine(settingFileMessage(written, words[1])) << "\n";
        return 1;
    }
    return 0;
}

bool sameModel(const TESSERA_PANEL_DATA& a, const TESSERA_PANEL_DATA& b)
{
    return std::string_view(a.szModel) == b.szModel && (a.nModelFlags & 1) == (b.nModelFlags & 1);
}

int loadSettings(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"group", "all", "force"});
    if (words.empty())
        throw UsageError{"settings load: which FILE?"};
    const std::string& path = words[0];
    const std::vector<TESSERA_PANEL_DATA> targets =
        selectTargets(io.registry, io.line, {words.begin() + 1, words.end()});
    for (const TESSERA_PANEL_DATA& target : targets)
        if (!sameModel(target, targets[0]))
            throw UsageError{"settings load: the targets are not all of one model (name and expansion board)"};
    const std::string targetModel = targets[0].szModel;

    SettingFileReader reader;
    const SettingFileStatus status = openForLoading(reader, path, targetModel);
    if (status != SettingFileStatus::Ok)
        throw UsageError{settingFileMessage(status, path)};
    if (reader.needsConsent(targetModel) && !io.line.has("force"))
        throw UsageError{loadCompulsoryQuestion(reader.modelName()) + " (--force loads it)"};

    const ModelCode model = modelOf(targets[0]);
    MONITOR_SETTING setting;
    resetToDefaults(setting, model, kNoInput, processSettings().environment.language);
    if (reader.readBody(setting) == 0) {
        io.err << "lumictl: " << path << " holds no power or input to load\n";
        return 1;
    }
    return sendLoadedSetting(runnerOver(io, targets), setting, model) ? 0 : 1;
}

} // namespace

int settingsCommand(const CommandIo& io, const std::vector<std::string>& words)
{
    if (words.empty())
        throw UsageError{"settings: save or load?"};
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (words[0] == "save")
        return saveSettings(io, rest);
    if (words[0] == "load")
        return loadSettings(io, rest);
    throw UsageError{"settings: unknown action '" + words[0] + "'"};
}

} // namespace lumivane::ctl
