#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace lumivane {

class Prompter;

// "Set Password": a new password typed twice. Both boxes start with the current password.
class CSetPasswordDlg : public QDialog
{
    Q_OBJECT
public:
    CSetPasswordDlg(Prompter& prompter, const std::string& currentPassword, QWidget* parent = nullptr);

    std::string password() const;

public slots:
    void accept() override;

private:
    Prompter& m_prompter;
    QLineEdit* m_newPasswordEdit;
    QLineEdit* m_retypePasswordEdit;
};

} // namespace lumivane
