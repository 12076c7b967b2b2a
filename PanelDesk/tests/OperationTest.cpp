// The run window and its error box, and the operation window's power and input against emulated monitors.
#include "Emulator.h"
#include "InputModes.h"
#include "ModalDialogs.h"
#include "ModelLookup.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "SettingFile.h"
#include "SettingLists.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "common/CCommunicateDlg.h"
#include "common/CErrorMessageBox.h"
#include "operation/COperationDlg.h"
#include "operation/COperationTabCtrl.h"
#include "operation/CSelectMonitorDlg.h"
#include "operation/CMonitorSettingGroup.h"
#include "operation/CZRRcOperation.h"
#include "tessera.h"
#include "tree/CPanelTreeCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <memory>

using namespace lumivane;
using namespace lumivane::test;

namespace {

constexpr uint32_t kAbsentAddress = 0x7F000009; // 127.0.0.9: nothing listens there

uint32_t loopbackAddress(const std::string& text)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(text.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    return a << 24 | b << 16 | c << 8 | d;
}

} // namespace

class OperationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "400", 1); }
    void cleanupTestCase() { ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS"); }
    void init()
    {
        m_folder = std::make_unique<TempDataFolder>();
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        std::string error;
        m_fleet = sim::Emulator::startText("data-port 0\nsearch-port none\n"
                                           "lan a 127.0.0.2\nmonitor hall model=QX-T988 power=off\n"
                                           "lan b 127.0.0.3\nmonitor stage model=QX-T988 power=off\n"
                                           "lan c 127.0.0.4\nmonitor lobby model=Brela power=off\n"
                                           "lan d 127.0.0.5\nmonitor foyer model=Brela power=off\n",
                                           &error);
        QVERIFY2(m_fleet, error.c_str());
        m_port = m_fleet->place("a")->dataPort;
        writePanels({lanRecord(1, "[001] Hall", m_fleet->place("a")->address),
                     lanRecord(2, "[002] Stage", m_fleet->place("b")->address), absentRecord(3, "[003] Gone"),
                     lanRecord(4, "[004] Lobby", m_fleet->place("c")->address, "Brela"),
                     lanRecord(5, "[005] Foyer", m_fleet->place("d")->address, "Brela")});
    }
    void cleanup()
    {
        cancelModalWatches();
        const int unexpectedBoxes = m_prompter.unexpected();
        const int unexpectedDialogs = m_console.dialogs.unexpected();
        m_prompter.clear();
        m_console.dialogs.clear();
        m_fleet.reset();
        TESSERA_Uninitialize();
        m_folder.reset();
        QCOMPARE(unexpectedBoxes, 0);
        QCOMPARE(unexpectedDialogs, 0);
    }

    // The run window names the monitor it works on and counts the monitors; the error box of a monitor that
    // is not there offers Skip Monitor in a run over several, and its answers decide what happens next.
    void errorBoxAnswersDriveTheRun_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("stageReached");
        QTest::newRow("retry, then skip monitor")
            << QList<int>{int(ErrorChoice::RetryCommand), int(ErrorChoice::SkipMonitor)} << true;
        QTest::newRow("abort") << QList<int>{int(ErrorChoice::Abort)} << false;
    }
    void errorBoxAnswersDriveTheRun()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, stageReached);
        for (int answer : answers)
            m_prompter.answerErrorNext(ErrorChoice(answer));
        std::vector<CommandItem> items{settingItem("POWR", 1)};
        const std::vector<PANEL_DATA> monitors{panel(absentRecord(3, "[003] Gone")),
                                               panel(lanRecord(2, "[002] Stage", "127.0.0.3"))};
        QWidget owner;
        QVERIFY(!m_console.runner.run(&owner, "Sending Power state and Input mode", items, monitors));

        const auto& boxes = m_prompter.errorBoxes();
        QCOMPARE(boxes.size(), size_t(answers.size()));
        for (const auto& asked : boxes) {
            QCOMPARE(asked.windowObjectName, QString("communicateDialog"));
            QCOMPARE(asked.windowTitle, QString("Sending Power state and Input mode"));
            QVERIFY2(asked.windowTexts.contains("[003] Gone"), qPrintable(asked.windowTexts.join('|')));
            QVERIFY(asked.windowTexts.contains("0 / 2")); // monitors done
            QVERIFY(asked.box.skipMonitorEnabled);
            QVERIFY(!asked.box.skipCommandEnabled);
            QVERIFY(QString::fromStdString(asked.box.text).contains("Monitor Name : [003] Gone"));
        }
        QCOMPARE(m_fleet->value("stage", "POWR").value_or(-1), stageReached ? 1 : 0);
    }

    // The run window stays responsive while a slow monitor answers: Cancel ends the run after the command
    // under way, without an error box, and the run counts as failed.
    void cancelEndsTheRunAfterTheCurrentCommand()
    {
        QVERIFY(m_fleet->setPower("hall", true) && m_fleet->setReplyDelay("hall", 300));
        std::vector<CommandItem> items{settingItem("VLMP", 10), settingItem("VLMP", 11), settingItem("VLMP", 12),
                                       settingItem("VLMP", 13), settingItem("VLMP", 14)};
        QString shownStep;
        whenModalShown<CCommunicateDlg>([&](CCommunicateDlg* window) {
            QTest::qWait(200); // the worker is inside a command, the window keeps taking events
            shownStep = window->commandStepText();
            auto* cancel = child<QPushButton>(window, "cancelButton");
            cancel->click();
            QVERIFY(!cancel->isEnabled());
        });
        QWidget owner;
        QVERIFY(!m_console.runner.run(&owner, "Sending CONTROL setting", items,
                                      {panel(lanRecord(1, "[001] Hall", "127.0.0.2"))}));
        QVERIFY(shownStep.endsWith("/ 5"));
        QCOMPARE(m_prompter.errorBoxes().size(), size_t(0));
        const int reached = m_fleet->value("hall", "VLMP").value_or(-1);
        QVERIFY2(reached >= 10 && reached < 14, qPrintable(QString::number(reached)));
    }

    // The console's own prompter shows the error box over the run window, with the buttons the run allows;
    // its answer reaches the waiting worker.
    void theRealErrorBoxAnswersTheWorker()
    {
        QtPrompter prompter;
        WindowCommandRunner runner(prompter);
        bool skipCommand = true, skipMonitor = false;
        QString report;
        whenModalShown<CErrorMessageBox>([&](CErrorMessageBox* box) {
            skipCommand = child<QPushButton>(box, "skipCommandButton")->isEnabled();
            skipMonitor = child<QPushButton>(box, "skipMonitorButton")->isEnabled();
            report = child<QPlainTextEdit>(box, "reportEdit")->toPlainText();
            QVERIFY(qobject_cast<CCommunicateDlg*>(box->parentWidget()));
            child<QPushButton>(box, "skipMonitorButton")->click();
        });
        std::vector<CommandItem> items{settingItem("POWR", 1)};
        QWidget owner;
        QVERIFY(!runner.run(&owner, "Sending Power state and Input mode", items,
                            {panel(absentRecord(3, "[003] Gone")), panel(lanRecord(1, "[001] Hall", "127.0.0.2"))}));
        QVERIFY(!skipCommand);
        QVERIFY(skipMonitor);
        QVERIFY(report.startsWith("Monitor Name : [003] Gone"));
        QCOMPARE(m_fleet->value("hall", "POWR").value_or(-1), 1);
    }

    // Retry opens the link again: a monitor that came back while the box was up finishes the run. With one
    // monitor there is nothing to skip to.
    void retryReachesAMonitorThatCameBack()
    {
        QVERIFY(m_fleet->setRefused("a", true));
        m_prompter.answerErrorNext(ErrorChoice::RetryCommand, [this] { m_fleet->setRefused("a", false); });
        std::vector<CommandItem> items{settingItem("POWR", 1)};
        QWidget owner;
        QVERIFY(m_console.runner.run(&owner, "Sending Power state and Input mode", items,
                                     {panel(lanRecord(1, "[001] Hall", "127.0.0.2"))}));
        QCOMPARE(m_prompter.errorBoxes().size(), size_t(1));
        QVERIFY(!m_prompter.errorBoxes()[0].box.skipMonitorEnabled);
        QCOMPARE(m_fleet->value("hall", "POWR").value_or(-1), 1);
    }

    // Single Mode: choosing a monitor reads its power (off: OFF latched, no input); "ON" switches it on,
    // latches ON and shows the input the monitor reports.
    void singleModeOnLatchesAndShowsTheInputReadBack()
    {
        COperationDlg window(m_console.context);
        window.show();
        CPanelTreeCtrl* tree = window.tree();
        tree->setCurrentItem(tree->findItem(1, false));
        auto* on = child<QPushButton>(&window, "powerOnButton");
        auto* off = child<QPushButton>(&window, "powerOffButton");
        auto* inputs = child<QComboBox>(&window, "inputCombo");
        QVERIFY(off->isChecked() && !on->isChecked());
        QVERIFY(!inputs->isEnabled());
        QCOMPARE(window.tabs()->messagePage()->message(), QString("Please power on the monitor and input signal."));

        QTest::mouseClick(on, Qt::LeftButton);
        QCOMPARE(m_fleet->value("hall", "POWR").value_or(-1), 1);
        QVERIFY(on->isChecked() && !off->isChecked());
        const ModelCode model = modelFromName("QX-T988", 0);
        const InputModeIndex reported = inputIndexFromNumber(model, m_fleet->value("hall", "INPS").value_or(0),
                                                             m_fleet->value("hall", "SLDS").value_or(0));
        QVERIFY(reported != kNoInput);
        QCOMPARE(window.setting().input, reported);
        QCOMPARE(inputs->currentText(), QString::fromStdString(inputModeName(reported)));
        QVERIFY(inputs->isEnabled());
        QCOMPARE(inputs->findData(kNoInput), -1); // the placeholder is gone once an input is known
        QCOMPARE(window.tabs()->shownTab(), QString("CONTROL"));
        QCOMPARE(m_fleet->value("stage", "POWR").value_or(-1), 0); // only the selected monitor
    }

    // Choosing the input the monitor already shows sends nothing; another input goes to the monitor.
    void sameInputAgainSendsNothing()
    {
        QVERIFY(m_fleet->setPower("hall", true));
        COperationDlg window(m_console.context);
        window.show();
        window.tree()->setCurrentItem(window.tree()->findItem(1, false));
        auto* inputs = child<QComboBox>(&window, "inputCombo");
        const InputModeIndex shown = window.setting().input;
        QVERIFY(shown != kNoInput);
        const size_t before = m_fleet->commandsCarriedOut("hall").size();
        emit inputs->activated(inputs->currentIndex());
        QCOMPARE(m_fleet->commandsCarriedOut("hall").size(), before);

        const int other = inputs->currentIndex() == 0 ? 1 : 0;
        const InputModeIndex wanted = inputs->itemData(other).toInt();
        inputs->setCurrentIndex(other);
        emit inputs->activated(other);
        QVERIFY(m_fleet->commandsCarriedOut("hall").size() > before);
        QCOMPARE(window.setting().input, wanted);
        const ModelCode model = modelFromName("QX-T988", 0);
        QCOMPARE(inputIndexFromNumber(model, m_fleet->value("hall", "INPS").value_or(0),
                                      m_fleet->value("hall", "SLDS").value_or(0)),
                 wanted);
    }

    // A monitor showing PIP asks before its input changes: No leaves the monitor and the combo as they were,
    // Yes ends PIP and switches.
    void inputChangeOnAPipMonitorAsksFirst()
    {
        QVERIFY(m_fleet->setPower("hall", true));
        std::vector<CommandItem> pip{settingItem("MWIN", 3)};
        QWidget owner;
        QVERIFY(
            m_console.runner.run(&owner, "Sending settings", pip, {panel(lanRecord(1, "[001] Hall", "127.0.0.2"))}));
        COperationDlg window(m_console.context);
        window.show();
        window.tree()->setCurrentItem(window.tree()->findItem(1, false));
        auto* inputs = child<QComboBox>(&window, "inputCombo");
        const int shown = inputs->currentIndex();
        const int inputBefore = m_fleet->value("hall", "INPS").value_or(-1);
        const int other = shown == 0 ? 1 : 0;

        m_prompter.answerNext(QMessageBox::No);
        inputs->setCurrentIndex(other);
        emit inputs->activated(other);
        QCOMPARE(m_prompter.texts().size(), 1);
        QVERIFY(m_prompter.last().text.contains("PIP or PbyP"));
        QCOMPARE(inputs->currentIndex(), shown);
        QCOMPARE(m_fleet->value("hall", "INPS").value_or(-1), inputBefore);
        QCOMPARE(m_fleet->value("hall", "MWIN").value_or(-1), 3);

        m_prompter.answerNext(QMessageBox::Yes);
        inputs->setCurrentIndex(other);
        emit inputs->activated(other);
        QCOMPARE(m_fleet->value("hall", "MWIN").value_or(-1), 0);
        QCOMPARE(window.setting().input, inputs->itemData(other).toInt());
    }

    // Multi Mode: "ON" goes to every checked monitor; one that is not there is skipped, and the power counts
    // as on anyway so that the input and the pages can be used. Neither button stays latched.
    void multiModeOnWithOneFailingMonitor()
    {
        COperationDlg window(m_console.context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(child<QPushButton>(&window, "multiModeButton"), Qt::LeftButton);
        CPanelTreeCtrl* tree = window.tree();
        QVERIFY(tree->checkBoxes());
        for (int number : {1, 3}) {
            QTreeWidgetItem* item = tree->findItem(number, false);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->checkBoxRect(item).center());
        }
        QCOMPARE(tree->selectedMonitors().size(), size_t(2));
        auto* inputs = child<QComboBox>(&window, "inputCombo");
        QVERIFY(inputs->isEnabled());
        QCOMPARE(inputs->currentData().toInt(), kNoInput);

        m_prompter.answerErrorNext(ErrorChoice::SkipMonitor);
        auto* on = child<QPushButton>(&window, "powerOnButton");
        QTest::mouseClick(on, Qt::LeftButton);
        QCOMPARE(m_prompter.errorBoxes().size(), size_t(1));
        QVERIFY(QString::fromStdString(m_prompter.errorBoxes()[0].box.text).contains("[003] Gone"));
        QCOMPARE(m_fleet->value("hall", "POWR").value_or(-1), 1);
        QCOMPARE(m_fleet->value("stage", "POWR").value_or(-1), 0);
        QCOMPARE(window.setting().power, 1);
        QVERIFY(!on->isChecked() && !child<QPushButton>(&window, "powerOffButton")->isChecked());
        QVERIFY(window.tabs()->isEnabled());
        QCOMPARE(window.tabs()->messagePage()->message(), QString("Please select Input Mode."));
    }

    // "Receive" over several checked monitors asks which one to read; cancelling reads nothing.
    void receiveAsksWhichMonitorToReadFrom()
    {
        QVERIFY(m_fleet->setPower("hall", true) && m_fleet->setPower("stage", true));
        std::vector<CommandItem> preset{settingItem("VLMP", 5)};
        QWidget owner;
        QVERIFY(m_console.runner.run(&owner, "Sending CONTROL setting", preset,
                                     {panel(lanRecord(2, "[002] Stage", "127.0.0.3"))}));
        COperationDlg window(m_console.context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setMultiMode(true);
        CPanelTreeCtrl* tree = window.tree();
        for (int number : {1, 2})
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->checkBoxRect(tree->findItem(number, false)).center());
        auto* inputs = child<QComboBox>(&window, "inputCombo");
        inputs->setCurrentIndex(1);
        emit inputs->activated(1);
        auto* bright = child<QSpinBox>(&window, "brightEdit");
        QCOMPARE(bright->value(), 31); // the defaults: Multi Mode reads nothing by itself

        const size_t before = m_fleet->commandsCarriedOut("stage").size();
        m_console.dialogs.expect<CSelectMonitorDlg>([](CSelectMonitorDlg*) { return int(QDialog::Rejected); });
        QTest::mouseClick(child<QPushButton>(&window, "receiveButton"), Qt::LeftButton);
        QCOMPARE(m_fleet->commandsCarriedOut("stage").size(), before);

        QString offered;
        m_console.dialogs.expect<CSelectMonitorDlg>([&](CSelectMonitorDlg* dialog) {
            offered = child<QComboBox>(dialog, "monitorCombo")->itemText(1);
            dialog->select(1);
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(child<QPushButton>(&window, "receiveButton"), Qt::LeftButton);
        QCOMPARE(offered, QString("[002] Stage"));
        QCOMPARE(m_console.dialogs.pending(), size_t(0));
        QCOMPARE(bright->value(), 5);
        QCOMPARE(window.setting().control.VLMP, 5);
    }

    // Nothing checked: the power buttons are off limits and the page asks for a monitor.
    void withoutMonitorsThePageAsksForOne()
    {
        COperationDlg window(m_console.context);
        QCOMPARE(window.tabs()->shownTab(), QString("Message"));
        QCOMPARE(window.tabs()->messagePage()->message(), QString("Please select monitor."));
        QVERIFY(!child<QPushButton>(&window, "powerOnButton")->isEnabled());
    }

    // Single Mode with the power on: the CONTROL page shows what the monitor holds, and a new brightness is
    // sent at once. A send the monitor refuses keeps the former value, on the page and in the setting.
    void controlPageReadsAndSendsInSingleMode()
    {
        QVERIFY(m_fleet->setPower("hall", true));
        std::vector<CommandItem> preset{settingItem("VLMP", 20), settingItem("VOLM", 7)};
        QWidget owner;
        QVERIFY(m_console.runner.run(&owner, "Sending CONTROL setting", preset,
                                     {panel(lanRecord(1, "[001] Hall", "127.0.0.2"))}));

        COperationDlg window(m_console.context);
        window.show();
        window.tree()->setCurrentItem(window.tree()->findItem(1, false));
        QCOMPARE(window.tabs()->shownTab(), QString("CONTROL"));
        auto* bright = child<QSpinBox>(&window, "brightEdit");
        QCOMPARE(bright->value(), 20);
        QCOMPARE(child<QSlider>(&window, "volumeSlider")->value(), 7);
        QVERIFY(!child<QPushButton>(&window, "sendButton")->isVisible());

        bright->setValue(12);
        QCOMPARE(m_fleet->value("hall", "VLMP").value_or(-1), 12);
        QCOMPARE(window.setting().control.VLMP, 12);

        QVERIFY(m_fleet->setLocked("hall", true));
        m_prompter.answerErrorNext(ErrorChoice::Abort);
        child<QSlider>(&window, "brightSlider")->setValue(30);
        QCOMPARE(m_prompter.errorBoxes().size(), size_t(1));
        QCOMPARE(window.setting().control.VLMP, 12);
        QCOMPARE(bright->value(), 12);
        QCOMPARE(child<QSlider>(&window, "brightSlider")->value(), 12);
    }

    // A colour mode choice goes to the monitor at once; the marked button sends nothing again, and a choice
    // the monitor refuses leaves the former one marked.
    void colourModeChoiceIsSentAndARefusalKeepsTheFormer()
    {
        QVERIFY(m_fleet->setPower("hall", true));
        COperationDlg window(m_console.context);
        window.show();
        window.tree()->setCurrentItem(window.tree()->findItem(1, false));
        QCOMPARE(window.tabs()->shownTab(), QString("CONTROL"));
        auto* vivid = child<QPushButton>(&window, "colourVividButton");
        auto* standard = child<QPushButton>(&window, "colourStdButton");
        QTest::mouseClick(vivid, Qt::LeftButton);
        QCOMPARE(m_fleet->value("hall", "BMOD").value_or(-1), 2);
        QVERIFY(vivid->isChecked() && !standard->isChecked());

        const size_t before = m_fleet->commandsCarriedOut("hall").size();
        QTest::mouseClick(vivid, Qt::LeftButton);
        QCOMPARE(m_fleet->commandsCarriedOut("hall").size(), before);
        QVERIFY(vivid->isChecked());

        QVERIFY(m_fleet->setLocked("hall", true));
        m_prompter.answerErrorNext(ErrorChoice::Abort);
        QTest::mouseClick(standard, Qt::LeftButton);
        QCOMPARE(m_prompter.errorBoxes().size(), size_t(1));
        QVERIFY(vivid->isChecked() && !standard->isChecked());
        QCOMPARE(window.setting().control.BMOD, 2);
    }

    // Multi Mode: a change only ticks its row; "Send" sends the ticked rows to every checked monitor.
    void controlPageSendsTickedRowsInMultiMode()
    {
        QVERIFY(m_fleet->setPower("hall", true) && m_fleet->setPower("stage", true));
        COperationDlg window(m_console.context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setMultiMode(true);
        CPanelTreeCtrl* tree = window.tree();
        for (int number : {1, 2})
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->checkBoxRect(tree->findItem(number, false)).center());
        auto* inputs = child<QComboBox>(&window, "inputCombo");
        const int first = inputs->findData(selectableInputs(modelFromName("QX-T988", 0)).front());
        inputs->setCurrentIndex(first);
        emit inputs->activated(first); // sent to both: Multi Mode keeps it anyway
        QCOMPARE(window.tabs()->shownTab(), QString("CONTROL"));

        const size_t before = m_fleet->commandsCarriedOut("hall").size();
        child<QSpinBox>(&window, "volumeEdit")->setValue(9);
        QCOMPARE(m_fleet->commandsCarriedOut("hall").size(), before); // nothing sent yet
        QVERIFY(child<QCheckBox>(&window, "volumeCheck")->isChecked());
        QVERIFY(!child<QCheckBox>(&window, "brightCheck")->isChecked());

        QTest::mouseClick(child<QPushButton>(&window, "sendButton"), Qt::LeftButton);
        for (const char* monitor : {"hall", "stage"})
            QCOMPARE(m_fleet->value(monitor, "VOLM").value_or(-1), 9);
        const auto carried = m_fleet->commandsCarriedOut("hall");
        QCOMPARE(carried.size(), before + 1);
        QVERIFY(QString::fromStdString(carried.back()).startsWith("VOLM"));
    }

    // A ZR-1190 monitor gets its own CONTROL page, filled from the monitor. Its mute is off at 2, not 0, and
    // an AV mode is followed by reading the picture's ACSU value back into the setting.
    void zrPageSendsMuteOffAndReadsAcsuAfterAvMode()
    {
        QVERIFY(m_fleet->setPower("lobby", true));
        std::vector<CommandItem> preset{settingItem("MUTE", 1), settingItem("ACSU", 1), settingItem("AVMD", 1)};
        QWidget owner;
        QVERIFY(m_console.runner.run(&owner, "Sending settings", preset,
                                     {panel(lanRecord(4, "[004] Lobby", "127.0.0.4", "Brela"))}));
        COperationDlg window(m_console.context);
        window.show();
        window.tree()->setCurrentItem(window.tree()->findItem(4, false));
        QCOMPARE(window.tabs()->shownTab(), QString("CONTROL"));
        QCOMPARE(window.tabs()->shownPage(), static_cast<QWidget*>(window.tabs()->zrControlPage()));
        auto* muteOn = child<QPushButton>(&window, "zrMuteOnButton");
        auto* muteOff = child<QPushButton>(&window, "zrMuteOffButton");
        QVERIFY(muteOn->isChecked() && !muteOff->isChecked()); // as the monitor holds it
        QVERIFY(child<QPushButton>(&window, "zrAvStandardButton")->isChecked());

        QTest::mouseClick(muteOff, Qt::LeftButton);
        QCOMPARE(m_fleet->value("lobby", "MUTE").value_or(-1), 2);
        QCOMPARE(window.setting().zrControl.MUTE, 2);
        QVERIFY(muteOff->isChecked() && !muteOn->isChecked());

        QCOMPARE(window.setting().zrControl.ACSU, 2); // the default, until the monitor is asked
        auto* game = child<QPushButton>(&window, "zrAvGameButton");
        QTest::mouseClick(game, Qt::LeftButton);
        QCOMPARE(m_fleet->value("lobby", "AVMD").value_or(-1), 3);
        const auto carried = m_fleet->commandsCarriedOut("lobby");
        QVERIFY(carried.size() >= 2);
        QCOMPARE(QString::fromStdString(carried[carried.size() - 2]), QString("AVMD0003"));
        QCOMPARE(QString::fromStdString(carried.back()), QString("ACSU????"));
        QCOMPARE(window.setting().zrControl.ACSU, 1);
        QCOMPARE(window.setting().zrControl.AVMD, 3);
        QVERIFY(game->isChecked() && !child<QPushButton>(&window, "zrAvStandardButton")->isChecked());
    }

    // A ZR-1190 monitor refuses queries for a while after "ON": the window asks for its input again, the
    // ZRPowerWait pause apart, and shows the input once the monitor answers.
    void zrMonitorStartingUpIsAskedAgainForItsInput()
    {
        QVERIFY(m_fleet->setPowerUpTime("lobby", 250));
        COperationDlg window(m_console.context);
        window.setZrPowerWait(std::chrono::milliseconds(100));
        window.show();
        window.tree()->setCurrentItem(window.tree()->findItem(4, false));
        QTest::mouseClick(child<QPushButton>(&window, "powerOnButton"), Qt::LeftButton);
        QCOMPARE(m_prompter.errorBoxes().size(), size_t(0));
        QCOMPARE(m_fleet->value("lobby", "POWR").value_or(-1), 1);
        const InputModeIndex reported =
            inputIndexFromNumber(modelFromName("Brela", 0), m_fleet->value("lobby", "IAVD").value_or(0));
        QVERIFY(reported != kNoInput);
        QCOMPARE(window.setting().input, reported);
        QCOMPARE(window.tabs()->shownPage(), static_cast<QWidget*>(window.tabs()->zrControlPage()));
    }

    // Multi Mode on the ZR-1190 page: changes only tick their rows; "Send" sends just the ticked rows, to
    // every checked monitor.
    void zrPageSendsTickedRowsInMultiMode()
    {
        QVERIFY(m_fleet->setPower("lobby", true) && m_fleet->setPower("foyer", true));
        COperationDlg window(m_console.context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setMultiMode(true);
        CPanelTreeCtrl* tree = window.tree();
        for (int number : {4, 5})
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->checkBoxRect(tree->findItem(number, false)).center());
        auto* inputs = child<QComboBox>(&window, "inputCombo");
        inputs->setCurrentIndex(1);
        emit inputs->activated(1);
        QCOMPARE(window.tabs()->shownPage(), static_cast<QWidget*>(window.tabs()->zrControlPage()));

        const size_t before = m_fleet->commandsCarriedOut("lobby").size();
        child<QSpinBox>(&window, "zrVolumeEdit")->setValue(9);
        QTest::mouseClick(child<QPushButton>(&window, "zrWideZoomAvButton"), Qt::LeftButton);
        QCOMPARE(m_fleet->commandsCarriedOut("lobby").size(), before); // nothing sent yet
        QVERIFY(child<QCheckBox>(&window, "zrVolumeCheck")->isChecked());
        QVERIFY(child<QCheckBox>(&window, "zrWideCheck")->isChecked());
        QVERIFY(!child<QCheckBox>(&window, "zrAvModeCheck")->isChecked());

        QTest::mouseClick(child<QPushButton>(&window, "zrSendButton"), Qt::LeftButton);
        for (const char* monitor : {"lobby", "foyer"}) {
            const auto carried = m_fleet->commandsCarriedOut(monitor);
            QVERIFY(carried.size() >= 2);
            QCOMPARE(QString::fromStdString(carried[carried.size() - 2]), QString("WIDE0003"));
            QCOMPARE(QString::fromStdString(carried.back()), QString("VOLM0009"));
        }
        QCOMPARE(m_fleet->commandsCarriedOut("lobby").size(), before + 2);
    }

    // A monitor's settings saved to a file and loaded onto another monitor of the same model in Single Mode:
    // the other monitor is switched on, gets the input and every value.
    void savedSettingsLoadOntoAnotherMonitor()
    {
        QVERIFY(m_fleet->setPower("hall", true));
        QVERIFY(sendToHall({settingItem("VLMP", 20), settingItem("VOLM", 7), settingItem("BMOD", 2)}));
        const QString path = QString::fromStdString(m_folder->file("hall.msf"));
        COperationDlg window(m_console.context);
        window.show();
        CPanelTreeCtrl* tree = window.tree();
        tree->setCurrentItem(tree->findItem(1, false));
        m_prompter.setNextFileName(path);
        QTest::mouseClick(child<QPushButton>(&window, "saveFileButton"), Qt::LeftButton);
        QCOMPARE(window.settingGroup()->proposedName(), QString("hall.msf"));
        const InputModeIndex hallInput = window.setting().input;
        QVERIFY(hallInput != kNoInput);

        tree->setCurrentItem(tree->findItem(2, false)); // stage is off
        QCOMPARE(window.setting().power, 0);
        m_prompter.setNextFileName(path);
        QTest::mouseClick(child<QPushButton>(&window, "loadFileButton"), Qt::LeftButton);
        QCOMPARE(m_fleet->value("stage", "POWR").value_or(-1), 1);
        QCOMPARE(m_fleet->value("stage", "VLMP").value_or(-1), 20);
        QCOMPARE(m_fleet->value("stage", "VOLM").value_or(-1), 7);
        QCOMPARE(m_fleet->value("stage", "BMOD").value_or(-1), 2);
        const ModelCode model = modelFromName("QX-T988", 0);
        QCOMPARE(inputIndexFromNumber(model, m_fleet->value("stage", "INPS").value_or(0),
                                      m_fleet->value("stage", "SLDS").value_or(0)),
                 hallInput);
        QVERIFY(child<QPushButton>(&window, "powerOnButton")->isChecked());
        QCOMPARE(window.tabs()->shownTab(), QString("CONTROL"));
    }

    // A file of the other family, a broken one and one of another model that the operator declines change
    // neither the monitor nor the window.
    void refusedFilesSendNothing()
    {
        QVERIFY(m_fleet->setPower("hall", true));
        MONITOR_SETTING setting;
        setting.power = 1;
        setting.input = 101;
        const std::string zrFile = m_folder->file("zr.msf");
        QCOMPARE(writeSettingFile(zrFile, "Brela", setting), SettingFileStatus::Ok);
        setting.input = 1;
        const std::string otherModel = m_folder->file("other.msf");
        QCOMPARE(writeSettingFile(otherModel, "QX-A1", setting), SettingFileStatus::Ok);
        const std::string newer = m_folder->file("newer.msf");
        QVERIFY(writeText(newer, "PanelDesk,2\nQX-T988\nPOWR,0,INPS,0\n"));

        COperationDlg window(m_console.context);
        window.show();
        window.tree()->setCurrentItem(window.tree()->findItem(1, false));
        const InputModeIndex input = window.setting().input;
        const size_t before = m_fleet->commandsCarriedOut("hall").size();
        struct Refusal
        {
            std::string path;
            QString text;
            QMessageBox::Icon icon;
        };
        for (const Refusal& refusal :
             {Refusal{zrFile, "You cannot load ZR-1190 setting into QX-Series.", QMessageBox::NoIcon},
              Refusal{newer, "This version doesn't support that setting file.", QMessageBox::Critical},
              Refusal{otherModel, "The file's setting is for the model , QX-A1.\r\nDo you want to load compulsory?",
                      QMessageBox::Warning}}) {
            if (refusal.icon == QMessageBox::Warning)
                m_prompter.answerNext(QMessageBox::Cancel);
            m_prompter.setNextFileName(QString::fromStdString(refusal.path));
            QTest::mouseClick(child<QPushButton>(&window, "loadFileButton"), Qt::LeftButton);
            QCOMPARE(m_prompter.last().text, refusal.text);
            QCOMPARE(m_prompter.last().icon, refusal.icon);
        }
        QCOMPARE(m_fleet->commandsCarriedOut("hall").size(), before);
        QCOMPARE(window.setting().input, input);
        QCOMPARE(window.setting().power, 1);
    }

    // A monitor that shows part of a video wall keeps its picture size: the SIZE row is not offered while it
    // is selected, and is again for a monitor that is not enlarged.
    void pictureSizeIsNotOfferedForAnEnlargedMonitor()
    {
        QVERIFY(m_fleet->setPower("hall", true));
        QVERIFY(m_fleet->setPower("stage", true));
        QVERIFY(sendToHall({settingItem("EMHV", 12)}));
        COperationDlg window(m_console.context);
        window.show();
        CPanelTreeCtrl* tree = window.tree();
        tree->setCurrentItem(tree->findItem(1, false));
        QCOMPARE(window.tabs()->shownTab(), QString("CONTROL"));
        QVERIFY(!child<QPushButton>(&window, "sizeWideButton")->isEnabled());
        tree->setCurrentItem(tree->findItem(2, false));
        QVERIFY(child<QPushButton>(&window, "sizeWideButton")->isEnabled());
        QVERIFY(child<QPushButton>(&window, "colourStdButton")->isEnabled());
    }

private:
    TESSERA_PANEL_DATA lanRecord(int number, const std::string& name, const std::string& address,
                                 const std::string& model = "QX-T988")
    {
        TESSERA_PANEL_DATA record = panelRecord(number, 0, name, model);
        record.nInterface = 1;
        record.dwIPAddress = loopbackAddress(address);
        record.nDataPort = m_port;
        return record;
    }
    TESSERA_PANEL_DATA absentRecord(int number, const std::string& name)
    {
        TESSERA_PANEL_DATA record = lanRecord(number, name, "127.0.0.9");
        record.dwIPAddress = kAbsentAddress;
        return record;
    }
    static PANEL_DATA panel(const TESSERA_PANEL_DATA& record) { return panelDataFromRecord(record); }
    // Sets values on the hall monitor before a test opens its window.
    bool sendToHall(std::vector<CommandItem> items)
    {
        const std::vector<PANEL_DATA> monitors{panel(lanRecord(1, "[001] Hall", m_fleet->place("a")->address))};
        QWidget owner;
        return m_console.runner.run(&owner, "Sending settings", items, monitors);
    }
    static bool writeText(const std::string& path, const std::string& text)
    {
        FILE* file = std::fopen(path.c_str(), "w");
        const bool written = file && std::fputs(text.c_str(), file) >= 0;
        return file && std::fclose(file) == 0 && written;
    }

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<sim::Emulator> m_fleet;
    int m_port = 0;
    ScriptedPrompter m_prompter;
    TestConsole m_console{m_prompter};
};

LUMIVANE_QTEST_MAIN(OperationTest)
#include "OperationTest.moc"
