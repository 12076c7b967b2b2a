// The panel tree's changes of the store: adding, deleting and updating monitors and groups. Every change
// goes through PanelRegistry (one lock, open, change, save, close, unlock) and is shown once the store
// took it; the tree's own messages come after the lock is released.
#include "CPanelTreeCtrl.h"

#include "PanelRegistry.h"
#include "PanelStore.h"
#include "PanelTreeItem.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <set>

namespace lumivane {

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
    PanelRegistry registry;
    return showAddedMonitor(registry.addMonitor(recordFromPanelData(PANEL_DATA()), targetGroupNumber()));
}

QTreeWidgetItem* CPanelTreeCtrl::addMonitor(const PANEL_DATA& found)
{
    PanelRegistry registry;
    return showAddedMonitor(registry.addFoundMonitor(recordFromPanelData(found), targetGroupNumber()));
}

QTreeWidgetItem* CPanelTreeCtrl::showAddedMonitor(const std::optional<TESSERA_PANEL_DATA>& added)
{
    if (!added)
        return nullptr;
    QTreeWidgetItem* item = insertMonitorItem(std::make_unique<PANEL_DATA>(panelDataFromRecord(*added)));
    showNewItem(item);
    if (m_checkBoxes)
        setItemChecked(item, false);
    return item;
}

QTreeWidgetItem* CPanelTreeCtrl::addGroup()
{
    QTreeWidgetItem* target = nullptr;
    const int parent = targetGroupNumber(&target);
    if (depthOf(target) >= kMaxGroupDepth) {
        m_prompter.plain(this, uiText(167));
        return nullptr;
    }
    PanelRegistry registry;
    const auto added = registry.addGroup(uiText(126).toStdString(), parent);
    target = findGroupItem(parent);
    if (!added || !target)
        return nullptr;
    QTreeWidgetItem* item = insertGroupItem(std::make_unique<PANEL_DATA>(panelDataFromGroup(*added)), target);
    showNewItem(item);
    if (m_checkBoxes)
        setItemChecked(item, false);
    return item;
}

// ---------------------------------------------------------------------------------------------------------
// Deleting

bool CPanelTreeCtrl::deleteSelected()
{
    const PANEL_DATA* data = selectedItemData();
    if (!data)
        return false;
    const bool group = data->isGroup();
    const int number = data->number;
    const QString question = group ? uiFormat(133, data->name.c_str()) : uiFormat(132, data->name.c_str());
    if (!m_prompter.confirm(this, question))
        return false;
    QTreeWidgetItem* item = findItem(number, group); // the box let other events run
    if (!item)
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
    PanelRegistry registry;
    if (data->isMonitor()) {
        if (fileExists(registry.panelsPath()) && !registry.removeMonitors({data->number}))
            return false;
    } else if (fileExists(registry.groupsPath()) && !registry.removeGroupRecord(data->number)) {
        return false;
    }
    removeItem(item);
    return true;
}

void CPanelTreeCtrl::removeItem(QTreeWidgetItem* item)
{
    if (isInSubtree(m_dragItem, item))
        stopDragging();
    if (isInSubtree(m_dropHighlight, item))
        m_dropHighlight = nullptr;
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
    const int own = dataOf(item)->number;
    const bool moving = edited.group != dataOf(item)->group;
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
    if (moving && !newParent)
        return false; // a parent the tree does not know: the group would vanish from view

    PanelRegistry registry;
    const StoreChange outcome = registry.changeGroup(own, edited.name, edited.group);
    if (outcome == StoreChange::Missing)
        m_prompter.plain(this, uiText(129));
    if (outcome != StoreChange::Done)
        return false;
    item = findItem(own, true);
    newParent = findGroupItem(edited.group);
    if (!item || !newParent)
        return false;
    PANEL_DATA& data = *dataOf(item);
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

// A monitor that stays in its group is changed in place, so that its item (which the owner may hold while
// it stores the form) stays valid; one that moves to another group is inserted there anew.
bool CPanelTreeCtrl::updateMonitor(QTreeWidgetItem* item, const PANEL_DATA& edited)
{
    const PANEL_DATA old = *dataOf(item);
    PANEL_DATA updated = edited;
    updated.kind = PANEL_DATA::kMonitor;
    updated.selectable = old.selectable;
    updated.placed = old.placed;
    updated.cellIndex = old.cellIndex;

    PanelRegistry registry;
    TESSERA_PANEL_DATA record = recordFromPanelData(updated);
    const StoreChange outcome = registry.replaceMonitor(old.number, record);
    if (outcome == StoreChange::NumberTaken)
        m_prompter.plain(this, uiText(130));
    if (outcome == StoreChange::Missing)
        m_prompter.plain(this, uiText(131)); // the item still takes the new data, as the operator meant
    if (outcome != StoreChange::Done && outcome != StoreChange::Missing)
        return false;
    updated.nStatusKey = record.nStatusKey;

    const QString label = labelOf(updated);
    item = findItem(old.number, false); // the box and the label's owner may have changed the tree
    if (!item)
        return false;
    QTreeWidgetItem* newParent = findGroupItem(updated.group);
    if (!newParent)
        newParent = rootItem();
    if (newParent == item->parent()) {
        *dataOf(item) = updated;
        item->setText(0, label);
        setImage(item, monitorImage(*dataOf(item)));
        sortChildrenOf(item->parent());
        scrollToItem(item);
        return true;
    }
    const bool wasChecked = isChecked(item);
    QTreeWidgetItem* oldParent = item->parent();
    removeItem(item);
    recomputeChecksFrom(oldParent);
    QTreeWidgetItem* replacement = insertMonitorItem(std::make_unique<PANEL_DATA>(std::move(updated)));
    showNewItem(replacement);
    if (m_checkBoxes)
        setItemChecked(replacement, wasChecked);
    return true;
}

// The file decides which monitors carry the schedule: the server or another console may have assigned
// monitors this tree does not show yet.
void CPanelTreeCtrl::clearSchedule(int scheduleNo)
{
    PanelRegistry registry;
    const auto cleared = registry.clearSchedule(scheduleNo);
    if (!cleared)
        return;
    const std::set<int> numbers(cleared->begin(), cleared->end());
    std::vector<QTreeWidgetItem*> changed;
    forEachItem([&](QTreeWidgetItem* item) {
        const PANEL_DATA* data = dataOf(item);
        if (data && data->isMonitor() &&
            (numbers.count(data->number) || (data->bSchedule && data->nScheduleNo == scheduleNo)))
            changed.push_back(item);
    });
    for (QTreeWidgetItem* item : changed) {
        PANEL_DATA& data = *dataOf(item);
        data.bSchedule = false;
        data.nScheduleNo = 0;
        item->setText(0, labelOf(data));
        setImage(item, monitorImage(data));
    }
}

} // namespace lumivane
