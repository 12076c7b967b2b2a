// The registration dialog's search for monitors against emulated monitors on loopback, "Select interface"
// and the monitor password dialog.
#include "Emulator.h"
#include "ModalDialogs.h"
#include "ProfileFile.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "common/UiText.h"
#include "registration/CMonitorFindDlg.h"
#include "registration/CMonitorPasswordDlg.h"
#include "registration/MonitorSearchRun.h"
#include "tessera.h"
#include "tree/CPanelTreeCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

using namespace lumivane;
using namespace lumivane::test;

namespace {

int storedSearchPort()
{
    return ProfileFile::load(operatorIniPath()).readInt("Config", "SearchPort", -1);
}

std::vector<std::string> namesIn(const std::vector<TESSERA_PANEL_DATA>& panels, int group)
{
    std::vector<std::string> names;
    for (const TESSERA_PANEL_DATA& panel : panels)
        if (panel.nGroupNo == group)
            names.push_back(panel.szName);
    return names;
}

} // namespace

class MonitorSearchTest : public QObject
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
        writeGroups(2, {{1, "Hall", 0}, {2, "Stage", 0}});
        writePanels({panelRecord(1, 1, "[001] Old hall display", "QX-T988"), panelRecord(2, 2, "[002] Stage left")});
    }
    void cleanup()
    {
        cancelModalWatches();
        const int unexpectedBoxes = m_prompter.unexpected();
        const int unexpectedDialogs = m_console.dialogs.unexpected();
        m_prompter.clear();
        m_console.dialogs.clear();
        ::unsetenv("LUMIVANE_LAN_SEARCH");
        TESSERA_Uninitialize();
        m_folder.reset();
        QCOMPARE(unexpectedBoxes, 0);
        QCOMPARE(unexpectedDialogs, 0);
    }

    // Two monitors answer on the LAN (the later address first): Yes to emptying the selected group puts
    // them there alone, in address order, and the search port chosen is kept for the next search.
    void lanSearchFillsTheChosenGroupInAddressOrder()
    {
        std::string error;
        auto fleet = sim::Emulator::startText("data-port 0\nsearch-port 0\n"
                                              "lan b 127.0.0.3\nmonitor b model=QX-T988 serial=B-1\n"
                                              "lan a 127.0.0.2\nmonitor a model=QX-T988 serial=A-1\n",
                                              &error);
        QVERIFY2(fleet, error.c_str());
        ::setenv("LUMIVANE_LAN_SEARCH", fleet->searchTargets().c_str(), 1);
        const int searchPort = fleet->searchPort();

        CPanelTreeCtrl tree(m_prompter);
        tree.setMode(PanelTreeMode::Registration);
        tree.reload();
        tree.setCurrentItem(tree.findItem(1, false)); // a monitor of "Hall": its group is the target
        bool enablingRight = false;
        m_console.dialogs.expect<CMonitorFindDlg>([&](CMonitorFindDlg* dialog) {
            auto* interfaces = child<QComboBox>(dialog, "interfaceCombo");
            interfaces->setCurrentIndex(interfaces->findText("COM3"));
            const bool comEnabling = !child<QLineEdit>(dialog, "searchPortEdit")->isEnabled() &&
                                     child<QComboBox>(dialog, "baudCombo")->isEnabled();
            interfaces->setCurrentIndex(interfaces->findText("LAN"));
            enablingRight = comEnabling && child<QLineEdit>(dialog, "searchPortEdit")->isEnabled() &&
                            !child<QComboBox>(dialog, "baudCombo")->isEnabled();
            child<QLineEdit>(dialog, "searchPortEdit")->setText(QString::number(searchPort));
            child<QPushButton>(dialog, "okButton")->click();
            return dialog->result();
        });
        m_prompter.answerNext(QMessageBox::Yes);

        QWidget owner;
        QCOMPARE(searchForMonitors(m_console.context, tree, &owner), 2);

        QVERIFY(enablingRight);
        QCOMPARE(m_prompter.texts(), (QStringList{uiFormat(211, "Hall"), uiFormat(159, 2)}));
        const auto panels = readPanels();
        QCOMPARE(namesIn(panels, 1), (std::vector<std::string>{"[003] 127.0.0.2", "[004] 127.0.0.3"}));
        QCOMPARE(namesIn(panels, 2), std::vector<std::string>{"[002] Stage left"}); // other groups untouched
        QCOMPARE(findPanel(panels, 3)->nDataPort, fleet->place("a")->dataPort);
        QVERIFY(tree.findItem(3, false) && tree.findItem(4, false)); // the tree shows what the store holds
        QVERIFY(!tree.findItem(1, false));
        QCOMPARE(storedSearchPort(), searchPort);
        QCOMPARE(processSettings().operatorSettings.searchPort, searchPort);
    }

    // The dialog starts from the kept search port. With nothing in the target group the question is the
    // root one, with the note on ID assignment for a daisy-chain search; Cancel there searches nothing.
    void cancelAtTheTargetQuestionSearchesNothing()
    {
        writeOperatorSetting("Config", "SearchPort", 7001);
        CPanelTreeCtrl tree(m_prompter);
        tree.setMode(PanelTreeMode::Registration);
        tree.reload();
        tree.setCurrentItem(tree.rootItem()); // the root holds no monitor directly
        QString offeredPort;
        m_console.dialogs.expect<CMonitorFindDlg>([&](CMonitorFindDlg* dialog) {
            offeredPort = child<QLineEdit>(dialog, "searchPortEdit")->text();
            child<QCheckBox>(dialog, "daisyChainCheck")->setChecked(true);
            child<QPushButton>(dialog, "okButton")->click();
            return dialog->result();
        });
        m_prompter.answerNext(QMessageBox::Cancel);

        QWidget owner;
        QCOMPARE(searchForMonitors(m_console.context, tree, &owner), 0);
        QCOMPARE(offeredPort, QString("7001"));
        QCOMPARE(m_prompter.texts(), QStringList{uiText(123) + uiText(290)});
        QCOMPARE(readPanels().size(), size_t(2));
    }

    // A search port the edit cannot hold as a port gives no OK for a LAN search.
    void findDialogRefusesAnEmptySearchPort()
    {
        CMonitorFindDlg dialog;
        QCOMPARE(child<QLineEdit>(&dialog, "searchPortEdit")->text(), QString("5006"));
        child<QLineEdit>(&dialog, "searchPortEdit")->clear();
        QVERIFY(!child<QPushButton>(&dialog, "okButton")->isEnabled());
        child<QComboBox>(&dialog, "interfaceCombo")->setCurrentIndex(2); // COM1: no search port needed
        QVERIFY(child<QPushButton>(&dialog, "okButton")->isEnabled());
    }

    // User name and password hold 8 bytes at most, typed or stored; "Clear" empties both.
    void passwordDialogKeepsEightBytes()
    {
        CMonitorPasswordDlg dialog("administrator", "pass");
        dialog.show();
        QCOMPARE(dialog.userName(), std::string("administ"));
        auto* password = child<QLineEdit>(&dialog, "passwordEdit");
        password->setFocus();
        QTest::keyClicks(password, "word12345");
        QCOMPARE(dialog.password(), std::string("password"));
        child<QPushButton>(&dialog, "clearButton")->click();
        QCOMPARE(dialog.userName(), std::string());
        QCOMPARE(dialog.password(), std::string());
        for (int typed = 0; typed < 5; ++typed) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("é"));
            QApplication::sendEvent(child<QLineEdit>(&dialog, "userNameEdit"), &key);
        }
        QCOMPARE(dialog.userName(), std::string("éééé")); // two bytes each
    }

private:
    std::unique_ptr<TempDataFolder> m_folder;
    ScriptedPrompter m_prompter;
    TestConsole m_console{m_prompter};
};

LUMIVANE_QTEST_MAIN(MonitorSearchTest)
#include "MonitorSearchTest.moc"
