// The server with its windows, offscreen, against an emulated fleet: the status window's list after a check,
// the refusal of a second run, the progress and error list, the hand-over of a second start with "/show 2",
// and the error list's limit. With LUMIVANE_SCREENSHOT_DIR set, the windows are saved there as pictures.
#include "CErrorDlg.h"
#include "CMainFrame.h"
#include "CServCommunicateDlg.h"
#include "CServPropertyDlg.h"
#include "CShowStateDlg.h"
#include "Emulator.h"
#include "PanelRegistry.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "ServerImages.h"
#include "ServerProgram.h"
#include "Strings.h"
#include "TempFolder.h"
#include "common/UiText.h"
#include "tessera.h"

#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>

#include <arpa/inet.h>
#include <cstring>
#include <memory>

using namespace lumivane;
using namespace lumivane::test;

namespace {

void saveScreenshot(const QPixmap& picture, const QString& name)
{
    const QString folder = qEnvironmentVariable("LUMIVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        QVERIFY(picture.save(folder + "/" + name + ".png"));
}

void saveScreenshot(QWidget* window, const QString& name)
{
    saveScreenshot(window->grab(), name);
}

QAction* action(QMenu* menu, const QString& title)
{
    for (QAction* item : menu->actions()) {
        if (item->text() == title)
            return item;
    }
    return nullptr;
}

} // namespace

class ServerWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_data = std::make_unique<TempDataFolder>();
        std::string error;
        m_fleet = sim::Emulator::startText("data-port 0\nsearch-port none\n"
                                           "lan a 127.0.0.2\nmonitor a model=QX-T988\n"
                                           "lan b 127.0.0.3\nmonitor b model=QX-T988 power=off\n"
                                           "lan c 127.0.0.4\nmonitor c model=QX-T988\n"
                                           "lan d 127.0.0.5\nmonitor d model=QX-T988\n",
                                           &error);
        QVERIFY2(m_fleet, error.c_str());
        m_fleet->setHardwareStatus("c", 0x8000);
        writeFile(m_data->file("QVXCtrl.ini"), "[Check]\nMessageBox=1\n"); // errors go to the error list
        PanelRegistry registry(m_data->path());
        const auto lobby = registry.addGroup("Lobby", 0);
        QVERIFY(lobby);
        for (const char* name : {"a", "b", "c"})
            QVERIFY(registry.addMonitor(lanMonitor(name), lobby->nGroupNo, std::string("Lobby ") + name));
        QVERIFY(registry.addMonitor(lanMonitor("d"), 0, "Entrance d"));

        m_program = std::make_unique<ServerProgram>(ServerCommandLine{});
        QCOMPARE(int(m_program->start()), int(ServerProgram::Start::Run));
        m_frame = std::make_unique<CMainFrame>(*m_program, m_prompter, systemClock(),
                                               CMainFrame::Options{{1, std::chrono::milliseconds(1)},
                                                                   std::chrono::milliseconds(600000)});
        m_frame->start();
    }

    void cleanup()
    {
        m_frame.reset();
        m_program.reset();
        m_fleet.reset();
        m_data.reset();
        m_prompter.clear();
    }

    void checkedMonitorsShowTheirStateAndASecondRunIsRefused()
    {
        m_frame->openStatusWindow(1);
        CShowStateDlg* window = m_frame->statusWindow();
        QTRY_VERIFY(window->isVisible());
        QCOMPARE(window->monitorList()->topLevelItemCount(), 4); // (All Monitors)

        selectRows(window, {"Lobby a", "Lobby b", "Lobby c"});
        std::unique_ptr<QMenu> menu(window->makeContextMenu());
        QVERIFY(!action(menu.get(), "Property...")->isEnabled()); // three selected
        QVERIFY(!action(menu.get(), "Browse..."));
        action(menu.get(), "Get Status")->trigger();
        QVERIFY(m_frame->progressDialog());

        // While the run goes on, "Get latest status" is refused, and nothing is queued.
        window->runCommand(ManualCommand{}, true);
        QCOMPARE(m_prompter.texts().size(), 1);
        QCOMPARE(m_prompter.texts().last(), QString::fromUtf8(messageText(557)));

        QTRY_VERIFY_WITH_TIMEOUT(!m_frame->engine().isRunning(), 15000);
        QTRY_VERIFY(!m_frame->progressDialog());
        QTRY_COMPARE(window->latestStatusButton()->text(), uiText(570));
        QVERIFY(window->latestStatusButton()->isEnabled());
        QCOMPARE(statusOf(window, "Lobby a"), QString("Power On"));
        QCOMPARE(statusOf(window, "Lobby b"), QString("Power Off"));
        QCOMPARE(statusOf(window, "Lobby c"), QString("Abnormal Temperature"));
        QCOMPARE(statusOf(window, "Entrance d"), QString("(Not Get, yet)"));
        QCOMPARE(m_fleet->commandsCarriedOut("d").size(), size_t(0));

        // The run's error went to the error list, which keeps the tray menu away while it is open.
        QVERIFY(m_frame->errorList());
        QCOMPARE(m_frame->errorList()->lineCount(), 1);
        QVERIFY(!m_frame->trayMenuAllowed());

        saveScreenshots(window);
    }

    void aSecondStartWithShowTwoOpensTheWindowWithoutLogIn()
    {
        QProcess second;
        second.start(LUMIWATCH_PROGRAM, {"/show", "2"});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY(m_frame->statusWindow()->isVisible());
        QCOMPARE(m_frame->statusWindow()->authority(), 2);
        QVERIFY(m_prompter.asked().empty());

        // A Normal Operator is never offered the monitor's web page.
        selectRows(m_frame->statusWindow(), {"Lobby a"});
        std::unique_ptr<QMenu> menu(m_frame->statusWindow()->makeContextMenu());
        QVERIFY(!action(menu.get(), "Browse..."));
        QVERIFY(action(menu.get(), "Property...")->isEnabled());
    }

    void withoutADesktopItPointsToHeadlessAndEnds()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        environment.insert("LUMIVANE_RUNTIME_DIR", QString::fromStdString(m_data->path() + "/other-run"));
        QProcess server;
        server.setProcessEnvironment(environment);
        server.start(LUMIWATCH_PROGRAM, {});
        QVERIFY(server.waitForFinished(10000));
        QCOMPARE(server.exitCode(), 2);
        QVERIFY(server.readAllStandardError().contains("--headless"));
    }

    void theErrorListKeepsAHundredLines()
    {
        for (int error = 1; error <= 101; ++error)
            m_frame->addErrorListEntry("m" + std::to_string(error), "Connection Error");
        m_frame->showErrorList();
        QVERIFY(m_frame->errorList());
        QCOMPARE(m_frame->errorList()->lineCount(), 100);
        m_frame->addErrorListEntry("late", "Connection Error");
        QCOMPARE(m_frame->errorList()->lineCount(), 100);
        m_frame->errorList()->close();
        QTRY_VERIFY(!m_frame->errorList());
        QVERIFY(m_frame->trayMenuAllowed());
    }

private:
    TESSERA_PANEL_DATA lanMonitor(const std::string& chain) const
    {
        const auto place = m_fleet->place(chain);
        TESSERA_PANEL_DATA data = PanelRegistry::newMonitorDefaults();
        data.nInterface = 1;
        in_addr address{};
        ::inet_pton(AF_INET, place->address.c_str(), &address);
        data.dwIPAddress = ntohl(address.s_addr);
        data.nDataPort = place->dataPort;
        std::strcpy(data.szModel, "QX-T988");
        std::strcpy(data.szMACAddress, "00-11-22-33-44-55");
        return data;
    }

    static QTreeWidgetItem* rowNamed(CShowStateDlg* window, const QString& name)
    {
        const auto found = window->monitorList()->findItems(name, Qt::MatchExactly, 0);
        return found.isEmpty() ? nullptr : found.first();
    }

    static void selectRows(CShowStateDlg* window, const QStringList& names)
    {
        window->monitorList()->clearSelection();
        for (const QString& name : names)
            rowNamed(window, name)->setSelected(true);
    }

    static QString statusOf(CShowStateDlg* window, const QString& name)
    {
        QTreeWidgetItem* row = rowNamed(window, name);
        return row ? row->text(1) : QString();
    }

    void saveScreenshots(CShowStateDlg* window)
    {
        if (qEnvironmentVariableIsEmpty("LUMIVANE_SCREENSHOT_DIR"))
            return;
        saveScreenshot(window, "status-window");
        saveScreenshot(m_frame->errorList(), "error-list");
        const StatusRow& broken = *std::find_if(window->rows().begin(), window->rows().end(),
                                                [](const StatusRow& row) { return row.name() == "Lobby c"; });
        CServPropertyDlg property(broken.panel, std::nullopt, window);
        property.show();
        saveScreenshot(&property, "property-error");
        const StatusRow& good = window->rows().front();
        CServPropertyDlg goodProperty(good.panel, std::nullopt, window);
        goodProperty.show();
        saveScreenshot(&goodProperty, "property-good");

        QPixmap icons(4 * 80, 80);
        icons.fill(Qt::white);
        QPainter painter(&icons);
        int left = 8;
        for (const int id : {528, 532, 533, 534}) {
            painter.drawPixmap(left, 8, trayIcon(id).pixmap(64, 64));
            left += 80;
        }
        painter.end();
        saveScreenshot(icons, "tray-icons");
    }

    std::unique_ptr<TempDataFolder> m_data;
    std::unique_ptr<sim::Emulator> m_fleet;
    ScriptedPrompter m_prompter;
    std::unique_ptr<ServerProgram> m_program;
    std::unique_ptr<CMainFrame> m_frame;
};

LUMIVANE_QTEST_MAIN(ServerWindowTest)
#include "ServerWindowTest.moc"
