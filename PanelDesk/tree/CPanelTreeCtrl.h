#pragma once

#include "PanelData.h"
#include "PanelTreeImages.h"

#include <QBasicTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;

namespace lumivane {

class CPanelTreeListner;
class Prompter;

enum class PanelTreeMode
{
    Operation = 0,    // plain images, no drag
    Registration = 1, // every monitor, also those not in use; drag and drop; Delete key; images by model
    Schedule = 2,     // images mark the schedule assignment
    Enlarge = 3,      // images and selectability by enlarge support; monitors are dragged out to the editor
};

// The console's tree of registered monitors and their groups. It loads itself from the panel store,
// keeps one PANEL_DATA per item, lets the operator pick monitors (by selection or by check boxes), and in
// registration mode adds, deletes, renames and moves monitors and groups. Every change is written to the
// store first (lock, open the file afresh, change, save, close, unlock) and shown once the store took it.
class CPanelTreeCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    static constexpr int kMaxMonitors = 256; // monitors shown at most
    static constexpr int kMaxGroupDepth = 2; // top-level groups and their sub-groups

    explicit CPanelTreeCtrl(Prompter& prompter, QWidget* parent = nullptr);
    ~CPanelTreeCtrl() override;

    // Set mode and listener first, then fill the tree with reload() (or setCheckBoxes()).
    void setMode(PanelTreeMode mode) { m_mode = mode; }
    PanelTreeMode mode() const { return m_mode; }
    void setListener(CPanelTreeListner* listener) { m_listener = listener; }
    void setCheckBoxes(bool on); // reloads
    bool checkBoxes() const { return m_checkBoxes; }
    // Enlarge mode: the layout size and the test whether a monitor's model can take part in it.
    void setLayoutSize(int across, int down);
    void setEnlargeSupportTest(std::function<bool(const PANEL_DATA&, int across, int down)> test);
    // Schedule mode: the schedule whose monitors are marked.
    void setSelectedSchedule(int scheduleNo);

    void reload();
    void refreshImages();

    // --- Looking at the items ---
    QTreeWidgetItem* rootItem() const { return topLevelItem(0); }
    static PANEL_DATA* dataOf(const QTreeWidgetItem* item); // null for the root
    QTreeWidgetItem* selectedItem() const;
    const PANEL_DATA* selectedItemData() const;
    // Check boxes on: every checked monitor, depth first; off: the selected item when it is a monitor.
    std::vector<PANEL_DATA> selectedMonitors() const;
    QTreeWidgetItem* findItem(int number, bool group) const;
    QTreeWidgetItem* findMonitorByName(const std::string& name) const; // ignoring case
    std::vector<PANEL_DATA> allItems() const;                          // depth first
    int imageIndex(const QTreeWidgetItem* item) const;
    bool isChecked(const QTreeWidgetItem* item) const;
    QRect checkBoxRect(const QTreeWidgetItem* item) const; // viewport coordinates; empty without boxes
    // The selected group, or the group of the selected monitor; the root, named "(Root)", when the root
    // or nothing is selected. The name is read from the store.
    QTreeWidgetItem* selectedGroup(std::string& name) const;
    int monitorsInSelectedGroup() const; // directly in it, not in sub-groups
    // ModelUniformity of the checked (or selected) monitors, and of those with schedule `scheduleNo`.
    int modelUniformityOfSelection(std::string& model, int& flags) const;
    int modelUniformityOfSchedule(int scheduleNo, std::string& model) const;

    // --- Changing the store through the tree ---
    QTreeWidgetItem* addNewMonitor();
    QTreeWidgetItem* addMonitor(const PANEL_DATA& found); // a monitor found by a search
    QTreeWidgetItem* addGroup();
    bool deleteSelected(); // asks first
    bool updateSelected(const PANEL_DATA& edited);
    void deleteMonitorsInSelectedGroup();
    void clearSchedule(int scheduleNo);

    // Check boxes: sets `item` and its subtree, then the ancestors (see the check rule in the .cpp).
    void setItemChecked(QTreeWidgetItem* item, bool checked);

    // --- The control's own rules, which a derived tree may change ---
    virtual bool mayDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target) const;
    virtual bool mayDrag(QTreeWidgetItem* item) const;
    // The item itself for a group or the root, the parent for a monitor.
    virtual QTreeWidgetItem* groupItemOf(QTreeWidgetItem* item) const;

    // Scrolling while dragging near an edge: `direction` -1 up, +1 down, 0 not at all, one line every
    // `period` ticks of 75 ms; the farther beyond the edge zone, the faster.
    struct DragScroll
    {
        int direction = 0;
        int period = 1;
    };
    static DragScroll dragScrollFor(int cursorY, int top, int bottom);
    static constexpr int kDragScrollInterval = 75;

    QTreeWidgetItem* draggedItem() const { return m_dragItem; }
    QTreeWidgetItem* dropHighlight() const { return m_dropHighlight; }

protected:
    // A left click on an item's check box toggles it and tells the listener; true when it was one.
    bool clickedCheckBox(QMouseEvent* event, QTreeWidgetItem* item);
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // Filling
    void insertGroups(TESSERA_GROUP groups, int first, QTreeWidgetItem* parent, std::vector<bool>& visited);
    QTreeWidgetItem* insertMonitorItem(std::unique_ptr<PANEL_DATA> data);
    QTreeWidgetItem* insertGroupItem(std::unique_ptr<PANEL_DATA> data, QTreeWidgetItem* parent);
    void prepareItem(QTreeWidgetItem* item);
    QString labelOf(const PANEL_DATA& data) const;
    void setImage(QTreeWidgetItem* item, int index);
    int monitorImage(PANEL_DATA& data) const;
    void sortSubtree(QTreeWidgetItem* item);
    void sortChildrenOf(QTreeWidgetItem* item);
    void showNewItem(QTreeWidgetItem* item);
    void selectItem(QTreeWidgetItem* item);
    QTreeWidgetItem* findGroupItem(int number) const;
    template <typename Visit> void forEachItem(Visit&& visit) const;

    // Store changes
    QTreeWidgetItem* showAddedMonitor(const std::optional<TESSERA_PANEL_DATA>& added);
    bool deleteSubtree(QTreeWidgetItem* item);
    bool deleteSingleItem(QTreeWidgetItem* item);
    void removeItem(QTreeWidgetItem* item);
    bool updateGroup(QTreeWidgetItem* item, const PANEL_DATA& edited);
    bool updateMonitor(QTreeWidgetItem* item, const PANEL_DATA& edited);
    int targetGroupNumber(QTreeWidgetItem** groupItem = nullptr) const;
    static int depthOf(const QTreeWidgetItem* item);
    static int subGroupHeight(const QTreeWidgetItem* group);
    static bool isInSubtree(const QTreeWidgetItem* item, const QTreeWidgetItem* top);

    // Check boxes
    void applyCheck(QTreeWidgetItem* item, bool checked);
    void updateAncestorChecks(QTreeWidgetItem* item);
    void recomputeChecksFrom(QTreeWidgetItem* group); // the group itself and everything above it
    void toggleCheck(QTreeWidgetItem* item);

    // An item as the store knows it, which outlives the item itself: a listener call may replace items.
    struct ItemKey
    {
        int number = 0;    // 0 with `group`: the root
        bool group = true;
    };
    std::optional<ItemKey> keyOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* itemBy(const std::optional<ItemKey>& key) const;

    // Listener slot 6 before the operator moves the selection
    bool mayChangeSelection();
    bool mayMoveTo(const QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers);
    QTreeWidgetItem* itemPointedAt(const std::optional<ItemKey>& key, QMouseEvent* event);
    // The item a press or double click lands on, once the check box and listener slot 6 had their say;
    // nothing when either of them took the event.
    struct Press
    {
        QTreeWidgetItem* item = nullptr;
        std::optional<ItemKey> key;
    };
    std::optional<Press> takePress(QMouseEvent* event);
    static std::optional<CursorAction> cursorActionFor(int key);
    void moveByKey(CursorAction action, QKeyEvent* event);

    // Drag
    void beginDrag(const ItemKey& pressed, const QPoint& globalPos);
    void moveDrag(const QPoint& viewportPos, const QPoint& globalPos);
    void endDrag(const QPoint& viewportPos, const QPoint& globalPos);
    void stopDragging();
    void dropOn(QTreeWidgetItem* dragged, QTreeWidgetItem* target);
    void setDropHighlight(QTreeWidgetItem* group);
    void scrollWhileDragging();

    Prompter& m_prompter;
    CPanelTreeListner* m_listener = nullptr;
    PanelTreeMode m_mode = PanelTreeMode::Operation;
    bool m_checkBoxes = false;
    int m_selectedSchedule = 0;
    int m_layoutAcross = 0;
    int m_layoutDown = 0;
    std::function<bool(const PANEL_DATA&, int, int)> m_enlargeSupport;
    PanelImageList m_images;

    bool m_leftPressed = false;
    QPoint m_pressPos;
    std::optional<ItemKey> m_pressKey;
    bool m_pressRedirected = false; // the press selected the item by number, not the view by position
    QTreeWidgetItem* m_dragItem = nullptr;
    QTreeWidgetItem* m_dropHighlight = nullptr;
    QLabel* m_dragImage = nullptr;
    QBasicTimer m_scrollTimer;
    int m_scrollTicks = 0;
    QPoint m_lastCursor; // global, from the last mouse event of the drag
};

} // namespace lumivane
