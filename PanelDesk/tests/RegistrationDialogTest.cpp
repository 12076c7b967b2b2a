// The Monitor Control dialog, offscreen: the form is stored before the selection moves, and an invalid
// form keeps the selection, the store and the dialog as they were.
#include "ModalDialogs.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "registration/CMonitorAccountDlg.h"
#include "tessera.h"
#include "tree/CPanelTreeCtrl.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace lumivane;
using namespace lumivane::test;

namespace {

void type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

class RegistrationDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<TempDataFolder>();
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        TESSERA_PANEL_DATA lan = panelRecord(2, 0, "[002] Lobby", "QX-T988");
        lan.nInterface = 1;
        writePanels({panelRecord(1, 0, "[001] Hall", "QX-T988"), lan});
    }
    void cleanup()
    {
        const int unexpectedBoxes = m_prompter.unexpected();
        m_prompter.clear();
        TESSERA_Uninitialize();
        m_folder.reset();
        QCOMPARE(unexpectedBoxes, 0);
    }

    void formEditsAreStoredBeforeTheSelectionMovesAndRefusedWhenInvalid()
    {
        CMonitorAccountDlg dialog(m_console.context);
        dialog.show();
        CPanelTreeCtrl* tree = dialog.tree();
        tree->setCurrentItem(tree->findItem(2, false)); // the LAN monitor
        auto* dataPort = child<QLineEdit>(&dialog, "dataPortEdit");
        QVERIFY(dataPort->isVisible());
        QVERIFY(!child<QWidget>(&dialog, "comPortCombo")->isVisible());

        type(dataPort, "80");
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->findItem(1, false)).center());
        QCOMPARE(m_prompter.last().text, QString("Data Port is out of range."));
        QCOMPARE(tree->selectedItemData()->number, 2); // the selection stays on the invalid form
        QCOMPARE(findPanel(readPanels(), 2)->nDataPort, 10008);

        type(dataPort, "10010");
        type(child<QLineEdit>(&dialog, "nameEdit"), "[002] Lobby East");
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->findItem(1, false)).center());
        QCOMPARE(tree->selectedItemData()->number, 1);
        const std::vector<TESSERA_PANEL_DATA> stored = readPanels();
        QCOMPARE(findPanel(stored, 2)->nDataPort, 10010);
        QCOMPARE(QString(findPanel(stored, 2)->szName), QString("[002] Lobby East"));

        // A name with a vertical bar keeps the dialog open on "Close".
        type(child<QLineEdit>(&dialog, "nameEdit"), "Hall|1");
        QTest::mouseClick(child<QPushButton>(&dialog, "closeButton"), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(m_prompter.last().text.startsWith("A monitor name cannot contain"));
        QCOMPARE(QString(findPanel(readPanels(), 1)->szName), QString("[001] Hall"));
    }

private:
    std::unique_ptr<TempDataFolder> m_folder;
    ScriptedPrompter m_prompter;
    TestConsole m_console{m_prompter};
};

LUMIVANE_QTEST_MAIN(RegistrationDialogTest)
#include "RegistrationDialogTest.moc"
