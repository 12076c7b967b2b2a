#pragma once

#include "EnlargeAdjustment.h"
#include "EnlargeGroups.h"
#include "EnlargeLayout.h"
#include "tree/CPanelTreeListner.h"

#include <QDialog>
#include <QString>

#include <optional>

class QComboBox;
class QGroupBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace lumivane {

class CEnlargeFrame;
class CPanelTreeCtrl;
struct ConsoleContext;

// "Enlarge Setting/Video Wall Setting": the operator lays monitors of the tree out as a wall of H × V
// cells, sends it, fine-tunes each picture's position in group mode, and keeps layouts in enlarge
// setting files. The wall itself is the core's EnlargeLayout; this window shows it and turns the
// operator's actions into its operations.
class CEnlargeDlg : public QDialog, private CPanelTreeListner
{
    Q_OBJECT
public:
    explicit CEnlargeDlg(ConsoleContext& context, QWidget* parent = nullptr);

    const EnlargeLayout& layout() const { return m_layout; }
    CPanelTreeCtrl* tree() const { return m_tree; }
    CEnlargeFrame* frame() const { return m_frame; }

    void reject() override; // closing asks to save a changed layout first; Cancel keeps the window

private:
    // CPanelTreeListner
    void itemClicked(QTreeWidgetItem* item, bool onCheckBox) override;
    void selectionChanged() override;
    void itemDoubleClicked(QTreeWidgetItem* item) override;
    bool isDropTarget(const QPoint& screenPoint) override;
    void dropped(const QPoint& screenPoint) override;

    void buildControls();
    QLayout* buildLayoutRow();
    QLayout* buildView();
    QLayout* buildSendColumn();
    QGroupBox* buildAdjustment();
    void connectControls();

    // The layout
    bool askToSave();
    void recreate(int h, int v, WallOrientation orientation);
    void sizeChosen();
    void orientationChosen(WallOrientation orientation);
    void newLayout();
    bool saveLayout();
    void loadLayout();
    void assignSelectedMonitor();
    void removeSelectedMonitor();
    void cellPressed(int index);
    void cellReleased(int index);
    void executeGroup();
    void cancelGroup();
    void bezelEdited();

    // The monitors
    void send();
    void idIndication(bool on);
    void arrow(ShiftArrow arrow);
    void shiftTyped(bool horizontal);
    const PANEL_DATA* treeMonitor(int32_t panelNo) const;

    // Showing the state
    void markTree();
    void showSize();
    void showCells();
    void updateControls();
    void showShifts();

    ConsoleContext& m_context;
    EnlargeLayout m_layout;
    std::optional<GroupRectangleEditor> m_rectangle; // made afresh with every new layout
    QString m_lastPath;

    CPanelTreeCtrl* m_tree;
    CEnlargeFrame* m_frame;
    QComboBox* m_columns;
    QComboBox* m_rows;
    QRadioButton* m_landscape;
    QRadioButton* m_portrait;
    QPushButton* m_new;
    QPushButton* m_load;
    QPushButton* m_save;
    QPushButton* m_assign;
    QPushButton* m_remove;
    QPushButton* m_execute;
    QPushButton* m_cancel;
    QSpinBox* m_bezelH;
    QSpinBox* m_bezelV;
    QPushButton* m_idOn;
    QPushButton* m_idOff;
    QPushButton* m_send;
    QPushButton* m_up;
    QPushButton* m_down;
    QPushButton* m_left;
    QPushButton* m_right;
    QLineEdit* m_shiftH;
    QLineEdit* m_shiftV;
    QPushButton* m_close;
};

} // namespace lumivane
