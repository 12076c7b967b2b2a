// The look of the console's windows: nothing cut off, controls inside their window, the button row in one
// line. With LUMIVANE_SCREENSHOT_DIR set, every window is also saved there as a picture to look at.
#include "CommunicationErrors.h"
#include "ModalDialogs.h"
#include "ModelLookup.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "app/CPanelDeskDlg.h"
#include "common/CCommunicateDlg.h"
#include "common/CErrorMessageBox.h"
#include "common/ConsoleContext.h"
#include "common/UiText.h"
#include "CMailScheduleList.h"
#include "MailAddressList.h"
#include "Settings.h"
#include "config/CConfigSheet.h"
#include "config/CMailAddressDlg.h"
#include "config/CSendMailScheduleDlg.h"
#include "enlarge/CEnlargeDlg.h"
#include "enlarge/CEnlargeFrame.h"
#include "operation/COperationDlg.h"
#include "operation/COperationTabCtrl.h"
#include "operation/CRCOperation.h"
#include "operation/CSelectMonitorDlg.h"
#include "operation/CZRRcOperation.h"
#include "registration/CMonitorAccountDlg.h"
#include "registration/CMonitorFindDlg.h"
#include "registration/CMonitorPasswordDlg.h"
#include "schedule/SelectedDaysScheduleDlg.h"
#include "schedule/CEveryScheduleDlg.h"
#include "schedule/CScheduleDlg.h"
#include "security/CAuthentificationDlg.h"
#include "security/CCustomizeAuthorityDlg.h"
#include "security/CSecurityDlg.h"
#include "security/CSetPasswordDlg.h"
#include "CScheduleStore.h"
#include "ScheduleRules.h"
#include "tessera.h"
#include "tree/CPanelTreeCtrl.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <memory>

using namespace lumivane;
using namespace lumivane::test;

namespace {

// A combo box shows its current entry, a tab bar each tab label and a group box its title in full.
bool textsFit(QWidget* widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        return field.width() >= metrics.horizontalAdvance(combo->currentText());
    }
    if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
        for (int tab = 0; tab < tabs->count(); ++tab)
            if (tabs->tabRect(tab).width() < metrics.horizontalAdvance(tabs->tabText(tab)))
                return false;
        return true;
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->width() >= group->minimumSizeHint().width();
    return true;
}

// Whether the widget is (inside) the content of a scroll area, which may reach beyond the window.
bool isScrolledContent(const QWidget* widget)
{
    for (const QWidget* up = widget; up && up->parentWidget(); up = up->parentWidget())
        if (auto* area = qobject_cast<const QScrollArea*>(up->parentWidget()->parentWidget()); area && area->widget() == up)
            return true;
    return false;
}

// Every visible text control shows its whole text and lies inside the window.
void checkNothingCutOff(QWidget* window)
{
    const QRect area = window->rect();
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || widget->window() != window)
            continue;
        const QRect placed(widget->mapTo(window, QPoint(0, 0)), widget->size());
        QVERIFY2(area.contains(placed) || isScrolledContent(widget),
                 qPrintable(widget->objectName() + " lies outside its window"));
        QVERIFY2(textsFit(widget), qPrintable(QString("%1 \"%2\" cuts its text")
                                                  .arg(widget->metaObject()->className(), widget->objectName())));
        const auto* label = qobject_cast<QLabel*>(widget);
        if (qobject_cast<QAbstractButton*>(widget) || (label && !label->wordWrap())) {
            const QSize hint = widget->sizeHint();
            QVERIFY2(widget->width() >= hint.width() && widget->height() >= hint.height(),
                     qPrintable(QString("%1 \"%2\" is cut: %3x%4 < %5x%6")
                                    .arg(widget->metaObject()->className(), widget->objectName())
                                    .arg(widget->width())
                                    .arg(widget->height())
                                    .arg(hint.width())
                                    .arg(hint.height())));
        }
    }
}

void saveScreenshot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("LUMIVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        QVERIFY(window->grab().save(folder + "/" + name + ".png"));
}

void showAndCheck(QWidget* window, const QString& name)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCoreApplication::processEvents(); // layouts settle after a page changed
    checkNothingCutOff(window);
    saveScreenshot(window, name);
}

} // namespace

class LookTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TESSERA_Initialize(); }
    void cleanupTestCase() { TESSERA_Uninitialize(); }
    void init()
    {
        m_folder = std::make_unique<TempDataFolder>();
        writeGroups(3, {{1, "Entrance Hall", 0}, {2, "Stage", 1}, {3, "Meeting Rooms", 0}});
        TESSERA_PANEL_DATA lan = panelRecord(4, 3, "[004] 192.168.150.24 ID1", "QX-T402");
        lan.nInterface = 1;
        writePanels({panelRecord(1, 1, "[001] Lobby left", "QX-P42"), panelRecord(2, 1, "[002] Lobby right", "QX-P42"),
                     panelRecord(3, 2, "[003] Stage wall", "Brela"), lan, panelRecord(5, 0, "[005] Spare", "QX-A32"),
                     panelRecord(6, 0, "[006] COM1 ID2"), panelRecord(7, 3, "[007] Old display", "QX-P42", false)});
    }
    void cleanup()
    {
        cancelModalWatches();
        m_folder.reset();
    }

    void mainWindowForEachAuthority_data()
    {
        QTest::addColumn<int>("authority");
        QTest::addColumn<int>("mask");
        QTest::newRow("administrator") << 1 << 0;
        QTest::newRow("normal-operator") << 2 << 0x4048;
        QTest::newRow("normal-operator-mask-0") << 2 << 0;
        QTest::newRow("restricted-operator") << 3 << 0;
    }
    void mainWindowForEachAuthority()
    {
        QFETCH(int, authority);
        QFETCH(int, mask);
        CPanelDeskDlg window(m_console.context, static_cast<Authority>(authority), uint16_t(mask), false);
        CPanelTreeCtrl* tree = window.operationPage()->tree();
        tree->setItemChecked(tree->findItem(1, true), true);
        showAndCheck(&window, QString("main-") + QTest::currentDataTag());

        // The buttons stand in one row, left to right, without overlapping.
        int right = 0, top = -1;
        for (auto* button : window.findChildren<QPushButton*>()) {
            if (!button->isVisible() || button->parent() != &window)
                continue;
            QVERIFY(button->x() >= right);
            QVERIFY(top < 0 || button->y() == top);
            right = button->x() + button->width();
            top = button->y();
        }
        QVERIFY(tree->horizontalScrollBar()->maximum() == 0); // the sample names fit without scrolling
    }

    void treeInRegistrationMode()
    {
        CPanelTreeCtrl tree(m_prompter);
        tree.setMode(PanelTreeMode::Registration);
        tree.reload();
        tree.expandAll();
        tree.resize(280, 300);
        tree.setCurrentItem(tree.findItem(4, false));
        showAndCheck(&tree, "tree-registration");
        QVERIFY(tree.horizontalScrollBar()->maximum() == 0);
    }

    void treeWithCheckBoxesAndAllImages()
    {
        CPanelTreeCtrl tree(m_prompter);
        tree.setMode(PanelTreeMode::Schedule);
        tree.setCheckBoxes(true);
        tree.setItemChecked(tree.findItem(3, true), true);
        tree.resize(280, 300);
        showAndCheck(&tree, "tree-operation-checkboxes");
        QLabel strip;
        strip.setPixmap(panelImageStrip(2));
        showAndCheck(&strip, "image-strip-x2");
    }

    void dialogs()
    {
        CAuthentificationDlg login(m_prompter);
        showAndCheck(&login, "login");
        CSecurityDlg security(m_prompter);
        showAndCheck(&security, "password-setting");
        security.hide(); // closing would save
        CSetPasswordDlg setPassword(m_prompter, "");
        showAndCheck(&setPassword, "set-password");
        CCustomizeAuthorityDlg customize(0x4048);
        showAndCheck(&customize, "customize-authority");
        CMonitorFindDlg find;
        child<QCheckBox>(&find, "daisyChainCheck")->setChecked(true);
        showAndCheck(&find, "select-interface");
        CMonitorPasswordDlg monitorPassword("operator", "secret");
        showAndCheck(&monitorPassword, "monitor-password");
    }

    void mailMonitoringSetting()
    {
        QVERIFY(SaveAddresses({{"operator@example.com", 3}, {"night.shift.supervisor@facilities.example.org", 2},
                               {"reports@example.com", 1}}));
        CMailScheduleList times;
        times.Add(7, 30, 127);
        times.Add(18, 0, 0x3E);
        QVERIFY(times.Save());
        writeOperatorSetting("Check", "Monitoring", 1);

        CConfigSheet sheet(m_console.context, Authority::Administrator);
        const QStringList names{"config-mail-addresses", "config-periodical-mail", "config-monitoring",
                                "config-version"};
        QCOMPARE(sheet.pages()->count(), int(names.size()));
        for (int page = 0; page < names.size(); ++page) {
            sheet.pages()->setCurrentIndex(page);
            showAndCheck(&sheet, names[page]);
        }
        sheet.hide();
        CConfigSheet restricted(m_console.context, Authority::RestrictedOperator);
        showAndCheck(&restricted, "config-restricted-operator");
        restricted.hide();

        CMailAddressDlg address(m_prompter, {"operator@example.com", 2});
        showAndCheck(&address, "mail-destination");
        CSendMailScheduleDlg time({18, 45, 0x3E});
        showAndCheck(&time, "send-day-and-time");
    }

    void runWindowAndErrorBox()
    {
        CPanelTreeCtrl tree(m_prompter);
        tree.reload();
        const std::vector<PANEL_DATA> monitors{*CPanelTreeCtrl::dataOf(tree.findItem(4, false)),
                                               *CPanelTreeCtrl::dataOf(tree.findItem(1, false))};
        std::vector<CommandItem> items(3);
        CCommunicateDlg run(m_prompter, "Sending Power state and Input mode", items, monitors);
        showAndCheck(&run, "run-window");
        QVERIFY(run.monitorText() == QString::fromStdString(monitors[0].name));
        CCommunicateDlg search(m_prompter, uiText(216), [](RunObserver&) { return 0; }, 256);
        showAndCheck(&search, "run-window-search");
        QVERIFY(!child<QPushButton>(&search, "cancelButton")->isEnabled());

        const TESSERA_PANEL_DATA lan = recordFromPanelData(monitors[0]);
        CErrorMessageBox openFailure({openFailureText(lan), false, true});
        showAndCheck(&openFailure, "error-box-open-failure");
        QVERIFY(!child<QPushButton>(&openFailure, "skipCommandButton")->isEnabled());
        CErrorMessageBox commandFailure({commandFailureText(lan, 9, "POWR0001", CommandNames()), true, true});
        showAndCheck(&commandFailure, "error-box-command-failure");
    }

    void operationWindowInBothModes()
    {
        // No monitor of the sample store may be reached: runs only succeed on paper.
        RecordingRunner runner;
        ConsoleContext context{m_prompter, m_console.dialogs, runner, m_console.notifier};
        CPanelDeskDlg window(context, Authority::Administrator, 0, false);
        COperationDlg* operation = window.operationPage();
        CPanelTreeCtrl* tree = operation->tree();
        tree->setCurrentItem(tree->findItem(1, true)); // a group: nothing to read from
        showAndCheck(&window, "operation-single-mode");

        QTest::mouseClick(child<QPushButton>(&window, "multiModeButton"), Qt::LeftButton);
        tree->expandAll();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->checkBoxRect(tree->findItem(1, true)).center());
        QCOMPARE(tree->selectedMonitors().size(), size_t(3)); // the group's two and its sub-group's one
        showAndCheck(&window, "operation-multi-mode-mixed");
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->checkBoxRect(tree->findItem(3, false)).center());
        showAndCheck(&window, "operation-multi-mode");

        const QSize withMessage = window.size();
        auto* inputs = child<QComboBox>(&window, "inputCombo");
        inputs->setCurrentIndex(1);
        emit inputs->activated(1);
        QCOMPARE(operation->tabs()->shownTab(), QString("CONTROL"));
        // The input switch, then the check whether any of the monitors shows an enlarged picture.
        QCOMPARE(runner.titles, (QStringList{"Sending Power state and Input mode", "Receiving CONTROL setting"}));
        showAndCheck(&window, "operation-multi-mode-control");
        QCOMPARE(window.size(), withMessage); // the window does not jump when the page changes
    }

    // The ZR-1190 page has the most buttons of all pages: it fits the operation window in both modes, and
    // the window keeps its size when it appears.
    void zrControlPageInTheOperationWindow()
    {
        RecordingRunner runner;
        ConsoleContext context{m_prompter, m_console.dialogs, runner, m_console.notifier};
        CPanelDeskDlg window(context, Authority::Administrator, 0, false);
        COperationDlg* operation = window.operationPage();
        CPanelTreeCtrl* tree = operation->tree();
        QTest::mouseClick(child<QPushButton>(&window, "multiModeButton"), Qt::LeftButton);
        tree->expandAll();
        showAndCheck(&window, "operation-multi-mode-nothing-checked");
        const QSize withMessage = window.size();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->checkBoxRect(tree->findItem(3, false)).center());
        auto* inputs = child<QComboBox>(&window, "inputCombo");
        inputs->setCurrentIndex(1);
        emit inputs->activated(1);
        QCOMPARE(operation->tabs()->shownPage(), static_cast<QWidget*>(operation->tabs()->zrControlPage()));
        showAndCheck(&window, "operation-zr-control-multi-mode");
        QCOMPARE(window.size(), withMessage);

        operation->tabs()->zrControlPage()->setMultiMode(false);
        showAndCheck(&window, "operation-zr-control-single-mode");
        QCOMPARE(window.size(), withMessage);
    }

    // The form for a group, an RS-232C monitor, a LAN monitor and a ZR-1190.
    void monitorControlDialog()
    {
        CMonitorAccountDlg dialog(m_console.context);
        CPanelTreeCtrl* tree = dialog.tree();
        tree->expandAll();
        const std::pair<QTreeWidgetItem*, const char*> shown[] = {
            {tree->findItem(1, true), "monitor-control-group"},
            {tree->findItem(1, false), "monitor-control-rs232c"},
            {tree->findItem(4, false), "monitor-control-lan"},
            {tree->findItem(3, false), "monitor-control-zr1190"},
        };
        for (const auto& [item, name] : shown) {
            tree->setCurrentItem(item);
            showAndCheck(&dialog, name);
        }
    }

    void scheduleEditorAndItsEntryDialogs()
    {
        CScheduleStore store;
        store.LoadList();
        QVERIFY(store.AddSchedule("Lobby & Hall"));
        store.SelectSchedule(0);
        QVERIFY(store.AddEvery({1, 8, 0, 1, 19, 30, 3, 0x3E}));
        QVERIFY(store.AddEvery({0, 0, 0, 1, 22, 0, 0, 0x41}));
        QVERIFY(store.AddEspecial({0, 0, 0, 0, 0, 0, 0, 2026, 12, 24, 2026, 12, 26}));
        CScheduleDlg editor(m_console.context);
        showAndCheck(&editor, "schedule-editor-nothing-selected");
        editor.scheduleList()->setCurrentRow(0);
        showAndCheck(&editor, "schedule-editor");
        CEveryScheduleDlg every(m_prompter, *store.everyAt(0), kQxFamily, kNoFamily);
        showAndCheck(&every, "schedule-every-week");
        CEspecialScheduleDlg especial(m_prompter, *store.especialAt(0), kQxFamily, kNoFamily);
        showAndCheck(&especial, "schedule-selected-days");
    }

    // The video wall editor: a small wall, a tall portrait one whose long names are cut with an ellipsis,
    // and a large group-mode wall with two groups and a pending rectangle, scrolled.
    void enlargeEditor_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("portrait");
        QTest::addColumn<QString>("model");
        QTest::newRow("enlarge-2x2-landscape") << 2 << 2 << false << "QX-T988";
        QTest::newRow("enlarge-5x3-portrait") << 5 << 3 << true << "QX-T988";
        QTest::newRow("enlarge-6x4-grouped") << 6 << 4 << false << "QX-T655";
    }
    void enlargeEditor()
    {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(bool, portrait);
        QFETCH(QString, model);
        const char* places[] = {"Lobby", "Conference room north", "Stage", "Foyer west wing", "Hall"};
        std::vector<TESSERA_PANEL_DATA> panels;
        for (int i = 1; i <= columns * rows; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "[%03d] %s %d", i, places[i % 5], i);
            panels.push_back(panelRecord(i, i <= 6 ? 1 : 3, name, model.toStdString()));
        }
        writePanels(panels);
        processSettings().environment.monitorSettingColumn = 8; // the 6 x 4 wall is offered
        CEnlargeDlg editor(m_console.context);
        processSettings().environment.monitorSettingColumn = EnvironmentSettings().monitorSettingColumn;
        auto choose = [&](const char* name, int value) {
            auto* combo = child<QComboBox>(&editor, name);
            combo->setCurrentIndex(combo->findData(value));
            emit combo->activated(combo->currentIndex());
        };
        choose("columnsCombo", columns);
        choose("rowsCombo", rows);
        if (portrait)
            child<QAbstractButton>(&editor, "portraitButton")->click();
        const int filled = columns * rows - (columns * rows > 4 ? 2 : 1); // a free cell or two remain
        for (int i = 1; i <= filled; ++i) {
            editor.tree()->setCurrentItem(editor.tree()->findItem(i, false));
            child<QPushButton>(&editor, "assignButton")->click();
        }
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        if (editor.layout().groupMode()) {
            QWidget* grid = editor.frame()->widget();
            const QSize cell = editor.frame()->cellSize();
            auto at = [&](int index) {
                const DrawnPlace place = editor.layout().drawnPlace(index);
                return QPoint(place.column * cell.width() + cell.width() / 2, place.row * cell.height() + cell.height() / 2);
            };
            for (const auto& [first, last] : {std::pair{0, 8}, std::pair{3, 10}, std::pair{12, 19}}) {
                QTest::mousePress(grid, Qt::LeftButton, {}, at(first));
                QTest::mouseRelease(grid, Qt::LeftButton, {}, at(last));
                if (last != 19)
                    child<QPushButton>(&editor, "executeButton")->click();
            }
            QCOMPARE(editor.layout().cell(10).group.EGRP, 2);
        }
        showAndCheck(&editor, QTest::currentDataTag());
    }

    void controlPageInBothModes()
    {
        CPanelTreeCtrl tree(m_prompter);
        ControlBlock block;
        CRCOperation page(m_console.context, tree, block);
        page.resize(360, 300);
        page.setInputMode(1, modelFromName("QX-T988", 0));
        showAndCheck(&page, "control-page-single-mode");
        page.setMultiMode(true);
        showAndCheck(&page, "control-page-multi-mode");
        tree.reload();
        CSelectMonitorDlg select(
            {*CPanelTreeCtrl::dataOf(tree.findItem(4, false)), *CPanelTreeCtrl::dataOf(tree.findItem(1, false))});
        showAndCheck(&select, "select-monitor");
    }

private:
    std::unique_ptr<TempDataFolder> m_folder;
    ScriptedPrompter m_prompter;
    TestConsole m_console{m_prompter};
};

LUMIVANE_QTEST_MAIN(LookTest)
#include "LookTest.moc"
