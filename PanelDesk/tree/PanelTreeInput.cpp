// The operator's mouse and keys on the panel tree. Before the selection moves or a drag starts the owner
// is asked (listener slot 6); answering, it may store its form and so change, re-sort or rebuild items.
// That is why no item pointer is carried across a listener call: items are looked up again by number.
#include "CPanelTreeCtrl.h"

#include "CPanelTreeListner.h"
#include "PanelTreeItem.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <utility>

namespace lumivane {
namespace {

// Keys that may open or close a group or move the selection, depending on where it is.
bool opensOrMoves(int key)
{
    static constexpr int kKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Asterisk, Qt::Key_Plus, Qt::Key_Minus};
    return std::find(std::begin(kKeys), std::end(kKeys), key) != std::end(kKeys);
}

} // namespace

// The keys that move the selection by a step the view works out.
std::optional<QAbstractItemView::CursorAction> CPanelTreeCtrl::cursorActionFor(int key)
{
    static constexpr std::pair<int, CursorAction> kMoves[] = {
        {Qt::Key_Up, MoveUp},   {Qt::Key_Down, MoveDown},     {Qt::Key_Home, MoveHome},
        {Qt::Key_End, MoveEnd}, {Qt::Key_PageUp, MovePageUp}, {Qt::Key_PageDown, MovePageDown},
    };
    for (const auto& [moveKey, action] : kMoves)
        if (key == moveKey)
            return action;
    return std::nullopt;
}

std::optional<CPanelTreeCtrl::ItemKey> CPanelTreeCtrl::keyOf(const QTreeWidgetItem* item) const
{
    if (!item)
        return std::nullopt;
    const PANEL_DATA* data = dataOf(item);
    return data ? ItemKey{data->number, data->isGroup()} : ItemKey{0, true};
}

QTreeWidgetItem* CPanelTreeCtrl::itemBy(const std::optional<ItemKey>& key) const
{
    if (!key)
        return nullptr;
    return key->group ? findGroupItem(key->number) : findItem(key->number, false);
}

bool CPanelTreeCtrl::mayChangeSelection()
{
    return !m_listener || m_listener->mayChangeSelection();
}

bool CPanelTreeCtrl::mayMoveTo(const QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers)
{
    if (!item)
        return true;
    // Ctrl with a click on the selected item takes the selection away: the owner's form must be stored.
    if (item == currentItem() && !(modifiers & Qt::ControlModifier))
        return true;
    return mayChangeSelection();
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

// After the owner's answer the rows may have moved under the cursor: the item the operator pointed at is
// selected, not whatever row lies there now.
QTreeWidgetItem* CPanelTreeCtrl::itemPointedAt(const std::optional<ItemKey>& key, QMouseEvent* event)
{
    QTreeWidgetItem* item = itemBy(key);
    m_pressRedirected = item != itemAt(event->position().toPoint());
    if (m_pressRedirected) {
        if (item)
            setCurrentItem(item);
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        QTreeWidget::mouseDoubleClickEvent(event);
    } else {
        QTreeWidget::mousePressEvent(event);
    }
    return item;
}

std::optional<CPanelTreeCtrl::Press> CPanelTreeCtrl::takePress(QMouseEvent* event)
{
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (clickedCheckBox(event, item))
        return std::nullopt;
    const std::optional<ItemKey> key = keyOf(item);
    if (!mayMoveTo(item, event->modifiers()))
        return std::nullopt;
    return Press{itemPointedAt(key, event), key};
}

void CPanelTreeCtrl::mousePressEvent(QMouseEvent* event)
{
    const std::optional<Press> press = takePress(event);
    if (!press || event->button() != Qt::LeftButton)
        return;
    m_leftPressed = true;
    m_pressPos = event->position().toPoint();
    m_pressKey = press->key;
    if (press->item && m_listener)
        m_listener->itemClicked(press->item, false);
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
    if (m_pressKey && (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        const ItemKey pressed = *m_pressKey;
        m_pressKey.reset();
        beginDrag(pressed, global);
    }
}

void CPanelTreeCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_leftPressed = false;
        m_pressKey.reset();
        if (m_dragItem) {
            endDrag(event->position().toPoint(), event->globalPosition().toPoint());
            return;
        }
    }
    // The view did not see the press it would finish here: it would select the row under the cursor.
    if (std::exchange(m_pressRedirected, false))
        return;
    QTreeWidget::mouseReleaseEvent(event);
}

void CPanelTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    const std::optional<Press> press = takePress(event);
    if (!press || event->button() != Qt::LeftButton || !press->item || !m_listener)
        return;
    m_listener->itemClicked(press->item, false);
    QTreeWidgetItem* item = itemBy(press->key);
    if (item && item == selectedItem())
        m_listener->itemDoubleClicked(item);
}

void CPanelTreeCtrl::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (m_checkBoxes)
            toggleCheck(selectedItem());
        return;
    }
    if (key == Qt::Key_Delete && m_mode == PanelTreeMode::Registration) {
        deleteSelected();
        return;
    }
    if (const auto action = cursorActionFor(key)) {
        moveByKey(*action, event);
        return;
    }
    // Ctrl+Space takes the selection away; the others may move it, depending on where it is.
    const bool mayMove = opensOrMoves(key) || (key == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier));
    if (mayMove && !mayChangeSelection())
        return;
    QTreeWidget::keyPressEvent(event);
}

// The target is worked out first, so that a key that would not move the selection does not ask; after the
// answer the selection goes to that item, wherever re-sorting put it.
void CPanelTreeCtrl::moveByKey(CursorAction action, QKeyEvent* event)
{
    QTreeWidgetItem* target = itemFromIndex(moveCursor(action, event->modifiers()));
    if (!target || target == currentItem()) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    const std::optional<ItemKey> key = keyOf(target);
    if (!mayChangeSelection())
        return;
    if (QTreeWidgetItem* item = itemBy(key)) {
        setCurrentItem(item);
        scrollToItem(item);
    }
}

void CPanelTreeCtrl::keyboardSearch(const QString& search)
{
    if (mayChangeSelection())
        QTreeWidget::keyboardSearch(search);
}

} // namespace lumivane
