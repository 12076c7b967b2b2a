#include "CGroupTreeCtrl.h"

#include "common/UiText.h"

#include <algorithm>
#include <cstring>

namespace lumivane {
namespace {

constexpr int kGroupRole = Qt::UserRole;
// Deeper than any tree the console lets an operator make; stops a group file whose parents form a loop.
constexpr int kMaxDepth = 64;

} // namespace

CGroupTreeCtrl::CGroupTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { emit groupSelected(selectedGroup()); });
}

void CGroupTreeCtrl::fill(const std::vector<TESSERA_GROUP_DATA>& groups)
{
    const QSignalBlocker quiet(this);
    clear();
    auto* root = new QTreeWidgetItem(this, {uiText(124)});
    root->setData(0, kGroupRole, 0);
    addChildren(root, 0, groups, 0);
    expandAll();
    setCurrentItem(root);
}

void CGroupTreeCtrl::addChildren(QTreeWidgetItem* parent, int parentNo, const std::vector<TESSERA_GROUP_DATA>& groups,
                                 int depth)
{
    if (depth >= kMaxDepth)
        return;
    std::vector<const TESSERA_GROUP_DATA*> children;
    for (const TESSERA_GROUP_DATA& group : groups) {
        if (group.nParentNo == parentNo && group.nGroupNo != 0 && group.nGroupNo != parentNo)
            children.push_back(&group);
    }
    std::sort(children.begin(), children.end(), [](const TESSERA_GROUP_DATA* a, const TESSERA_GROUP_DATA* b) {
        return std::strcmp(a->szName, b->szName) < 0;
    });
    for (const TESSERA_GROUP_DATA* group : children) {
        auto* item = new QTreeWidgetItem(parent, {QString::fromUtf8(group->szName)});
        item->setData(0, kGroupRole, group->nGroupNo);
        addChildren(item, group->nGroupNo, groups, depth + 1);
    }
}

int CGroupTreeCtrl::selectedGroup() const
{
    const QTreeWidgetItem* item = currentItem();
    return item ? item->data(0, kGroupRole).toInt() : 0;
}

bool CGroupTreeCtrl::selectGroup(int groupNo)
{
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if ((*it)->data(0, kGroupRole).toInt() == groupNo) {
            setCurrentItem(*it);
            return true;
        }
    }
    return false;
}

} // namespace lumivane
