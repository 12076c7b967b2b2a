#include "StoreFiles.h"

#include "FieldCodec.h"
#include "SharedFile.h"
#include "TextScramble.h"
#include "Utf8.h"

#include <algorithm>
#include <cstring>

namespace lumivane::tessera {
namespace {

constexpr size_t kOpenErrorLimit = 1039;
constexpr size_t kReadWriteErrorLimit = 519;

template <size_t Width> void readText(char (&field)[Width], std::string_view text)
{
    copyToField(field, Width, text);
}

template <size_t Width> std::string_view fieldText(const char (&field)[Width])
{
    return std::string_view(field, strnlen(field, Width));
}

void appendInteger(std::string& out, int32_t value)
{
    char buffer[16];
    char* end = buffer + sizeof buffer;
    char* p = end;
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--p = '-';
    out.append(p, end);
}

void appendFlag(std::string& out, int32_t flag)
{
    out += flag ? "true" : "false";
}

// Lines for reserving room: memchr finds the line feeds far faster than a byte loop.
size_t countLines(std::string_view content)
{
    size_t lines = 1;
    for (const char* p = content.data();
         (p = static_cast<const char*>(std::memchr(p, '\n', content.data() + content.size() - p))) != nullptr; ++p)
        ++lines;
    return lines;
}

void parsePanelLine(std::string_view line, TESSERA_PANEL_DATA& panel)
{
    FieldReader fields(line);
    panel.nPanelNo = fields.nextInteger();
    panel.nGroupNo = fields.nextInteger();
    readText(panel.szName, fields.nextText());
    readText(panel.szReserved, fields.nextText());
    readText(panel.szModel, fields.nextText());
    panel.nMdelValue = fields.nextInteger();
    panel.nComPort = fields.nextInteger();
    panel.nBaudRate = fields.nextInteger();
    panel.nMonitorID = fields.nextInteger();
    panel.bUse = fields.nextFlag();
    panel.bSchedule = fields.nextFlag();
    panel.nScheduleNo = fields.nextInteger();
    panel.nInterface = fields.nextInteger();
    panel.dwIPAddress = static_cast<uint32_t>(fields.nextInteger());
    panel.nDataPort = fields.nextInteger();
    readText(panel.szMACAddress, fields.nextText());
    readText(panel.szSerialNo, fields.nextText());
    panel.bMonitoring = fields.nextFlag();
    readText(panel.szUserName, unscrambleText(fields.nextText()));
    readText(panel.szPassword, unscrambleText(fields.nextText()));
    panel.nStatusKey = fields.nextInteger();
    panel.nModelFlags = fields.nextInteger();
}

void appendPanelLine(std::string& out, const TESSERA_PANEL_DATA& panel)
{
    const auto integer = [&out](int32_t value) {
        appendInteger(out, value);
        out += ',';
    };
    const auto text = [&out](std::string_view value) {
        appendEscaped(out, value);
        out += ',';
    };
    const auto flag = [&out](int32_t value) {
        appendFlag(out, value);
        out += ',';
    };
    integer(panel.nPanelNo);
    integer(panel.nGroupNo);
    text(fieldText(panel.szName));
    text(fieldText(panel.szReserved));
    text(fieldText(panel.szModel));
    integer(panel.nMdelValue);
    integer(panel.nComPort);
    integer(panel.nBaudRate);
    integer(panel.nMonitorID);
    flag(panel.bUse);
    flag(panel.bSchedule);
    integer(panel.nScheduleNo);
    integer(panel.nInterface);
    integer(static_cast<int32_t>(panel.dwIPAddress));
    integer(panel.nDataPort);
    text(fieldText(panel.szMACAddress));
    text(fieldText(panel.szSerialNo));
    flag(panel.bMonitoring);
    text(scrambleText(fieldText(panel.szUserName)));
    text(scrambleText(fieldText(panel.szPassword)));
    integer(panel.nStatusKey);
    appendInteger(out, panel.nModelFlags);
    out += "\r\n";
}

std::string limited(std::string text, size_t limit)
{
    text.resize(cutUtf8(text, limit).size());
    return text;
}

} // namespace

std::vector<TESSERA_PANEL_DATA> parsePanelFile(std::string_view content)
{
    std::vector<TESSERA_PANEL_DATA> panels;
    panels.reserve(countLines(content));
    forEachLine(content, [&panels](std::string_view line) { parsePanelLine(line, panels.emplace_back()); });
    return panels;
}

std::string formatPanelFile(const std::vector<TESSERA_PANEL_DATA>& panels)
{
    std::string out;
    out.reserve(panels.size() * 160);
    for (const TESSERA_PANEL_DATA& panel : panels)
        appendPanelLine(out, panel);
    return out;
}

GroupList parseGroupFile(std::string_view content)
{
    GroupList list;
    bool first = true;
    forEachLine(content, [&](std::string_view line) {
        FieldReader fields(line);
        if (first) {
            list.lastGroupNo = fields.nextInteger();
            first = false;
            return;
        }
        TESSERA_GROUP_DATA group{};
        group.nGroupNo = fields.nextInteger();
        readText(group.szName, fields.nextText());
        group.nParentNo = fields.nextInteger();
        list.groups.push_back(group);
    });
    return list;
}

std::string formatGroupFile(const GroupList& list)
{
    std::string out;
    out.reserve(16 + list.groups.size() * 32);
    appendInteger(out, list.lastGroupNo);
    out += "\r\n";
    for (const TESSERA_GROUP_DATA& group : list.groups) {
        appendInteger(out, group.nGroupNo);
        out += ',';
        appendEscaped(out, fieldText(group.szName));
        out += ',';
        appendInteger(out, group.nParentNo);
        out += "\r\n";
    }
    return out;
}

// An open that failed names its cause at some length; a read or write error after a good open is told
// shorter.
static FileOutcome failure(std::string error, const std::string& path, size_t limit)
{
    FileOutcome outcome;
    outcome.kind = FileOutcome::Failed;
    outcome.error = error.empty() ? "cannot open file - " + path : limited(std::move(error), limit);
    return outcome;
}

FileOutcome readStoreFile(const std::string& path, std::string& content)
{
    std::string error;
    switch (readSharedFile(path, FileAccess::SharedRead, content, error)) {
    case ReadResult::Ok:
        return {};
    case ReadResult::Missing:
        return {FileOutcome::Missing, {}};
    case ReadResult::Failed:
        return failure(std::move(error), path, kOpenErrorLimit);
    case ReadResult::ReadError:
        break;
    }
    return failure(std::move(error), path, kReadWriteErrorLimit);
}

FileOutcome writeStoreFile(const std::string& path, std::string_view content, bool sync)
{
    std::string error;
    SidecarLock lock;
    AtomicFileWriter writer;
    if (!lock.acquire(path, FileAccess::ExclusiveWrite, error) || !writer.open(path, error))
        return failure(std::move(error), path, kOpenErrorLimit);
    writer.write(content);
    if (!writer.commit(error, sync))
        return failure(std::move(error), path, kReadWriteErrorLimit);
    return {};
}

} // namespace lumivane::tessera
