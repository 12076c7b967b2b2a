#include "SettingFile.h"

#include "ModelLookup.h"
#include "Strings.h"

#include <cstdio>
#include <strings.h>
#include <vector>

namespace lumivane {
namespace {

struct Pair
{
    std::string name;
    int32_t* value;
};

// One line of block values and the received flag it sets when read (none for the AS values).
struct BlockLine
{
    std::vector<Pair> pairs;
    int32_t* received;
};

std::vector<Pair> cmsPairs(CmsBlock& block, char letter)
{
    std::vector<Pair> pairs;
    const char colours[] = {'R', 'G', 'B', 'C', 'M', 'Y'};
    for (int i = 0; i < 6; ++i)
        pairs.push_back({std::string{'C', 'M', letter, colours[i]}, &block.colour[i]});
    return pairs;
}

std::vector<BlockLine> mainBlockLines(MONITOR_SETTING& s)
{
    ControlBlock& c = s.control;
    PictureBlock& p = s.picture;
    SetupBlock& u = s.setup;
    OptionBlock& o = s.option;
    FunctionBlock& f = s.function;
    std::vector<Pair> as;
    for (int i = 0; i < 14; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "AS%02d", i + 1);
        as.push_back({name, &o.AS[i]});
    }
    return {
        {{{"WIDE", &c.WIDE}, {"BMOD", &c.BMOD}, {"VLMP", &c.VLMP}, {"VOLM", &c.VOLM}, {"MUTE", &c.MUTE}}, &c.received},
        {{{"CONT", &p.CONT},
          {"BLVL", &p.BLVL},
          {"TINT", &p.TINT},
          {"COLR", &p.COLR},
          {"SHRP", &p.SHRP},
          {"GAMM", &p.GAMM},
          {"CTMP", &p.CTMP},
          {"CRTR", &p.CRTR},
          {"CRTG", &p.CRTG},
          {"CRTB", &p.CRTB},
          {"FLES", &p.FLES},
          {"TDNR", &p.TDNR},
          {"MPNR", &p.MPNR},
          {"YCSP", &p.YCSP},
          {"OFSR", &p.OFSR},
          {"OFSG", &p.OFSG},
          {"OFSB", &p.OFSB}},
         &p.received},
        {{{"AUTR", &s.audio.AUTR}, {"AUBS", &s.audio.AUBS}, {"AUBL", &s.audio.AUBL}}, &s.audio.received},
        {cmsPairs(s.cms[CmsHue], 'H'), &s.cms[CmsHue].received},
        {cmsPairs(s.cms[CmsSaturation], 'S'), &s.cms[CmsSaturation].received},
        {cmsPairs(s.cms[CmsValue], 'V'), &s.cms[CmsValue].received},
        {{{"SCSV", &u.SCSV},
          {"MTIM", &u.MTIM},
          {"MINT", &u.MINT},
          {"STDR", &u.STDR},
          {"LANG", &u.LANG},
          {"PFIL", &u.PFIL},
          {"PWOD", &u.PWOD},
          {"STBM", &u.STBM},
          {"HDAW", &u.HDAW},
          {"MONO", &u.MONO},
          {"HDRA", &u.HDRA},
          {"HPCT", &u.HPCT},
          {"HPCH", &u.HPCH},
          {"DCOT", &u.DCOT},
          {"SPSL", &u.SPSL},
          {"ATOF", &u.ATOF},
          {"FNCM", &u.FNCM}},
         &u.received},
        {{{"OPTS", &u.OPTS}, {"OPSD", &u.OPSD}, {"OPDD", &u.OPDD}, {"OPSL", &u.OPSL}, {"OPDL", &u.OPDL}},
         &u.sensorReceived},
        {{{"QSPC", &o.QSPC},
          {"QSAV", &o.QSAV},
          {"CSYS", &o.CSYS},
          {"AOUT", &o.AOUT},
          {"AADJ", &o.AADJ},
          {"PMNG", &o.PMNG},
          {"HMDA", &o.HMDA},
          {"SCAN", &o.SCAN},
          {"OFTM", &o.OFTM},
          {"PMAV", &o.PMAV},
          {"DBSP", &o.DBSP},
          {"AIVP", &o.AIVP},
          {"Z2SP", &o.Z2SP},
          {"FCTL", &o.FCTL},
          {"GMDP", &o.GMDP}},
         &o.received},
        {{{"ALCK", &f.ALCK},
          {"LOSD", &f.LOSD},
          {"OFLD", &f.OFLD},
          {"SALT", &f.SALT},
          {"TALT", &f.TALT},
          {"PBTN", &f.PBTN},
          {"PCIP", &f.PCIP}},
         &f.received},
        {as, nullptr},
    };
}

std::vector<BlockLine> zrBlockLines(MONITOR_SETTING& s)
{
    ZrControlBlock& z = s.zrControl;
    return {
        {{{"WIDE", &z.WIDE}, {"AVMD", &z.AVMD}, {"VOLM", &z.VOLM}, {"MUTE", &z.MUTE}, {"ACSU", &z.ACSU}}, &z.received}};
}

std::vector<BlockLine> blockLines(MONITOR_SETTING& setting, std::string_view modelName)
{
    return isZrModelName(modelName) ? zrBlockLines(setting) : mainBlockLines(setting);
}

bool writePairs(CCsvLineFile& file, const std::vector<Pair>& pairs)
{
    std::vector<std::string> fields;
    for (const Pair& pair : pairs) {
        fields.push_back(pair.name);
        fields.push_back(std::to_string(*pair.value));
    }
    return file.writeLine(fields);
}

int32_t readPairValue(CCsvLineFile& file)
{
    std::string name;
    file.nextField(name);
    return file.nextInt(0);
}

// Reads power and input from line 3 (`lineRead` tells whether it exists); false when reading must stop
// there.
bool readPowerAndInput(CCsvLineFile& file, MONITOR_SETTING& setting, bool zrLayout, bool& lineRead)
{
    lineRead = file.readLine();
    if (!lineRead)
        return false;
    setting.power = readPairValue(file);
    if (setting.power == 0)
        return false;
    const int32_t input = readPairValue(file);
    // Series indexes lie at or below 100, those of the ZR-1190 family above; a negative index is none.
    const bool usable = zrLayout ? input > 100 : input > 0 && input <= 100;
    if (!usable) {
        setting.input = kNoInput;
        return false;
    }
    setting.input = input;
    return true;
}

} // namespace

std::string settingFileMessage(SettingFileStatus status, const std::string& path)
{
    switch (status) {
    case SettingFileStatus::Ok:
        return "";
    case SettingFileStatus::CannotOpen:
        return formatMessage(199, path.c_str());
    case SettingFileStatus::Broken:
        return messageText(200);
    case SettingFileStatus::UnsupportedVersion:
        return messageText(201);
    case SettingFileStatus::ZrIntoSeries:
        return "You cannot load ZR-1190 setting into QX-Series.";
    case SettingFileStatus::SeriesIntoZr:
        return "You cannot load QX-Series setting into ZR-1190.";
    }
    return "";
}

std::string loadCompulsoryQuestion(const std::string& fileModelName)
{
    return "The file's setting is for the model , " + fileModelName + ".\r\nDo you want to load compulsory?";
}

SettingFileStatus writeSettingFile(const std::string& path, const std::string& modelName,
                                   const MONITOR_SETTING& setting)
{
    MONITOR_SETTING copy = setting; // the line tables point into a record they may change
    CCsvLineFile file;
    if (!file.openWrite(path))
        return SettingFileStatus::CannotOpen;
    bool written = file.writeLine({kSettingFileMark, std::to_string(kSettingFileVersion)}) &&
                   file.writeLine(std::string_view(modelName)) &&
                   writePairs(file, {{"POWR", &copy.power}, {"INPS", &copy.input}});
    for (const BlockLine& line : blockLines(copy, modelName))
        written = written && writePairs(file, line.pairs);
    return file.close() && written ? SettingFileStatus::Ok : SettingFileStatus::CannotOpen;
}

SettingFileStatus SettingFileReader::open(const std::string& path)
{
    m_modelName.clear();
    if (!m_file.openRead(path))
        return SettingFileStatus::CannotOpen;
    std::string mark;
    if (!m_file.readLine() || !m_file.nextField(mark) || mark != kSettingFileMark) {
        m_file.close();
        return SettingFileStatus::Broken;
    }
    if (m_file.nextInt(0) != kSettingFileVersion) {
        m_file.close();
        return SettingFileStatus::UnsupportedVersion;
    }
    if (!m_file.readLine()) {
        m_file.close();
        return SettingFileStatus::Broken;
    }
    m_modelName = m_file.currentLine();
    return SettingFileStatus::Ok;
}

SettingFileStatus SettingFileReader::checkFamily(std::string_view targetModelName) const
{
    const bool fileIsZr = isZrModelName(m_modelName);
    if (fileIsZr == isZrModelName(targetModelName))
        return SettingFileStatus::Ok;
    return fileIsZr ? SettingFileStatus::ZrIntoSeries : SettingFileStatus::SeriesIntoZr;
}

bool SettingFileReader::needsConsent(std::string_view targetModelName) const
{
    return m_modelName.size() != targetModelName.size() ||
           ::strncasecmp(m_modelName.c_str(), std::string(targetModelName).c_str(), m_modelName.size()) != 0;
}

int SettingFileReader::readBody(MONITOR_SETTING& setting)
{
    bool powerLine = false;
    int linesRead = 0;
    if (readPowerAndInput(m_file, setting, isZrModelName(m_modelName), powerLine)) {
        for (const BlockLine& line : blockLines(setting, m_modelName)) {
            if (!m_file.readLine())
                break;
            for (const Pair& pair : line.pairs)
                *pair.value = readPairValue(m_file);
            if (line.received)
                *line.received = 1;
            ++linesRead;
        }
    }
    m_file.close();
    return powerLine ? linesRead + 1 : 0;
}

} // namespace lumivane
