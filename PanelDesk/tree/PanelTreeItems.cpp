// The panel tree's items: filling the tree from the store, labels, images and sorting.
#include "CPanelTreeCtrl.h"

#include "CPanelTreeListner.h"
#include "ModelLookup.h"
#include "PanelStore.h"
#include "PanelTreeItem.h"
#include "common/UiText.h"

namespace lumivane {

void CPanelTreeCtrl::reload()
{
    stopDragging();
    m_dropHighlight = nullptr;
    m_pressKey.reset();
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
    const QString label = labelOf(*data); // asks the listener: before any item is looked up
    QTreeWidgetItem* parent = findGroupItem(data->group);
    if (!parent)
        parent = rootItem();
    auto* item = new CPanelTreeItem(std::move(data));
    item->setText(0, label);
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


} // namespace lumivane
