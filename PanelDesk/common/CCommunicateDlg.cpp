#include "CCommunicateDlg.h"

#include "CommandRunner.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lumivane {

namespace {

QString stepText(int done, int count)
{
    return QString("%1 / %2").arg(done).arg(count);
}

} // namespace

// Runs on the worker thread: hands everything to the window's thread.
class CCommunicateDlg::Observer final : public RunObserver
{
public:
    explicit Observer(CCommunicateDlg& window) : m_window(window) {}

    void onProgress(RunProgress what, int value) override
    {
        QMetaObject::invokeMethod(
            &m_window, [window = &m_window, what, value] { window->showProgress(what, value); }, Qt::QueuedConnection);
    }

    ErrorChoice askOnError(const ErrorBox& box) override
    {
        ErrorChoice choice = ErrorChoice::Abort;
        QMetaObject::invokeMethod(
            &m_window, [this, &box, &choice] { choice = m_window.askOnError(box); }, Qt::BlockingQueuedConnection);
        return choice;
    }

private:
    CCommunicateDlg& m_window;
};

CCommunicateDlg::CCommunicateDlg(Prompter& prompter, const QString& title, std::span<CommandItem> items,
                                 const std::vector<PANEL_DATA>& monitors, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_monitors(monitors), m_itemCount(int(items.size())),
      m_outerCount(int(monitors.size())), m_monitorLabel(new QLabel(this)), m_commandBar(new QProgressBar(this)),
      m_commandLabel(new QLabel(this)), m_monitorBar(new QProgressBar(this)), m_monitorStepLabel(new QLabel(this)),
      m_cancel(new QPushButton(ConsoleText::tr("Cancel"), this)), m_observer(std::make_unique<Observer>(*this))
{
    setWindowTitle(title);
    for (const PANEL_DATA& monitor : m_monitors)
        m_records.push_back(recordFromPanelData(monitor));
    for (const TESSERA_PANEL_DATA& record : m_records)
        m_recordPointers.push_back(&record);
    buildWindow();
    if (!m_monitors.empty())
        m_monitorLabel->setText(QString::fromStdString(m_monitors.front().name));
    m_monitorBar->setVisible(m_outerCount > 1);
    m_monitorStepLabel->setVisible(m_outerCount > 1);

    RunRequest request{items, m_recordPointers, 0};
    m_run = std::make_unique<CommunicationRun>(request, *m_observer);
}

CCommunicateDlg::CCommunicateDlg(Prompter& prompter, const QString& title, Job job, int outerSteps, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_itemCount(kJobStepRange), m_outerCount(std::max(outerSteps, 1)),
      m_monitorLabel(new QLabel(this)), m_commandBar(new QProgressBar(this)), m_commandLabel(new QLabel(this)),
      m_monitorBar(new QProgressBar(this)), m_monitorStepLabel(new QLabel(this)),
      m_cancel(new QPushButton(ConsoleText::tr("Cancel"), this)), m_observer(std::make_unique<Observer>(*this)),
      m_job(std::move(job))
{
    setWindowTitle(title);
    buildWindow();
    m_commandLabel->hide();
    m_cancel->setEnabled(false);
}

void CCommunicateDlg::buildWindow()
{
    setObjectName("communicateDialog");
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    m_monitorLabel->setObjectName("monitorLabel");
    m_monitorLabel->setMinimumWidth(320);
    m_commandBar->setObjectName("commandBar");
    m_commandBar->setRange(0, std::max(m_itemCount, 1));
    m_commandBar->setValue(0);
    m_commandBar->setTextVisible(false);
    m_commandLabel->setObjectName("commandStepLabel");
    m_commandLabel->setText(stepText(0, m_itemCount));
    m_monitorBar->setObjectName("monitorBar");
    m_monitorBar->setRange(0, m_outerCount);
    m_monitorBar->setValue(0);
    m_monitorBar->setTextVisible(false);
    m_monitorStepLabel->setObjectName("monitorStepLabel");
    m_monitorStepLabel->setText(stepText(0, m_outerCount));
    m_cancel->setObjectName("cancelButton");
    connect(m_cancel, &QPushButton::clicked, this, &CCommunicateDlg::cancelRun);

    auto* bars = new QGridLayout;
    bars->addWidget(m_commandBar, 0, 0);
    bars->addWidget(m_commandLabel, 0, 1, Qt::AlignRight);
    bars->addWidget(m_monitorBar, 1, 0);
    bars->addWidget(m_monitorStepLabel, 1, 1, Qt::AlignRight);
    bars->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_monitorLabel);
    layout->addLayout(bars);
    layout->addLayout(buttons);
}

CCommunicateDlg::~CCommunicateDlg()
{
    m_run.reset();
    if (m_jobThread.joinable())
        m_jobThread.join();
}

bool CCommunicateDlg::execute()
{
    m_run->start();
    exec();
    return m_run->wait() == 0;
}

int CCommunicateDlg::executeJob()
{
    m_jobThread = std::thread([this] {
        m_jobResult = m_job(*m_observer);
        // Whatever the job posted last, the window closes once it has returned.
        m_observer->onProgress(RunProgress::Finished, 0);
    });
    exec();
    m_jobThread.join();
    return m_jobResult;
}

QString CCommunicateDlg::monitorText() const
{
    return m_monitorLabel->text();
}

QString CCommunicateDlg::commandStepText() const
{
    return m_commandLabel->text();
}

QString CCommunicateDlg::monitorStepText() const
{
    return m_monitorStepLabel->text();
}

void CCommunicateDlg::showProgress(RunProgress what, int value)
{
    switch (what) {
    case RunProgress::Ended:
        done(2);
        break;
    case RunProgress::Finished:
        done(1);
        break;
    case RunProgress::MonitorStep:
        m_monitorBar->setValue(value);
        m_monitorStepLabel->setText(stepText(value, m_outerCount));
        if (value < int(m_monitors.size()))
            m_monitorLabel->setText(QString::fromStdString(m_monitors[size_t(value)].name));
        break;
    case RunProgress::CommandStep:
        m_commandBar->setValue(value);
        m_commandLabel->setText(stepText(value, m_itemCount));
        break;
    case RunProgress::OuterRange:
        m_outerCount = value;
        m_monitorBar->setRange(0, std::max(value, 1));
        m_monitorStepLabel->setText(stepText(m_monitorBar->value(), value));
        break;
    }
}

ErrorChoice CCommunicateDlg::askOnError(const ErrorBox& box)
{
    return m_prompter.askOnError(this, box);
}

void CCommunicateDlg::cancelRun()
{
    if (!m_run)
        return; // a job cannot be cancelled
    m_run->cancel();
    m_cancel->setEnabled(false);
}

void CCommunicateDlg::reject()
{
    if (m_cancel->isEnabled())
        cancelRun();
}

bool WindowCommandRunner::run(QWidget* parent, const QString& title, std::span<CommandItem> items,
                              const std::vector<PANEL_DATA>& monitors)
{
    if (monitors.empty())
        return false;
    CCommunicateDlg window(m_prompter, title, items, monitors, parent);
    return window.execute();
}

} // namespace lumivane
