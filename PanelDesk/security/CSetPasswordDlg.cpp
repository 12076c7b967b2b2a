#include "CSetPasswordDlg.h"

#include "common/Prompter.h"
#include "common/UiText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

CSetPasswordDlg::CSetPasswordDlg(Prompter& prompter, const std::string& currentPassword, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_newPasswordEdit(new QLineEdit(this)),
      m_retypePasswordEdit(new QLineEdit(this))
{
    setWindowTitle(ConsoleText::tr("Set Password"));
    m_newPasswordEdit->setObjectName("newPasswordEdit");
    m_retypePasswordEdit->setObjectName("retypePasswordEdit");
    for (QLineEdit* edit : {m_newPasswordEdit, m_retypePasswordEdit}) {
        edit->setEchoMode(QLineEdit::Password);
        edit->setText(QString::fromStdString(currentPassword));
        edit->setMinimumWidth(180);
    }
    auto* form = new QFormLayout;
    form->addRow(ConsoleText::tr("New Password :"), m_newPasswordEdit);
    form->addRow(ConsoleText::tr("Retype New Password :"), m_retypePasswordEdit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CSetPasswordDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSetPasswordDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_newPasswordEdit->setFocus();
}

std::string CSetPasswordDlg::password() const
{
    return m_newPasswordEdit->text().toStdString();
}

void CSetPasswordDlg::accept()
{
    if (m_newPasswordEdit->text() != m_retypePasswordEdit->text()) {
        m_prompter.exclamation(this, uiText(consoleTexts::kPasswordsDiffer));
        m_newPasswordEdit->setFocus();
        m_newPasswordEdit->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace lumivane
