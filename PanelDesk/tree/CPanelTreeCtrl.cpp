// The panel tree control: its set-up and what the owning dialog asks about its items.
#include "CPanelTreeCtrl.h"

#include "CPanelTreeListner.h"
#include "ModelUniformity.h"
#include "PanelStore.h"
#include "PanelTreeItem.h"
#include "common/UiText.h"

#include <QHeaderView>
#include <QStyleOptionViewItem>

namespace lumivane {

CPanelTreeCtrl::CPanelTreeCtrl(Prompter& prompter, QWidget* parent)
    : QTreeWidget(parent), m_prompter(prompter), m_images(panelImageList())
{
    setObjectName("panelTree");
    setColumnCount(1);
    header()->hide();
    // Long names widen the column and bring a horizontal scroll bar instead of being cut short.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setRootIsDecorated(false); // the root item stays open: it needs no expander
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(panelImages::kSize, panelImages::kSize));
    setDragEnabled(false); // dragging is the control's own, see beginDrag()
    setExpandsOnDoubleClick(true);

    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (item == rootItem())
            expandItem(item);
    });
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_listener)
            m_listener->selectionChanged();
    });
}

CPanelTreeCtrl::~CPanelTreeCtrl()
{
    stopDragging(); // gives back the mouse and the cursor
}

PANEL_DATA* CPanelTreeCtrl::dataOf(const QTreeWidgetItem* item)
{
    if (!item || item->type() != CPanelTreeItem::kType)
        return nullptr;
    return static_cast<const CPanelTreeItem*>(item)->data();
}

void CPanelTreeCtrl::setCheckBoxes(bool on)
{
    m_checkBoxes = on;
    reload();
}

void CPanelTreeCtrl::setLayoutSize(int across, int down)
{
    m_layoutAcross = across;
    m_layoutDown = down;
    refreshImages();
}

void CPanelTreeCtrl::setEnlargeSupportTest(std::function<bool(const PANEL_DATA&, int, int)> test)
{
    m_enlargeSupport = std::move(test);
    refreshImages();
}

void CPanelTreeCtrl::setSelectedSchedule(int scheduleNo)
{
    m_selectedSchedule = scheduleNo;
    refreshImages();
}

// ---------------------------------------------------------------------------------------------------------
// Looking at the items

QTreeWidgetItem* CPanelTreeCtrl::selectedItem() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

const PANEL_DATA* CPanelTreeCtrl::selectedItemData() const
{
    return dataOf(selectedItem());
}

std::vector<PANEL_DATA> CPanelTreeCtrl::selectedMonitors() const
{
    std::vector<PANEL_DATA> monitors;
    if (!m_checkBoxes) {
        if (const PANEL_DATA* data = selectedItemData(); data && data->isMonitor())
            monitors.push_back(*data);
        return monitors;
    }
    forEachItem([&](QTreeWidgetItem* item) {
        if (const PANEL_DATA* data = dataOf(item); data && data->isMonitor() && isChecked(item))
            monitors.push_back(*data);
    });
    return monitors;
}

QTreeWidgetItem* CPanelTreeCtrl::findItem(int number, bool group) const
{
    QTreeWidgetItem* found = nullptr;
    forEachItem([&](QTreeWidgetItem* item) {
        const PANEL_DATA* data = dataOf(item);
        if (!found && data && data->isGroup() == group && data->number == number)
            found = item;
    });
    return found;
}

QTreeWidgetItem* CPanelTreeCtrl::findGroupItem(int number) const
{
    return number == 0 ? rootItem() : findItem(number, true);
}

QTreeWidgetItem* CPanelTreeCtrl::findMonitorByName(const std::string& name) const
{
    const QString wanted = QString::fromStdString(name);
    QTreeWidgetItem* found = nullptr;
    forEachItem([&](QTreeWidgetItem* item) {
        const PANEL_DATA* data = dataOf(item);
        if (!found && data && data->isMonitor() &&
            QString::fromStdString(data->name).compare(wanted, Qt::CaseInsensitive) == 0)
            found = item;
    });
    return found;
}

std::vector<PANEL_DATA> CPanelTreeCtrl::allItems() const
{
    std::vector<PANEL_DATA> items;
    forEachItem([&](QTreeWidgetItem* item) {
        if (const PANEL_DATA* data = dataOf(item))
            items.push_back(*data);
    });
    return items;
}

bool CPanelTreeCtrl::isChecked(const QTreeWidgetItem* item) const
{
    return m_checkBoxes && item && item->checkState(0) == Qt::Checked;
}

QRect CPanelTreeCtrl::checkBoxRect(const QTreeWidgetItem* item) const
{
    if (!m_checkBoxes || !item)
        return {};
    const QModelIndex index = indexFromItem(item);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.index = index;
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration |
                       QStyleOptionViewItem::HasDisplay;
    option.checkState = item->checkState(0);
    option.text = item->text(0);
    option.icon = item->icon(0);
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

QTreeWidgetItem* CPanelTreeCtrl::groupItemOf(QTreeWidgetItem* item) const
{
    const PANEL_DATA* data = dataOf(item);
    if (!data || data->isGroup())
        return item;
    return item->parent();
}

QTreeWidgetItem* CPanelTreeCtrl::selectedGroup(std::string& name) const
{
    QTreeWidgetItem* item = selectedItem();
    QTreeWidgetItem* group = item ? groupItemOf(item) : rootItem();
    const PANEL_DATA* data = dataOf(group);
    if (!data) {
        name = uiText(125).toStdString();
        return rootItem();
    }
    name = data->name;
    const StoreLock lock;
    TESSERA_GROUP_DATA record;
    if (const GroupList groups = GroupList::openExisting(groupFilePath());
        groups && groups.find(data->number, &record) >= 0)
        name = record.szName;
    return group;
}

int CPanelTreeCtrl::monitorsInSelectedGroup() const
{
    QTreeWidgetItem* item = selectedItem();
    QTreeWidgetItem* group = item ? groupItemOf(item) : rootItem();
    int count = 0;
    for (int i = 0; group && i < group->childCount(); ++i)
        if (const PANEL_DATA* data = dataOf(group->child(i)); data && data->isMonitor())
            ++count;
    return count;
}

int CPanelTreeCtrl::modelUniformityOfSelection(std::string& model, int& flags) const
{
    const std::vector<PANEL_DATA> monitors = selectedMonitors();
    std::vector<const PANEL_DATA*> pointers;
    for (const PANEL_DATA& monitor : monitors)
        pointers.push_back(&monitor);
    return modelUniformity(pointers, false, model, flags);
}

int CPanelTreeCtrl::modelUniformityOfSchedule(int scheduleNo, std::string& model) const
{
    std::vector<const PANEL_DATA*> monitors;
    forEachItem([&](QTreeWidgetItem* item) {
        if (const PANEL_DATA* data = dataOf(item);
            data && data->isMonitor() && data->bSchedule && data->nScheduleNo == scheduleNo)
            monitors.push_back(data);
    });
    int flags = 0;
    return modelUniformity(monitors, true, model, flags);
}

} // namespace lumivane
