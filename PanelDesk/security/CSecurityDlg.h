#pragma once

#include "PasswordFile.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;

namespace lumivane {

class Prompter;

// "Password Setting", for the Administrator: the three passwords, the Normal Operator's mask and whether
// the Restricted Operator may select the input mode. Every way out saves and tells the server.
class CSecurityDlg : public QDialog
{
    Q_OBJECT
public:
    // Reads the password file and the two settings.
    explicit CSecurityDlg(Prompter& prompter, QWidget* parent = nullptr);

    void done(int result) override;

private:
    void setPassword(Authority role);
    bool warnPasswordsUnknown();
    void customizeAuthority();
    void clearPasswords();
    void save();

    Prompter& m_prompter;
    Passwords m_passwords;
    bool m_passwordsKnown; // read from the file, or set in this dialog: only then are they written
    uint16_t m_customizeMask = 0;
    QCheckBox* m_inputModeCheck;
};

} // namespace lumivane
