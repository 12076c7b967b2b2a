// The console program from start to end: log-in, main window, the panel store's error boxes, and one
// console per machine (a second start, the real program, brings the first forward).
#include "ModalDialogs.h"
#include "PasswordFile.h"
#include "ProfileFile.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "TempFolder.h"
#include "app/CPanelDeskApp.h"
#include "security/CAuthentificationDlg.h"
#include "tessera.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>

#include <memory>

using namespace lumivane;
using lumivane::test::whenModalShown;

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<test::TempDataFolder>();
        m_prompter.clear();
    }
    void cleanup()
    {
        test::cancelModalWatches();
        QCOMPARE(m_prompter.unexpected(), 0);
        m_folder.reset();
    }

    void freshInstallationOpensTheMainWindowAsAdministrator()
    {
        CPanelDeskApp console(m_prompter);
        Authority shownWith = Authority::None;
        QString displayName;
        whenModalShown<CPanelDeskDlg>([&](CPanelDeskDlg* window) {
            shownWith = window->authority();
            displayName = QGuiApplication::applicationDisplayName();
            window->reject(); // closing the main window ends the program
        });
        QCOMPARE(console.run(), 0);
        QCOMPARE(shownWith, Authority::Administrator);
        // A display name of its own would be appended by the platform to every dialog title.
        QCOMPARE(displayName, QCoreApplication::applicationName());
        QCOMPARE(ProfileFile::load(operatorIniPath()).readInt("Config", "Authority", 0), 1);
        QVERIFY(test::fileExists(m_folder->file(".run/Global_VaneController.lock")));
        QVERIFY2(!test::fileExists(m_folder->file(".run/Lumivane_ClassName.sock")), "removed at exit");
    }

    void cancelledLogInEndsTheProgramWithoutMainWindow()
    {
        Passwords passwords;
        passwords.byRole = {"admin", "", ""};
        QVERIFY(savePasswords(passwordFilePath(), passwords));
        bool mainWindowShown = false;
        whenModalShown<CPanelDeskDlg>([&](CPanelDeskDlg* window) {
            mainWindowShown = true;
            window->reject();
        });
        whenModalShown<CAuthentificationDlg>(
            [](CAuthentificationDlg* box) { test::child<QPushButton>(box, "cancelButton")->click(); });
        CPanelDeskApp console(m_prompter);
        QCOMPARE(console.run(), 0);
        QVERIFY(!mainWindowShown);
        QCOMPARE(test::cancelModalWatches(), 1); // the main window's watch is still waiting
    }

    void storeErrorsAppearInAWarningBoxAboveEverything()
    {
        CPanelDeskApp console(m_prompter);
        whenModalShown<CPanelDeskDlg>([](CPanelDeskDlg* window) {
            TESSERA_PANEL list = TESSERA_OpenPanel(nullptr);
            TESSERA_SavePanel(list, nullptr); // no path to save to: the store reports it
            TESSERA_ClosePanel(list);
            window->reject();
        });
        QCOMPARE(console.run(), 0);
        QCOMPARE(m_prompter.asked().size(), size_t(1));
        const Prompt& box = m_prompter.last();
        QCOMPARE(box.caption, QString("TESSERA Library"));
        QCOMPARE(box.text, QString("Invalid panel path (= NULL)."));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY(box.topmost);
    }

    void secondStartBringsTheFirstConsoleForward()
    {
        CPanelDeskApp console(m_prompter);
        QSignalSpy forward(&console, &CPanelDeskApp::broughtForward);
        int secondExit = -1;
        qint64 secondTook = -1;
        bool restored = false;
        whenModalShown<CPanelDeskDlg>([&](CPanelDeskDlg* window) {
            window->showMinimized();
            QProcess second;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("QT_QPA_PLATFORM", "offscreen");
            second.setProcessEnvironment(environment);
            QElapsedTimer clock;
            clock.start();
            second.start(LUMIDESK_PROGRAM, {});
            if (second.waitForFinished(15000)) {
                secondExit = second.exitCode();
                secondTook = clock.elapsed();
            } else {
                second.kill();
            }
            restored = QTest::qWaitFor([&] { return forward.count() == 1 && !window->isMinimized(); }, 5000);
            window->reject();
        });
        QCOMPARE(console.run(), 0);
        QCOMPARE(secondExit, 0);
        QVERIFY2(secondTook < 5000, "the second console ends at once");
        QVERIFY(restored);
    }

private:
    std::unique_ptr<test::TempDataFolder> m_folder;
    test::ScriptedPrompter m_prompter;
};

LUMIVANE_QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
