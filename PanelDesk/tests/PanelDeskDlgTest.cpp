// The main window: layout by authority, its buttons, the version sheet, starting the server, and the
// console texts (string table and translation).
#include "ModalDialogs.h"
#include "QmFile.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "WindowMessageListener.h"
#include "app/CPanelDeskDlg.h"
#include "registration/CMonitorAccountDlg.h"
#include "schedule/CScheduleDlg.h"
#include "common/UiText.h"
#include "config/CConfigSheet.h"
#include "config/CConfigVersionPage.h"
#include "operation/COperationDlg.h"
#include "security/CSecurityDlg.h"
#include "tessera.h"
#include "tree/CPanelTreeCtrl.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <memory>
#include <sys/stat.h>

using namespace lumivane;
using lumivane::test::child;
using lumivane::test::whenModalShown;

class PanelDeskDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TESSERA_Initialize(); }
    void cleanupTestCase() { TESSERA_Uninitialize(); }
    void init()
    {
        m_folder = std::make_unique<test::TempDataFolder>();
        loadProcessSettings();
        m_prompter.clear();
        m_console.dialogs.clear();
    }
    void cleanup()
    {
        test::cancelModalWatches();
        QCOMPARE(m_prompter.unexpected(), 0);
        QCOMPARE(m_console.dialogs.unexpected(), 0);
        QCOMPARE(m_console.dialogs.pending(), size_t(0));
        m_folder.reset();
    }

    void layoutFollowsTheAuthority_data()
    {
        QTest::addColumn<int>("authority");
        QTest::addColumn<int>("mask");
        QTest::addColumn<bool>("inputModeAvailable");
        // Expected: buttons "visible/enabled" for monitor control, schedule, mail, password; layout flags.
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<bool>("restricted");
        QTest::addColumn<bool>("inputSelection");
        QTest::addColumn<int>("operationMask");
        QTest::newRow("Administrator") << 1 << 0 << false << "EEEE" << false << true << 0xFFFF;
        QTest::newRow("Normal, schedule and registration") << 2 << 0x0048 << false << "EEDD" << false << true << 0x48;
        QTest::newRow("Normal, CONTROL only") << 2 << 0x4000 << true << "DDDD" << false << true << 0x4000;
        QTest::newRow("Normal, mask 0") << 2 << 0 << false << "HHHH" << true << true << 0;
        QTest::newRow("Restricted") << 3 << 0xFFFF << false << "HHHH" << true << false << 0xFFFF;
        QTest::newRow("Restricted, input allowed") << 3 << 0 << true << "HHHH" << true << true << 0xFFFF;
    }
    void layoutFollowsTheAuthority()
    {
        QFETCH(int, authority);
        QFETCH(int, mask);
        QFETCH(bool, inputModeAvailable);
        QFETCH(QString, buttons);
        QFETCH(bool, restricted);
        QFETCH(bool, inputSelection);
        QFETCH(int, operationMask);

        CPanelDeskDlg admin(m_console.context, Authority::Administrator, 0, false);
        admin.show();
        CPanelDeskDlg window(m_console.context, static_cast<Authority>(authority), uint16_t(mask), inputModeAvailable);
        window.show();
        const char* names[] = {"monitorControlButton", "scheduleButton", "mailMonitoringSettingButton",
                               "passwordSettingButton"};
        for (int i = 0; i < 4; ++i) {
            auto* button = child<QPushButton>(&window, names[i]);
            QVERIFY2(button->isVisible() == (buttons[i] != 'H'), names[i]);
            if (buttons[i] != 'H')
                QVERIFY2(button->isEnabled() == (buttons[i] == 'E'), names[i]);
        }
        auto* monitoring = child<QPushButton>(&window, "monitoringButton");
        QVERIFY(monitoring->isVisible() && monitoring->isEnabled());
        QCOMPARE(window.restrictedLayout(), restricted);
        // In the restricted layout "Monitoring" takes the place of "Monitor Control".
        const QPoint place =
            child<QPushButton>(&admin, restricted ? "monitorControlButton" : "monitoringButton")->pos();
        QCOMPARE(monitoring->pos(), place);

        COperationDlg* page = window.operationPage();
        QCOMPARE(page->restricted(), restricted);
        QCOMPARE(page->inputSelection(), inputSelection);
        QCOMPARE(int(page->customizeMask()), operationMask);
    }

    void windowIsFixedAndHoldsTheTreePage()
    {
        test::writeFile(m_folder->file("Panels.csv"), "1,0,[001] Lobby,,QX-P42,1,1,9600,0,true,false,0,0,0,"
                                                      "10008,,,true,,,0,0\r\n");
        CPanelDeskDlg window(m_console.context, Authority::Administrator, 0, false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.windowTitle(), QString("Lumivane"));
        auto* page = child<QWidget>(&window, "operationPage");
        auto* frame = child<QWidget>(&window, "pageFrame");
        QVERIFY(frame->geometry().contains(page->geometry().translated(frame->pos())));
        CPanelTreeCtrl* tree = window.operationPage()->tree();
        QVERIFY(!tree->checkBoxes()); // Single Mode
        QCOMPARE(tree->rootItem()->text(0), QString("(Root)"));
        QCOMPARE(tree->rootItem()->childCount(), 1);
        QCOMPARE(tree->rootItem()->child(0)->text(0), QString("[001] Lobby"));
    }

    void versionInformationOpensTheSheetOnItsVersionPage()
    {
        CPanelDeskDlg window(m_console.context, Authority::RestrictedOperator, 0, false);
        window.show();
        QString title, version;
        int pages = 0;
        bool onVersionPage = false;
        m_console.dialogs.expect<CConfigSheet>([&](CConfigSheet* sheet) {
            title = sheet->windowTitle();
            pages = sheet->pages()->count();
            onVersionPage = sheet->pages()->currentWidget()->objectName() == "versionPage";
            version = child<QLabel>(sheet, "versionLabel")->text();
            return int(QDialog::Rejected);
        });
        child<QAction>(&window, "versionInformationAction")->trigger();
        QCOMPARE(m_console.dialogs.pending(), size_t(0));
        QCOMPARE(title, QString("Mail/Monitoring Setting"));
        QCOMPARE(pages, 1);
        QVERIFY(onVersionPage);
        QCOMPARE(version, QString("Ver. " LUMIVANE_VERSION));
        QCOMPARE(child<QAction>(&window, "versionInformationAction")->text(), QString("Version Information..."));
    }

    void mailMonitoringSettingOpensTheSheet()
    {
        CPanelDeskDlg window(m_console.context, Authority::Administrator, 0, false);
        window.show();
        m_console.dialogs.expect<CConfigSheet>([](CConfigSheet*) { return int(QDialog::Accepted); });
        child<QPushButton>(&window, "mailMonitoringSettingButton")->click();
        QCOMPARE(m_console.dialogs.opened(), QStringList{"lumivane::CConfigSheet"});
        QCOMPARE(m_console.dialogs.pending(), size_t(0));
    }

    void monitoringStartsTheServerWithTheAuthority()
    {
        test::TempFolder programs;
        const std::string output = programs.file("arguments");
        test::writeFile(programs.file("lumiwatch"),
                        "#!/bin/sh\necho \"$@\" > '" + output + ".tmp'\nmv '" + output + ".tmp' '" + output + "'\n");
        ::chmod(programs.file("lumiwatch").c_str(), 0755);
        CPanelDeskDlg window(m_console.context, Authority::NormalOperator, 0x0008, false);
        window.setServerStarter(ServerStarter(programs.path()));
        window.show();
        child<QPushButton>(&window, "monitoringButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(test::fileExists(output), 5000);
        QCOMPARE(test::readFile(output), std::string("/show 2\n"));
        QVERIFY(m_prompter.asked().empty());
    }

    void aServerThatCannotStartIsReported()
    {
        test::TempFolder empty;
        CPanelDeskDlg window(m_console.context, Authority::RestrictedOperator, 0, false);
        window.setServerStarter(ServerStarter(empty.path()));
        window.show();
        child<QPushButton>(&window, "monitoringButton")->click();
        QCOMPARE(m_prompter.texts(), QStringList{"Lumivane Server cannot be executed."});
        QCOMPARE(m_prompter.last().icon, QMessageBox::Critical);
    }

    void monitorControlOpensTheRegistrationAndTellsTheServer()
    {
        CPanelDeskDlg window(m_console.context, Authority::Administrator, 0, false);
        m_console.dialogs.expect<CMonitorAccountDlg>([](CMonitorAccountDlg*) { return int(QDialog::Rejected); });
        child<QPushButton>(&window, "monitorControlButton")->click();
        QCOMPARE(m_console.dialogs.opened(), QStringList{"lumivane::CMonitorAccountDlg"});
        QCOMPARE(m_console.notifier.messages.back(), 1125);
    }

    void scheduleOpensTheScheduleEditor()
    {
        CPanelDeskDlg window(m_console.context, Authority::Administrator, 0, false);
        m_console.dialogs.expect<CScheduleDlg>([](CScheduleDlg*) { return int(QDialog::Rejected); });
        child<QPushButton>(&window, "scheduleButton")->click();
        QCOMPARE(m_console.dialogs.opened(), QStringList{"lumivane::CScheduleDlg"});
    }

    void passwordSettingOpensTheSecurityDialogAndNotifiesTheServer()
    {
        WindowMessageListener server;
        std::string error;
        QVERIFY(server.listenAs(kServerWindowClass, error));
        CPanelDeskDlg window(m_console.context, Authority::Administrator, 0, false);
        window.show();
        m_console.dialogs.expect<CSecurityDlg>([](CSecurityDlg* dialog) {
            child<QPushButton>(dialog, "closeButton")->click();
            return dialog->result();
        });
        child<QPushButton>(&window, "passwordSettingButton")->click();
        QCOMPARE(m_console.dialogs.pending(), size_t(0));
        std::vector<int> received;
        for (int i = 0; i < 50 && received.empty(); ++i)
            server.poll(std::chrono::milliseconds(20), [&](const WindowMessage& m) { received.push_back(m.message); });
        QCOMPARE(received, std::vector<int>{1124});
    }

    void textsComeFromTheTableAndTheTranslation()
    {
        QCOMPARE(uiText(125), QString("(Root)"));
        QCOMPARE(uiFormat(132, "[007] Hall"), QString("The selected monitor will be deleted.\n\n  [007] Hall"));
        QCOMPARE(applicationTitle(), QString("Lumivane"));

        QTemporaryDir folder;
        const QString path = folder.filePath("german.qm");
        QVERIFY(test::writeQmFile(path, kTextContext,
                                  {{"Monitoring", QString::fromUtf8("Überwachung")},
                                   {"The selected monitor will be deleted.\n\n  %s",
                                    QString::fromUtf8("Der Monitor wird gelöscht.\n\n  %s")}}));
        QVERIFY(!loadTranslation(folder.filePath("missing.qm").toStdString()));
        QVERIFY(loadTranslation(path.toStdString()));
        QCOMPARE(uiFormat(132, "[007] Hall"), QString::fromUtf8("Der Monitor wird gelöscht.\n\n  [007] Hall"));
        {
            CPanelDeskDlg window(m_console.context, Authority::Administrator, 0, false);
            QCOMPARE(child<QPushButton>(&window, "monitoringButton")->text(), QString::fromUtf8("Überwachung"));
            QCOMPARE(child<QPushButton>(&window, "scheduleButton")->text(), QString("Schedule"));
        }
        unloadTranslation();
        QCOMPARE(uiText("Monitoring"), QString("Monitoring"));
    }

    void aTranslationWithOtherConversionsIsNeverFormatted()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("broken.qm");
        QVERIFY(test::writeQmFile(path, kTextContext,
                                  {{"Found %d monitor(s).", QString("%s Monitore gefunden.")},
                                   {"The selected monitor will be deleted.\n\n  %s",
                                    QString::fromUtf8("Der Monitor wird gelöscht.\n\n  %s")}}));
        QVERIFY(loadTranslation(path.toStdString()));
        QCOMPARE(uiFormat(159, 3), QString("Found 3 monitor(s).")); // "%s" would read the number as text
        QCOMPARE(uiFormat(132, "[007] Hall"), QString::fromUtf8("Der Monitor wird gelöscht.\n\n  [007] Hall"));
        unloadTranslation();
    }

    // A watch whose dialog never shows fails the test and closes the window that was opened instead, so the
    // test ends rather than waiting forever.
    void modalWatchFailsWhenItsDialogNeverShows()
    {
        whenModalShown<CConfigSheet>([](CConfigSheet* sheet) { sheet->reject(); }, 200);
        QDialog other;
        QEXPECT_FAIL("", "the watched dialog is never shown", Continue);
        QCOMPARE(other.exec(), int(QDialog::Rejected));
        QCOMPARE(test::cancelModalWatches(), 0);
    }

    void fileFiltersTakeTheTableForm()
    {
        QCOMPARE(qtFileFilter("Enlarge Setting File(*.esf)|*.esf||"), QString("Enlarge Setting File(*.esf) (*.esf)"));
        QCOMPARE(qtFileFilter("Text(*.txt)|*.txt|All(*.*)|*.*||"), QString("Text(*.txt) (*.txt);;All(*.*) (*.*)"));
        QCOMPARE(qtFileFilter(""), QString());
    }

private:
    std::unique_ptr<test::TempDataFolder> m_folder;
    test::ScriptedPrompter m_prompter;
    test::TestConsole m_console{m_prompter};
};

LUMIVANE_QTEST_MAIN(PanelDeskDlgTest)
#include "PanelDeskDlgTest.moc"
