#include "MonitorWork.h"

#include "Clock.h"
#include "CommandAvailability.h"
#include "CommandText.h"
#include "EndpointWorkQueue.h"
#include "InputSwitch.h"
#include "ModelLookup.h"
#include "MonitorLink.h"
#include "ServerTexts.h"
#include "Strings.h"
#include "corvalink.h"
#include "traitbook.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace lumivane {
namespace {

constexpr int kZrInputQueries = 5;
constexpr auto kZrQueryPause = std::chrono::milliseconds(1000);
constexpr int kPowerQueryRepeats = 3;
constexpr int kStatusTextSize = 257; // "HWST" text: up to 256 characters
constexpr int kReplyTextSize = 4096;
constexpr int kWorkTimeStep = 500;

// The open link to one monitor; closed when it goes.
class MonitorLinkSession
{
public:
    MonitorLinkSession(const TESSERA_PANEL_DATA& monitor, CancelFlag& cancel)
    {
        if (!hasValidMonitorId(monitor))
            return; // its ID cut to eight bits would reach another monitor
        const bool lan = monitor.nInterface == 1;
        m_link = LinkOpenLogin(monitorPortText(monitor).c_str(), lan ? monitor.szUserName : nullptr,
                               lan ? monitor.szPassword : nullptr, monitorOpenFlags(monitor, 0), cancel.forLink());
    }
    MonitorLinkSession(const MonitorLinkSession&) = delete;
    MonitorLinkSession& operator=(const MonitorLinkSession&) = delete;
    ~MonitorLinkSession()
    {
        if (m_link)
            LinkClose(m_link);
    }

    bool isOpen() const { return m_link != nullptr; }
    LinkHandle handle() const { return m_link; }

private:
    LinkHandle m_link = nullptr;
};

// A failed call while the cancel flag is set was cut short by it: that is the cancelled result.
int32_t resultOf(int32_t status, const CancelFlag& cancel)
{
    return status != LINK_OK && cancel.isSet() ? LINK_CANCELLED : status;
}

bool hasCommand(ModelCode model, const char* code)
{
    return isCommandAvailable(model, queryCommand(code));
}

int32_t queryNumber(LinkHandle link, std::string_view command, int32_t& value)
{
    return LinkGetNumber(link, ("command:" + std::string(command)).c_str(), &value, 0, 0, 0);
}

int32_t queryText(LinkHandle link, std::string_view command, std::string& text, int size = kReplyTextSize)
{
    std::string buffer(static_cast<size_t>(size), '\0');
    const int32_t status = LinkGetText(link, ("command:" + std::string(command)).c_str(), buffer.data(), size);
    if (status == LINK_OK)
        text = buffer.c_str();
    return status;
}

int32_t sendSetting(LinkHandle link, const std::string& command)
{
    return LinkSet(link, "command", command.c_str(), 0, 0, 0);
}

std::string hexWord(uint16_t word)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", word);
    return text;
}

// The ZR-1190 input query, repeated while the monitor answers with an error (it may still be starting).
int32_t queryZrInput(LinkHandle link, WorkContext& context, int32_t& value)
{
    int32_t status = LINK_OK;
    for (int attempt = 0; attempt < kZrInputQueries; ++attempt) {
        if (attempt > 0 && !context.wait(kZrQueryPause))
            break;
        status = queryNumber(link, "IAVD????", value);
        if (status != LINK_MONITOR_ERROR)
            break;
    }
    return status;
}

// What a check found; committed to the monitor only when the check was not cancelled.
struct CheckFindings
{
    MonitorState state;
    uint32_t statusFlags = 0;
    std::string statusText;
};

// The hardware status word: "HWCK" where the model has it, else derived from "DSTA". Nothing when the
// query failed.
std::optional<std::string> readStatusReply(LinkHandle link, ModelCode model)
{
    if (hasCommand(model, "HWCK")) {
        std::string reply;
        if (queryText(link, "HWCK0000", reply) != LINK_OK)
            return std::nullopt;
        return reply;
    }
    int32_t value = 0;
    if (queryNumber(link, "DSTA????", value) != LINK_OK)
        return std::nullopt;
    const uint16_t word = value >= 1 && value <= 3 ? 0x8000 : value == 4 ? 0x4000 : 0;
    return hexWord(word);
}

void decodeStatus(LinkHandle link, ModelCode model, CheckFindings& found)
{
    std::string shown;
    if (hasCommand(model, "HWST")) {
        std::string text;
        if (queryText(link, "HWST0000", text, kStatusTextSize) == LINK_OK)
            shown = text;
    }
    const std::optional<std::string> reply = readStatusReply(link, model);
    if (!reply)
        return; // the status stays good for this check
    const std::optional<uint16_t> word = readStatusWord(*reply);
    if (!word) {
        found.statusFlags = kConnectionErrorFlags;
        found.statusText = messageText(serverMessages::kStatusErrorReply);
        return;
    }
    found.statusFlags = *word;
    found.statusText = statusText(*word, isNewerStatusModel(model), shown.empty() ? hexWord(*word) : shown);
}

// The input and its signal. Returns the result of the input queries, or the cancelled result of the
// signal query.
int32_t readInputAndSignal(LinkHandle link, ModelCode model, CheckFindings& found, const CancelFlag& cancel)
{
    int32_t number = 0;
    int32_t status = queryNumber(link, "INPS????", number);
    if (status != LINK_OK)
        return status;
    int32_t slot = 0;
    if (hasCommand(model, "SLDS") && (status = queryNumber(link, "SLDS????", slot)) != LINK_OK)
        return status;
    found.state.inputId = inputIndexFromNumber(model, number, slot);
    if (found.state.inputId == 0 || model.kind() == 8)
        return LINK_OK;

    const std::optional<int32_t> terminal = inputTerminal(found.state.inputId);
    const bool pixelClock = terminal && *terminal != kTerminalDsubComponent && *terminal != kTerminalDsubVideo &&
                            TraitTerminalName(*terminal) != nullptr;
    if (pixelClock) {
        int32_t width = 0;
        int32_t height = 0;
        status = LinkGetPair(link, "command:PXCK????", &width, &height, 0, 0, 0);
        if (status == LINK_OK)
            found.state.signalText = std::to_string(width) + "x" + std::to_string(height);
    } else {
        status = queryText(link, "RESO????", found.state.signalText);
    }
    if (status != LINK_OK) {
        if (resultOf(status, cancel) == LINK_CANCELLED)
            return LINK_CANCELLED;
        found.state.signalText = messageText(serverMessages::kNoSignal);
    }
    return LINK_OK;
}

int32_t fullCheck(LinkHandle link, ModelCode model, CheckFindings& found, const CancelFlag& cancel)
{
    int32_t power = 0;
    const int32_t status = queryNumber(link, "POWR????", power);
    if (status != LINK_OK)
        return status;
    found.state.power = power;
    if (power != 1)
        return LINK_OK;
    decodeStatus(link, model, found);
    std::string temperature;
    if (queryText(link, "ERRT????", temperature) == LINK_OK)
        found.state.temperatureText = temperature;
    return readInputAndSignal(link, model, found, cancel);
}

int32_t shortCheck(LinkHandle link, WorkContext& context, CheckFindings& found)
{
    int32_t power = 0;
    int32_t status = queryNumber(link, "POWR????", power);
    if (status != LINK_OK)
        return status;
    found.state.power = power;
    if (power != 1)
        return LINK_OK;
    int32_t input = 0;
    if ((status = queryZrInput(link, context, input)) != LINK_OK)
        return status;
    found.state.inputId = input + 100;
    int32_t hours = 0;
    found.state.workTime = queryNumber(link, "UTIM????", hours) == LINK_OK ? hours / kWorkTimeStep * kWorkTimeStep : -1;
    return LINK_OK;
}

void recordCommandFailure(ServerPanel& panel, const std::string& message, WorkContext& context)
{
    if (panel.state.statusFlags != kConnectionErrorFlags)
        panel.newError = true;
    panel.state.statusFlags = kConnectionErrorFlags;
    panel.handled = true;
    panel.commandError = true;
    panel.state.hasStatus = true;
    panel.state.lastCheck = context.clock.now();
    panel.state.statusText = message;
    panel.log.Error(message);
}

int32_t powerOn(LinkHandle link, ServerPanel& panel, WorkContext& context)
{
    int32_t status = sendSetting(link, settingCommand("POWR", 1));
    if (status != LINK_OK)
        return status;
    int32_t power = 0;
    status = queryNumber(link, "POWR????", power);
    // A monitor that is still starting answers with an error; a silent one is not asked again.
    for (int repeat = 0; repeat < kPowerQueryRepeats && status != LINK_OK && status != LINK_TIMEOUT; ++repeat) {
        if (!context.wait(std::chrono::seconds(context.zrPowerWait)))
            break;
        status = queryNumber(link, "POWR????", power);
    }
    if (status == LINK_OK)
        panel.log.Trace(messageText(serverMessages::kPoweredOn));
    return status;
}

int32_t powerOff(LinkHandle link, ServerPanel& panel)
{
    const int32_t status = sendSetting(link, settingCommand("POWR", 0));
    if (status == LINK_OK)
        panel.log.Trace(messageText(serverMessages::kPoweredOff));
    return status;
}

int32_t changeZrInput(LinkHandle link, ModelCode model, InputModeIndex inputId, ServerPanel& panel,
                      WorkContext& context)
{
    if (inputId < kFirstZrInput || inputId > kLastZrInput)
        return LINK_OK;
    int32_t current = 0;
    const int32_t status = queryZrInput(link, context, current);
    if (status != LINK_OK)
        return status;
    const int32_t wanted = inputNumberFromIndex(model, inputId);
    if (wanted == 0 || wanted == current)
        return LINK_OK;
    const int32_t set = sendSetting(link, settingCommand("IAVD", wanted));
    if (set == LINK_OK)
        panel.log.Trace(formatMessage(serverMessages::kInputChanged, wanted));
    return set;
}

int32_t changeSeriesInput(LinkHandle link, ModelCode model, InputModeIndex inputId, ServerPanel& panel)
{
    if (inputId < 1 || inputId > 99)
        return LINK_OK;
    TerminalCheck check;
    int32_t status = checkTerminals(link, model, inputId, check);
    if (status != LINK_OK)
        return status;
    if (check.changeNeeded && check.windows != 0 && (status = LinkSet(link, "multi", "off", 0, 0, 0)) != LINK_OK)
        return status;
    if (check.changeNeeded && (status = sendTerminalCommands(link, model, inputId, nullptr)) != LINK_OK)
        return status;
    const int32_t number = seriesInputNumber(model, inputId);
    if (number == 0)
        return LINK_OK;
    status = sendSetting(link, settingCommand("INPS", number));
    if (status == LINK_OK)
        panel.log.Trace(formatMessage(serverMessages::kInputChanged, number));
    return status;
}

} // namespace

bool WorkContext::wait(std::chrono::milliseconds duration) const
{
    const auto cancelled = [this] { return cancel.isSet(); };
    if (queue == nullptr)
        return clock.sleepFor(duration, cancelled);
    return queue->pause([&] { return clock.sleepFor(duration, cancelled); });
}

bool SendCommand(ServerPanel& panel, const MonitorCommand& command, WorkContext& context)
{
    const MonitorLinkSession session(panel.data, context.cancel);
    if (!session.isOpen()) {
        if (context.cancel.isSet())
            return true;
        recordCommandFailure(panel, openFailureMessage(panel.data), context);
        return false;
    }
    const LinkHandle link = session.handle();
    const ModelCode model = monitorModel(panel.data);
    int32_t status = LINK_OK;
    if (command.power)
        status = command.powerOn ? powerOn(link, panel, context) : powerOff(link, panel);
    if (status == LINK_OK && command.changeInput && command.inputId != 0) {
        status = isZrModelName(panel.data.szModel) ? changeZrInput(link, model, command.inputId, panel, context)
                                                   : changeSeriesInput(link, model, command.inputId, panel);
    }
    status = resultOf(status, context.cancel);
    if (status == LINK_OK || status == LINK_CANCELLED)
        return true;
    recordCommandFailure(panel, communicationErrorText(panel.data, status), context);
    return false;
}

void CheckMonitor(ServerPanel& panel, WorkContext& context)
{
    // What a check reads is read anew: a monitor found off keeps no input or hours of an earlier check.
    CheckFindings found;
    found.state = panel.state;
    found.state.inputId = 0;
    found.state.workTime = -1;
    found.state.signalText.clear();
    found.state.temperatureText.clear();
    {
        const MonitorLinkSession session(panel.data, context.cancel);
        if (!session.isOpen()) {
            if (context.cancel.isSet())
                return;
            found.statusFlags = kConnectionErrorFlags;
            found.statusText = openFailureMessage(panel.data);
        } else {
            const ModelCode model = monitorModel(panel.data);
            int32_t status = isZrModelName(panel.data.szModel)
                                 ? shortCheck(session.handle(), context, found)
                                 : fullCheck(session.handle(), model, found, context.cancel);
            status = resultOf(status, context.cancel);
            if (status == LINK_CANCELLED)
                return;
            if (status != LINK_OK) {
                found.statusFlags = kConnectionErrorFlags;
                found.statusText = communicationErrorText(panel.data, status);
            }
        }
    }

    const uint32_t previousFlags = panel.state.statusFlags;
    panel.state = found.state;
    panel.state.statusFlags = found.statusFlags;
    panel.state.statusText = found.statusText;
    panel.handled = true;
    panel.state.hasStatus = true;
    panel.state.lastCheck = context.clock.now();
    if (found.statusFlags != previousFlags && found.statusFlags != 0)
        panel.newError = true;

    if (panel.state.statusFlags != 0) {
        panel.log.Error(panel.state.statusText);
    } else {
        if (panel.state.statusText.empty())
            panel.state.statusText = formatMessage(serverMessages::kStatusOk, messageText(111));
        panel.log.Trace(panel.state.statusText);
    }
}

} // namespace lumivane
