#pragma once

#include "ServerEngine.h"
#include "StatusList.h"

#include <QDialog>

#include <functional>
#include <vector>

class QMenu;
class QPushButton;
class QTreeWidget;

namespace lumivane {

class CGroupTreeCtrl;
class Prompter;

// "Monitor Status": the groups, and the monitors of the selected group with their last known state and their
// next action today; commands for the selected monitors through the context menu. Created hidden at start;
// closing it hides it. It shows copies of the engine's monitors taken when the list was filled.
class CShowStateDlg : public QDialog
{
    Q_OBJECT
public:
    // `modalOpen`: whether a modal dialog of the server (the error list) is open. `showProgress`: shows the
    // progress dialog of a command that started, for `total` monitors.
    CShowStateDlg(ServerEngine& engine, Prompter& prompter, std::function<bool()> modalOpen,
                  std::function<void(int total)> showProgress, QWidget* parent = nullptr);

    // Level 1 Administrator, 2 Normal, 3 Restricted Operator; 0 keeps the level.
    void SetAuthority(int level, bool inputModeAvailable);
    int authority() const { return m_authority; }
    bool inputPermitted() const { return m_inputPermitted; }

    // 1224 (run state), 1225 (status changed), 1226 (panels reloaded).
    void onWindowMessage(int message, int wParam);

    void FillTree();
    void FillList();

    // The context menu for the selected lines, as it would be shown (the caller owns it).
    QMenu* makeContextMenu();
    // Power (on or off) or check for the selected monitors, or with `wholeGroup` the monitors of the
    // selected group ("Get latest status").
    void runCommand(ManualCommand command, bool wholeGroup);

    QTreeWidget* monitorList() const { return m_list; }
    CGroupTreeCtrl* groupTree() const { return m_tree; }
    QPushButton* latestStatusButton() const { return m_latest; }
    const std::vector<StatusRow>& rows() const { return m_rows; }
    void sortBy(StatusColumn column); // as a click on the column's header

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void showRows();
    std::vector<int> selectedNumbers() const;
    std::vector<const ServerPanel*> selectedPanels() const;
    int targetCount(const ManualTargets& targets) const;
    void showContextMenu(const QPoint& at);
    void browse();
    void showProperty();

    ServerEngine& m_engine;
    Prompter& m_prompter;
    std::function<bool()> m_modalOpen;
    std::function<void(int)> m_showProgress;
    CGroupTreeCtrl* m_tree = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_latest = nullptr;
    std::vector<TESSERA_GROUP_DATA> m_groups; // as the tree was filled
    std::vector<StatusRow> m_rows;
    StatusColumn m_sortColumn = StatusColumn::Name;
    bool m_ascending = true;
    int m_authority = 0;
    bool m_inputPermitted = true;
    bool m_propertyOpen = false;
    bool m_runInProgress = false;
};

} // namespace lumivane
