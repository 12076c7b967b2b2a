#pragma once

#include "tessera.h"

#include <QTreeWidget>

#include <vector>

namespace lumivane {

// The status window's group tree: "(All Monitors)" at the root (group 0), the groups below it as the group
// file nests them, children sorted by name, everything expanded.
class CGroupTreeCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CGroupTreeCtrl(QWidget* parent = nullptr);

    // Refills the tree and selects the root.
    void fill(const std::vector<TESSERA_GROUP_DATA>& groups);
    // The group of the selected node; 0 for the root or no selection.
    int selectedGroup() const;
    // Selects the node of a group; false when there is none.
    bool selectGroup(int groupNo);

signals:
    void groupSelected(int groupNo);

private:
    void addChildren(QTreeWidgetItem* parent, int parentNo, const std::vector<TESSERA_GROUP_DATA>& groups,
                     int depth);
};

} // namespace lumivane
