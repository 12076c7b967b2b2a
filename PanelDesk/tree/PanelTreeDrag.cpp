// Dragging monitors and groups within the panel tree (and out of it): the structure rules, the drag
// itself and the scrolling near an edge.
#include "CPanelTreeCtrl.h"

#include "CPanelTreeListner.h"
#include "PanelTreeItem.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace lumivane {

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

void CPanelTreeCtrl::beginDrag(const ItemKey& pressed, const QPoint& globalPos)
{
    if (!mayDrag(itemBy(pressed)) || !mayChangeSelection())
        return;
    // Answering, the owner may have stored its form, which changes and re-sorts items.
    QTreeWidgetItem* item = itemBy(pressed);
    if (!mayDrag(item))
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
