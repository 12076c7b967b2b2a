#pragma once

#include "CommunicationRun.h"
#include "tree/PanelData.h"

#include <QDialog>

#include <memory>
#include <span>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace lumivane {

class Prompter;

// The run window: the run's title, the monitor being worked, the command bar and (for several monitors)
// the monitor bar, and Cancel. The worker reports through queued calls, so the window never waits on a
// monitor; its error box question blocks the worker (not this window) until the operator has answered.
class CCommunicateDlg : public QDialog
{
    Q_OBJECT
public:
    CCommunicateDlg(Prompter& prompter, const QString& title, std::span<CommandItem> items,
                    const std::vector<PANEL_DATA>& monitors, QWidget* parent = nullptr);
    ~CCommunicateDlg() override; // waits for the worker

    // Starts the worker and shows the window until the run ends; true when every command succeeded.
    bool execute();

    // What the window shows, for the tests and the look checks.
    QString monitorText() const;
    QString commandStepText() const;
    QString monitorStepText() const;

protected:
    void reject() override; // Escape and the close button cancel like the Cancel button

private:
    class Observer;
    void showProgress(RunProgress what, int value);
    ErrorChoice askOnError(const ErrorBox& box);
    void cancelRun();

    Prompter& m_prompter;
    std::vector<PANEL_DATA> m_monitors;
    std::vector<TESSERA_PANEL_DATA> m_records;
    std::vector<const TESSERA_PANEL_DATA*> m_recordPointers;
    int m_itemCount;
    QLabel* m_monitorLabel;
    QProgressBar* m_commandBar;
    QLabel* m_commandLabel;
    QProgressBar* m_monitorBar;
    QLabel* m_monitorStepLabel;
    QPushButton* m_cancel;
    std::unique_ptr<Observer> m_observer;
    std::unique_ptr<CommunicationRun> m_run; // declared last: destroyed (joined) first
};

} // namespace lumivane
