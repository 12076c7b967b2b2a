// The schedule editor and its entry dialogs, offscreen with scripted answers: what the operator does is
// saved at once, refused when it would mix the two monitor families, and told to the server.
#include "CScheduleStore.h"
#include "ScheduleRules.h"
#include "ModalDialogs.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "schedule/SelectedDaysScheduleDlg.h"
#include "schedule/CEveryScheduleDlg.h"
#include "schedule/CScheduleDlg.h"
#include "tessera.h"
#include "tree/CPanelTreeCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace lumivane;
using namespace lumivane::test;

namespace {

// The operator clicks the check box of a monitor.
void clickCheckBox(CPanelTreeCtrl* tree, int number)
{
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->checkBoxRect(tree->findItem(number, false)).center());
}

QString suffixOf(CPanelTreeCtrl* tree, int number)
{
    const QString text = tree->findItem(number, false)->text(0);
    return text.mid(text.indexOf('<'));
}

} // namespace

class ScheduleDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<TempDataFolder>();
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        writePanels({panelRecord(1, 0, "[001] Hall", "QX-T988"), panelRecord(2, 0, "[002] Foyer", "Brela")});
    }
    void cleanup()
    {
        const int unexpectedBoxes = m_prompter.unexpected();
        const int unexpectedDialogs = m_console.dialogs.unexpected();
        m_prompter.clear();
        m_console.dialogs.clear();
        TESSERA_Uninitialize();
        m_folder.reset();
        QCOMPARE(unexpectedBoxes, 0);
        QCOMPARE(unexpectedDialogs, 0);
    }

    // A schedule made, filled and assigned in the editor; a main-series input never reaches a ZR-1190, an
    // off-only entry sorts before the on-times, and deleting the schedule unassigns its monitors.
    void aScheduleFromNameToDeletion()
    {
        CScheduleDlg editor(m_console.context);
        editor.show();
        m_console.dialogs.expect<CScheduleNameDlg>([](CScheduleNameDlg* dialog) {
            dialog->setName("Lobby & Hall");
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(child<QPushButton>(&editor, "newButton"), Qt::LeftButton);
        QCOMPARE(m_console.notifier.messages, std::vector<int>{1126});
        editor.scheduleList()->setCurrentRow(0);
        QCOMPARE(editor.entriesGroup()->title(), QString("Lobby && Hall"));

        // Mondays on at 08:00 with input 1; OK without a day is refused first.
        m_prompter.answerNext(QMessageBox::Ok);
        m_console.dialogs.expect<CEveryScheduleDlg>([this](CEveryScheduleDlg* dialog) {
            child<QPushButton>(dialog, "selectNoneButton")->click();
            dialog->accept();
            if (dialog->result() == QDialog::Accepted || m_prompter.last().text != "Please select schedule days.")
                return int(QDialog::Rejected);
            child<QCheckBox>(dialog, "day1Check")->setChecked(true);
            child<QRadioButton>(dialog, "onOnlyRadio")->click();
            child<QComboBox>(dialog, "onTimeHour")->setCurrentIndex(8);
            child<QCheckBox>(dialog, "changeInputCheck")->setChecked(true);
            dialog->accept();
            return dialog->result();
        });
        QTest::mouseClick(child<QPushButton>(&editor, "everyAddButton"), Qt::LeftButton);
        // Sundays off at 06:00.
        m_console.dialogs.expect<CEveryScheduleDlg>([](CEveryScheduleDlg* dialog) {
            child<QPushButton>(dialog, "selectNoneButton")->click();
            child<QCheckBox>(dialog, "day0Check")->setChecked(true);
            child<QRadioButton>(dialog, "offOnlyRadio")->click();
            child<QComboBox>(dialog, "offTimeHour")->setCurrentIndex(6);
            dialog->accept();
            return dialog->result();
        });
        QTest::mouseClick(child<QPushButton>(&editor, "everyAddButton"), Qt::LeftButton);
        CScheduleStore store;
        store.LoadList();
        store.SelectSchedule(0);
        QCOMPARE(store.everyCount(), 2);
        QCOMPARE(store.everyAt(0)->inputId, 1);

        QTreeWidget* every = editor.everyList();
        QCOMPARE(every->topLevelItem(0)->text(8), QString("08:00"));
        emit every->header()->sectionClicked(8); // "On": the off-only entry first
        QCOMPARE(every->topLevelItem(0)->text(8), QString("-"));
        emit every->header()->sectionClicked(8); // again: reversed
        QCOMPARE(every->topLevelItem(0)->text(8), QString("08:00"));

        CPanelTreeCtrl* tree = editor.tree();
        clickCheckBox(tree, 2); // the ZR-1190
        QTest::mouseClick(child<QPushButton>(&editor, "assignButton"), Qt::LeftButton);
        QCOMPARE(m_prompter.last().text, QString("You cannot select QX-Series input mode for the monitor of ZR-1190."));
        QCOMPARE(suffixOf(tree, 2), QString("<*UNASSIGNED*>"));
        clickCheckBox(tree, 2);
        clickCheckBox(tree, 1);
        QTest::mouseClick(child<QPushButton>(&editor, "assignButton"), Qt::LeftButton);
        QCOMPARE(suffixOf(tree, 1), QString("<Lobby & Hall>"));
        QCOMPARE(findPanel(readPanels(), 1)->nScheduleNo, 1);
        QCOMPARE(suffixOf(CScheduleDlg(m_console.context).tree(), 1), QString("<Lobby & Hall>")); // opened anew

        m_prompter.answerNext(QMessageBox::Ok);
        editor.scheduleList()->setCurrentRow(0);
        QTest::mouseClick(child<QPushButton>(&editor, "deleteButton"), Qt::LeftButton);
        QCOMPARE(editor.scheduleList()->count(), 0);
        QCOMPARE(findPanel(readPanels(), 1)->bSchedule, 0);
        QCOMPARE(suffixOf(editor.tree(), 1), QString("<*UNASSIGNED*>"));
        QVERIFY(!editor.entriesGroup()->isVisibleTo(&editor));
    }

    // "Neither power on nor off." is a day without switching: both times stored as absent.
    void aDayWithoutSwitchingIsStoredWithoutTimes()
    {
        const ST_SCHEDULE_ESPECIAL fresh{1, 8, 0, 1, 20, 0, 0, 2026, 12, 24, 2026, 12, 24};
        CEspecialScheduleDlg dialog(m_prompter, fresh, kQxFamily, kNoFamily);
        child<QRadioButton>(&dialog, "termRadio")->click();
        child<QRadioButton>(&dialog, "neitherRadio")->click();
        child<QDateEdit>(&dialog, "toDate")->setDate(QDate(2026, 12, 26));
        child<QDateEdit>(&dialog, "fromDate")->setDate(QDate(2026, 12, 28)); // past "to": "to" follows
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const ST_SCHEDULE_ESPECIAL& stored = dialog.entry();
        QCOMPARE(stored.onValid + stored.offValid, 0);
        QCOMPARE(QDate(stored.toYear, stored.toMonth, stored.toDay), QDate(2026, 12, 28));
    }

private:
    std::unique_ptr<TempDataFolder> m_folder;
    ScriptedPrompter m_prompter;
    TestConsole m_console{m_prompter};
};

LUMIVANE_QTEST_MAIN(ScheduleDialogTest)
#include "ScheduleDialogTest.moc"
