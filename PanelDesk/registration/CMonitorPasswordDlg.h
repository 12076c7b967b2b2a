#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace lumivane {

// "Register Monitor's Password": the user name and password a LAN monitor asks at log-in, at most
// 8 bytes each (what the monitor and the store hold). "Clear" empties both.
class CMonitorPasswordDlg : public QDialog
{
    Q_OBJECT
public:
    CMonitorPasswordDlg(const std::string& userName, const std::string& password, QWidget* parent = nullptr);

    std::string userName() const;
    std::string password() const;

private:
    QLineEdit* m_userNameEdit;
    QLineEdit* m_passwordEdit;
};

} // namespace lumivane
