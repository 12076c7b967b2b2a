#pragma once

#include "MailAddressList.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace lumivane {

class Prompter;

// "Mail Destination": one address and the mails it gets. OK keeps the dialog open while the address
// is refused (message 274).
class CMailAddressDlg : public QDialog
{
    Q_OBJECT
public:
    CMailAddressDlg(Prompter& prompter, const MailAddress& entry, QWidget* parent = nullptr);

    // The address as typed (without surrounding blanks) and the kinds of the two boxes.
    MailAddress entry() const;

    void accept() override;

private:
    Prompter& m_prompter;
    QLineEdit* m_addressEdit;
    QCheckBox* m_periodicalCheck;
    QCheckBox* m_errorCheck;
};

} // namespace lumivane
