#pragma once

#include "MonitorForm.h"
#include "tree/CPanelTreeListner.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumivane {

class CPanelTreeCtrl;
struct ConsoleContext;

// "Monitor Control": the panel tree in registration mode and the form of the selected monitor or group.
// The form is checked and stored before anything changes the selection or the store; an invalid form
// keeps the selection and the dialog open.
class CMonitorAccountDlg : public QDialog, private CPanelTreeListner
{
    Q_OBJECT
public:
    explicit CMonitorAccountDlg(ConsoleContext& context, QWidget* parent = nullptr);

    CPanelTreeCtrl* tree() const { return m_tree; }
    const MonitorForm& form() const { return m_form; }
    // Checks and stores the form; false (with the message shown) when it is invalid.
    bool storeForm();
    void reject() override; // "Close" and the close box: only with a valid form

private:
    // CPanelTreeListner
    void selectionChanged() override;
    bool mayChangeSelection() override;

    QGridLayout* buildForm(); // the form's controls, laid out
    void buildButtons(QGridLayout* buttons);
    void fillCombos();
    void showForm();
    void applyLayout();
    void readWidgets();
    void markChanged();
    void interfaceChosen();
    void modelChosen();
    void useClicked();

    void addMonitor();
    void addGroup();
    void deleteSelected();
    void search();
    void registerPassword();
    void getInformation();
    void enablePowerOn();
    void exportMonitors();
    void importMonitors();

    TESSERA_PANEL_DATA selectedRecord() const;
    std::vector<TESSERA_PANEL_DATA> registeredMonitors() const;

    ConsoleContext& m_context;
    CPanelTreeCtrl* m_tree;
    MonitorForm m_form;
    bool m_showing = false; // filling the widgets: no change of the operator's
    QString m_exportPath;
    std::vector<ModelAlias> m_modelAliases; // "ModelName.txt", the model combo's entries

    QGroupBox* m_formBox;
    QLabel* m_nameLabel;
    QLineEdit* m_name;
    QButtonGroup* m_interface;
    QRadioButton* m_rs232c;
    QRadioButton* m_lan;
    QLineEdit* m_ipAddress;
    QLineEdit* m_dataPort;
    QLineEdit* m_macAddress;
    QComboBox* m_comPort;
    QComboBox* m_baudRate;
    QComboBox* m_monitorId;
    QComboBox* m_model;
    QLineEdit* m_serialNo;
    QCheckBox* m_expansionBoard;
    QCheckBox* m_use;
    QCheckBox* m_monitoring;
    std::vector<QWidget*> m_monitorWidgets; // every control of the monitor fields, with its label
    std::vector<QWidget*> m_comWidgets;
    std::vector<QWidget*> m_lanWidgets;

    QPushButton* m_delete;
    QPushButton* m_search;
    QPushButton* m_information;
    QPushButton* m_password;
    QPushButton* m_powerOn;
    QPushButton* m_export;
};

} // namespace lumivane
