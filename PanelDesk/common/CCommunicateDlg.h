#pragma once

#include "CommunicationRun.h"
#include "tree/PanelData.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <span>
#include <thread>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace lumivane {

class Prompter;

// The run window: the run's title, the monitor being worked, the command bar and (for several monitors)
// the monitor bar, and Cancel. The worker reports through queued calls, so the window never waits on a
// monitor; its error box question blocks the worker (not this window) until the operator has answered.
//
// Besides command runs the window hosts a job of its own (the monitor search): the job runs on a worker
// thread, reports to the observer it is given (outer range and steps, progress 0..20 within a step) and
// cannot be cancelled, so Cancel stays disabled. The job must not touch a widget.
class CCommunicateDlg : public QDialog
{
    Q_OBJECT
public:
    using Job = std::function<int(RunObserver&)>;
    static constexpr int kJobStepRange = 20;

    CCommunicateDlg(Prompter& prompter, const QString& title, std::span<CommandItem> items,
                    const std::vector<PANEL_DATA>& monitors, QWidget* parent = nullptr);
    // A window for `job`; the outer bar starts with `outerSteps` until the job posts its own range.
    CCommunicateDlg(Prompter& prompter, const QString& title, Job job, int outerSteps, QWidget* parent = nullptr);
    ~CCommunicateDlg() override; // waits for the worker

    // Starts the worker and shows the window until the run ends; true when every command succeeded.
    bool execute();
    // Starts the job and shows the window until the job has returned; the job's result.
    int executeJob();

    // What the window shows, for the tests and the look checks.
    QString monitorText() const;
    QString commandStepText() const;
    QString monitorStepText() const;

protected:
    void reject() override; // Escape and the close button cancel like the Cancel button

private:
    class Observer;
    void buildWindow();
    void showProgress(RunProgress what, int value);
    ErrorChoice askOnError(const ErrorBox& box);
    void cancelRun();

    Prompter& m_prompter;
    std::vector<PANEL_DATA> m_monitors;
    std::vector<TESSERA_PANEL_DATA> m_records;
    std::vector<const TESSERA_PANEL_DATA*> m_recordPointers;
    int m_itemCount;
    int m_outerCount;
    QLabel* m_monitorLabel;
    QProgressBar* m_commandBar;
    QLabel* m_commandLabel;
    QProgressBar* m_monitorBar;
    QLabel* m_monitorStepLabel;
    QPushButton* m_cancel;
    std::unique_ptr<Observer> m_observer;
    Job m_job;
    int m_jobResult = 0;
    std::thread m_jobThread;
    std::unique_ptr<CommunicationRun> m_run; // declared last: destroyed (joined) first
};

} // namespace lumivane
