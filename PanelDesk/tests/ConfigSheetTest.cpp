// The "Mail/Monitoring Setting" sheet against real files in a temporary data folder: which pages each role
// gets, the address and report-time pages writing every change at once, the monitoring page's keys.
#include "CMailScheduleList.h"
#include "ModalDialogs.h"
#include "ProfileFile.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "WindowMessage.h"
#include "common/UiText.h"
#include "config/CConfigMailPage.h"
#include "config/CConfigMonitoringPage.h"
#include "config/CConfigPeriodicalPage.h"
#include "config/CConfigSheet.h"
#include "config/CMailAddressDlg.h"
#include "config/CSendMailScheduleDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include <sys/stat.h>

#include <memory>

using namespace lumivane;
using namespace lumivane::test;

namespace {

QPushButton* button(const QWidget* page, const char* name)
{
    return child<QPushButton>(page, name);
}

int checkKey(const char* key)
{
    return ProfileFile::load(operatorIniPath()).readInt("Check", key, -1);
}

} // namespace

class ConfigSheetTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<TempDataFolder>();
        loadProcessSettings();
        m_prompter.clear();
        m_console.dialogs.clear();
        m_console.notifier.messages.clear();
    }
    void cleanup()
    {
        QCOMPARE(m_prompter.unexpected(), 0);
        QCOMPARE(m_console.dialogs.unexpected(), 0);
        QCOMPARE(m_console.dialogs.pending(), size_t(0));
        m_folder.reset();
    }

    void pagesFollowTheAuthority_data()
    {
        QTest::addColumn<int>("authority");
        QTest::addColumn<QStringList>("pages");
        const QStringList all{"mailPage", "periodicalPage", "monitoringPage", "versionPage"};
        QTest::newRow("administrator") << 1 << all;
        QTest::newRow("normal-operator") << 2 << QStringList{"versionPage"};
        QTest::newRow("restricted-operator") << 3 << QStringList{"versionPage"};
    }
    void pagesFollowTheAuthority()
    {
        QFETCH(int, authority);
        QFETCH(QStringList, pages);
        CConfigSheet sheet(m_console.context, static_cast<Authority>(authority));
        QStringList shown;
        for (int page = 0; page < sheet.pages()->count(); ++page)
            shown << sheet.pages()->widget(page)->objectName();
        QCOMPARE(shown, pages);
        sheet.showVersionPage();
        QCOMPARE(sheet.pages()->currentWidget()->objectName(), QString("versionPage"));
    }

    void addressChangesAreWrittenAtOnce()
    {
        writeFile(m_folder->file("EMailAddress.csv"), "first@example.com,3\n");
        CConfigMailPage page(m_console.context);
        page.show();
        auto* list = child<QTableWidget>(&page, "addressList");
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE(list->item(0, 1)->text() + list->item(0, 2)->text(), QString("OO"));
        for (const char* name : {"editButton", "deleteButton", "testMailButton"})
            QVERIFY2(!button(&page, name)->isEnabled(), name);

        // A refused address keeps the dialog open; the corrected one is added with its kinds.
        m_console.dialogs.expect<CMailAddressDlg>([this](CMailAddressDlg* dialog) {
            dialog->show();
            child<QLineEdit>(dialog, "addressEdit")->setText("second.example.com");
            child<QCheckBox>(dialog, "errorCheck")->setChecked(true);
            button(dialog, "okButton")->click();
            if (!dialog->isVisible() || m_prompter.texts() != QStringList{uiText(274)})
                return int(QDialog::Rejected);
            child<QLineEdit>(dialog, "addressEdit")->setText(" second@example.com ");
            button(dialog, "okButton")->click();
            return dialog->isVisible() ? int(QDialog::Rejected) : dialog->result();
        });
        button(&page, "addButton")->click();
        QCOMPARE(readFile(m_folder->file("EMailAddress.csv")),
                 std::string("first@example.com,3\nsecond@example.com,2\n"));
        QCOMPARE(list->item(1, 1)->text() + list->item(1, 2)->text(), QString("XO"));

        // Edit starts from the selected row and replaces it.
        list->selectRow(0);
        QVERIFY(button(&page, "editButton")->isEnabled());
        m_console.dialogs.expect<CMailAddressDlg>([](CMailAddressDlg* dialog) {
            if (dialog->entry() != MailAddress{"first@example.com", 3})
                return int(QDialog::Rejected);
            child<QCheckBox>(dialog, "errorCheck")->setChecked(false);
            return int(QDialog::Accepted);
        });
        button(&page, "editButton")->click();
        QCOMPARE(readFile(m_folder->file("EMailAddress.csv")),
                 std::string("first@example.com,1\nsecond@example.com,2\n"));

        // Delete asks nothing and leaves no row selected.
        list->selectRow(0);
        button(&page, "deleteButton")->click();
        QCOMPARE(readFile(m_folder->file("EMailAddress.csv")), std::string("second@example.com,2\n"));
        QCOMPARE(list->rowCount(), 1);
        QVERIFY(!button(&page, "deleteButton")->isEnabled());
        QCOMPARE(m_prompter.asked().size(), size_t(1)); // the one 274
        QVERIFY(m_console.notifier.messages.empty());   // the server reads the file when it sends
    }

    void aFailedAddressWriteTellsAndKeepsTheRow()
    {
        // A folder where the file belongs: no account can replace it, root included.
        QVERIFY(::mkdir(m_folder->file("EMailAddress.csv").c_str(), 0755) == 0);
        CConfigMailPage page(m_console.context);
        m_console.dialogs.expect<CMailAddressDlg>([](CMailAddressDlg* dialog) {
            child<QLineEdit>(dialog, "addressEdit")->setText("kept@example.com");
            return int(QDialog::Accepted);
        });
        button(&page, "addButton")->click();
        QCOMPARE(m_prompter.texts(), QStringList{uiText(206)});
        QCOMPARE(m_prompter.last().icon, QMessageBox::Critical);
        QCOMPARE(child<QTableWidget>(&page, "addressList")->item(0, 0)->text(), QString("kept@example.com"));
    }

    void testMailGoesToTheSelectedAddressAfterAsking()
    {
        const std::string captured = m_folder->file("mail.txt");
        const std::string program = m_folder->file("sendmail");
        writeFile(program, "#!/bin/sh\ncat > '" + captured + "'\n");
        QVERIFY(::chmod(program.c_str(), 0755) == 0);
        ScopedEnvironment sendmail("LUMIVANE_SENDMAIL", program);
        writeFile(m_folder->file("EMailAddress.csv"), "first@example.com,1\nsecond@example.com,2\n");
        CConfigMailPage page(m_console.context);
        auto* list = child<QTableWidget>(&page, "addressList");

        list->selectRow(1);
        m_prompter.answerNext(QMessageBox::Cancel);
        button(&page, "testMailButton")->click();
        QVERIFY(!fileExists(captured));

        m_prompter.answerNext(QMessageBox::Ok);
        button(&page, "testMailButton")->click();
        const std::string mail = readFile(captured);
        QVERIFY(mail.find("To: second@example.com") != std::string::npos);
        QVERIFY(mail.find("first@example.com") == std::string::npos);
        QCOMPARE(m_prompter.texts().size(), 3); // two questions and the result
        QVERIFY(m_prompter.texts()[1].contains("second@example.com"));
        QCOMPARE(m_prompter.texts()[2], uiText(273));
    }

    void reportTimesAreSavedAndTheServerTold()
    {
        CConfigPeriodicalPage page(m_console.context);
        auto* list = child<QTableWidget>(&page, "reportTimeList");
        m_console.dialogs.expect<CSendMailScheduleDlg>([](CSendMailScheduleDlg* dialog) {
            const ST_MAIL_SCHEDULE offered = dialog->time();
            return offered == ST_MAIL_SCHEDULE{0, 0, 127} ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        button(&page, "addButton")->click();
        QCOMPARE(readFile(m_folder->file("MailSchedule.csv")), std::string("0,0,127\n"));
        QCOMPARE(m_console.notifier.messages, std::vector<int>{windowMessages::kSchedulesChanged});
        QCOMPARE(list->item(0, 0)->text(), QString("00:00"));

        list->selectRow(0);
        m_console.dialogs.expect<CSendMailScheduleDlg>([](CSendMailScheduleDlg* dialog) {
            button(dialog, "selectNoneButton")->click();
            child<QCheckBox>(dialog, "dayCheck6")->setChecked(true);
            child<QComboBox>(dialog, "hourCombo")->setCurrentIndex(23);
            child<QComboBox>(dialog, "minuteCombo")->setCurrentIndex(3);
            return int(QDialog::Accepted);
        });
        button(&page, "editButton")->click();
        QCOMPARE(readFile(m_folder->file("MailSchedule.csv")), std::string("23,45,64\n"));
        QCOMPARE(list->item(0, 0)->text() + list->item(0, 1)->text() + list->item(0, 7)->text(), QString("23:45XO"));

        list->selectRow(0);
        button(&page, "deleteButton")->click();
        QCOMPARE(readFile(m_folder->file("MailSchedule.csv")), std::string());
        QCOMPARE(m_console.notifier.messages.size(), size_t(3));
        QVERIFY(!button(&page, "editButton")->isEnabled());
    }

    void monitoringPageShowsTheStoredIntervalAndWritesOnOk()
    {
        writeOperatorSetting("Check", "Interval", 45);
        writeOperatorSetting("Check", "MessageBox", 1);
        CConfigSheet sheet(m_console.context, Authority::Administrator);
        auto* page = sheet.findChild<CConfigMonitoringPage*>();
        auto* interval = child<QComboBox>(page, "intervalCombo");
        QCOMPARE(interval->count(), 26);
        QCOMPARE(interval->currentText(), QString("30 (Min.)"));
        QVERIFY(!interval->isEnabled() && !child<QLabel>(page, "intervalLabel")->isEnabled());
        QVERIFY(child<QCheckBox>(page, "messageBoxCheck")->isChecked());

        child<QCheckBox>(page, "monitoringCheck")->setChecked(true);
        QVERIFY(interval->isEnabled() && child<QLabel>(page, "intervalLabel")->isEnabled());
        child<QCheckBox>(page, "logAttachCheck")->setChecked(true);
        QCOMPARE(checkKey("Monitoring"), -1); // nothing before OK
        button(&sheet, "okButton")->click();
        QCOMPARE(checkKey("Monitoring"), 1);
        QCOMPARE(checkKey("Interval"), 30);
        QCOMPARE(checkKey("MessageBox"), 1);
        QCOMPARE(checkKey("LogAttach"), 1);
        QCOMPARE(m_console.notifier.messages, std::vector<int>{windowMessages::kSettingsChanged});
        QCOMPARE(processSettings().operatorSettings.interval, 30);
    }

    void cancelLeavesTheMonitoringKeys()
    {
        writeOperatorSetting("Check", "Interval", 1440);
        CConfigSheet sheet(m_console.context, Authority::Administrator);
        auto* page = sheet.findChild<CConfigMonitoringPage*>();
        QCOMPARE(child<QComboBox>(page, "intervalCombo")->currentText(), QString("24 (Hour)"));
        child<QCheckBox>(page, "monitoringCheck")->setChecked(true);
        button(&sheet, "cancelButton")->click();
        QCOMPARE(checkKey("Monitoring"), -1);
        QVERIFY(m_console.notifier.messages.empty());
    }

private:
    std::unique_ptr<TempDataFolder> m_folder;
    ScriptedPrompter m_prompter;
    TestConsole m_console{m_prompter};
};

LUMIVANE_QTEST_MAIN(ConfigSheetTest)
#include "ConfigSheetTest.moc"
