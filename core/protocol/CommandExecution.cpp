#include "CommandExecution.h"

#include "Utf8.h"
#include "corvalink.h"

#include <cstring>
#include <ctime>
#include <string>

namespace lumivane {
namespace {

constexpr const char* kSetKey = "command";
constexpr size_t kReplyBufferSize = 4096;

std::string queryKey(const char* text)
{
    return std::string("command:") + text;
}

int32_t send(LinkHandle link, const char* text)
{
    return LinkSet(link, kSetKey, text, 0, 0, 0);
}

int32_t readNumber(LinkHandle link, CommandItem& item)
{
    int32_t value = 0;
    const int32_t status = LinkGetNumber(link, queryKey(item.text).c_str(), &value, 0, 0, 0);
    if (status == LINK_OK && item.data != nullptr) {
        *static_cast<int32_t*>(item.data) = value;
    }
    return status;
}

int32_t readPair(LinkHandle link, CommandItem& item)
{
    int32_t first = 0;
    int32_t second = 0;
    const int32_t status = LinkGetPair(link, queryKey(item.text).c_str(), &first, &second, 0, 0, 0);
    if (status == LINK_OK && item.data != nullptr) {
        auto* values = static_cast<int32_t*>(item.data);
        values[0] = first;
        values[1] = second;
    }
    return status;
}

int32_t readText(LinkHandle link, CommandItem& item)
{
    char reply[kReplyBufferSize] = {};
    const int32_t status = LinkGetText(link, queryKey(item.text).c_str(), reply, int32_t(sizeof reply));
    if (status == LINK_OK && item.data != nullptr && item.textLimit > 0) {
        reply[sizeof reply - 1] = '\0';
        copyToField(static_cast<char*>(item.data), size_t(item.textLimit), reply);
    }
    return status;
}

// Writes the DATE command for the current local time into the item, so that a report shows what was sent.
int32_t setClock(LinkHandle link, CommandItem& item)
{
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    copyToField(item.text, sizeof item.text, dateCommand(local));
    return send(link, item.text);
}

int32_t sendPerMonitor(LinkHandle link, const CommandItem& item, int monitorPosition)
{
    if (item.data == nullptr || monitorPosition < 0) {
        return LINK_ERROR;
    }
    const int32_t value = static_cast<const int32_t*>(item.data)[monitorPosition];
    const std::optional<std::string> command = formatCommand(item.text, value);
    if (!command) {
        return LINK_ERROR;
    }
    return send(link, command->c_str());
}

} // namespace

int32_t executeCommandItem(LinkHandle link, CommandItem& item, int monitorPosition)
{
    item.text[sizeof item.text - 1] = '\0';
    switch (item.kind) {
    case CommandItemKind::SendText:
        return send(link, item.text);
    case CommandItemKind::ReadNumber:
        return readNumber(link, item);
    case CommandItemKind::ReadPair:
        return readPair(link, item);
    case CommandItemKind::ReadText:
        return readText(link, item);
    case CommandItemKind::SetClock:
        return setClock(link, item);
    case CommandItemKind::SendPerMonitor:
        return sendPerMonitor(link, item, monitorPosition);
    case CommandItemKind::Custom:
        break;
    }
    return LINK_OK;
}

} // namespace lumivane
