#include "CSecurityDlg.h"

#include "CCustomizeAuthorityDlg.h"
#include "CSetPasswordDlg.h"
#include "PasswordFile.h"
#include "ProfileFile.h"
#include "Settings.h"
#include "WindowMessage.h"
#include "common/Prompter.h"
#include "common/ServerLink.h"
#include "common/UiText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {
namespace {

QPushButton* makeButton(QWidget* parent, const char* text, const char* objectName)
{
    auto* button = new QPushButton(uiText(text), parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CSecurityDlg::CSecurityDlg(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter),
      m_inputModeCheck(new QCheckBox(ConsoleText::tr("Can select Input Mode"), this))
{
    const std::optional<Passwords> stored = readPasswordFile(passwordFilePath());
    m_passwords = stored.value_or(Passwords());
    m_passwordsKnown = stored.has_value();
    OperatorSettings settings;
    settings.readFrom(ProfileFile::load(operatorIniPath()));
    m_customizeMask = static_cast<uint16_t>(settings.customize);
    m_inputModeCheck->setObjectName("inputModeCheck");
    m_inputModeCheck->setChecked(settings.inputModeAvailable != 0);

    setWindowTitle(ConsoleText::tr("Password Setting"));
    auto* administrator = new QGroupBox(uiText(consoleTexts::kAdministrator), this);
    auto* adminPassword = makeButton(administrator, "Set Password...", "adminSetPasswordButton");
    (new QHBoxLayout(administrator))->addWidget(adminPassword, 0, Qt::AlignLeft);

    auto* normal = new QGroupBox(uiText(consoleTexts::kNormalOperator), this);
    auto* normalPassword = makeButton(normal, "Set Password...", "normalSetPasswordButton");
    auto* customize = makeButton(normal, "Customize Authority...", "customizeAuthorityButton");
    auto* normalLayout = new QHBoxLayout(normal);
    normalLayout->addWidget(normalPassword);
    normalLayout->addWidget(customize);
    normalLayout->addStretch();

    auto* restricted = new QGroupBox(uiText(consoleTexts::kRestrictedOperator), this);
    auto* restrictedPassword = makeButton(restricted, "Set Password...", "restrictedSetPasswordButton");
    m_inputModeCheck->setParent(restricted);
    auto* restrictedLayout = new QHBoxLayout(restricted);
    restrictedLayout->addWidget(restrictedPassword);
    restrictedLayout->addWidget(m_inputModeCheck);
    restrictedLayout->addStretch();

    auto* clear = makeButton(this, "Clear Passwords...", "clearPasswordsButton");
    auto* close = makeButton(this, "Close", "closeButton");
    close->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(clear);
    bottom->addStretch();
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(administrator);
    layout->addWidget(normal);
    layout->addWidget(restricted);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(adminPassword, &QPushButton::clicked, this, [this] { setPassword(Authority::Administrator); });
    connect(normalPassword, &QPushButton::clicked, this, [this] { setPassword(Authority::NormalOperator); });
    connect(restrictedPassword, &QPushButton::clicked, this, [this] { setPassword(Authority::RestrictedOperator); });
    connect(customize, &QPushButton::clicked, this, &CSecurityDlg::customizeAuthority);
    connect(clear, &QPushButton::clicked, this, &CSecurityDlg::clearPasswords);
    connect(close, &QPushButton::clicked, this, &CSecurityDlg::accept);
}

void CSecurityDlg::setPassword(Authority role)
{
    std::string& password = m_passwords.byRole[static_cast<size_t>(role) - 1];
    CSetPasswordDlg dialog(m_prompter, password, this);
    if (dialog.exec() == QDialog::Accepted && (m_passwordsKnown || warnPasswordsUnknown())) {
        password = dialog.password();
    }
}

// Setting one password while the others could not be read would clear them on saving.
bool CSecurityDlg::warnPasswordsUnknown()
{
    m_prompter.error(this, uiText(kPasswordFileError));
    return false;
}

void CSecurityDlg::customizeAuthority()
{
    CCustomizeAuthorityDlg dialog(m_customizeMask, this);
    if (dialog.exec() == QDialog::Accepted)
        m_customizeMask = dialog.mask();
}

void CSecurityDlg::clearPasswords()
{
    if (m_prompter.confirm(this, uiText(consoleTexts::kClearPasswords), QMessageBox::Question)) {
        m_passwords = Passwords();
        m_passwordsKnown = true;
    }
}

void CSecurityDlg::done(int result)
{
    save();
    QDialog::done(result);
}

void CSecurityDlg::save()
{
    const int inputModeAvailable = m_inputModeCheck->isChecked() ? 1 : 0;
    writeOperatorSetting(settingKeys::kConfig, "Customize", m_customizeMask);
    writeOperatorSetting(settingKeys::kConfig, "InputModeAvailable", inputModeAvailable);
    processSettings().operatorSettings.customize = m_customizeMask;
    processSettings().operatorSettings.inputModeAvailable = inputModeAvailable;
    if (!m_passwordsKnown || !savePasswords(passwordFilePath(), m_passwords))
        m_prompter.error(this, uiText(kPasswordFileError));
    notifyServer(windowMessages::kSettingsChanged);
}

} // namespace lumivane
