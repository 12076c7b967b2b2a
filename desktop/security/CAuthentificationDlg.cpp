#include "CAuthentificationDlg.h"

#include "PasswordFile.h"
#include "ProfileFile.h"
#include "Settings.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {
namespace {

int lastAuthority()
{
    OperatorSettings settings;
    settings.readFrom(ProfileFile::load(operatorIniPath()));
    return settings.authority;
}

} // namespace

CAuthentificationDlg::CAuthentificationDlg(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_rule(Passwords()), m_authorityCombo(new QComboBox(this)),
      m_passwordEdit(new QLineEdit(this))
{
    const std::optional<Passwords> stored = readPasswordFile(passwordFilePath());
    m_passwordFileReadable = stored.has_value();
    m_rule = LoginRule(stored.value_or(Passwords()));

    setWindowTitle(ConsoleText::tr("Authentification"));
    m_authorityCombo->setObjectName("authorityCombo");
    m_authorityCombo->addItems({uiText(consoleTexts::kAdministrator), uiText(consoleTexts::kNormalOperator),
                                uiText(consoleTexts::kRestrictedOperator)});
    const int last = lastAuthority();
    m_authorityCombo->setCurrentIndex(last >= 1 && last <= 3 ? last - 1 : 0);
    m_passwordEdit->setObjectName("passwordEdit");
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_passwordEdit->setMinimumWidth(200);

    auto* form = new QFormLayout;
    form->addRow(ConsoleText::tr("Authority :"), m_authorityCombo);
    form->addRow(ConsoleText::tr("Password :"), m_passwordEdit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CAuthentificationDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAuthentificationDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_passwordEdit->setFocus();
}

Authority CAuthentificationDlg::login()
{
    if (!m_passwordFileReadable) {
        m_prompter.error(this, uiText(kPasswordFileError));
        return Authority::None;
    }
    if (m_rule.loginWithoutAsking()) {
        rememberAuthority(Authority::Administrator);
        return Authority::Administrator;
    }
    const int result = exec();
    return result >= 1 && result <= 3 ? static_cast<Authority>(result) : Authority::None;
}

void CAuthentificationDlg::accept()
{
    const auto chosen = static_cast<Authority>(m_authorityCombo->currentIndex() + 1);
    const Authority granted = m_rule.check(chosen, m_passwordEdit->text().toStdString());
    if (granted == Authority::None) {
        m_prompter.exclamation(this, uiText(consoleTexts::kWrongPassword));
        m_passwordEdit->selectAll();
        m_passwordEdit->setFocus();
        return;
    }
    rememberAuthority(granted);
    done(static_cast<int>(granted));
}

} // namespace lumivane
