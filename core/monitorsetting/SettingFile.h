#pragma once

#include "CCsvLineFile.h"
#include "MonitorSetting.h"

#include <string>
#include <string_view>

namespace lumivane {

// Monitor setting files (".msf"): one monitor's MONITOR_SETTING as comma-separated name/value pairs, read
// by position. Line 1 "PanelDesk,1", line 2 the model name, line 3 power and input, then the blocks: eleven
// lines for the main series, one (the ZR CONTROL values) for the ZR-1190 family ("Brela").

inline constexpr const char* kSettingFileMark = "PanelDesk";
inline constexpr int kSettingFileVersion = 1;

enum class SettingFileStatus
{
    Ok,
    CannotOpen,         // message 199, with the path
    Broken,             // message 200
    UnsupportedVersion, // message 201
    ZrIntoSeries,       // a ZR-1190 file for monitors of the main series
    SeriesIntoZr,       // a main-series file for ZR-1190 monitors
};

// The operator's message for a status ("" for Ok).
std::string settingFileMessage(SettingFileStatus status, const std::string& path);

// The question put before a file is loaded into monitors of another model name.
std::string loadCompulsoryQuestion(const std::string& fileModelName);

// Writes the record in the layout of `modelName` (received flags are not stored). A file that cannot be
// written leaves the previous one whole and gives CannotOpen.
SettingFileStatus writeSettingFile(const std::string& path, const std::string& modelName,
                                   const MONITOR_SETTING& setting);

// Reads a setting file in steps, so that the caller can refuse it or ask the operator before anything in
// its record changes: open (header check), checkFamily, needsConsent, then readBody.
class SettingFileReader
{
public:
    // Opens the file and checks lines 1 and 2: Ok, CannotOpen, Broken or UnsupportedVersion.
    SettingFileStatus open(const std::string& path);
    const std::string& modelName() const { return m_modelName; }

    // Ok when the file is of the family of `targetModelName`, else which way the families differ.
    SettingFileStatus checkFamily(std::string_view targetModelName) const;

    // Whether the file was saved from another model name (case ignored): loading it then needs consent.
    bool needsConsent(std::string_view targetModelName) const;

    // Reads power, input and the blocks into `setting` and closes the file. Power 0 stops after the power;
    // an input that is none or not of the file's family clears the input and stops; the first missing line
    // stops; missing fields read as 0. Each block line read marks its block received. Gives the number of
    // lines read from line 3 on (0: the file holds no power).
    int readBody(MONITOR_SETTING& setting);

private:
    CCsvLineFile m_file;
    std::string m_modelName;
};

} // namespace lumivane
