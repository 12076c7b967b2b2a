#include "WallCommands.h"

#include "CommunicationRun.h"
#include "CtlText.h"
#include "EnlargeFile.h"
#include "EnlargeGroupSend.h"
#include "EnlargeSendLists.h"
#include "ModelLookup.h"
#include "SettingLists.h"
#include "TargetSelection.h"
#include "TerminalObserver.h"

#include <map>

namespace lumivane::ctl {

const char* const kWallHelp =
    "usage: lumictl wall make FILE --grid HxV [--portrait] [--bezel H[,V]] MONITOR...\n"
    "       lumictl wall show FILE\n"
    "       lumictl wall send FILE [--clear MONITOR]... [--yes]\n"
    "make writes a normal-mode wall of H columns and V rows (1 to 9 each) with the monitors in cell order,\n"
    "row by row; \"-\" leaves a cell empty. Bezels are 0 to 100 (default 50). send sends the wall to its\n"
    "monitors in normal or group mode as the file says and clears enlarge on each --clear monitor first; the\n"
    "questions of group mode are answered No unless --yes answers them Yes.\n";

namespace {

constexpr int kLargestFileSide = 9;

WallMonitor wallMonitor(const TESSERA_PANEL_DATA& monitor)
{
    return {monitor.nPanelNo, monitor.szName, modelFromName(monitor.szModel, monitor.nModelFlags)};
}

std::map<int32_t, TESSERA_PANEL_DATA> byNumber(const std::vector<TESSERA_PANEL_DATA>& panels)
{
    std::map<int32_t, TESSERA_PANEL_DATA> monitors;
    for (const TESSERA_PANEL_DATA& monitor : panels)
        monitors[monitor.nPanelNo] = monitor;
    return monitors;
}

// "HxV".
std::pair<int, int> parseGrid(const std::string& text)
{
    const size_t x = text.find('x');
    if (x == std::string::npos)
        throw UsageError{"--grid: HxV, such as 2x2, not '" + text + "'"};
    return {parseNumber(text.substr(0, x), 1, kLargestFileSide, "--grid columns"),
            parseNumber(text.substr(x + 1), 1, kLargestFileSide, "--grid rows")};
}

int makeWall(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"grid", "portrait", "bezel"});
    if (words.empty())
        throw UsageError{"wall make: FILE --grid HxV MONITOR..."};
    const auto grid = io.line.value("grid");
    if (!grid)
        throw UsageError{"wall make: give --grid HxV"};
    const auto [h, v] = parseGrid(*grid);
    EnlargeLayout layout;
    layout.recreate(h, v, io.line.has("portrait") ? WallOrientation::Portrait : WallOrientation::Landscape);
    if (const auto bezel = io.line.value("bezel")) {
        const size_t comma = bezel->find(',');
        const int bezelH = parseNumber(bezel->substr(0, comma), 0, kLargestBezel, "--bezel");
        const int bezelV =
            comma == std::string::npos ? bezelH : parseNumber(bezel->substr(comma + 1), 0, kLargestBezel, "--bezel");
        layout.setBezels(bezelH, bezelV);
    }
    const std::vector<std::string> cells(words.begin() + 1, words.end());
    if (static_cast<int>(cells.size()) > layout.cellCount())
        throw UsageError{"wall make: " + std::to_string(cells.size()) + " monitors for " +
                         std::to_string(layout.cellCount()) + " cells"};
    const std::vector<TESSERA_PANEL_DATA> panels = io.registry.panels();
    for (size_t index = 0; index < cells.size(); ++index) {
        if (cells[index] == "-")
            continue;
        const WallMonitor monitor = wallMonitor(findMonitor(panels, cells[index]));
        if (!supportsWallSize(monitor.model, h, v))
            throw UsageError{monitor.name + " cannot take part in a wall of " + *grid};
        if (layout.cellOf(monitor.panelNo))
            throw UsageError{monitor.name + " is in the wall twice"};
        layout.place(static_cast<int>(index), monitor);
    }
    const EnlargeFileStatus written = writeEnlargeFile(words[0], layout);
    if (written != EnlargeFileStatus::Ok) {
        io.err << "lumictl: " << oneLine(enlargeFileMessage(written, words[0])) << "\n";
        return 1;
    }
    return 0;
}

// Reads a file with the registered `monitors`; UsageError when it cannot be read.
EnlargeLayout readWall(const CommandIo& io, const std::string& path,
                       const std::map<int32_t, TESSERA_PANEL_DATA>& monitors)
{
    EnlargeLayout layout;
    const EnlargeFileReading reading = readEnlargeFile(
        path,
        [&](int32_t panelNo) -> std::optional<WallMonitor> {
            const auto found = monitors.find(panelNo);
            return found == monitors.end() ? std::nullopt : std::optional(wallMonitor(found->second));
        },
        layout);
    if (reading.status != EnlargeFileStatus::Ok)
        throw UsageError{enlargeFileMessage(reading.status, path)};
    if (reading.passedOver > 0)
        io.err << "lumictl: " << reading.passedOver << " monitor line(s) of " << path
               << " name no registered monitor or no free cell; passed over\n";
    return layout;
}

int showWall(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({});
    if (words.size() != 1)
        throw UsageError{"wall show: which FILE?"};
    const EnlargeLayout layout = readWall(io, words[0], byNumber(io.registry.panels()));
    io.out << layout.columns() << "x" << layout.rows() << (layout.isPortrait() ? " portrait" : " landscape")
           << ", bezels " << layout.bezelH() << "," << layout.bezelV() << (layout.groupMode() ? ", group mode" : "")
           << "\n";
    for (int index = 0; index < layout.cellCount(); ++index) {
        const WallCell& cell = layout.cell(index);
        io.out << "cell " << index << "\t" << (cell.monitor ? cell.monitor->name : "-");
        if (cell.monitor)
            io.out << "\tshift " << cell.shiftH << "," << cell.shiftV;
        if (cell.group.ENRG)
            io.out << "\tgroup " << cell.group.EGRP;
        io.out << "\n";
    }
    return 0;
}

// What group mode asks of single monitors, through runs of one item.
class RunWallLink final : public WallCheckLink
{
public:
    RunWallLink(const CommandIo& io, const std::map<int32_t, TESSERA_PANEL_DATA>& monitors)
        : m_io(io), m_monitors(monitors)
    {
    }
    std::optional<int32_t> query(const WallMonitor& monitor, std::string_view code) override
    {
        int32_t value = 0;
        std::vector<CommandItem> items{queryItem(code, &value)};
        return runWithPolicy(m_io, items, {m_monitors.at(monitor.panelNo)}) ? std::optional(value) : std::nullopt;
    }
    bool send(const WallMonitor& monitor, const std::string& command) override
    {
        std::vector<CommandItem> items(1);
        std::snprintf(items[0].text, sizeof items[0].text, "%s", command.c_str());
        return runWithPolicy(m_io, items, {m_monitors.at(monitor.panelNo)});
    }

private:
    const CommandIo& m_io;
    const std::map<int32_t, TESSERA_PANEL_DATA>& m_monitors;
};

bool sendNormalMode(const CommandIo& io, const EnlargeLayout& layout,
                    const std::map<int32_t, TESSERA_PANEL_DATA>& monitors)
{
    std::vector<int> cells;
    std::vector<TESSERA_PANEL_DATA> targets;
    for (int index = 0; index < layout.cellCount(); ++index)
        if (const auto& monitor = layout.cell(index).monitor) {
            cells.push_back(index);
            targets.push_back(monitors.at(monitor->panelNo));
        }
    NormalModeSendList list(layout, cells);
    return runWithPolicy(io, list.items(), targets);
}

bool sendGroupMode(const CommandIo& io, const EnlargeLayout& layout,
                   const std::map<int32_t, TESSERA_PANEL_DATA>& monitors)
{
    RunWallLink link(io, monitors);
    const bool yes = io.line.has("yes");
    const CheckPrompt answer = [&](const CheckQuestion& question) {
        io.err << "lumictl: question " << question.message << " about";
        for (const std::string& name : question.names)
            io.err << " " << name;
        io.err << ": answered " << (yes ? "Yes" : "No") << "\n";
        return yes ? CheckAnswer::Yes : CheckAnswer::No;
    };
    bool allSent = true;
    const bool walked = sendGroupModeWall(layout, link, answer, [&](int index) {
        const WallMonitor& monitor = *layout.cell(index).monitor;
        std::vector<CommandItem> items = groupModeMonitorList(layout, index, monitor.model);
        allSent = runWithPolicy(io, items, {monitors.at(monitor.panelNo)}) && allSent;
    });
    return walked && allSent;
}

int sendWall(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"clear", "yes", "on-error"});
    if (words.empty())
        throw UsageError{"wall send: which FILE?"};
    const std::vector<TESSERA_PANEL_DATA> panels = io.registry.panels();
    const std::map<int32_t, TESSERA_PANEL_DATA> monitors = byNumber(panels);
    const EnlargeLayout layout = readWall(io, words[0], monitors);
    bool succeeded = true;
    for (const std::string& target : io.line.values("clear")) {
        const TESSERA_PANEL_DATA monitor = findMonitor(panels, target);
        std::vector<CommandItem> items = clearEnlargeList(layout.orientation(), wallMonitor(monitor).model);
        succeeded = runWithPolicy(io, items, {monitor}) && succeeded;
    }
    if (!layout.anyMonitorPlaced())
        return succeeded ? 0 : 1;
    succeeded = (layout.groupMode() ? sendGroupMode(io, layout, monitors) : sendNormalMode(io, layout, monitors)) &&
                succeeded;
    return succeeded ? 0 : 1;
}

} // namespace

int wallCommand(const CommandIo& io, const std::vector<std::string>& words)
{
    if (words.empty())
        throw UsageError{"wall: make, show or send?"};
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (words[0] == "make")
        return makeWall(io, rest);
    if (words[0] == "show")
        return showWall(io, rest);
    if (words[0] == "send")
        return sendWall(io, rest);
    throw UsageError{"wall: unknown action '" + words[0] + "'"};
}

} // namespace lumivane::ctl
