#include "ServerTexts.h"

#include "DataFolder.h"
#include "ModelLookup.h"
#include "MonitorLink.h"
#include "ServerPanel.h"
#include "Strings.h"
#include "corvalink.h"

#include <cstdio>

namespace lumivane {
namespace {

struct StatusTest
{
    uint16_t olderBits;
    uint16_t newerBits;
    int longMessage;
    int shortMessage;
};

// Tried in order; the first matching one names the status.
constexpr StatusTest kStatusTests[] = {
    {0x006F, 0x005F, 532, 573}, // voltage
    {0x0010, 0x0020, 534, 575}, // backlight
    {0x4000, 0x4000, 572, 577}, // temperature sensor
    {0x8000, 0x8000, 533, 574}, // temperature
    {0x2000, 0x2000, 598, 599}, // fan
    {0x1000, 0x1000, 600, 601}, // AC detection
};
constexpr int kUnknownStatusMessage = 567;
constexpr int kUnknownStatusShortMessage = 576;

const StatusTest* matchingTest(uint16_t word, bool newerModel)
{
    for (const StatusTest& test : kStatusTests) {
        if ((word & (newerModel ? test.newerBits : test.olderBits)) != 0)
            return &test;
    }
    return nullptr;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

struct InputName
{
    InputModeIndex index;
    int message;
};

constexpr InputName kInputNames[] = {{0, 111}, {1, 105}, {2, 243}, {3, 106},  {4, 107},  {5, 108},  {6, 244},
                                     {7, 109}, {8, 245}, {9, 110}, {10, 295}, {11, 296}, {12, 298}, {13, 299}};

} // namespace

bool isNewerStatusModel(ModelCode model)
{
    const int kind = model.kind();
    return !((kind >= 1 && kind <= 6) || kind == 8 || kind == 100);
}

std::optional<uint16_t> readStatusWord(std::string_view reply)
{
    const size_t start = reply.find_first_not_of(' ');
    if (start == std::string_view::npos || reply.size() - start < 4)
        return std::nullopt;
    uint16_t word = 0;
    for (size_t i = start; i < start + 4; ++i) {
        const int digit = hexValue(reply[i]);
        if (digit < 0)
            return std::nullopt;
        word = static_cast<uint16_t>(word << 4 | digit);
    }
    return word;
}

int statusMessage(uint16_t word, bool newerModel)
{
    if (word == 0)
        return serverMessages::kStatusOk;
    const StatusTest* test = matchingTest(word, newerModel);
    return test ? test->longMessage : kUnknownStatusMessage;
}

int shortStatusMessage(uint16_t word, bool newerModel)
{
    const StatusTest* test = matchingTest(word, newerModel);
    return test ? test->shortMessage : kUnknownStatusShortMessage;
}

std::string statusText(uint16_t word, bool newerModel, std::string_view shownText)
{
    return formatMessage(statusMessage(word, newerModel), std::string(shownText).c_str());
}

std::string powerText(int power)
{
    if (power == 1)
        return messageText(serverMessages::kPowerOn);
    if (power == 2)
        return messageText(serverMessages::kSignalWaiting);
    return messageText(serverMessages::kPowerOff);
}

std::string shortStatusText(uint32_t statusFlags, ModelCode model, int power)
{
    if (statusFlags == 0)
        return powerText(power);
    if (statusFlags == kConnectionErrorFlags)
        return messageText(serverMessages::kConnectionError);
    return messageText(shortStatusMessage(static_cast<uint16_t>(statusFlags), isNewerStatusModel(model)));
}

std::string serverInputName(InputModeIndex index)
{
    if (index >= kFirstZrInput && index <= kLastZrInput)
        return formatMessage(269, index - 100);
    for (const InputName& name : kInputNames) {
        if (name.index == index)
            return messageText(name.message);
    }
    return {};
}

std::string ipAddressText(uint32_t address)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF, (address >> 8) & 0xFF,
                  address & 0xFF);
    return text;
}

std::string communicationErrorText(const TESSERA_PANEL_DATA& monitor, int32_t status)
{
    const bool lan = monitor.nInterface == 1;
    const uint32_t a = monitor.dwIPAddress;
    const int b1 = int(a >> 24), b2 = int((a >> 16) & 0xFF), b3 = int((a >> 8) & 0xFF), b4 = int(a & 0xFF);
    switch (status) {
    case LINK_PORT_BUSY:
        return lan ? formatMessage(592, b1, b2, b3, b4, monitor.nDataPort) : formatMessage(543, monitor.nComPort);
    case LINK_TIMEOUT:
        return lan ? formatMessage(593, b1, b2, b3, b4, monitor.nDataPort) : formatMessage(529, monitor.nComPort);
    case LINK_MONITOR_ERROR:
        return messageText(541);
    case LINK_LOCKED:
        return messageText(531);
    case LINK_LOGIN_DENIED:
        return messageText(596);
    case LINK_ACCESS_REFUSED:
        return messageText(597);
    case LINK_WRONG_INTERFACE:
        return messageText(lan ? 594 : 595);
    default:
        return lan ? formatMessage(591, b1, b2, b3, b4, monitor.nDataPort) : formatMessage(542, monitor.nComPort);
    }
}

std::string openFailureMessage(const TESSERA_PANEL_DATA& monitor)
{
    if (!hasValidMonitorId(monitor))
        return monitorIdProblem(monitor);
    if (monitor.nInterface != 1)
        return formatMessage(540, monitor.nComPort);
    const uint32_t a = monitor.dwIPAddress;
    return formatMessage(590, int(a >> 24), int((a >> 16) & 0xFF), int((a >> 8) & 0xFF), int(a & 0xFF));
}

ModelCode monitorModel(const TESSERA_PANEL_DATA& monitor)
{
    static const std::string folder = programFilesFolder();
    return modelFromName(monitor.szModel, monitor.nModelFlags, folder);
}

std::string shownModelName(std::string_view storedName)
{
    return isZrModelName(storedName) ? std::string("ZR-1190") : std::string(storedName);
}

std::string todaysScheduleText(size_t actions, std::time_t next)
{
    std::tm local{};
    ::localtime_r(&next, &local);
    char text[96];
    std::snprintf(text, sizeof text, "Schedule of today: %zu action%s, the next at %02d:%02d.", actions,
                  actions == 1 ? "" : "s", local.tm_hour, local.tm_min);
    return text;
}

} // namespace lumivane
