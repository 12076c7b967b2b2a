#pragma once

#include "PanelData.h"

#include <QPoint>
#include <QString>

class QTreeWidgetItem;

namespace lumivane {

// What the dialog that owns a panel tree learns of the operator's actions, and what it may decide. The
// operations come in a fixed slot order; every one has a default, so an owner implements only what it
// needs.
class CPanelTreeListner
{
public:
    virtual ~CPanelTreeListner() = default;

    // 0: a left click or double click landed on `item`; `onCheckBox` when it hit the check box only.
    virtual void itemClicked(QTreeWidgetItem* item, bool onCheckBox) { (void)item, (void)onCheckBox; }
    // 1: the selected item changed.
    virtual void selectionChanged() {}
    // 2: the operator double-clicked the selected item.
    virtual void itemDoubleClicked(QTreeWidgetItem* item) { (void)item; }
    // 3: during a drag: whether the owner takes a drop at this screen point (outside the tree).
    virtual bool isDropTarget(const QPoint& screenPoint) { return (void)screenPoint, false; }
    // 4: a drag ended at this screen point, wherever that is.
    virtual void dropped(const QPoint& screenPoint) { (void)screenPoint; }
    // 5: a monitor item is inserted: a non-empty text is shown after its name.
    virtual QString labelSuffix(const PANEL_DATA& data) { return (void)data, QString(); }
    // 6: before the operator changes the selection or starts a drag; false keeps the selection.
    virtual bool mayChangeSelection() { return true; }
};

} // namespace lumivane
