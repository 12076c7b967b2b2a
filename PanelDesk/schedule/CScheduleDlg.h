#pragma once

#include "CScheduleStore.h"
#include "tree/CPanelTreeListner.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace lumivane {

class CPanelTreeCtrl;
class Prompter;
struct ConsoleContext;

// "Enter new schedule name": an empty name keeps the dialog open.
class CScheduleNameDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CScheduleNameDlg(Prompter& prompter, QWidget* parent = nullptr);
    QString name() const;
    void setName(const QString& name);
    void accept() override;

private:
    Prompter& m_prompter;
    QLineEdit* m_name;
};

// "Schedule Setting": the named schedules, their weekly and selected-days entries, and which monitors
// follow which schedule. Every change is saved at once and the server is told.
class CScheduleDlg : public QDialog, private CPanelTreeListner
{
    Q_OBJECT
public:
    explicit CScheduleDlg(ConsoleContext& context, QWidget* parent = nullptr);

    CPanelTreeCtrl* tree() const { return m_tree; }
    QListWidget* scheduleList() const { return m_schedules; }
    QTreeWidget* everyList() const { return m_every; }
    QTreeWidget* especialList() const { return m_especial; }
    QGroupBox* entriesGroup() const { return m_entries; }

private:
    // CPanelTreeListner
    void itemClicked(QTreeWidgetItem* item, bool onCheckBox) override;
    void selectionChanged() override;
    QString labelSuffix(const PANEL_DATA& data) override;

    struct Sorting
    {
        int column = -1; // none: the store's order
        bool reversed = false;
    };

    void fillScheduleList();
    void scheduleChosen();
    void deselect();
    void fillEveryList();
    void fillEspecialList();
    void sortBy(Sorting& sorting, int column);
    void treeChanged();
    void updateButtons();

    void newSchedule();
    void deleteSchedule();
    void assign();
    void remove();
    void addEvery();
    void editEvery();
    void deleteEvery();
    void addEspecial();
    void editEspecial();
    void deleteEspecial();

    bool saved(const ScheduleSaveResult& result);
    void entriesChanged();
    int scheduleMonitorFamilies() const;
    int currentScheduleIndex() const;

    ConsoleContext& m_context;
    CScheduleStore m_store;
    QListWidget* m_schedules;
    QPushButton* m_new;
    QPushButton* m_delete;
    QPushButton* m_assign;
    QPushButton* m_remove;
    CPanelTreeCtrl* m_tree;
    QLabel* m_note;
    QGroupBox* m_entries;
    QTreeWidget* m_every;
    QTreeWidget* m_especial;
    QPushButton* m_everyEdit;
    QPushButton* m_everyDelete;
    QPushButton* m_especialEdit;
    QPushButton* m_especialDelete;
    Sorting m_everySorting;
    Sorting m_especialSorting;
};

} // namespace lumivane
