// The panel tree against real store files in a temporary data folder: filling, images, check boxes, the
// registration operations with their refusals, drag and drop, and the model comparisons. After every write
// the files are read back through the store.
#include "ModalDialogs.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "app/CPanelDeskApp.h"
#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"
#include "tree/CPanelTreeListner.h"
#include "tree/ModelUniformity.h"
#include "tree/PanelStore.h"
#include "tree/PanelTreeImages.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>

#include <cstring>
#include <future>
#include <memory>

using namespace lumivane;
using namespace lumivane::test;

namespace {

struct RecordingListener : CPanelTreeListner
{
    std::vector<std::pair<QTreeWidgetItem*, bool>> clicks;
    int selectionChanges = 0;
    int doubleClicks = 0;
    int selectionQuestions = 0;
    bool allowSelection = true;
    std::vector<QPoint> drops;
    QString suffix;
    std::function<void()> onNextQuestion; // what the owner does before it answers slot 6 next (stores its form)

    void itemClicked(QTreeWidgetItem* item, bool onCheckBox) override { clicks.emplace_back(item, onCheckBox); }
    void selectionChanged() override { ++selectionChanges; }
    void itemDoubleClicked(QTreeWidgetItem*) override { ++doubleClicks; }
    void dropped(const QPoint& point) override { drops.push_back(point); }
    QString labelSuffix(const PANEL_DATA& data) override { return data.bSchedule ? suffix : QString(); }
    bool mayChangeSelection() override
    {
        ++selectionQuestions;
        if (onNextQuestion) {
            const std::function<void()> once = std::exchange(onNextQuestion, nullptr);
            once();
        }
        return allowSelection;
    }
};

QStringList childTexts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

TESSERA_PANEL_DATA scheduled(TESSERA_PANEL_DATA record, int scheduleNo)
{
    record.bSchedule = 1;
    record.nScheduleNo = scheduleNo;
    return record;
}

// Records, for every box, whether another thread could have taken the store's lock at that moment: a box
// shown under the lock keeps the server's reload waiting on the operator.
class LockProbingPrompter : public ScriptedPrompter
{
public:
    QMessageBox::StandardButton ask(QWidget* parent, const Prompt& prompt) override
    {
        const bool free = std::async(std::launch::async, [] {
                              const bool taken = TESSERA_LockWithin(0) == 1;
                              TESSERA_Unlock();
                              return taken;
                          }).get();
        if (!free)
            m_underLock << prompt.text;
        return ScriptedPrompter::ask(parent, prompt);
    }
    const QStringList& underLock() const { return m_underLock; }
    void clearProbe() { m_underLock.clear(); }

private:
    QStringList m_underLock;
};

} // namespace

class PanelTreeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TESSERA_Initialize();
        showStoreErrorsWith(&m_prompter);
    }
    void cleanupTestCase()
    {
        showStoreErrorsWith(nullptr);
        TESSERA_Uninitialize();
    }
    void init()
    {
        m_folder = std::make_unique<TempDataFolder>();
        m_prompter.clear();
        m_prompter.clearProbe();
        m_listener = RecordingListener();
    }
    void cleanup()
    {
        cancelModalWatches();
        m_tree.reset();
        QCOMPARE(m_prompter.unexpected(), 0);
        QCOMPARE(m_prompter.underLock(), QStringList());
        m_folder.reset();
    }

    void emptyFolderGivesTheRootAndAddMonitorCreatesTheFile()
    {
        tree(PanelTreeMode::Registration);
        QCOMPARE(m_tree->topLevelItemCount(), 1);
        QCOMPARE(m_tree->rootItem()->text(0), QString("(Root)"));
        QCOMPARE(m_tree->rootItem()->childCount(), 0);
        QCOMPARE(m_tree->imageIndex(m_tree->rootItem()), panelImages::kRoot);
        QCOMPARE(m_tree->selectedItem(), m_tree->rootItem());
        QVERIFY(!lumivane::fileExists(panelFilePath()));

        QTreeWidgetItem* first = m_tree->addNewMonitor();
        QVERIFY(first);
        std::vector<TESSERA_PANEL_DATA> panels = readPanels();
        QCOMPARE(panels.size(), size_t(1));
        QCOMPARE(panels[0].nPanelNo, 1);
        QCOMPARE(std::string(panels[0].szName), std::string("[001]"));
        QCOMPARE(panels[0].nGroupNo, 0);
        QCOMPARE(panels[0].nDataPort, 10008);
        QCOMPARE(panels[0].dwIPAddress, 0xC0A89602u);
        QVERIFY(panels[0].bUse && panels[0].bMonitoring);
        QCOMPARE(m_tree->selectedItem(), first);
        QCOMPARE(first->parent(), m_tree->rootItem());

        // The next number comes from the file, which the other program may have changed meanwhile.
        writePanels({readPanels()[0], panelRecord(41, 0, "[041] added elsewhere")});
        QTreeWidgetItem* second = m_tree->addNewMonitor();
        QCOMPARE(second->text(0), QString("[042]"));
        QCOMPARE(readPanels().size(), size_t(3));
    }

    void fillingSortsGroupsFirstAndPutsStraysUnderTheRoot()
    {
        writeGroups(9, {{1, "beta", 0}, {2, "Alpha", 0}, {3, "inner", 1}, {4, "lost", 9}});
        writePanels({panelRecord(1, 1, "[001] in beta"), panelRecord(2, 7, "[002] deleted group"),
                     panelRecord(3, 0, "[003] b"), panelRecord(4, 0, "[004] a"), panelRecord(5, 3, "[005] deep")});
        tree(PanelTreeMode::Operation);
        QTreeWidgetItem* root = m_tree->rootItem();
        QCOMPARE(childTexts(root), (QStringList{"Alpha", "beta", "[002] deleted group", "[003] b", "[004] a"}));
        QTreeWidgetItem* beta = root->child(1);
        QCOMPARE(childTexts(beta), (QStringList{"inner", "[001] in beta"}));
        QCOMPARE(childTexts(beta->child(0)), QStringList{"[005] deep"});
        QVERIFY2(!m_tree->findItem(4, true), "a group whose parent is gone is not reachable");
        QCOMPARE(m_tree->imageIndex(beta), panelImages::kGroup);
        QVERIFY(beta->isExpanded());
    }

    void circularGroupFileStillLoads()
    {
        // Two records with the same number, the second its own child: the walk must not go round.
        writeGroups(1, {{1, "top", 0}, {1, "again", 1}});
        tree(PanelTreeMode::Registration);
        QVERIFY(m_tree->allItems().size() <= 2);
    }

    void onlyThe256FirstMonitorsAreShown()
    {
        std::vector<TESSERA_PANEL_DATA> panels;
        for (int number = 1; number <= 300; ++number)
            panels.push_back(panelRecord(number, 0, "m" + std::to_string(number), "", number != 2));
        writePanels(panels);
        tree(PanelTreeMode::Registration);
        QCOMPARE(m_tree->rootItem()->childCount(), 256);
        QVERIFY(m_tree->findItem(256, false) && !m_tree->findItem(257, false));

        // Outside registration unused monitors are skipped and do not count.
        tree(PanelTreeMode::Operation);
        QCOMPARE(m_tree->rootItem()->childCount(), 256);
        QVERIFY(!m_tree->findItem(2, false) && m_tree->findItem(257, false));
    }

    void imagesFollowTheMode()
    {
        writePanels({panelRecord(1, 0, "plasma", "QX-P42"), panelRecord(2, 0, "entry", "QX-A32"),
                     panelRecord(3, 0, "blank"), panelRecord(4, 0, "processor", "QX-VP4"),
                     panelRecord(5, 0, "strange", "Nonesuch"), panelRecord(6, 0, "unused", "QX-P42", false),
                     scheduled(panelRecord(7, 0, "mine", "QX-P42"), 2),
                     scheduled(panelRecord(8, 0, "other", "QX-P42"), 5)});
        auto image = [this](int number) { return m_tree->imageIndex(m_tree->findItem(number, false)); };
        tree(PanelTreeMode::Registration);
        QCOMPARE(image(1), panelImages::kMonitor);
        QCOMPARE(image(2), panelImages::kOtherModel);
        QCOMPARE(image(3), panelImages::kUnknownModel);
        QCOMPARE(image(4), panelImages::kUnknownModel);
        QCOMPARE(image(5), panelImages::kUnknownModel);
        QCOMPARE(image(6), panelImages::kNotInUse);

        tree(PanelTreeMode::Schedule);
        m_tree->setSelectedSchedule(2);
        QCOMPARE(image(7), panelImages::kSelectedSchedule);
        QCOMPARE(image(8), panelImages::kOtherSchedule);
        QCOMPARE(image(1), panelImages::kMonitor);
        m_tree->setSelectedSchedule(5);
        QCOMPARE(image(7), panelImages::kOtherSchedule);
        QCOMPARE(image(8), panelImages::kSelectedSchedule);

        tree(PanelTreeMode::Operation);
        QCOMPARE(image(2), panelImages::kMonitor);
    }

    void enlargeModeGreysOutWhatCannotTakePart()
    {
        writePanels({panelRecord(1, 0, "fits", "QX-P42"), panelRecord(2, 0, "zr", "Brela"),
                     panelRecord(3, 0, "too small", "QX-P50")});
        m_tree = std::make_unique<CPanelTreeCtrl>(m_prompter);
        m_tree->setMode(PanelTreeMode::Enlarge);
        m_tree->setEnlargeSupportTest(
            [](const PANEL_DATA& data, int across, int) { return data.szModel != "QX-P50" || across <= 2; });
        m_tree->setLayoutSize(3, 3);
        m_tree->setCheckBoxes(true);
        auto item = [this](int number) { return m_tree->findItem(number, false); };
        QCOMPARE(m_tree->imageIndex(item(1)), panelImages::kMonitor);
        QCOMPARE(m_tree->imageIndex(item(2)), panelImages::kNotSelectable);
        QCOMPARE(m_tree->imageIndex(item(3)), panelImages::kNotSelectable);
        QVERIFY(!m_tree->mayDrag(item(2)) && m_tree->mayDrag(item(1)));

        m_tree->setItemChecked(m_tree->rootItem(), true);
        QVERIFY(m_tree->isChecked(item(1)) && !m_tree->isChecked(item(2)) && !m_tree->isChecked(item(3)));
        QVERIFY(!m_tree->isChecked(m_tree->rootItem()));

        m_tree->setLayoutSize(2, 2);
        QCOMPARE(m_tree->imageIndex(item(3)), panelImages::kMonitor);

        CPanelTreeCtrl::dataOf(item(1))->placed = 1;
        m_tree->refreshImages();
        QCOMPARE(m_tree->imageIndex(item(1)), panelImages::kPlaced);
        m_tree->setItemChecked(m_tree->rootItem(), false);
        QVERIFY2(m_tree->isChecked(item(1)), "a placed monitor stays checked");
    }

    void addGroupNestsTwoLevelsAtMost()
    {
        writePanels({panelRecord(1, 0, "m")});
        tree(PanelTreeMode::Registration);
        QTreeWidgetItem* top = m_tree->addGroup();
        QVERIFY(top);
        QCOMPARE(top->text(0), QString("New Group"));
        QTreeWidgetItem* sub = m_tree->addGroup(); // the new group is selected
        QVERIFY(sub);
        QCOMPARE(sub->parent(), top);
        std::vector<GroupLine> groups = readGroups();
        QCOMPARE(groups.size(), size_t(2));
        QCOMPARE(groups[0].parent, 0);
        QCOMPARE(groups[1].parent, groups[0].number);

        const std::string before = readFile(groupFilePath());
        QVERIFY(!m_tree->addGroup());
        QCOMPARE(m_prompter.texts(), QStringList{"The hierarchy of this group is too deep."});
        // A monitor in the sub-group stands for its group.
        QTreeWidgetItem* monitor = m_tree->addNewMonitor();
        QCOMPARE(readPanels().back().nGroupNo, groups[1].number);
        m_tree->setCurrentItem(monitor);
        QVERIFY(!m_tree->addGroup());
        QCOMPARE(readFile(groupFilePath()), before);
        QCOMPARE(m_prompter.asked().size(), size_t(2));
    }

    void deleteAsksAndRemovesTheWholeSubtree()
    {
        writeGroups(3, {{1, "Hall", 0}, {2, "Stage", 1}, {3, "Other", 0}});
        writePanels({panelRecord(1, 1, "[001] hall"), panelRecord(2, 2, "[002] stage"), panelRecord(3, 3, "[003] o"),
                     panelRecord(4, 0, "[004] root")});
        tree(PanelTreeMode::Registration);
        m_tree->setCurrentItem(m_tree->findItem(1, true));
        const std::string panelsBefore = readFile(panelFilePath());

        m_prompter.answerNext(QMessageBox::Cancel);
        QVERIFY(!m_tree->deleteSelected());
        QCOMPARE(m_prompter.last().text, QString("The selected monitor group will be deleted.\n\n  Hall \n\n"
                                                 "* Monitors in that group also will be deleted."));
        QCOMPARE(m_prompter.last().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(readFile(panelFilePath()), panelsBefore);

        m_prompter.answerNext(QMessageBox::Ok);
        QVERIFY(m_tree->deleteSelected());
        std::vector<GroupLine> groups = readGroups();
        QCOMPARE(groups.size(), size_t(1));
        QCOMPARE(groups[0].number, 3);
        std::vector<TESSERA_PANEL_DATA> panels = readPanels();
        QCOMPARE(panels.size(), size_t(2));
        QVERIFY(findPanel(panels, 3) && findPanel(panels, 4));
        QVERIFY(!m_tree->findItem(1, true) && !m_tree->findItem(2, true) && !m_tree->findItem(2, false));

        m_tree->setCurrentItem(m_tree->findItem(4, false));
        m_prompter.answerNext(QMessageBox::Ok);
        QVERIFY(m_tree->deleteSelected());
        QCOMPARE(m_prompter.last().text, QString("The selected monitor will be deleted.\n\n  [004] root"));
        QCOMPARE(readPanels().size(), size_t(1));
    }

    void deleteKeyWorksWhenRegisteringOnly()
    {
        writePanels({panelRecord(1, 0, "[001]"), panelRecord(2, 0, "[002]")});
        tree(PanelTreeMode::Operation);
        m_tree->setCurrentItem(m_tree->findItem(1, false));
        QTest::keyClick(m_tree.get(), Qt::Key_Delete);
        QVERIFY(m_prompter.asked().empty());

        tree(PanelTreeMode::Registration);
        m_tree->setCurrentItem(m_tree->findItem(1, false));
        m_prompter.answerNext(QMessageBox::Ok);
        QTest::keyClick(m_tree.get(), Qt::Key_Delete);
        QCOMPARE(readPanels().size(), size_t(1));
        QCOMPARE(readPanels()[0].nPanelNo, 2);
    }

    void groupUpdatesRefuseLoopsAndVanishedGroups()
    {
        writeGroups(3, {{1, "Top", 0}, {2, "Child", 1}, {3, "Side", 0}});
        tree(PanelTreeMode::Registration);
        m_tree->setCurrentItem(m_tree->findItem(1, true));
        const std::string before = readFile(groupFilePath());
        PANEL_DATA edited = *m_tree->selectedItemData();

        edited.group = 1;
        QVERIFY(!m_tree->updateSelected(edited));
        QCOMPARE(m_prompter.last().text, QString("You cannot set the parent group to self."));
        edited.group = 2;
        QVERIFY(!m_tree->updateSelected(edited));
        QCOMPARE(m_prompter.last().text, QString("You cannot set the child group to parent."));
        QCOMPARE(readFile(groupFilePath()), before);

        edited.group = 0;
        edited.name = "Renamed";
        QVERIFY(m_tree->updateSelected(edited));
        QCOMPARE(findGroup(readGroups(), 1)->name, std::string("Renamed"));
        QCOMPARE(m_tree->findItem(1, true)->text(0), QString("Renamed"));

        // The other program deleted the group meanwhile.
        writeGroups(3, {{2, "Child", 1}, {3, "Side", 0}});
        edited.name = "Again";
        QVERIFY(!m_tree->updateSelected(edited));
        QCOMPARE(m_prompter.last().text, QString("This group does not exist. This group might be deleted already."));
        QVERIFY(!findGroup(readGroups(), 1));
    }

    void monitorUpdatesRefuseTakenNumbersAndKeepTheServersStatusKey()
    {
        writePanels({panelRecord(1, 0, "[001] one"), panelRecord(2, 0, "[002] two")});
        tree(PanelTreeMode::Registration, true);
        m_tree->setItemChecked(m_tree->findItem(1, false), true);
        m_tree->setCurrentItem(m_tree->findItem(1, false));
        PANEL_DATA edited = *m_tree->selectedItemData();

        edited.number = 2;
        const std::string before = readFile(panelFilePath());
        QVERIFY(!m_tree->updateSelected(edited));
        QCOMPARE(m_prompter.last().text, QString("This monitor ID is already registered."));
        QCOMPARE(readFile(panelFilePath()), before);

        // The server gives the monitor its status key while the operator edits.
        std::vector<TESSERA_PANEL_DATA> panels = readPanels();
        panels[0].nStatusKey = 77;
        writePanels(panels);
        edited.number = 1;
        edited.name = "[001] Lobby";
        QVERIFY(m_tree->updateSelected(edited));
        panels = readPanels();
        QCOMPARE(std::string(findPanel(panels, 1)->szName), std::string("[001] Lobby"));
        QCOMPARE(findPanel(panels, 1)->nStatusKey, 77);
        QTreeWidgetItem* replaced = m_tree->findItem(1, false);
        QCOMPARE(replaced->text(0), QString("[001] Lobby"));
        QCOMPARE(m_tree->selectedItem(), replaced);
        QVERIFY2(m_tree->isChecked(replaced), "the new item keeps the check of the old one");

        // Gone from the file: said so, and the tree still shows the edit.
        writePanels({panelRecord(2, 0, "[002] two")});
        edited.name = "[001] Hall";
        QVERIFY(m_tree->updateSelected(edited));
        QCOMPARE(m_prompter.last().text,
                 QString("This monitor does not exist. This monitor might be deleted already."));
        QCOMPARE(m_tree->findItem(1, false)->text(0), QString("[001] Hall"));
        QCOMPARE(readPanels().size(), size_t(1));
    }

    void checkingPropagatesDownAndUp()
    {
        writeGroups(2, {{1, "G", 0}, {2, "Sub", 1}});
        writePanels({panelRecord(1, 1, "m1"), panelRecord(2, 2, "m2"), panelRecord(3, 0, "m3")});
        tree(PanelTreeMode::Operation, true);
        QTreeWidgetItem* g = m_tree->findItem(1, true);
        QTreeWidgetItem* sub = m_tree->findItem(2, true);
        auto monitor = [this](int number) { return m_tree->findItem(number, false); };
        QCOMPARE(m_tree->rootItem()->text(0), QString("(All Monitors)"));

        m_tree->setItemChecked(g, true);
        QVERIFY(m_tree->isChecked(sub) && m_tree->isChecked(monitor(1)) && m_tree->isChecked(monitor(2)));
        QVERIFY(!m_tree->isChecked(m_tree->rootItem()));
        m_tree->setItemChecked(monitor(3), true);
        QVERIFY2(m_tree->isChecked(m_tree->rootItem()), "all children checked checks the parent");

        m_tree->setItemChecked(monitor(2), false);
        QVERIFY(!m_tree->isChecked(sub) && !m_tree->isChecked(g) && !m_tree->isChecked(m_tree->rootItem()));
        QVERIFY(m_tree->isChecked(monitor(1)) && m_tree->isChecked(monitor(3)));

        std::vector<std::string> names;
        for (const PANEL_DATA& data : m_tree->selectedMonitors())
            names.push_back(data.name);
        QCOMPARE(names, (std::vector<std::string>{"m1", "m3"})); // depth first: the group's before the root's
    }

    void checkBoxClicksTellTheListenerButSpaceDoesNot()
    {
        writePanels({panelRecord(1, 0, "m1"), panelRecord(2, 0, "m2")});
        tree(PanelTreeMode::Operation, true);
        QTreeWidgetItem* m1 = m_tree->findItem(1, false);
        const QRect box = m_tree->checkBoxRect(m1);
        QVERIFY(!box.isEmpty());
        QVERIFY(box.right() < m_tree->visualItemRect(m1).center().x());

        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, box.center());
        QVERIFY(m_tree->isChecked(m1));
        QCOMPARE(m_listener.clicks.size(), size_t(1));
        QCOMPARE(m_listener.clicks[0], std::make_pair(m1, true));
        QVERIFY2(m_tree->selectedItem() != m1, "a click on the box does not select");

        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualItemRect(m1).center());
        QCOMPARE(m_tree->selectedItem(), m1);
        QCOMPARE(m_listener.clicks.back(), std::make_pair(m1, false));
        QVERIFY(m_tree->isChecked(m1));

        const size_t clicks = m_listener.clicks.size();
        QTest::keyClick(m_tree.get(), Qt::Key_Space);
        QVERIFY(!m_tree->isChecked(m1));
        QCOMPARE(m_listener.clicks.size(), clicks);

        // Without check boxes neither does anything.
        tree(PanelTreeMode::Operation, false);
        m_tree->setCurrentItem(m_tree->findItem(1, false));
        QTest::keyClick(m_tree.get(), Qt::Key_Space);
        QVERIFY(m_tree->checkBoxRect(m_tree->findItem(1, false)).isEmpty());
        QCOMPARE(m_tree->selectedMonitors().size(), size_t(1));
    }

    void dropRulesKeepTheTreeTwoLevelsDeep()
    {
        writeGroups(4, {{1, "A", 0}, {2, "A1", 1}, {3, "B", 0}, {4, "C", 0}});
        writePanels({panelRecord(1, 1, "in A"), panelRecord(2, 1, "also in A"), panelRecord(3, 0, "at root")});
        tree(PanelTreeMode::Registration);
        auto group = [this](int number) { return m_tree->findItem(number, true); };
        auto monitor = [this](int number) { return m_tree->findItem(number, false); };
        QTreeWidgetItem* root = m_tree->rootItem();

        QVERIFY2(!m_tree->mayDrop(group(1), group(3)), "a group with sub-groups onto a top-level group");
        QVERIFY2(m_tree->mayDrop(group(4), group(3)), "a plain group under a top-level group");
        QVERIFY2(!m_tree->mayDrop(group(4), group(2)), "a group under a sub-group");
        QVERIFY2(!m_tree->mayDrop(group(1), group(2)), "a group onto its own child");
        QVERIFY2(!m_tree->mayDrop(group(1), group(1)), "a group onto itself");
        QVERIFY2(!m_tree->mayDrop(group(2), monitor(1)), "a sub-group onto its own group, by a monitor in it");
        QVERIFY2(m_tree->mayDrop(group(2), root), "a sub-group up to the root");
        QVERIFY2(!m_tree->mayDrop(monitor(1), group(1)), "a monitor onto its own group");
        QVERIFY2(!m_tree->mayDrop(monitor(1), monitor(2)), "a monitor onto a monitor of its own group");
        QVERIFY(m_tree->mayDrop(monitor(1), group(2)));
        QVERIFY(m_tree->mayDrop(monitor(1), monitor(3)));
        QVERIFY(!m_tree->mayDrag(root));
    }

    void draggingMovesMonitorsAndGroupsInTheStore()
    {
        writeGroups(3, {{1, "A", 0}, {2, "B", 0}, {3, "C", 0}});
        writePanels({panelRecord(1, 1, "[001] in A"), panelRecord(2, 0, "[002] root")});
        tree(PanelTreeMode::Registration);
        tree()->resize(300, 500);

        drag(m_tree->findItem(1, false), m_tree->findItem(2, true));
        QCOMPARE(findPanel(readPanels(), 1)->nGroupNo, 2);
        QCOMPARE(m_tree->findItem(1, false)->parent(), m_tree->findItem(2, true));
        QCOMPARE(m_listener.drops.size(), size_t(1));
        QVERIFY(!m_tree->draggedItem() && !m_tree->dropHighlight());

        drag(m_tree->findItem(3, true), m_tree->findItem(1, false)); // onto a monitor: into its group
        QCOMPARE(findGroup(readGroups(), 3)->parent, 2);
        QTreeWidgetItem* c = m_tree->findItem(3, true);
        QCOMPARE(c->parent(), m_tree->findItem(2, true));
        QCOMPARE(m_tree->selectedItem(), c);

        // Refused drops write nothing: a monitor onto its own group, a group with a sub-group below a group.
        const std::string panels = readFile(panelFilePath());
        const std::string groups = readFile(groupFilePath());
        drag(m_tree->findItem(1, false), m_tree->findItem(2, true));
        drag(m_tree->findItem(2, true), m_tree->findItem(1, true));
        QCOMPARE(readFile(panelFilePath()), panels);
        QCOMPARE(readFile(groupFilePath()), groups);
        QCOMPARE(m_listener.drops.size(), size_t(4));
    }

    void theListenerCanHoldTheSelection()
    {
        writeGroups(1, {{1, "A", 0}});
        writePanels({panelRecord(1, 0, "[001]"), panelRecord(2, 0, "[002]")});
        tree(PanelTreeMode::Registration);
        QTreeWidgetItem* first = m_tree->findItem(1, false);
        m_tree->setCurrentItem(first);
        QCOMPARE(m_listener.selectionQuestions, 0); // the program's own changes do not ask

        m_listener.allowSelection = false;
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                          m_tree->visualItemRect(m_tree->findItem(2, false)).center());
        QCOMPARE(m_tree->selectedItem(), first);
        QCOMPARE(m_listener.selectionQuestions, 1);
        QTest::keyClick(m_tree.get(), Qt::Key_Down);
        QCOMPARE(m_tree->selectedItem(), first);
        // Ctrl with a click on the selected item would take the selection away: it asks too.
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          m_tree->visualItemRect(first).center());
        QTest::keyClick(m_tree.get(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(m_tree->selectedItem(), first);
        QCOMPARE(m_listener.selectionQuestions, 4);
        const std::string panels = readFile(panelFilePath());
        drag(first, m_tree->findItem(1, true));
        QCOMPARE(readFile(panelFilePath()), panels);
        QVERIFY(!m_tree->draggedItem());

        m_listener.allowSelection = true;
        const int changes = m_listener.selectionChanges;
        QTest::keyClick(m_tree.get(), Qt::Key_Down);
        QCOMPARE(m_tree->selectedItem(), m_tree->findItem(2, false));
        QCOMPARE(m_listener.selectionChanges, changes + 1);
    }

    // The registration form stores its edits when slot 6 asks; the stored name re-sorts the item.
    void theOwnerMayStoreItsFormWhenAsked()
    {
        writeGroups(1, {{1, "Hall", 0}});
        writePanels({panelRecord(1, 0, "m"), panelRecord(2, 0, "n"), panelRecord(3, 0, "o")});
        tree(PanelTreeMode::Registration);
        auto storeFormAs = [this](const std::string& name) {
            m_listener.onNextQuestion = [this, name] {
                PANEL_DATA edited = *m_tree->selectedItemData();
                edited.name = name;
                QVERIFY(m_tree->updateSelected(edited));
            };
        };

        // A drag of the edited monitor: storing must not pull the dragged item away from under the drag.
        m_tree->setCurrentItem(m_tree->findItem(3, false));
        storeFormAs("a");
        drag(m_tree->findItem(3, false), m_tree->findItem(1, true));
        const std::vector<TESSERA_PANEL_DATA> panels = readPanels();
        const TESSERA_PANEL_DATA* moved = findPanel(panels, 3);
        QCOMPARE(std::string(moved->szName), std::string("a"));
        QCOMPARE(moved->nGroupNo, 1);
        QCOMPARE(m_tree->findItem(3, false)->parent(), m_tree->findItem(1, true));
        QCOMPARE(m_tree->findItem(3, false)->text(0), QString("a"));

        // A click on another row: the stored name moves monitor 2 into the row under the cursor, yet the
        // monitor clicked is the one selected.
        m_tree->setCurrentItem(m_tree->findItem(2, false));
        storeFormAs("b");
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                          m_tree->visualItemRect(m_tree->findItem(1, false)).center());
        QCOMPARE(m_tree->selectedItem(), m_tree->findItem(1, false));
        QCOMPARE(childTexts(m_tree->rootItem()).mid(1), (QStringList{"b", "m"}));

        // The Down key goes to the monitor that was below before the store re-sorted.
        m_tree->setCurrentItem(m_tree->findItem(2, false));
        storeFormAs("z");
        QTest::keyClick(m_tree.get(), Qt::Key_Down);
        QCOMPARE(m_tree->selectedItem(), m_tree->findItem(1, false));
        QCOMPARE(m_listener.selectionQuestions, 3);
    }

    // Messages about the store come after the lock is released (the probing prompter checks every box).
    void storeMessagesWaitForTheUnlock()
    {
        writeGroups(1, {{1, "Hall", 0}});
        writePanels({panelRecord(1, 0, "[001] a"), panelRecord(2, 0, "[002] b")});
        tree(PanelTreeMode::Registration);

        m_tree->setCurrentItem(m_tree->findItem(2, false));
        PANEL_DATA edited = *m_tree->selectedItemData();
        edited.number = 1;
        QVERIFY(!m_tree->updateSelected(edited));
        QCOMPARE(m_prompter.last().text, uiText(130));

        writePanels({panelRecord(1, 0, "[001] a")}); // deleted elsewhere meanwhile
        edited.number = 2;
        m_tree->updateSelected(edited);
        QCOMPARE(m_prompter.last().text, uiText(131));

        m_tree->setCurrentItem(m_tree->findItem(1, true));
        writeGroups(1, {});
        edited = *m_tree->selectedItemData();
        edited.name = "Lobby";
        QVERIFY(!m_tree->updateSelected(edited));
        QCOMPARE(m_prompter.last().text, uiText(129));

        // The store's own error box: a folder where the panel file should be cannot be read.
        QFile::remove(QString::fromStdString(panelFilePath()));
        QVERIFY(QDir().mkdir(QString::fromStdString(panelFilePath())));
        QVERIFY(!m_tree->addNewMonitor());
        QCOMPARE(m_prompter.last().caption, QString("TESSERA Library"));
        QCOMPARE(m_prompter.asked().size(), size_t(4));
    }

    void draggingNearAnEdgeScrollsFasterFartherOut()
    {
        using Scroll = CPanelTreeCtrl::DragScroll;
        auto at = [](int y) { return CPanelTreeCtrl::dragScrollFor(y, 100, 300); };
        auto same = [](Scroll a, int direction, int period) { return a.direction == direction && a.period == period; };
        QVERIFY(same(at(200), 0, 6));
        QVERIFY(same(at(110), 0, 6));
        QVERIFY(same(at(109), -1, 6));
        QVERIFY(same(at(90), -1, 5));
        QVERIFY(same(at(30), -1, 2));
        QVERIFY(same(at(-500), -1, 1));
        QVERIFY(same(at(291), 1, 6));
        QVERIFY(same(at(310), 1, 5));
        QVERIFY(same(at(2000), 1, 1));
    }

    void draggingBelowTheTreeScrollsItAndMovesTheHighlight()
    {
        writeGroups(2, {{1, "Source", 0}, {2, "Target", 0}});
        std::vector<TESSERA_PANEL_DATA> panels{panelRecord(1, 1, "[001] dragged")};
        for (int number = 2; number <= 60; ++number)
            panels.push_back(panelRecord(number, 2, "[" + std::to_string(100 + number) + "]"));
        writePanels(panels);
        tree(PanelTreeMode::Registration);
        QScrollBar* bar = m_tree->verticalScrollBar();
        QCOMPARE(bar->value(), 0);
        QTreeWidgetItem* dragged = m_tree->findItem(1, false);
        QWidget* viewport = m_tree->viewport();
        const QPoint start = m_tree->visualItemRect(dragged).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, start + QPoint(20, 0));
        QVERIFY(m_tree->draggedItem() == dragged);
        QTest::mouseMove(viewport, QPoint(start.x(), viewport->height() + 200)); // far below: full speed
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 3, 3000);
        QCOMPARE(m_tree->dropHighlight(), m_tree->findItem(2, true));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(start.x(), viewport->height() + 200));
        QVERIFY(!m_tree->draggedItem() && !m_tree->dropHighlight());
        QCOMPARE(findPanel(readPanels(), 1)->nGroupNo, 1);
    }

    void rootStaysOpenAndSuffixesShow()
    {
        writePanels({scheduled(panelRecord(1, 0, "[001] Hall"), 3), panelRecord(2, 0, "[002] Foyer")});
        m_listener.suffix = "Weekdays";
        tree(PanelTreeMode::Schedule);
        m_tree->collapseItem(m_tree->rootItem());
        QVERIFY(m_tree->rootItem()->isExpanded());
        QCOMPARE(m_tree->findItem(1, false)->text(0), QString("[001] Hall   -   <Weekdays>"));
        QCOMPARE(m_tree->findItem(2, false)->text(0), QString("[002] Foyer"));
    }

    void modelUniformityComparesWithTheFirstMonitor()
    {
        auto monitor = [](const char* model, int flags) {
            PANEL_DATA data;
            data.szModel = model;
            data.nModelFlags = flags;
            return data;
        };
        auto uniformity = [](std::vector<PANEL_DATA> monitors, bool ignoreCase = false) {
            std::vector<const PANEL_DATA*> pointers;
            for (const PANEL_DATA& data : monitors)
                pointers.push_back(&data);
            std::string model;
            int flags = -1;
            const int result = modelUniformity(pointers, ignoreCase, model, flags);
            if (!monitors.empty() && (model != monitors[0].szModel || flags != monitors[0].nModelFlags))
                return -1;
            return result;
        };
        QCOMPARE(uniformity({}), int(kNoMonitor));
        QCOMPARE(uniformity({monitor("QX-T402", 1), monitor("QX-T402", 3)}), int(kOneModel));
        QCOMPARE(uniformity({monitor("QX-T402", 1), monitor("QX-T402", 0)}), int(kMixedModels));
        QCOMPARE(uniformity({monitor("QX-T402", 0), monitor("QX-P42", 0)}), int(kMixedModels));
        QCOMPARE(uniformity({monitor("QX-T402", 0), monitor("QX-P42", 0), monitor("Brela", 0)}), int(kMixedWithZr));
        QCOMPARE(uniformity({monitor("Brela", 0), monitor("Brela", 2)}), int(kOneModel));
        QCOMPARE(uniformity({monitor("Brela", 0), monitor("Brela", 1)}), int(kMixedWithZr));
        QCOMPARE(uniformity({monitor("qx-p42", 0), monitor("QX-P42", 0)}), int(kMixedModels));
        QCOMPARE(uniformity({monitor("qx-p42", 0), monitor("QX-P42", 0)}, true), int(kOneModel));

        writePanels({scheduled(panelRecord(1, 0, "a", "QX-P42"), 4), scheduled(panelRecord(2, 0, "b", "qx-p42"), 4),
                     scheduled(panelRecord(3, 0, "c", "Brela"), 5)});
        tree(PanelTreeMode::Schedule, true);
        std::string model;
        QCOMPARE(m_tree->modelUniformityOfSchedule(4, model), int(kOneModel));
        QCOMPARE(model, std::string("QX-P42"));
        m_tree->setItemChecked(m_tree->rootItem(), true);
        int flags = 0;
        QCOMPARE(m_tree->modelUniformityOfSelection(model, flags), int(kMixedWithZr));
    }

    void clearScheduleWritesEveryAssignedMonitorBack()
    {
        TESSERA_PANEL_DATA keyed = scheduled(panelRecord(1, 0, "a"), 4);
        keyed.nStatusKey = 9;
        writePanels({keyed, scheduled(panelRecord(2, 0, "b"), 5), scheduled(panelRecord(3, 0, "c"), 4)});
        tree(PanelTreeMode::Schedule);
        m_tree->setSelectedSchedule(4);
        m_tree->clearSchedule(4);
        const std::vector<TESSERA_PANEL_DATA> panels = readPanels();
        QVERIFY(!findPanel(panels, 1)->bSchedule && findPanel(panels, 1)->nScheduleNo == 0);
        QCOMPARE(findPanel(panels, 1)->nStatusKey, 9);
        QVERIFY(!findPanel(panels, 3)->bSchedule);
        QVERIFY(findPanel(panels, 2)->bSchedule && findPanel(panels, 2)->nScheduleNo == 5);
        QCOMPARE(m_tree->imageIndex(m_tree->findItem(1, false)), panelImages::kMonitor);
        QVERIFY(!CPanelTreeCtrl::dataOf(m_tree->findItem(3, false))->bSchedule);
    }

    void groupQueriesAndFinders()
    {
        writeGroups(2, {{1, "Hall", 0}, {2, "Stage", 1}});
        writePanels({panelRecord(1, 1, "[001] Left"), panelRecord(2, 1, "[002] Right"), panelRecord(3, 2, "[003] x")});
        tree(PanelTreeMode::Registration);
        std::string name;
        QCOMPARE(m_tree->selectedGroup(name), m_tree->rootItem());
        QCOMPARE(name, std::string("(Root)"));

        m_tree->setCurrentItem(m_tree->findMonitorByName("[002] RIGHT"));
        QCOMPARE(CPanelTreeCtrl::dataOf(m_tree->selectedItem())->number, 2);
        writeGroups(2, {{1, "Hall renamed elsewhere", 0}, {2, "Stage", 1}});
        QCOMPARE(m_tree->selectedGroup(name), m_tree->findItem(1, true));
        QCOMPARE(name, std::string("Hall renamed elsewhere"));
        QCOMPARE(m_tree->monitorsInSelectedGroup(), 2);

        m_tree->deleteMonitorsInSelectedGroup();
        const std::vector<TESSERA_PANEL_DATA> panels = readPanels();
        QCOMPARE(panels.size(), size_t(1));
        QCOMPARE(panels[0].nPanelNo, 3);
        QVERIFY(m_tree->findItem(2, true) && !m_tree->findItem(1, false));
        QCOMPARE(m_tree->allItems().size(), size_t(3));
    }

    void foundMonitorsAreNamedByAddress()
    {
        tree(PanelTreeMode::Registration);
        PANEL_DATA found;
        found.nInterface = 1;
        found.dwIPAddress = 0xC0A80105;
        found.nMonitorID = 3;
        found.szModel = "QX-P42";
        QCOMPARE(m_tree->addMonitor(found)->text(0), QString("[001] 192.168.1.5 ID3"));
        found.nMonitorID = 0;
        QCOMPARE(m_tree->addMonitor(found)->text(0), QString("[002] 192.168.1.5"));
        found.nInterface = 0;
        found.nComPort = 2;
        QCOMPARE(m_tree->addMonitor(found)->text(0), QString("[003] COM2"));
        found.nMonitorID = 12;
        QCOMPARE(m_tree->addMonitor(found)->text(0), QString("[004] COM2 ID12"));
        QCOMPARE(std::string(readPanels()[0].szModel), std::string("QX-P42"));
    }

    void panelDataCarriesEveryRecordField()
    {
        TESSERA_PANEL_DATA record{};
        int32_t value = 1;
        for (int32_t* field : {&record.nPanelNo, &record.nGroupNo, &record.nMdelValue, &record.nInterface,
                               &record.nDataPort, &record.nComPort, &record.nBaudRate, &record.nMonitorID,
                               &record.nStatusKey, &record.nScheduleNo, &record.nModelFlags})
            *field = value++;
        record.bUse = 0; // the opposite of every default
        record.bMonitoring = 0;
        record.bSchedule = 1;
        record.dwIPAddress = 0xC0A89602;
        std::strcpy(record.szName, "name");
        std::strcpy(record.szReserved, "reserved");
        std::strcpy(record.szModel, "QX-T402");
        std::strcpy(record.szSerialNo, "serial");
        std::strcpy(record.szMACAddress, "00-11-22-33-44-55");
        std::strcpy(record.szUserName, "user");
        std::strcpy(record.szPassword, "secret");
        const PANEL_DATA data = panelDataFromRecord(record);
        QVERIFY(data.isMonitor());
        const TESSERA_PANEL_DATA back = recordFromPanelData(data);
        QCOMPARE(std::memcmp(&back, &record, sizeof record), 0);

        TESSERA_GROUP_DATA group{};
        group.nGroupNo = 4;
        group.nParentNo = 2;
        std::strcpy(group.szName, "Hall");
        const PANEL_DATA groupData = panelDataFromGroup(group);
        QVERIFY(groupData.isGroup() && groupData.number == 4 && groupData.group == 2);
        const TESSERA_GROUP_DATA groupBack = groupFromPanelData(groupData);
        QCOMPARE(std::memcmp(&groupBack, &group, sizeof group), 0);

        // The export file's lines carry the same.
        const MonitorFileEntry monitorLine = monitorFileEntryOf(data);
        QCOMPARE(std::memcmp(&monitorLine.record, &record, sizeof record), 0);
        const MonitorFileEntry groupLine = monitorFileEntryOf(groupData);
        QVERIFY(groupLine.isGroup() && groupLine.number() == 4 && groupLine.group() == 2);
        QCOMPARE(std::string(groupLine.record.szName), std::string("Hall"));
    }

private:
    CPanelTreeCtrl* tree() { return m_tree.get(); }
    void tree(PanelTreeMode mode, bool checkBoxes = false)
    {
        m_tree = std::make_unique<CPanelTreeCtrl>(m_prompter);
        m_tree->setMode(mode);
        m_tree->setListener(&m_listener);
        if (checkBoxes)
            m_tree->setCheckBoxes(true);
        else
            m_tree->reload();
        m_tree->resize(320, 400);
        m_tree->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tree.get()));
    }

    // Drags with the mouse from one item's centre to another's.
    void drag(QTreeWidgetItem* from, QTreeWidgetItem* to)
    {
        QWidget* viewport = m_tree->viewport();
        const QPoint start = m_tree->visualItemRect(from).center();
        const QPoint end = m_tree->visualItemRect(to).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, start + QPoint(QApplication::startDragDistance() + 5, 0));
        QTest::mouseMove(viewport, end);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
    }

    std::unique_ptr<TempDataFolder> m_folder;
    LockProbingPrompter m_prompter;
    RecordingListener m_listener;
    std::unique_ptr<CPanelTreeCtrl> m_tree;
};

LUMIVANE_QTEST_MAIN(PanelTreeTest)
#include "PanelTreeTest.moc"
