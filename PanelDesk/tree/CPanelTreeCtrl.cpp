#include "CPanelTreeCtrl.h"

#include "CPanelTreeListner.h"
#include "ModelLookup.h"
#include "ModelUniformity.h"
#include "PanelStore.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace lumivane {
namespace {

constexpr int kImageRole = Qt::UserRole + 1;

// A tree item that owns its PANEL_DATA (none for the root) and sorts groups before monitors, then by
// name with the locale's case-sensitive comparison.
class CPanelTreeItem : public QTreeWidgetItem
{
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    explicit CPanelTreeItem(std::unique_ptr<PANEL_DATA> data) : QTreeWidgetItem(kType), m_data(std::move(data)) {}
    PANEL_DATA* data() const { return m_data.get(); }

    bool operator<(const QTreeWidgetItem& other) const override
    {
        const PANEL_DATA* mine = m_data.get();
        const PANEL_DATA* theirs = CPanelTreeCtrl::dataOf(&other);
        if (!mine || !theirs)
            return mine == nullptr && theirs != nullptr;
        if (mine->isGroup() != theirs->isGroup())
            return mine->isGroup();
        return QString::localeAwareCompare(QString::fromStdString(mine->name), QString::fromStdString(theirs->name)) <
               0;
    }

private:
    std::unique_ptr<PANEL_DATA> m_data;
};

int groupNumberOf(const QTreeWidgetItem* groupItem)
{
    const PANEL_DATA* data = CPanelTreeCtrl::dataOf(groupItem);
    return data ? data->number : 0;
}

} // namespace

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
// Filling

void CPanelTreeCtrl::reload()
{
    stopDragging();
    m_dropHighlight = nullptr;
    m_pressItem = nullptr;
    clear();

    auto* root = new CPanelTreeItem(nullptr);
    root->setText(0, uiText(m_checkBoxes ? 124 : 125));
    addTopLevelItem(root);
    prepareItem(root);
    setImage(root, panelImages::kRoot);

    // Display only: the files are read without the store's lock.
    if (GroupList groups = GroupList::openExisting(groupFilePath())) {
        const int first = TESSERA_GetChildGroupNumber(groups.handle(), -1);
        std::vector<bool> visited(static_cast<size_t>(TESSERA_GetGroupCount(groups.handle())), false);
        if (first >= 0)
            insertGroups(groups.handle(), first, root, visited);
    }
    if (PanelList panels = PanelList::openExisting(panelFilePath())) {
        int shown = 0;
        TESSERA_PANEL_DATA record;
        for (int i = 0; i < panels.count() && shown < kMaxMonitors; ++i) {
            if (!panels.get(i, record) || (m_mode != PanelTreeMode::Registration && !record.bUse))
                continue;
            insertMonitorItem(std::make_unique<PANEL_DATA>(panelDataFromRecord(record)));
            ++shown;
        }
    }
    sortSubtree(root);
    expandItem(root);
    selectItem(root);
}

// Depth first along the store's navigation: each group, its children, then its next sibling. A list index
// is entered once only, so a file whose parents run in a circle cannot loop the tree.
void CPanelTreeCtrl::insertGroups(TESSERA_GROUP groups, int first, QTreeWidgetItem* parent, std::vector<bool>& visited)
{
    for (int index = first; index >= 0 && static_cast<size_t>(index) < visited.size() && !visited[size_t(index)];
         index = TESSERA_GetNextSiblingGroupNumber(groups, index)) {
        visited[static_cast<size_t>(index)] = true;
        TESSERA_GROUP_DATA record;
        if (!TESSERA_GetGroupData(groups, index, &record))
            return;
        QTreeWidgetItem* item = insertGroupItem(std::make_unique<PANEL_DATA>(panelDataFromGroup(record)), parent);
        const int child = TESSERA_GetChildGroupNumber(groups, index);
        if (child >= 0)
            insertGroups(groups, child, item, visited);
    }
}

QTreeWidgetItem* CPanelTreeCtrl::insertGroupItem(std::unique_ptr<PANEL_DATA> data, QTreeWidgetItem* parent)
{
    auto* item = new CPanelTreeItem(std::move(data));
    item->setText(0, QString::fromStdString(item->data()->name));
    parent->addChild(item);
    prepareItem(item);
    setImage(item, panelImages::kGroup);
    return item;
}

QTreeWidgetItem* CPanelTreeCtrl::insertMonitorItem(std::unique_ptr<PANEL_DATA> data)
{
    QTreeWidgetItem* parent = findGroupItem(data->group);
    if (!parent)
        parent = rootItem();
    auto* item = new CPanelTreeItem(std::move(data));
    item->setText(0, labelOf(*item->data()));
    parent->addChild(item);
    prepareItem(item);
    setImage(item, monitorImage(*item->data()));
    expandItem(parent);
    return item;
}

void CPanelTreeCtrl::prepareItem(QTreeWidgetItem* item)
{
    // The check boxes follow the tree's own rules, so the view must not toggle them by itself.
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (m_checkBoxes)
        item->setCheckState(0, Qt::Unchecked);
}

QString CPanelTreeCtrl::labelOf(const PANEL_DATA& data) const
{
    const QString name = QString::fromStdString(data.name);
    const QString suffix = m_listener ? m_listener->labelSuffix(data) : QString();
    return suffix.isEmpty() ? name : QString("%1   -   <%2>").arg(name, suffix);
}

void CPanelTreeCtrl::setImage(QTreeWidgetItem* item, int index)
{
    item->setIcon(0, m_images[static_cast<size_t>(index)]);
    item->setData(0, kImageRole, index);
}

int CPanelTreeCtrl::imageIndex(const QTreeWidgetItem* item) const
{
    return item ? item->data(0, kImageRole).toInt() : -1;
}

int CPanelTreeCtrl::monitorImage(PANEL_DATA& data) const
{
    using namespace panelImages;
    switch (m_mode) {
    case PanelTreeMode::Registration: {
        if (!data.bUse)
            return kNotInUse;
        const int kind = modelFromName(data.szModel, data.nModelFlags).kind();
        if (kind == 0 || kind == 100)
            return kUnknownModel;
        return kind >= 3 && kind <= 8 ? kMonitor : kOtherModel;
    }
    case PanelTreeMode::Schedule:
        if (!data.bSchedule)
            return kMonitor;
        return data.nScheduleNo == m_selectedSchedule ? kSelectedSchedule : kOtherSchedule;
    case PanelTreeMode::Enlarge: {
        const bool supported = !m_enlargeSupport || m_enlargeSupport(data, m_layoutAcross, m_layoutDown);
        data.selectable = supported && modelFromName(data.szModel, data.nModelFlags).kind() != 6;
        if (!data.selectable)
            return kNotSelectable;
        return data.placed ? kPlaced : kMonitor;
    }
    case PanelTreeMode::Operation:
        break;
    }
    return kMonitor;
}

void CPanelTreeCtrl::refreshImages()
{
    forEachItem([this](QTreeWidgetItem* item) {
        if (PANEL_DATA* data = dataOf(item); data && data->isMonitor()) {
            setImage(item, monitorImage(*data));
            if (!data->selectable && isChecked(item))
                setItemChecked(item, false);
        }
    });
}

void CPanelTreeCtrl::sortSubtree(QTreeWidgetItem* item)
{
    sortChildrenOf(item);
    for (int i = 0; i < item->childCount(); ++i)
        if (const PANEL_DATA* data = dataOf(item->child(i)); data && data->isGroup())
            sortSubtree(item->child(i));
}

void CPanelTreeCtrl::sortChildrenOf(QTreeWidgetItem* item)
{
    item->sortChildren(0, Qt::AscendingOrder);
}

void CPanelTreeCtrl::showNewItem(QTreeWidgetItem* item)
{
    sortChildrenOf(item->parent());
    expandItem(item->parent());
    selectItem(item);
    scrollToItem(item);
}

void CPanelTreeCtrl::selectItem(QTreeWidgetItem* item)
{
    setCurrentItem(item); // the program's own selection changes do not ask the listener
}

template <typename Visit> void CPanelTreeCtrl::forEachItem(Visit&& visit) const
{
    std::vector<QTreeWidgetItem*> stack;
    if (rootItem())
        stack.push_back(rootItem());
    while (!stack.empty()) {
        QTreeWidgetItem* item = stack.back();
        stack.pop_back();
        visit(item);
        for (int i = item->childCount() - 1; i >= 0; --i)
            stack.push_back(item->child(i));
    }
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

// ---------------------------------------------------------------------------------------------------------
// Adding

int CPanelTreeCtrl::targetGroupNumber(QTreeWidgetItem** groupItem) const
{
    QTreeWidgetItem* item = selectedItem();
    QTreeWidgetItem* group = item ? groupItemOf(item) : rootItem();
    if (groupItem)
        *groupItem = group;
    return groupNumberOf(group);
}

QTreeWidgetItem* CPanelTreeCtrl::addNewMonitor()
{
    return appendMonitor(PANEL_DATA(), newMonitorName);
}

QTreeWidgetItem* CPanelTreeCtrl::addMonitor(const PANEL_DATA& found)
{
    return appendMonitor(found, [&found](int number) { return foundMonitorName(number, found); });
}

QTreeWidgetItem* CPanelTreeCtrl::appendMonitor(PANEL_DATA data, const std::function<std::string(int)>& nameFor)
{
    data.kind = PANEL_DATA::kMonitor;
    data.group = targetGroupNumber();
    {
        const StoreLock lock;
        const std::string path = panelFilePath();
        PanelList panels = PanelList::openOrEmpty(path);
        if (!panels)
            return nullptr;
        int largest = 0;
        TESSERA_PANEL_DATA record;
        for (int i = 0; i < panels.count(); ++i)
            if (panels.get(i, record))
                largest = std::max(largest, record.nPanelNo);
        data.number = largest + 1;
        data.name = nameFor(data.number);
        record = recordFromPanelData(data);
        if (!TESSERA_InsertPanelData(panels.handle(), -1, &record) || !panels.save(path))
            return nullptr;
    }
    QTreeWidgetItem* item = insertMonitorItem(std::make_unique<PANEL_DATA>(std::move(data)));
    showNewItem(item);
    if (m_checkBoxes)
        setItemChecked(item, false);
    return item;
}

QTreeWidgetItem* CPanelTreeCtrl::addGroup()
{
    QTreeWidgetItem* target = nullptr;
    PANEL_DATA data;
    data.kind = PANEL_DATA::kGroup;
    data.group = targetGroupNumber(&target);
    if (depthOf(target) >= kMaxGroupDepth) {
        m_prompter.plain(this, uiText(167));
        return nullptr;
    }
    data.name = uiText(126).toStdString();
    {
        const StoreLock lock;
        const std::string path = groupFilePath();
        GroupList groups = GroupList::openOrEmpty(path);
        if (!groups)
            return nullptr;
        TESSERA_GROUP_DATA record = groupFromPanelData(data);
        if (!TESSERA_InsertGroupData(groups.handle(), -1, &record) || !groups.save(path))
            return nullptr;
        data.number = record.nGroupNo;
    }
    QTreeWidgetItem* item = insertGroupItem(std::make_unique<PANEL_DATA>(std::move(data)), target);
    showNewItem(item);
    if (m_checkBoxes)
        setItemChecked(item, false);
    return item;
}

// ---------------------------------------------------------------------------------------------------------
// Deleting

bool CPanelTreeCtrl::deleteSelected()
{
    QTreeWidgetItem* item = selectedItem();
    const PANEL_DATA* data = dataOf(item);
    if (!data)
        return false;
    const QString question = data->isGroup() ? uiFormat(133, data->name.c_str()) : uiFormat(132, data->name.c_str());
    if (!m_prompter.confirm(this, question))
        return false;
    QTreeWidgetItem* parent = item->parent();
    const bool deleted = deleteSubtree(item);
    recomputeChecksFrom(parent);
    return deleted;
}

// Children first, depth first; each monitor and group is deleted from the store on its own. Stops at the
// first store failure, leaving what is not deleted yet in the store and in the tree.
bool CPanelTreeCtrl::deleteSubtree(QTreeWidgetItem* item)
{
    while (item->childCount() > 0)
        if (!deleteSubtree(item->child(item->childCount() - 1)))
            return false;
    return deleteSingleItem(item);
}

bool CPanelTreeCtrl::deleteSingleItem(QTreeWidgetItem* item)
{
    const PANEL_DATA* data = dataOf(item);
    if (!data)
        return false;
    if (data->isMonitor()) {
        const std::string path = panelFilePath();
        if (fileExists(path)) {
            const StoreLock lock;
            PanelList panels = PanelList::openExisting(path);
            if (!panels)
                return false;
            const int index = panels.find(data->number);
            if (index >= 0 && !(TESSERA_DeletePanelData(panels.handle(), index) && panels.save(path)))
                return false;
        }
    } else {
        const std::string path = groupFilePath();
        if (fileExists(path)) {
            const StoreLock lock;
            GroupList groups = GroupList::openExisting(path);
            if (!groups)
                return false;
            const int index = groups.find(data->number);
            if (index >= 0 && !(TESSERA_DeleteGroupData(groups.handle(), index) && groups.save(path)))
                return false;
        }
    }
    removeItem(item);
    return true;
}

void CPanelTreeCtrl::removeItem(QTreeWidgetItem* item)
{
    if (isInSubtree(m_dropHighlight, item))
        m_dropHighlight = nullptr;
    if (isInSubtree(m_pressItem, item))
        m_pressItem = nullptr;
    delete item;
}

void CPanelTreeCtrl::deleteMonitorsInSelectedGroup()
{
    QTreeWidgetItem* item = selectedItem();
    QTreeWidgetItem* group = item ? groupItemOf(item) : rootItem();
    if (!group)
        return;
    for (int i = group->childCount() - 1; i >= 0; --i)
        if (const PANEL_DATA* data = dataOf(group->child(i)); data && data->isMonitor())
            if (!deleteSingleItem(group->child(i)))
                break;
    recomputeChecksFrom(group);
}

// ---------------------------------------------------------------------------------------------------------
// Updating

bool CPanelTreeCtrl::updateSelected(const PANEL_DATA& edited)
{
    QTreeWidgetItem* item = selectedItem();
    const PANEL_DATA* data = dataOf(item);
    if (!data)
        return false;
    return data->isGroup() ? updateGroup(item, edited) : updateMonitor(item, edited);
}

bool CPanelTreeCtrl::updateGroup(QTreeWidgetItem* item, const PANEL_DATA& edited)
{
    PANEL_DATA& data = *dataOf(item);
    const int own = data.number;
    if (edited.group == own) {
        m_prompter.plain(this, uiText(127));
        return false;
    }
    QTreeWidgetItem* newParent = findGroupItem(edited.group);
    for (QTreeWidgetItem* up = newParent; up; up = up->parent()) {
        if (groupNumberOf(up) == own && dataOf(up)) {
            m_prompter.plain(this, uiText(128));
            return false;
        }
    }
    const bool moving = edited.group != data.group;
    if (moving && !newParent)
        return false; // a parent the tree does not know: the group would vanish from view
    {
        const StoreLock lock;
        const std::string path = groupFilePath();
        GroupList groups = GroupList::openOrEmpty(path);
        if (!groups)
            return false;
        const int index = groups.find(own);
        if (index < 0) {
            m_prompter.plain(this, uiText(129));
            return false;
        }
        TESSERA_GROUP_DATA record = groupFromPanelData(edited);
        record.nGroupNo = own;
        if (!TESSERA_SetGroupData(groups.handle(), index, &record) || !groups.save(path))
            return false;
    }
    data.name = edited.name;
    data.group = edited.group;
    item->setText(0, QString::fromStdString(data.name));
    if (!moving) {
        sortChildrenOf(item->parent());
        return true;
    }
    // Move the subtree with its data and check states, keeping what was open open.
    std::vector<QTreeWidgetItem*> expanded;
    forEachItem([&](QTreeWidgetItem* each) {
        if (isInSubtree(each, item) && each->isExpanded())
            expanded.push_back(each);
    });
    QTreeWidgetItem* oldParent = item->parent();
    oldParent->removeChild(item);
    newParent->addChild(item);
    for (QTreeWidgetItem* each : expanded)
        each->setExpanded(true);
    recomputeChecksFrom(oldParent);
    updateAncestorChecks(item);
    expandItem(newParent);
    showNewItem(item);
    return true;
}

bool CPanelTreeCtrl::updateMonitor(QTreeWidgetItem* item, const PANEL_DATA& edited)
{
    const PANEL_DATA old = *dataOf(item);
    auto updated = std::make_unique<PANEL_DATA>(edited);
    updated->kind = PANEL_DATA::kMonitor;
    updated->selectable = old.selectable;
    updated->placed = old.placed;
    updated->cellIndex = old.cellIndex;
    {
        const StoreLock lock;
        const std::string path = panelFilePath();
        PanelList panels = PanelList::openOrEmpty(path);
        if (!panels)
            return false;
        if (edited.number != old.number && panels.find(edited.number) >= 0) {
            m_prompter.plain(this, uiText(130));
            return false;
        }
        TESSERA_PANEL_DATA stored;
        const int index = panels.find(old.number, &stored);
        if (index < 0) {
            m_prompter.plain(this, uiText(131));
        } else {
            // The server hands out the status key while the console edits: keep the one in the file.
            updated->nStatusKey = stored.nStatusKey;
            const TESSERA_PANEL_DATA record = recordFromPanelData(*updated);
            if (!TESSERA_SetPanelData(panels.handle(), index, &record) || !panels.save(path))
                return false;
        }
    }
    const bool wasChecked = isChecked(item);
    QTreeWidgetItem* oldParent = item->parent();
    removeItem(item);
    recomputeChecksFrom(oldParent);
    QTreeWidgetItem* replacement = insertMonitorItem(std::move(updated));
    showNewItem(replacement);
    if (m_checkBoxes)
        setItemChecked(replacement, wasChecked);
    return true;
}

void CPanelTreeCtrl::clearSchedule(int scheduleNo)
{
    std::vector<QTreeWidgetItem*> assigned;
    forEachItem([&](QTreeWidgetItem* item) {
        if (const PANEL_DATA* data = dataOf(item);
            data && data->isMonitor() && data->bSchedule && data->nScheduleNo == scheduleNo)
            assigned.push_back(item);
    });
    if (assigned.empty())
        return;
    {
        const StoreLock lock;
        const std::string path = panelFilePath();
        PanelList panels = PanelList::openExisting(path);
        if (!panels)
            return;
        for (QTreeWidgetItem* item : assigned) {
            TESSERA_PANEL_DATA record;
            const int index = panels.find(dataOf(item)->number, &record);
            if (index < 0)
                continue;
            record.bSchedule = 0;
            record.nScheduleNo = 0;
            TESSERA_SetPanelData(panels.handle(), index, &record);
        }
        if (!panels.save(path))
            return;
    }
    for (QTreeWidgetItem* item : assigned) {
        PANEL_DATA& data = *dataOf(item);
        data.bSchedule = false;
        data.nScheduleNo = 0;
        item->setText(0, labelOf(data));
        setImage(item, monitorImage(data));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Check boxes: checking an item checks its whole subtree, except that a monitor that cannot be selected
// stays clear and, in enlarge mode, a placed monitor stays checked. Then every ancestor is checked exactly
// when it has children and all of them are checked.

void CPanelTreeCtrl::setItemChecked(QTreeWidgetItem* item, bool checked)
{
    if (!m_checkBoxes || !item)
        return;
    applyCheck(item, checked);
    updateAncestorChecks(item);
}

void CPanelTreeCtrl::applyCheck(QTreeWidgetItem* item, bool checked)
{
    bool value = checked;
    if (const PANEL_DATA* data = dataOf(item); data && data->isMonitor()) {
        if (!data->selectable)
            value = false;
        else if (m_mode == PanelTreeMode::Enlarge && data->placed)
            value = true;
    }
    // A group follows its children when some of them cannot take the check, so that a checked group
    // always means "everything below is checked".
    bool allChildren = true;
    for (int i = 0; i < item->childCount(); ++i) {
        applyCheck(item->child(i), checked);
        allChildren = allChildren && item->child(i)->checkState(0) == Qt::Checked;
    }
    if (item->childCount() > 0)
        value = allChildren;
    item->setCheckState(0, value ? Qt::Checked : Qt::Unchecked);
}

void CPanelTreeCtrl::updateAncestorChecks(QTreeWidgetItem* item)
{
    if (item)
        recomputeChecksFrom(item->parent());
}

void CPanelTreeCtrl::recomputeChecksFrom(QTreeWidgetItem* group)
{
    if (!m_checkBoxes)
        return;
    for (QTreeWidgetItem* up = group; up; up = up->parent()) {
        bool all = up->childCount() > 0;
        for (int i = 0; all && i < up->childCount(); ++i)
            all = up->child(i)->checkState(0) == Qt::Checked;
        up->setCheckState(0, all ? Qt::Checked : Qt::Unchecked);
    }
}

void CPanelTreeCtrl::toggleCheck(QTreeWidgetItem* item)
{
    setItemChecked(item, !isChecked(item));
}

// ---------------------------------------------------------------------------------------------------------
// Structure rules

int CPanelTreeCtrl::depthOf(const QTreeWidgetItem* item)
{
    int depth = 0;
    for (const QTreeWidgetItem* up = item ? item->parent() : nullptr; up; up = up->parent())
        ++depth;
    return depth;
}

int CPanelTreeCtrl::subGroupHeight(const QTreeWidgetItem* group)
{
    int height = 0;
    for (int i = 0; i < group->childCount(); ++i)
        if (const PANEL_DATA* data = dataOf(group->child(i)); data && data->isGroup())
            height = std::max(height, 1 + subGroupHeight(group->child(i)));
    return height;
}

bool CPanelTreeCtrl::isInSubtree(const QTreeWidgetItem* item, const QTreeWidgetItem* top)
{
    for (const QTreeWidgetItem* up = item; up; up = up->parent())
        if (up == top)
            return true;
    return false;
}

bool CPanelTreeCtrl::mayDrag(QTreeWidgetItem* item) const
{
    const PANEL_DATA* data = dataOf(item);
    if (!data)
        return false;
    if (m_mode == PanelTreeMode::Registration)
        return data->isGroup() || data->selectable;
    if (m_mode == PanelTreeMode::Enlarge)
        return data->isMonitor() && data->selectable;
    return false;
}

bool CPanelTreeCtrl::mayDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target) const
{
    QTreeWidgetItem* group = target ? groupItemOf(target) : nullptr;
    if (!dragged || !group || group == dragged->parent() || isInSubtree(group, dragged))
        return false;
    const PANEL_DATA* data = dataOf(dragged);
    // A group keeps the tree two levels deep: the target's depth plus the dragged sub-groups' height.
    return !(data && data->isGroup() && depthOf(group) + subGroupHeight(dragged) > kMaxGroupDepth - 1);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse and keys

bool CPanelTreeCtrl::mayChangeSelection()
{
    return !m_listener || m_listener->mayChangeSelection();
}

bool CPanelTreeCtrl::mayMoveTo(const QTreeWidgetItem* item)
{
    return !item || item == currentItem() || mayChangeSelection();
}

// The operator's keys that may move the selection. Up and down are worked out first, so that a key that
// would not move it does not ask; left and right may open or close a group instead, so they always ask.
bool CPanelTreeCtrl::mayMoveByKey(const QKeyEvent* event)
{
    static constexpr std::pair<int, CursorAction> kMoves[] = {
        {Qt::Key_Up, MoveUp},   {Qt::Key_Down, MoveDown},     {Qt::Key_Home, MoveHome},
        {Qt::Key_End, MoveEnd}, {Qt::Key_PageUp, MovePageUp}, {Qt::Key_PageDown, MovePageDown},
    };
    static constexpr int kOpenOrMove[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Asterisk, Qt::Key_Plus, Qt::Key_Minus};
    for (const auto& [key, action] : kMoves)
        if (event->key() == key)
            return mayMoveTo(itemFromIndex(moveCursor(action, event->modifiers())));
    if (std::find(std::begin(kOpenOrMove), std::end(kOpenOrMove), event->key()) != std::end(kOpenOrMove))
        return mayChangeSelection();
    return true;
}

bool CPanelTreeCtrl::clickedCheckBox(QMouseEvent* event, QTreeWidgetItem* item)
{
    if (event->button() != Qt::LeftButton || !item || !checkBoxRect(item).contains(event->position().toPoint()))
        return false;
    toggleCheck(item);
    if (m_listener)
        m_listener->itemClicked(item, true);
    return true;
}

void CPanelTreeCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* item = itemAt(pos);
    if (clickedCheckBox(event, item))
        return;
    if (!mayMoveTo(item))
        return;
    QTreeWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_leftPressed = true;
    m_pressPos = pos;
    m_pressItem = item;
    if (item && m_listener)
        m_listener->itemClicked(item, false);
}

void CPanelTreeCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint global = event->globalPosition().toPoint();
    if (m_dragItem) {
        moveDrag(pos, global);
        return;
    }
    if (!m_leftPressed) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    // A pressed button does not sweep the selection along; moving far enough starts a drag.
    if (m_pressItem && (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance())
        beginDrag(m_pressItem, global);
}

void CPanelTreeCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_leftPressed = false;
        m_pressItem = nullptr;
        if (m_dragItem) {
            endDrag(event->position().toPoint(), event->globalPosition().toPoint());
            return;
        }
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void CPanelTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* item = itemAt(pos);
    if (clickedCheckBox(event, item))
        return;
    if (!mayMoveTo(item))
        return;
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton || !item || !m_listener)
        return;
    m_listener->itemClicked(item, false);
    if (item == selectedItem())
        m_listener->itemDoubleClicked(item);
}

void CPanelTreeCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (m_checkBoxes)
            toggleCheck(selectedItem());
        return;
    }
    if (event->key() == Qt::Key_Delete && m_mode == PanelTreeMode::Registration) {
        deleteSelected();
        return;
    }
    if (!mayMoveByKey(event))
        return;
    QTreeWidget::keyPressEvent(event);
}

void CPanelTreeCtrl::keyboardSearch(const QString& search)
{
    if (mayChangeSelection())
        QTreeWidget::keyboardSearch(search);
}

// ---------------------------------------------------------------------------------------------------------
// Drag and drop

CPanelTreeCtrl::DragScroll CPanelTreeCtrl::dragScrollFor(int cursorY, int top, int bottom)
{
    constexpr int kEdge = 10;
    constexpr int kStep = 20;
    DragScroll scroll;
    int distance = 0;
    if (cursorY < top + kEdge) {
        scroll.direction = -1;
        distance = (top + kEdge - cursorY) / kStep;
    } else if (cursorY > bottom - kEdge) {
        scroll.direction = 1;
        distance = (cursorY - (bottom - kEdge)) / kStep;
    }
    scroll.period = distance < 6 ? 6 - distance : 1;
    return scroll;
}

void CPanelTreeCtrl::beginDrag(QTreeWidgetItem* item, const QPoint& globalPos)
{
    m_pressItem = nullptr;
    if (!mayChangeSelection() || !mayDrag(item))
        return;
    m_dragItem = item;
    selectItem(item);
    m_lastCursor = globalPos;

    m_dragImage = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    m_dragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dragImage->setPixmap(viewport()->grab(visualItemRect(item)));
    m_dragImage->move(globalPos + QPoint(8, 8));
    m_dragImage->show();

    viewport()->grabMouse();
    QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor);
    m_scrollTicks = 0;
    m_scrollTimer.start(kDragScrollInterval, this);
}

void CPanelTreeCtrl::moveDrag(const QPoint& viewportPos, const QPoint& globalPos)
{
    m_lastCursor = globalPos;
    if (m_dragImage)
        m_dragImage->move(globalPos + QPoint(8, 8));
    bool accepted = false;
    if (m_mode == PanelTreeMode::Registration) {
        QTreeWidgetItem* target = viewport()->rect().contains(viewportPos) ? itemAt(viewportPos) : nullptr;
        accepted = mayDrop(m_dragItem, target);
        setDropHighlight(accepted ? groupItemOf(target) : nullptr);
    }
    if (m_listener && m_listener->isDropTarget(globalPos))
        accepted = true;
    QGuiApplication::changeOverrideCursor(accepted ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void CPanelTreeCtrl::stopDragging()
{
    if (!m_dragItem)
        return;
    viewport()->releaseMouse();
    delete m_dragImage;
    m_dragImage = nullptr;
    setDropHighlight(nullptr);
    m_scrollTimer.stop();
    QGuiApplication::restoreOverrideCursor();
    m_dragItem = nullptr;
}

void CPanelTreeCtrl::endDrag(const QPoint& viewportPos, const QPoint& globalPos)
{
    QTreeWidgetItem* dragged = m_dragItem;
    stopDragging();
    if (m_mode == PanelTreeMode::Registration && viewport()->rect().contains(viewportPos)) {
        QTreeWidgetItem* target = itemAt(viewportPos);
        if (mayDrop(dragged, target))
            dropOn(dragged, target);
    }
    if (m_listener)
        m_listener->dropped(globalPos);
}

void CPanelTreeCtrl::dropOn(QTreeWidgetItem* dragged, QTreeWidgetItem* target)
{
    const int group = groupNumberOf(groupItemOf(target));
    const PANEL_DATA* data = dataOf(dragged);
    if (!data || data->group == group)
        return;
    PANEL_DATA moved = *data;
    moved.group = group;
    if (data->isGroup())
        updateGroup(dragged, moved);
    else
        updateMonitor(dragged, moved);
}

void CPanelTreeCtrl::setDropHighlight(QTreeWidgetItem* group)
{
    if (group == m_dropHighlight)
        return;
    if (m_dropHighlight) {
        m_dropHighlight->setData(0, Qt::BackgroundRole, QVariant());
        m_dropHighlight->setData(0, Qt::ForegroundRole, QVariant());
    }
    m_dropHighlight = group;
    if (m_dropHighlight) {
        m_dropHighlight->setBackground(0, palette().brush(QPalette::Highlight));
        m_dropHighlight->setForeground(0, palette().brush(QPalette::HighlightedText));
    }
}

void CPanelTreeCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_scrollTimer.timerId()) {
        QTreeWidget::timerEvent(event);
        return;
    }
    if (m_mode == PanelTreeMode::Registration && m_dragItem)
        scrollWhileDragging();
}

void CPanelTreeCtrl::scrollWhileDragging()
{
    ++m_scrollTicks;
    const QRect area(viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size());
    const DragScroll scroll = dragScrollFor(m_lastCursor.y(), area.top(), area.bottom());
    if (scroll.direction == 0 || m_scrollTicks % scroll.period != 0)
        return;
    verticalScrollBar()->triggerAction(scroll.direction < 0 ? QAbstractSlider::SliderSingleStepSub
                                                            : QAbstractSlider::SliderSingleStepAdd);
    // The highlight follows the first or the last item in view.
    QTreeWidgetItem* edge = scroll.direction < 0 ? itemAt(QPoint(1, 1)) : itemAt(QPoint(1, viewport()->height() - 2));
    if (!edge && scroll.direction > 0) {
        edge = rootItem();
        while (edge && edge->childCount() > 0 && edge->isExpanded())
            edge = edge->child(edge->childCount() - 1);
    }
    setDropHighlight(mayDrop(m_dragItem, edge) ? groupItemOf(edge) : nullptr);
}

} // namespace lumivane
