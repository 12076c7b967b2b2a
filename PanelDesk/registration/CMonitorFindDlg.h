#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumivane {

// "Select interface": where the monitor search looks (all interfaces, the LAN or one COM port), the port
// the LAN monitors answer on, the baud rate of the COM ports and whether to look for daisy chains. OK
// keeps the search port as the operator's setting for the next search.
class CMonitorFindDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kDefaultSearchPort = 5006;

    explicit CMonitorFindDlg(QWidget* parent = nullptr);

    // The chosen interface: -1 all, 0 the LAN, n the port COMn.
    int interfaceChoice() const;
    int searchPort() const; // 0 while the edit holds no valid port
    int baudRate() const;
    bool daisyChain() const;

public slots:
    void accept() override;

private:
    void updateEnabling();

    QComboBox* m_interfaceCombo;
    QLineEdit* m_searchPortEdit;
    QComboBox* m_baudCombo;
    QCheckBox* m_daisyChainCheck;
    QPushButton* m_okButton;
};

} // namespace lumivane
