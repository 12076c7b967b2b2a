#include "EmulatedMonitor.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace lumivane::sim {

namespace {

// Value ranges of the settings the emulator checks; other known settings take any four-character number.
struct Range
{
    std::string_view code;
    int low;
    int high;
};
constexpr Range kRanges[] = {
    {"POWR", 0, 1},  {"INPS", 1, 99},   {"IAVD", 1, 7},  {"SLDS", 0, 2},  {"DVSL", 0, 9},  {"BNSL", 0, 9},
    {"HDSL", 0, 9},  {"MWIN", 0, 9},    {"WIDE", 1, 9},  {"BMOD", 0, 4},  {"VLMP", 0, 31}, {"VOLM", 0, 60},
    {"MUTE", 0, 2},  {"AVMD", 1, 7},    {"OFTM", 0, 4},  {"RSPW", 0, 1},  {"RSET", 0, 1},  {"ALCK", 0, 3},
    {"STDR", 0, 3},  {"EMAG", 0, 99},   {"EMHV", 0, 99}, {"EPOS", 0, 99}, {"EPHV", 0, 99}, {"ENLG", 0, 1},
    {"GAMM", 0, 9},  {"CTMP", 0, 99},   {"CONT", 0, 60}, {"BLVL", 0, 60}, {"TINT", 0, 60}, {"COLR", 0, 60},
    {"SHRP", 0, 24}, {"OPTS", 0, 9999}, {"IDCK", 0, 1},
};

// The commands the monitors know; anything else answers ERR.
constexpr std::string_view kKnownCodes[] = {
    "AADJ", "ACSU", "ADVR", "AHDR", "AIVP", "ALCK", "ALTG", "ANGA", "ANOF", "AOUT", "ASAP", "ASC2", "ASCA", "ASCP",
    "ASDA", "ASDP", "ASHA", "ASHP", "ASNC", "ASSA", "ASV2", "ASVA", "ATOF", "AUBL", "AUBS", "AUTR", "AVMD", "BCLB",
    "BCLM", "BCLR", "BEZH", "BEZV", "BLTM", "BLVL", "BMOD", "BNSL", "BOMD", "BPER", "BTSC", "BZCB", "BZCL", "BZCO",
    "BZCR", "BZCT", "CKDB", "CKSM", "CMHB", "CMHC", "CMHG", "CMHM", "CMHR", "CMHY", "CMSB", "CMSC", "CMSG", "CMSM",
    "CMSR", "CMSY", "CMVB", "CMVC", "CMVG", "CMVM", "CMVR", "CMVY", "COLR", "CONT", "CPMD", "CRST", "CRTB", "CRTG",
    "CRTR", "CSYS", "CTMP", "DATE", "DBSP", "DCOT", "DPIF", "DSTA", "DTFT", "DVSL", "EDWP", "EMAG", "EMHV", "ENLG",
    "EPHV", "EPOS", "EPSH", "EPSV", "ERRT", "EXCP", "FCTL", "FLES", "FMAG", "FMVR", "FNCM", "FRST", "GAMM", "GMDP",
    "HDAW", "HDRA", "HDSL", "HMDA", "HPCH", "HPCT", "HRES", "HSIZ", "HWCK", "HWST", "IAVD", "IDCK", "IDDP", "IFSN",
    "INF1", "INPS", "IRMD", "LANG", "LODI", "LOSD", "MACA", "MDEL", "MINT", "MONO", "MPNR", "MPSZ", "MTIM", "MUTE",
    "MWBL", "MWIN", "MWPP", "OFLD", "OFSB", "OFSG", "OFSR", "OFTM", "OPDD", "OPDL", "OPSD", "OPSL", "OPTB", "OPTS",
    "PATC", "PBRR", "PBTN", "PCIP", "PDSR", "PDVR", "PFIL", "PHDR", "PLTM", "PMAV", "PMNG", "POWR", "PTDB", "PTDF",
    "PTDG", "PTDR", "PWOD", "PWSV", "PXCK", "PXSL", "QSAV", "QSPC", "RESO", "RSET", "RSPW", "RUGR", "SALT", "SCAN",
    "SCSV", "SHRP", "SLDS", "SPSL", "SRNO", "STBM", "STCA", "STDR", "TALT", "TDNR", "TINT", "TMFT", "TRID", "TXDP",
    "UGBR", "UGBW", "UGGR", "UGGW", "UGRR", "UGRW", "UGSV", "UTIM", "VLMP", "VOLM", "VRES", "VSIZ", "WIDE", "YCSP",
    "Z2SP",
};

static_assert(std::is_sorted(std::begin(kKnownCodes), std::end(kKnownCodes)), "kept sorted for binary search");

bool isKnownCode(std::string_view code)
{
    return std::binary_search(std::begin(kKnownCodes), std::end(kKnownCodes), code);
}

// Answers only; a setting of these is refused.
constexpr std::string_view kQueryOnly[] = {"INF1", "SRNO", "MACA", "MDEL", "OPTB", "DSTA",
                                           "HWCK", "HWST", "ERRT", "PXCK", "RESO", "UTIM"};
// Settings only; a query of these is refused.
constexpr std::string_view kSetOnly[] = {"RSPW", "RSET", "DATE", "TXDP", "OFTM", "FRST"};
// Commands that a monitor in stand-by still carries out.
constexpr std::string_view kStandbySettings[] = {"POWR", "RSPW", "RSET"};
// Queries whose numeric parameter selects what to report instead of being a value.
constexpr std::string_view kSelectorQueries[] = {"HWCK", "HWST"};

template <size_t N> bool listed(const std::string_view (&list)[N], std::string_view code)
{
    return std::find(std::begin(list), std::end(list), code) != std::end(list);
}

bool isCodeChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A four-character value: four digits, or a minus sign and three.
bool readValue(std::string_view parameter, int& value)
{
    if (parameter.size() != 4)
        return false;
    const bool negative = parameter[0] == '-';
    value = 0;
    for (size_t i = negative ? 1 : 0; i < 4; ++i) {
        if (parameter[i] < '0' || parameter[i] > '9')
            return false;
        value = value * 10 + (parameter[i] - '0');
    }
    if (negative)
        value = -value;
    return true;
}

bool inRange(std::string_view code, int value)
{
    for (const Range& range : kRanges)
        if (range.code == code)
            return value >= range.low && value <= range.high;
    if (code.substr(0, 2) == "CM")
        return value >= -99 && value <= 99;
    return true;
}

// What a setting never set reads as: 0, or the lowest value where 0 is out of range (a monitor reports
// only values it would take back).
int unsetValue(std::string_view code)
{
    for (const Range& range : kRanges)
        if (range.code == code)
            return range.low > 0 ? range.low : 0;
    return 0;
}

// "DATE" with year, month, day, hour and minute, two digits each.
bool isValidDate(std::string_view parameter)
{
    if (parameter.size() != 10 || parameter.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    auto field = [&](size_t index) { return (parameter[index * 2] - '0') * 10 + (parameter[index * 2 + 1] - '0'); };
    return field(1) >= 1 && field(1) <= 12 && field(2) >= 1 && field(2) <= 31 && field(3) <= 23 && field(4) <= 59;
}

std::string number(int value)
{
    return std::to_string(value);
}

} // namespace

void recordLine(std::vector<std::string>& record, std::string_view line)
{
    if (record.size() >= kMaxRecordedLines)
        record.erase(record.begin(), record.begin() + kMaxRecordedLines / 2);
    record.emplace_back(line);
}

EmulatedMonitor::EmulatedMonitor(MonitorSpec spec, const CommandSupport& support)
    : m_state(std::move(spec)), m_support(support)
{
}

void EmulatedMonitor::setPower(bool on, SimClock::time_point now)
{
    if (on && !m_state.power)
        m_readyAt = now + std::chrono::milliseconds(m_state.powerUpMs);
    if (!on)
        m_readyAt = {}; // switched off: no longer starting up
    m_state.power = on;
}

std::optional<int> EmulatedMonitor::value(std::string_view code) const
{
    if (code == "POWR")
        return m_state.power ? 1 : 0;
    if (code == "INPS" || code == "IAVD")
        return m_state.input;
    if (const auto found = m_values.find(code); found != m_values.end())
        return found->second;
    return std::nullopt;
}

std::string EmulatedMonitor::carryOut(std::string_view command, SimClock::time_point now)
{
    recordLine(m_commands, command);
    if (command.size() < 5 || !std::all_of(command.begin(), command.begin() + 4, isCodeChar))
        return "ERR";
    const std::string_view code = command.substr(0, 4);
    const std::string_view parameter = command.substr(4);
    if (now < m_readyAt)
        return "ERR";
    if (m_state.locked)
        return "LOCKED";
    if (m_state.wrongInterface)
        return "IFERR";
    if (!isKnownCode(code) || !supports(code, command))
        return "ERR";
    const bool query = parameter == "????" || (listed(kSelectorQueries, code) && parameter.size() == 4 &&
                                               parameter.find_first_not_of("0123456789") == std::string_view::npos);
    if (query)
        return listed(kSetOnly, code) ? "ERR" : answerQuery(code);
    if (listed(kQueryOnly, code) || (!m_state.power && !listed(kStandbySettings, code)))
        return "ERR";
    return applySetting(code, parameter, now);
}

bool EmulatedMonitor::supports(std::string_view code, std::string_view command) const
{
    const auto named = [code](const std::vector<std::string>& codes) {
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    };
    if (named(m_state.lacks))
        return false;
    return named(m_state.has) || m_support(m_state.model, m_state.expansionBoard, command);
}

std::string EmulatedMonitor::statusWord() const
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", m_state.hardwareStatus);
    return text;
}

std::string EmulatedMonitor::answerQuery(std::string_view code) const
{
    if (code == "INF1")
        return m_state.model;
    if (code == "SRNO")
        return m_state.serial;
    if (code == "MACA")
        return m_state.mac;
    if (code == "MDEL")
        return number(m_state.mdel);
    if (code == "OPTB")
        return m_state.expansionBoard ? "1" : "0";
    if (code == "UTIM")
        return number(m_state.workHours);
    if (code == "ERRT")
        return m_state.temperature;
    if (code == "HWCK" || code == "HWST")
        return statusWord();
    if (code == "DSTA")
        return (m_state.hardwareStatus & 0x8000) ? "1" : (m_state.hardwareStatus & 0x4000) ? "4" : "0";
    if (code == "PXCK" || code == "RESO") {
        if (!m_state.power || !m_state.signal)
            return "ERR";
        return code == "PXCK" ? "1920,1080" : "1920x1080";
    }
    return number(value(code).value_or(unsetValue(code)));
}

std::string EmulatedMonitor::applySetting(std::string_view code, std::string_view parameter, SimClock::time_point now)
{
    if (code == "DATE")
        return isValidDate(parameter) ? "OK" : "ERR";
    if (code == "TXDP") {
        if (parameter.rfind("1:\"", 0) != 0)
            return "ERR";
        m_texts["TXDP"] = std::string(parameter);
        return "OK";
    }
    int value = 0;
    if (!readValue(parameter, value) || !inRange(code, value))
        return "ERR";
    if (code == "POWR")
        setPower(value == 1, now);
    else if (code == "INPS" || code == "IAVD")
        m_state.input = value;
    else if (code == "RSET")
        m_values.clear();
    else
        m_values[std::string(code)] = value;
    return "OK";
}

} // namespace lumivane::sim
