// The log-in box, "Password Setting" and its two sub-dialogs, against real files in a temporary data folder.
#include "ModalDialogs.h"
#include "PasswordFile.h"
#include "ProfileFile.h"
#include "QtTestMain.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "TempFolder.h"
#include "WindowMessageListener.h"
#include "common/UiText.h"
#include "security/CAuthentificationDlg.h"
#include "security/CCustomizeAuthorityDlg.h"
#include "security/CSecurityDlg.h"
#include "security/CSetPasswordDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <memory>

using namespace lumivane;
using lumivane::test::child;
using lumivane::test::whenModalShown;

namespace {

int iniValue(const char* key, int fallback = -1)
{
    return ProfileFile::load(operatorIniPath()).readInt("Config", key, fallback);
}

void writePasswords(std::string admin, std::string normal, std::string restricted)
{
    Passwords passwords;
    passwords.byRole = {std::move(admin), std::move(normal), std::move(restricted)};
    QVERIFY(savePasswords(passwordFilePath(), passwords));
}

} // namespace

class SecurityDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<test::TempDataFolder>();
        loadProcessSettings();
        m_prompter.clear();
    }
    void cleanup()
    {
        test::cancelModalWatches();
        QCOMPARE(m_prompter.unexpected(), 0);
        m_folder.reset();
    }

    void freshInstallationLogsInAsAdministratorWithoutAsking()
    {
        bool boxShown = false;
        whenModalShown<CAuthentificationDlg>([&](CAuthentificationDlg* box) {
            boxShown = true;
            box->reject();
        });
        QCOMPARE(CAuthentificationDlg(m_prompter).login(), Authority::Administrator);
        QVERIFY(!boxShown);
        QCOMPARE(iniValue("Authority"), 1);
    }

    void loginPreselectsTheLastRoleAndChecksItsPassword()
    {
        writePasswords("adm", "", "Rst");
        writeOperatorSetting("Config", "Authority", 3);
        CAuthentificationDlg box(m_prompter);
        box.show();
        auto* roles = child<QComboBox>(&box, "authorityCombo");
        auto* password = child<QLineEdit>(&box, "passwordEdit");
        auto* ok = child<QPushButton>(&box, "okButton");
        QCOMPARE(roles->count(), 3);
        QCOMPARE(roles->itemText(0), QString("Administrator"));
        QCOMPARE(roles->currentIndex(), 2);
        QCOMPARE(password->echoMode(), QLineEdit::Password);

        password->setText("rst"); // passwords compare case-sensitively
        ok->click();
        QVERIFY(box.isVisible());
        QCOMPARE(m_prompter.asked().size(), size_t(1));
        QCOMPARE(m_prompter.last().text, QString("Wrong password!"));
        QCOMPARE(m_prompter.last().icon, QMessageBox::Warning);
        QCOMPARE(iniValue("Authority"), 3);

        password->setText("Rst");
        ok->click();
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), 3);
        QCOMPARE(iniValue("Authority"), 3);
    }

    void onlyTheAdministratorPasswordSetLeavesTheOthersOpen()
    {
        writePasswords("adm", "", "");
        CAuthentificationDlg box(m_prompter);
        box.show();
        child<QComboBox>(&box, "authorityCombo")->setCurrentIndex(1);
        child<QPushButton>(&box, "okButton")->click();
        QCOMPARE(box.result(), 2);
        QCOMPARE(iniValue("Authority"), 2);
        QVERIFY(m_prompter.asked().empty());
    }

    void cancellingTheLogInReturnsNone()
    {
        writePasswords("adm", "", "");
        writeOperatorSetting("Config", "Authority", 2);
        whenModalShown<CAuthentificationDlg>(
            [](CAuthentificationDlg* box) { child<QPushButton>(box, "cancelButton")->click(); });
        QCOMPARE(CAuthentificationDlg(m_prompter).login(), Authority::None);
        QCOMPARE(iniValue("Authority"), 2);
    }

    void differentRetypedPasswordKeepsTheDialog()
    {
        CSetPasswordDlg dialog(m_prompter, "old");
        dialog.show();
        auto* newPassword = child<QLineEdit>(&dialog, "newPasswordEdit");
        auto* retype = child<QLineEdit>(&dialog, "retypePasswordEdit");
        QCOMPARE(newPassword->text(), QString("old"));
        QCOMPARE(retype->text(), QString("old"));

        newPassword->setText("new");
        retype->setText("mew");
        retype->setFocus();
        child<QPushButton>(&dialog, "okButton")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_prompter.last().text, QString("The two passwords are different. Please input again."));
        QCOMPARE(m_prompter.last().icon, QMessageBox::Warning);
        QCOMPARE(dialog.focusWidget(), newPassword);

        retype->setText("new");
        child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.password(), std::string("new"));
    }

    void everyWayOutOfPasswordSettingSaves_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Close") << "close";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("title bar") << "window";
    }
    void everyWayOutOfPasswordSettingSaves()
    {
        QFETCH(QString, way);
        writePasswords("a", "b", "c");
        writeOperatorSetting("Config", "Customize", 0x4048);
        writeOperatorSetting("Config", "InputModeAvailable", 1);
        const std::string before = test::readFile(passwordFilePath());
        WindowMessageListener server;
        std::string error;
        QVERIFY(server.listenAs(kServerWindowClass, error));

        CSecurityDlg dialog(m_prompter);
        dialog.show();
        QVERIFY(child<QCheckBox>(&dialog, "inputModeCheck")->isChecked());
        // Removing the files proves that closing writes them, not that they were left alone.
        std::remove(passwordFilePath().c_str());
        std::remove(operatorIniPath().c_str());
        if (way == "close")
            child<QPushButton>(&dialog, "closeButton")->click();
        else if (way == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        QVERIFY(!dialog.isVisible());

        QCOMPARE(test::readFile(passwordFilePath()), before);
        QCOMPARE(iniValue("Customize"), 0x4048);
        QCOMPARE(iniValue("InputModeAvailable"), 1);
        std::vector<int> received;
        for (int i = 0; i < 50 && received.empty(); ++i)
            server.poll(std::chrono::milliseconds(20), [&](const WindowMessage& m) { received.push_back(m.message); });
        QCOMPARE(received, std::vector<int>{1124});
    }

    void setPasswordStoresTheNewOneOnOkOnly()
    {
        writePasswords("a", "b", "c");
        CSecurityDlg dialog(m_prompter);
        dialog.show();
        whenModalShown<CSetPasswordDlg>([](CSetPasswordDlg* set) {
            QCOMPARE(child<QLineEdit>(set, "newPasswordEdit")->text(), QString("b"));
            child<QLineEdit>(set, "newPasswordEdit")->setText("secret");
            child<QLineEdit>(set, "retypePasswordEdit")->setText("secret");
            child<QPushButton>(set, "okButton")->click();
        });
        child<QPushButton>(&dialog, "normalSetPasswordButton")->click();
        whenModalShown<CSetPasswordDlg>([](CSetPasswordDlg* set) {
            child<QLineEdit>(set, "newPasswordEdit")->setText("ignored");
            child<QLineEdit>(set, "retypePasswordEdit")->setText("ignored");
            child<QPushButton>(set, "cancelButton")->click();
        });
        child<QPushButton>(&dialog, "restrictedSetPasswordButton")->click();
        child<QPushButton>(&dialog, "closeButton")->click();

        const Passwords saved = readPasswordFile(passwordFilePath()).value();
        QCOMPARE(saved.byRole[0], std::string("a"));
        QCOMPARE(saved.byRole[1], std::string("secret"));
        QCOMPARE(saved.byRole[2], std::string("c"));
    }

    void clearPasswordsAsksFirst()
    {
        writePasswords("a", "b", "c");
        CSecurityDlg dialog(m_prompter);
        dialog.show();
        m_prompter.answerNext(QMessageBox::Cancel);
        child<QPushButton>(&dialog, "clearPasswordsButton")->click();
        QCOMPARE(m_prompter.last().text, QString("All passwords will be cleared."));
        QCOMPARE(m_prompter.last().icon, QMessageBox::Question);
        QCOMPARE(m_prompter.last().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        m_prompter.answerNext(QMessageBox::Ok);
        child<QPushButton>(&dialog, "clearPasswordsButton")->click();
        child<QPushButton>(&dialog, "closeButton")->click();
        QCOMPARE(test::readFile(passwordFilePath()), std::string("\n\n\n"));
    }

    void customizingKeepsHiddenBitsAndDropsControlPagesWithoutControl_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<bool>("control");
        QTest::addColumn<bool>("schedule");
        QTest::addColumn<bool>("monitorControl");
        QTest::newRow("untick CONTROL") << 0x7CF8 << false << true << true;
        QTest::newRow("keep CONTROL") << 0x40B0 << true << false << true;
        QTest::newRow("tick CONTROL") << 0x0030 << true << true << false;
        QTest::newRow("bits without an item") << 0x8007 << false << false << false;
        QTest::newRow("all") << 0xFFFF << false << true << false;
    }
    void customizingKeepsHiddenBitsAndDropsControlPagesWithoutControl()
    {
        QFETCH(int, mask);
        QFETCH(bool, control);
        QFETCH(bool, schedule);
        QFETCH(bool, monitorControl);
        CCustomizeAuthorityDlg dialog(static_cast<uint16_t>(mask));
        dialog.show();
        auto* controlBox = child<QCheckBox>(&dialog, "controlCheck");
        QVERIFY(controlBox->isVisible());
        QVERIFY(!child<QCheckBox>(&dialog, "screenCheck")->isVisible());
        QVERIFY(!child<QCheckBox>(&dialog, "enlargeCheck")->isVisible());
        QVERIFY(!child<QPushButton>(&dialog, "selectAllButton")->isVisible());
        QCOMPARE(child<QCheckBox>(&dialog, "pictureCheck")->isChecked(), (mask & 0x1000) != 0);

        controlBox->setChecked(control);
        child<QCheckBox>(&dialog, "scheduleCheck")->setChecked(schedule);
        child<QCheckBox>(&dialog, "monitorControlCheck")->setChecked(monitorControl);
        // The hidden items that follow "CONTROL" are enabled exactly when it is ticked.
        QCOMPARE(child<QCheckBox>(&dialog, "monitorSettingCheck")->isEnabled(), control);
        QCOMPARE(child<QPushButton>(&dialog, "selectNoneButton")->isEnabled(), control);
        child<QPushButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(int(dialog.mask()), int(customizeMaskFromDialog(uint16_t(mask), control, schedule, monitorControl)));
        if (!control)
            QCOMPARE(dialog.mask() & customizeBits::kControlPages, 0);
    }

    void hiddenSelectButtonsTickTheControlPages()
    {
        CCustomizeAuthorityDlg dialog(0x4000);
        child<QPushButton>(&dialog, "selectAllButton")->click();
        QCOMPARE(int(dialog.mask()), 0x4000 | 0x2000 | 0x1000 | 0x0800 | 0x0400 | 0x0200 | 0x0100 | 0x0080);
        child<QPushButton>(&dialog, "selectNoneButton")->click();
        QCOMPARE(int(dialog.mask()), 0x4000);
    }

    void cancelledCustomizingKeepsTheMask()
    {
        writeOperatorSetting("Config", "Customize", 0x4008);
        CSecurityDlg dialog(m_prompter);
        dialog.show();
        whenModalShown<CCustomizeAuthorityDlg>([](CCustomizeAuthorityDlg* customize) {
            QVERIFY(child<QCheckBox>(customize, "controlCheck")->isChecked());
            child<QCheckBox>(customize, "controlCheck")->setChecked(false);
            child<QPushButton>(customize, "cancelButton")->click();
        });
        child<QPushButton>(&dialog, "customizeAuthorityButton")->click();
        whenModalShown<CCustomizeAuthorityDlg>([](CCustomizeAuthorityDlg* customize) {
            child<QCheckBox>(customize, "scheduleCheck")->setChecked(true);
            child<QPushButton>(customize, "okButton")->click();
        });
        child<QPushButton>(&dialog, "customizeAuthorityButton")->click();
        child<QPushButton>(&dialog, "closeButton")->click();
        QCOMPARE(iniValue("Customize"), 0x4048);
    }

    void unwritablePasswordFileIsReportedAndSettingsStillWritten()
    {
        writePasswords("a", "b", "c");
        CSecurityDlg dialog(m_prompter);
        dialog.show();
        std::remove(passwordFilePath().c_str());
        QVERIFY(QDir().mkpath(QString::fromStdString(passwordFilePath()))); // nothing can replace a folder
        child<QCheckBox>(&dialog, "inputModeCheck")->setChecked(true);
        child<QPushButton>(&dialog, "closeButton")->click();
        QCOMPARE(m_prompter.texts(), QStringList{"Cannot open password file!"});
        QCOMPARE(m_prompter.last().icon, QMessageBox::Critical);
        QCOMPARE(iniValue("InputModeAvailable"), 1);
    }

    void unreadablePasswordFileIsNeverTakenForNoPasswords()
    {
        // A password file that is there but cannot be read must not let anybody in as Administrator.
        QVERIFY(QDir().mkpath(QString::fromStdString(passwordFilePath())));
        bool boxShown = false;
        whenModalShown<CAuthentificationDlg>([&](CAuthentificationDlg* box) {
            boxShown = true;
            box->reject();
        });
        QCOMPARE(CAuthentificationDlg(m_prompter).login(), Authority::None);
        QVERIFY(!boxShown);
        QCOMPARE(m_prompter.texts(), QStringList{"Cannot open password file!"});
        QCOMPARE(iniValue("Authority"), -1);

        // Nor may "Password Setting" write empty passwords over it, or set one of them alone.
        m_prompter.clear();
        CSecurityDlg dialog(m_prompter);
        dialog.show();
        whenModalShown<CSetPasswordDlg>([](CSetPasswordDlg* set) {
            child<QLineEdit>(set, "newPasswordEdit")->setText("x");
            child<QLineEdit>(set, "retypePasswordEdit")->setText("x");
            child<QPushButton>(set, "okButton")->click();
        });
        child<QPushButton>(&dialog, "adminSetPasswordButton")->click();
        child<QPushButton>(&dialog, "closeButton")->click();
        QCOMPARE(m_prompter.texts(), QStringList({"Cannot open password file!", "Cannot open password file!"}));
        QVERIFY(QFileInfo(QString::fromStdString(passwordFilePath())).isDir());
    }

private:
    std::unique_ptr<test::TempDataFolder> m_folder;
    test::ScriptedPrompter m_prompter;
};

LUMIVANE_QTEST_MAIN(SecurityDialogsTest)
#include "SecurityDialogsTest.moc"
