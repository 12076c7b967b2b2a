#pragma once

#include "Authority.h"
#include "PasswordFile.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumivane {

class Prompter;

// The log-in box: a role and its password. Shown before the console's main window.
class CAuthentificationDlg : public QDialog
{
    Q_OBJECT
public:
    // Reads the role of the last log-in and the password file.
    explicit CAuthentificationDlg(Prompter& prompter, QWidget* parent = nullptr);

    // The whole log-in: at once as Administrator, without showing the box, when no role has a password;
    // otherwise the box. The role, or Authority::None when the box was cancelled.
    Authority login();

public slots:
    void accept() override;

private:
    Prompter& m_prompter;
    bool m_passwordFileReadable = false; // false: nobody logs in, not even without a password
    LoginRule m_rule;
    QComboBox* m_authorityCombo;
    QLineEdit* m_passwordEdit;
};

} // namespace lumivane
