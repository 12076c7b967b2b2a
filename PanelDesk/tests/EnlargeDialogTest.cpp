// The video wall editor: placing monitors by drop, sending a wall to emulated monitors, loading a layout,
// the save question before a layout is lost, and who is offered the editor.
#include "Emulator.h"
#include "ModalDialogs.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "app/CPanelDeskDlg.h"
#include "enlarge/CEnlargeDlg.h"
#include "enlarge/CEnlargeFrame.h"
#include "SettingLists.h"
#include "tessera.h"
#include "tree/CPanelTreeCtrl.h"
#include "tree/PanelTreeImages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <memory>

using namespace lumivane;
using namespace lumivane::test;

class EnlargeDialogTest : public QObject
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
        // Fourteen monitors, each alone at its own loopback address: m1 .. m10, and m11 .. m14 of the
        // family that offers group mode.
        std::string fleet = "data-port 0\nsearch-port none\n";
        for (int i = 1; i <= 14; ++i)
            fleet += "lan l" + std::to_string(i) + " 127.0.0." + std::to_string(i + 1) + "\nmonitor m" +
                     std::to_string(i) + " model=" + modelOf(i) + "\n";
        std::string error;
        m_fleet = sim::Emulator::startText(fleet, &error);
        QVERIFY2(m_fleet, error.c_str());
        std::vector<TESSERA_PANEL_DATA> panels;
        for (int i = 1; i <= 14; ++i) {
            const auto place = m_fleet->place("l" + std::to_string(i));
            TESSERA_PANEL_DATA record = panelRecord(i, 0, "[" + std::string(i < 10 ? "00" : "0") +
                                                              std::to_string(i) + "] m" + std::to_string(i),
                                                    modelOf(i));
            record.nInterface = 1;
            record.dwIPAddress = 0x7F000001u + static_cast<uint32_t>(i);
            record.nDataPort = place->dataPort;
            panels.push_back(record);
        }
        writePanels(panels);
    }
    void cleanup()
    {
        cancelModalWatches();
        const int unexpected = m_prompter.unexpected() + m_console.dialogs.unexpected();
        m_prompter.clear();
        m_console.dialogs.clear();
        m_fleet.reset();
        TESSERA_Uninitialize();
        m_folder.reset();
        QCOMPARE(unexpected, 0);
    }

    // A monitor dragged from the tree lands in the cell under the release point. In portrait cell 0 is the
    // top of the rightmost column and the numbers run down each column, then leftwards.
    void aDropLandsInTheCellUnderThePointInPortrait()
    {
        CEnlargeDlg dialog(m_console.context);
        show(dialog);
        chooseSize(dialog, 3, 2);
        child<QRadioButton>(&dialog, "portraitButton")->click();
        QVERIFY(dialog.layout().isPortrait());

        const QSize cell = dialog.frame()->cellSize();
        QVERIFY2(cell.height() > cell.width(), "portrait cells stand upright");
        QWidget* grid = dialog.frame()->widget();
        dragMonitorTo(dialog, 4, grid->mapToGlobal(QPoint(cell.width() * 5 / 2, cell.height() / 2))); // top right
        dragMonitorTo(dialog, 7, grid->mapToGlobal(QPoint(cell.width() / 2, cell.height() * 3 / 2))); // bottom left
        QCOMPARE(dialog.layout().cell(0).monitor->panelNo, 4);
        QCOMPARE(dialog.layout().cell(5).monitor->panelNo, 7);
        QCOMPARE(dialog.layout().cellOf(4), std::optional<int>(0));

        // The tree shows both as placed and checked; a drop beside the view changes nothing.
        CPanelTreeCtrl* tree = dialog.tree();
        QCOMPARE(tree->imageIndex(tree->findItem(7, false)), panelImages::kPlaced);
        QVERIFY(tree->isChecked(tree->findItem(7, false)));
        dragMonitorTo(dialog, 8, tree->mapToGlobal(QPoint(5, 5)));
        QVERIFY(!dialog.layout().cellOf(8));
    }

    // A 3 × 3 wall reaches each monitor with its size and place; a checked monitor outside the wall has its
    // enlarge cleared.
    void aThreeByThreeWallReachesTheMonitors()
    {
        std::vector<CommandItem> items{settingItem("EMAG", 1)};
        QWidget owner;
        QVERIFY(m_console.runner.run(&owner, "Preparing", items, {panelOf(10)}));
        QCOMPARE(m_fleet->value("m10", "EMAG").value_or(-1), 1);

        CEnlargeDlg dialog(m_console.context);
        show(dialog);
        chooseSize(dialog, 3, 3);
        for (int i = 1; i <= 9; ++i)
            assignByButton(dialog, i); // each into the next free cell
        dialog.tree()->setItemChecked(dialog.tree()->findItem(10, false), true);
        auto* send = child<QPushButton>(&dialog, "sendButton");
        QVERIFY(send->isEnabled());
        send->click();

        for (int i = 1; i <= 9; ++i) {
            const std::string monitor = "m" + std::to_string(i);
            QCOMPARE(m_fleet->value(monitor, "EMAG").value_or(-1), 2);
            QCOMPARE(m_fleet->value(monitor, "EPOS").value_or(-1), i - 1);
            QCOMPARE(m_fleet->value(monitor, "BEZH").value_or(-1), 50);
        }
        QCOMPARE(m_fleet->value("m10", "EMAG").value_or(-1), 0);
        QVERIFY(dialog.layout().sent());
    }

    // Group mode: a rectangle of the family's monitors becomes a group, sent monitor by monitor after the
    // checks; a monitor in standby is skipped when the operator says so. Once sent, the picture of a cell
    // moves by arrow, and not outwards past the wall's edge.
    void aGroupIsSentAfterItsChecksAndItsPicturesMove()
    {
        for (int i = 11; i <= 14; ++i)
            QVERIFY(m_fleet->setPower("m" + std::to_string(i), i != 13));
        CEnlargeDlg dialog(m_console.context);
        show(dialog);
        for (int i = 11; i <= 14; ++i)
            assignByButton(dialog, i);
        QVERIFY(dialog.layout().groupMode());
        QWidget* grid = dialog.frame()->widget();
        const QSize cell = dialog.frame()->cellSize();
        QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(cell.width() / 2, cell.height() / 2));
        QTest::mouseRelease(grid, Qt::LeftButton, {}, QPoint(cell.width() * 3 / 2, cell.height() * 3 / 2));
        QVERIFY(!child<QPushButton>(&dialog, "sendButton")->isEnabled()); // a rectangle is pending
        child<QPushButton>(&dialog, "executeButton")->click();
        QCOMPARE(dialog.layout().cell(3).group.EGRP, 1);

        m_prompter.answerNext(QMessageBox::Yes); // skip the monitor in standby
        child<QPushButton>(&dialog, "sendButton")->click();
        QCOMPARE(m_prompter.last().text,
                 QString("[013] is in standby.\nWill you skip it and continue multi/enlarge setting with [012]?"));
        for (const auto& [monitor, place] : {std::pair{"m11", 0}, std::pair{"m12", 1}, std::pair{"m14", 3}}) {
            QCOMPARE(m_fleet->value(monitor, "EMHV").value_or(-1), 22);
            QCOMPARE(m_fleet->value(monitor, "EPOS").value_or(-1), place);
        }
        QVERIFY(!m_fleet->value("m13", "EMHV"));

        // Cell 3 sits in the last row and column: Up and Left would pull its picture off the wall.
        QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(cell.width() * 3 / 2, cell.height() * 3 / 2));
        QTest::mouseRelease(grid, Qt::LeftButton, {}, QPoint(cell.width() * 3 / 2, cell.height() * 3 / 2));
        QVERIFY(!child<QPushButton>(&dialog, "upButton")->isEnabled());
        QVERIFY(!child<QPushButton>(&dialog, "leftButton")->isEnabled());
        child<QPushButton>(&dialog, "downButton")->click();
        QCOMPARE(m_fleet->value("m14", "EPSV").value_or(0), -1);
        QCOMPARE(dialog.layout().cell(3).shiftV, -1);
        QCOMPARE(child<QLineEdit>(&dialog, "shiftVEdit")->text(), QString("-1"));
    }

    // Loading a file applies its size, orientation and bezels and passes over monitors no longer
    // registered; a broken file or one of another version changes nothing and says why.
    void loadAppliesTheFileOrSaysWhyNot()
    {
        const std::string good = m_folder->file("wall.esf");
        writeFile(good, "EnlargeSetting,1\nEMHV,32,Orientation,1,BEZH,20,BEZV,30\n"
                        "Monitor,2,EPOS,3,EPSH,0,EPSV,0\nMonitor,77,EPOS,4,EPSH,0,EPSV,0\n");
        CEnlargeDlg dialog(m_console.context);
        show(dialog);
        m_prompter.setNextFileName(QString::fromStdString(good));
        child<QPushButton>(&dialog, "loadButton")->click();
        const EnlargeLayout& layout = dialog.layout();
        QCOMPARE(layout.columns(), 3);
        QCOMPARE(layout.rows(), 2);
        QCOMPARE(child<QComboBox>(&dialog, "columnsCombo")->currentText(), QString("3"));
        QCOMPARE(child<QComboBox>(&dialog, "rowsCombo")->currentText(), QString("2"));
        QVERIFY(child<QRadioButton>(&dialog, "portraitButton")->isChecked());
        QCOMPARE(child<QSpinBox>(&dialog, "bezelVEdit")->value(), 30);
        QCOMPARE(layout.cellOf(2), std::optional<int>(3));
        QVERIFY(!layout.cell(4).holdsMonitor());
        QVERIFY(dialog.tree()->isChecked(dialog.tree()->findItem(2, false)));
        QVERIFY(child<QPushButton>(&dialog, "sendButton")->isEnabled());

        const std::string broken = m_folder->file("broken.esf");
        const std::string newer = m_folder->file("newer.esf");
        writeFile(broken, "Enlarge,1\n");
        writeFile(newer, "EnlargeSetting,3\nEMHV,202,Orientation,0,BEZH,0,BEZV,0,MLEN,0\n");
        for (const auto& [path, text] : {std::pair{broken, QString("This file may be broken.")},
                                         std::pair{newer, QString("This version doesn't support that setting file.")}}) {
            m_prompter.setNextFileName(QString::fromStdString(path));
            child<QPushButton>(&dialog, "loadButton")->click();
            QCOMPARE(m_prompter.last().text, text);
            QCOMPARE(m_prompter.last().icon, QMessageBox::Critical);
            QCOMPARE(layout.columns(), 3);
            QCOMPARE(layout.cellOf(2), std::optional<int>(3));
        }
    }

    // A changed layout is never lost unasked: Cancel keeps orientation, size and monitors, and the window;
    // Yes with the save dialog cancelled keeps them too; No lets the change happen.
    void theSaveQuestionGuardsAChangedLayout()
    {
        CEnlargeDlg dialog(m_console.context);
        show(dialog);
        assignByButton(dialog, 1);
        const QString question = "Present enlarge setting will be removed. Do you save the setting before removing?";

        m_prompter.answerNext(QMessageBox::Cancel);
        child<QRadioButton>(&dialog, "portraitButton")->click();
        QCOMPARE(m_prompter.last().text, question);
        QVERIFY(!dialog.layout().isPortrait() && child<QRadioButton>(&dialog, "landscapeButton")->isChecked());
        m_prompter.answerNext(QMessageBox::Cancel);
        chooseSize(dialog, 4, 2);
        QCOMPARE(child<QComboBox>(&dialog, "columnsCombo")->currentText(), QString("2"));
        m_prompter.answerNext(QMessageBox::Yes);
        m_prompter.setNextFileName(QString()); // the save dialog cancelled
        child<QPushButton>(&dialog, "closeButton")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.layout().cellOf(1), std::optional<int>(0));

        m_prompter.answerNext(QMessageBox::No);
        child<QPushButton>(&dialog, "closeButton")->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_prompter.asked().size(), size_t(4));
    }

    // Bezel widths typed outside 0..100 are brought to the nearest end when the edit is left.
    void bezelEditsAreClampedWhenLeft()
    {
        CEnlargeDlg dialog(m_console.context);
        show(dialog);
        auto* bezel = child<QSpinBox>(&dialog, "bezelHEdit");
        for (const auto& [typed, kept] : {std::pair{"150", 100}, std::pair{"-5", 0}}) {
            bezel->setFocus();
            bezel->selectAll();
            QTest::keyClicks(bezel, typed);
            child<QPushButton>(&dialog, "newButton")->setFocus(); // leaves the edit
            QCOMPARE(bezel->value(), kept);
            QCOMPARE(dialog.layout().bezelH(), kept);
        }
    }

    // The main window offers the editor to the Administrator and to a Normal Operator with the Enlarge
    // bit; a Normal Operator without it sees it disabled; the restricted layout hides it.
    void theMainWindowOffersTheEditorByAuthority()
    {
        struct Case
        {
            Authority authority;
            uint16_t mask;
            bool visible;
            bool enabled;
        };
        for (const Case& c : {Case{Authority::Administrator, 0, true, true},
                              Case{Authority::NormalOperator, customizeBits::kEnlarge, true, true},
                              Case{Authority::NormalOperator, customizeBits::kSchedule, true, false},
                              Case{Authority::NormalOperator, 0, false, false},
                              Case{Authority::RestrictedOperator, 0xFFFF, false, false}}) {
            CPanelDeskDlg window(m_console.context, c.authority, c.mask, false);
            window.show();
            auto* button = child<QPushButton>(&window, "enlargeButton");
            QCOMPARE(button->isVisible(), c.visible);
            if (c.visible)
                QCOMPARE(button->isEnabled(), c.enabled);
        }
        CPanelDeskDlg window(m_console.context, Authority::Administrator, 0, false);
        window.show();
        bool opened = false;
        m_console.dialogs.expect<CEnlargeDlg>([&](CEnlargeDlg*) { return opened = true, int(QDialog::Rejected); });
        child<QPushButton>(&window, "enlargeButton")->click();
        QVERIFY(opened);
    }

private:
    static std::string modelOf(int i) { return i <= 10 ? "QX-T988" : "QX-T655"; }
    void show(CEnlargeDlg& dialog)
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }
    static void chooseSize(CEnlargeDlg& dialog, int h, int v)
    {
        for (const auto& [name, value] : {std::pair{"columnsCombo", h}, std::pair{"rowsCombo", v}}) {
            auto* combo = child<QComboBox>(&dialog, name);
            combo->setCurrentIndex(combo->findData(value));
            emit combo->activated(combo->currentIndex());
        }
    }
    static void assignByButton(CEnlargeDlg& dialog, int panelNo)
    {
        dialog.tree()->setCurrentItem(dialog.tree()->findItem(panelNo, false));
        child<QPushButton>(&dialog, "assignButton")->click();
    }
    // Drags a monitor from its place in the tree and lets go at a screen point.
    static void dragMonitorTo(CEnlargeDlg& dialog, int panelNo, const QPoint& screenPoint)
    {
        CPanelTreeCtrl* tree = dialog.tree();
        QWidget* viewport = tree->viewport();
        const QPoint start = tree->visualItemRect(tree->findItem(panelNo, false)).center();
        const QPoint end = viewport->mapFromGlobal(screenPoint);
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, start + QPoint(QApplication::startDragDistance() + 5, 0));
        QTest::mouseMove(viewport, end);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
    }
    PANEL_DATA panelOf(int number)
    {
        return panelDataFromRecord(*findPanel(readPanels(), number));
    }

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<sim::Emulator> m_fleet;
    ScriptedPrompter m_prompter;
    TestConsole m_console{m_prompter};
};

LUMIVANE_QTEST_MAIN(EnlargeDialogTest)
#include "EnlargeDialogTest.moc"
