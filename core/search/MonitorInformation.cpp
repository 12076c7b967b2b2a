#include "MonitorInformation.h"

#include "CommandText.h"
#include "ModelClasses.h"
#include "ModelLookup.h"
#include "ReplyReaders.h"
#include "Utf8.h"
#include "corvalink.h"

#include <cstring>
#include <string>

namespace lumivane {
namespace {

constexpr size_t kModelReplySize = 100;
constexpr size_t kTextReplySize = 100;

// Names the command in the report text, so that a failure box says which one failed.
void report(char* reportText, const std::string& command)
{
    if (reportText)
        copyToField(reportText, kCommandTextSize, command);
}

int32_t askText(LinkHandle link, const std::string& command, char* reply, int32_t size, char* reportText)
{
    report(reportText, command);
    return LinkGetText(link, ("Command:" + command).c_str(), reply, size);
}

int32_t askNumber(LinkHandle link, const std::string& command, int32_t& value)
{
    return LinkGetNumber(link, ("Command:" + command).c_str(), &value, 0, 0, 0);
}

int32_t routine(char* reportText, LinkHandle link, const char* /*modelName*/, int32_t /*modelFlags*/, void* data)
{
    return readMonitorInformation(link, *static_cast<MonitorInformation*>(data), reportText);
}

} // namespace

int32_t readExpansionBoard(LinkHandle link, ModelCode model, int32_t& modelFlags)
{
    if (model.kind() != 7)
        return 0;
    int32_t board = 0;
    const int32_t status = askNumber(link, queryCommand("OPTB"), board);
    if (status == 0)
        modelFlags = board != 0 ? (modelFlags | 1) : (modelFlags & ~1);
    return status;
}

void confirmOptionSetting(LinkHandle link, ModelCode model, int32_t& modelFlags)
{
    if (model.kind() != 7 || model.variant() != 6)
        return;
    int32_t option = 0;
    if (askNumber(link, queryCommand("OPTS"), option) == 0 &&
        LinkSet(link, "command", settingCommand("OPTS", option).c_str(), 0, 0, 0) == 0)
        modelFlags |= 2;
}

int32_t readMdelValue(LinkHandle link, ModelCode model, int language, int32_t& mdelValue)
{
    if (!isClassD(model)) {
        mdelValue = language == 6 ? 0 : 1;
        return 0;
    }
    int32_t mdel = 0;
    const int32_t status = askNumber(link, queryCommand("MDEL"), mdel);
    if (status == 0)
        mdelValue = mdel;
    return status;
}

int32_t readMonitorInformation(LinkHandle link, MonitorInformation& information, char* reportText)
{
    TESSERA_PANEL_DATA& monitor = information.monitor;
    char model[kModelReplySize] = {};
    int32_t status = askText(link, queryCommand("INF1"), model, sizeof model, reportText);
    if (status != 0)
        return status;
    copyToField(monitor.szModel, sizeof monitor.szModel, model);
    if (isZrModelName(monitor.szModel)) {
        report(reportText, kEnablePowerOnCommand);
        return LinkSet(link, "command", kEnablePowerOnCommand, 0, 0, 0);
    }
    char serial[kTextReplySize] = {};
    if ((status = askText(link, queryCommand("SRNO"), serial, sizeof serial, reportText)) != 0)
        return status;
    copyToField(monitor.szSerialNo, sizeof monitor.szSerialNo, serial);
    if (monitor.nInterface == 1) {
        char mac[kTextReplySize] = {};
        // A short answer is no address: the one registered stays, as after a failed query.
        const std::string address =
            askText(link, queryCommand("MACA"), mac, sizeof mac, reportText) == 0 ? formatMacAddress(mac) : "";
        if (!address.empty())
            copyToField(monitor.szMACAddress, sizeof monitor.szMACAddress, address);
    }
    const ModelCode code = modelFromName(monitor.szModel, monitor.nModelFlags);
    report(reportText, queryCommand("OPTB"));
    if ((status = readExpansionBoard(link, code, monitor.nModelFlags)) != 0)
        return status;
    report(reportText, queryCommand("OPTS"));
    confirmOptionSetting(link, code, monitor.nModelFlags);
    report(reportText, queryCommand("MDEL"));
    return readMdelValue(link, code, information.language, monitor.nMdelValue);
}

void takeMonitorInformation(TESSERA_PANEL_DATA& registered, const TESSERA_PANEL_DATA& read)
{
    std::memcpy(registered.szModel, read.szModel, sizeof registered.szModel);
    std::memcpy(registered.szSerialNo, read.szSerialNo, sizeof registered.szSerialNo);
    std::memcpy(registered.szMACAddress, read.szMACAddress, sizeof registered.szMACAddress);
    registered.nModelFlags = read.nModelFlags;
    registered.nMdelValue = read.nMdelValue;
}

CommandItem monitorInformationItem(MonitorInformation* information)
{
    CommandItem item{};
    item.kind = CommandItemKind::Custom;
    copyToField(item.text, sizeof item.text, queryCommand("INF1"));
    item.data = information;
    item.routine = routine;
    return item;
}

} // namespace lumivane
