#pragma once

#include "CPanelTreeCtrl.h"

#include <QTreeWidgetItem>

#include <memory>

namespace lumivane {

// Shared by the files of CPanelTreeCtrl only.

inline constexpr int kImageRole = Qt::UserRole + 1;

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

// The number of a group item; 0 for the root.
inline int groupNumberOf(const QTreeWidgetItem* groupItem)
{
    const PANEL_DATA* data = CPanelTreeCtrl::dataOf(groupItem);
    return data ? data->number : 0;
}

// Depth first, each item before its children.
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

} // namespace lumivane
