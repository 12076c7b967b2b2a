#include "CMonitorPasswordDlg.h"

#include "MonitorForm.h"
#include "common/UiText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace lumivane {
namespace {

// Refuses typing or pasting beyond the log-in length in bytes: a character outside ASCII takes more than
// one, and a longer text would be cut by the store in the middle of a character.
class LoginLengthValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return size_t(input.toUtf8().size()) <= kMaxLoginLength ? Acceptable : Invalid;
    }
};

// A stored value longer than the limit (written by hand into the store) is shown cut, whole characters only.
QString cutToLoginLength(const std::string& text)
{
    QString cut = QString::fromStdString(text);
    while (size_t(cut.toUtf8().size()) > kMaxLoginLength)
        cut.chop(1);
    return cut;
}

QLineEdit* loginEdit(const char* objectName, const std::string& text, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(int(kMaxLoginLength));
    edit->setValidator(new LoginLengthValidator(edit));
    edit->setText(cutToLoginLength(text));
    return edit;
}

} // namespace

CMonitorPasswordDlg::CMonitorPasswordDlg(const std::string& userName, const std::string& password, QWidget* parent)
    : QDialog(parent), m_userNameEdit(loginEdit("userNameEdit", userName, this)),
      m_passwordEdit(loginEdit("passwordEdit", password, this))
{
    setWindowTitle(ConsoleText::tr("Register Monitor's Password"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_userNameEdit->setMinimumWidth(160);

    auto* form = new QFormLayout;
    form->addRow(ConsoleText::tr("User Name :"), m_userNameEdit);
    form->addRow(ConsoleText::tr("Password :"), m_passwordEdit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    QPushButton* clear = buttons->addButton(ConsoleText::tr("Clear"), QDialogButtonBox::ResetRole);
    clear->setObjectName("clearButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CMonitorPasswordDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMonitorPasswordDlg::reject);
    connect(clear, &QPushButton::clicked, this, [this] {
        m_userNameEdit->clear();
        m_passwordEdit->clear();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_userNameEdit->setFocus();
}

std::string CMonitorPasswordDlg::userName() const
{
    return m_userNameEdit->text().toStdString();
}

std::string CMonitorPasswordDlg::password() const
{
    return m_passwordEdit->text().toStdString();
}

} // namespace lumivane
