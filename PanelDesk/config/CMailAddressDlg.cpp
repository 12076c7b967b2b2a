#include "CMailAddressDlg.h"

#include "MailResult.h"
#include "MailSettingRules.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

CMailAddressDlg::CMailAddressDlg(Prompter& prompter, const MailAddress& entry, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_addressEdit(new QLineEdit(this)),
      m_periodicalCheck(new QCheckBox(ConsoleText::tr("Send &Periodical Mail"), this)),
      m_errorCheck(new QCheckBox(ConsoleText::tr("Send &Error Mail"), this))
{
    setWindowTitle(ConsoleText::tr("Mail Destination"));
    m_addressEdit->setObjectName("addressEdit");
    m_addressEdit->setText(QString::fromStdString(entry.address));
    m_addressEdit->setMinimumWidth(320);
    m_periodicalCheck->setObjectName("periodicalCheck");
    m_periodicalCheck->setChecked(entry.kinds & kPeriodicalMailBit);
    m_errorCheck->setObjectName("errorCheck");
    m_errorCheck->setChecked(entry.kinds & kErrorMailBit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CMailAddressDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMailAddressDlg::reject);

    auto* form = new QFormLayout;
    form->addRow(ConsoleText::tr("Mail &Address:"), m_addressEdit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_periodicalCheck);
    layout->addWidget(m_errorCheck);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

MailAddress CMailAddressDlg::entry() const
{
    return {m_addressEdit->text().trimmed().toStdString(),
            mailKinds(m_periodicalCheck->isChecked(), m_errorCheck->isChecked())};
}

void CMailAddressDlg::accept()
{
    if (!ValidateAddress(entry().address)) {
        m_prompter.exclamation(this, uiText(kInvalidAddressMessage));
        m_addressEdit->setFocus();
        m_addressEdit->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace lumivane
