// The panel tree's check-box rule.
#include "CPanelTreeCtrl.h"

#include "PanelTreeItem.h"

namespace lumivane {

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

} // namespace lumivane
