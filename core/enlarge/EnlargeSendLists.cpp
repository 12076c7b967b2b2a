#include "EnlargeSendLists.h"

#include "CommandAvailability.h"
#include "CommandText.h"

#include <cstring>
#include <string>

namespace lumivane {
namespace {

CommandItem textItem(const std::string& text)
{
    CommandItem item{};
    item.kind = CommandItemKind::SendText;
    std::strncpy(item.text, text.c_str(), kCommandTextSize - 1);
    return item;
}

CommandItem perMonitorItem(const char* format, std::vector<int32_t>& values)
{
    CommandItem item{};
    item.kind = CommandItemKind::SendPerMonitor;
    std::strncpy(item.text, format, kCommandTextSize - 1);
    item.data = values.data();
    item.reportValue = values.empty() ? 0 : values.front();
    return item;
}

bool isSquare(const EnlargeLayout& layout)
{
    return layout.columns() == layout.rows();
}

int32_t placeValue(const EnlargeLayout& layout, int index)
{
    if (isSquare(layout))
        return index;
    return (layout.positionColumnOf(index) + 1) * 10 + layout.positionRowOf(index) + 1;
}

// The group's bounds, or the cell's own row and column when it is in no group.
struct Bounds
{
    int firstRow, lastRow, firstColumn, lastColumn;
};

Bounds boundsOf(const EnlargeLayout& layout, int index)
{
    const CellGroupRecord& group = layout.cell(index).group;
    if (group.ENRG == 1)
        return {group.EVMN, group.EVMX, group.EHMN, group.EHMX};
    const int row = layout.positionRowOf(index);
    const int column = layout.positionColumnOf(index);
    return {row, row, column, column};
}

} // namespace

std::string wallSizeCommand(const EnlargeLayout& layout)
{
    if (isSquare(layout))
        return settingCommand("EMAG", layout.columns() - 1);
    return settingCommand("EMHV", layout.positionColumns() * 10 + layout.positionRows());
}

std::string cellPlaceCommand(const EnlargeLayout& layout, int index)
{
    return settingCommand(isSquare(layout) ? "EPOS" : "EPHV", placeValue(layout, index));
}

MonitorShift monitorShift(const EnlargeLayout& layout, int index)
{
    const WallCell& cell = layout.cell(index);
    if (layout.isPortrait())
        return {-cell.shiftV, cell.shiftH};
    return {cell.shiftH, cell.shiftV};
}

NormalModeSendList::NormalModeSendList(const EnlargeLayout& layout, const std::vector<int>& cells)
{
    for (const int index : cells) {
        m_places.push_back(placeValue(layout, index));
        const MonitorShift shift = monitorShift(layout, index);
        m_shiftsH.push_back(shift.h);
        m_shiftsV.push_back(shift.v);
    }
    m_items.push_back(textItem(wallSizeCommand(layout)));
    m_items.push_back(perMonitorItem(isSquare(layout) ? "EPOS%04d" : "EPHV%04d", m_places));
    m_items.push_back(textItem(settingCommand("BEZH", layout.bezelH())));
    m_items.push_back(textItem(settingCommand("BEZV", layout.bezelV())));
    m_items.push_back(perMonitorItem("EPSH%04d", m_shiftsH));
    m_items.push_back(perMonitorItem("EPSV%04d", m_shiftsV));
}

std::vector<CommandItem> groupModeMonitorList(const EnlargeLayout& layout, int index, ModelCode model)
{
    const CellGroupRecord& group = layout.cell(index).group;
    const bool grouped = group.ENRG == 1;
    std::vector<std::string> texts;
    texts.push_back(settingCommand("STDR", static_cast<int>(layout.orientation())));
    texts.push_back(settingCommand("ENLG", grouped ? 1 : 0));
    std::string sizeCommand;
    if (grouped) {
        sizeCommand = settingCommand("EMHV", group.EHRG * 10 + group.EVRG);
        texts.push_back(sizeCommand);
        if (group.EHRG == group.EVRG)
            texts.push_back(settingCommand("EPOS", group.ENPS));
        else
            texts.push_back(settingCommand("EPHV", (group.EHID + 1) * 10 + group.EVID + 1));
        const MonitorShift shift = monitorShift(layout, index);
        texts.push_back(settingCommand("EPSH", shift.h));
        texts.push_back(settingCommand("EPSV", shift.v));
    }
    texts.push_back(settingCommand("BZCO", 1));
    if (layout.isPortrait()) {
        texts.push_back(settingCommand("BEZV", layout.bezelH()));
        texts.push_back(settingCommand("BEZH", layout.bezelV()));
    } else {
        texts.push_back(settingCommand("BEZH", layout.bezelH()));
        texts.push_back(settingCommand("BEZV", layout.bezelV()));
    }
    // A bezel is drawn on every edge that meets another monitor of the wall, not on the wall's rim.
    const Bounds bounds = boundsOf(layout, index);
    texts.push_back(settingCommand("BZCT", bounds.firstRow != 0 ? 1 : 0));
    texts.push_back(settingCommand("BZCB", bounds.lastRow != layout.positionRows() - 1 ? 1 : 0));
    texts.push_back(settingCommand("BZCR", bounds.lastColumn != layout.positionColumns() - 1 ? 1 : 0));
    texts.push_back(settingCommand("BZCL", bounds.firstColumn != 0 ? 1 : 0));

    std::vector<CommandItem> items;
    for (const std::string& text : texts)
        if (text == sizeCommand || isCommandAvailable(model, text))
            items.push_back(textItem(text));
    return items;
}

std::vector<CommandItem> clearEnlargeList(WallOrientation orientation, ModelCode model)
{
    std::vector<CommandItem> items;
    const bool family = offersGroupMode(model);
    if (family)
        items.push_back(textItem(settingCommand("BZCO", 0)));
    items.push_back(textItem(settingCommand("EMAG", 0)));
    if (family)
        items.push_back(textItem(settingCommand("STDR", static_cast<int>(orientation))));
    return items;
}

std::vector<CommandItem> idIndicationList(const WallMonitor& monitor, bool on)
{
    std::vector<CommandItem> items;
    const size_t bracket = monitor.name.find(']');
    const std::string label = bracket == std::string::npos ? monitor.name : monitor.name.substr(0, bracket + 1);
    const std::string display = textDisplayCommand(on ? label : "", "");
    const std::string query = settingCommand("IDCK", 0);
    if (offersGroupMode(monitor.model) && isCommandAvailable(monitor.model, display)) {
        items.push_back(textItem(display));
    } else if (on && isCommandAvailable(monitor.model, query)) {
        CommandItem item = textItem(query);
        item.kind = CommandItemKind::ReadText;
        items.push_back(item);
    }
    return items;
}

} // namespace lumivane
