#include "CMonitorAccountDlg.h"

#include "CMonitorPasswordDlg.h"
#include "CommunicationRun.h"
#include "DataFolder.h"
#include "MonitorAccountFile.h"
#include "MonitorImport.h"
#include "MonitorInformation.h"
#include "MonitorLink.h"
#include "MonitorSearchRun.h"
#include "PanelRegistry.h"
#include "SettingLists.h"
#include "Settings.h"
#include "WindowMessage.h"
#include "common/CommandRunner.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <arpa/inet.h>

namespace lumivane {

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent)
{
    auto* made = new QPushButton(text, parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

void showAll(const std::vector<QWidget*>& widgets, bool visible)
{
    for (QWidget* widget : widgets)
        widget->setVisible(visible);
}

void selectData(QComboBox* combo, int value)
{
    const int position = combo->findData(value);
    combo->setCurrentIndex(position >= 0 ? position : 0);
}

} // namespace

CMonitorAccountDlg::CMonitorAccountDlg(ConsoleContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_tree(new CPanelTreeCtrl(context.prompter, this)),
      m_form(formForNothing())
{
    setObjectName("monitorAccountDialog");
    setWindowTitle(ConsoleText::tr("Monitor Control"));
    m_tree->setFixedSize(300, 420);
    m_tree->setMode(PanelTreeMode::Registration);
    m_tree->setListener(this);

    m_formBox = new QGroupBox(this);
    m_formBox->setObjectName("formGroup");
    m_formBox->setLayout(buildForm());
    auto* buttons = new QGridLayout;
    buildButtons(buttons);
    auto* formColumn = new QVBoxLayout;
    formColumn->addWidget(m_formBox);
    formColumn->addLayout(buttons);
    formColumn->addStretch();
    auto* main = new QHBoxLayout(this);
    main->addWidget(m_tree);
    main->addLayout(formColumn);
    main->setSizeConstraint(QLayout::SetFixedSize);

    fillCombos();
    m_tree->setCheckBoxes(false); // loads the tree
    showForm();
}

// ---- building

QGridLayout* CMonitorAccountDlg::buildForm()
{
    auto* grid = new QGridLayout;
    m_nameLabel = new QLabel(this);
    m_name = new QLineEdit(this);
    m_name->setObjectName("nameEdit");
    m_name->setMinimumWidth(260);
    m_rs232c = new QRadioButton(ConsoleText::tr("RS-232C"), this);
    m_lan = new QRadioButton(ConsoleText::tr("LAN"), this);
    m_rs232c->setObjectName("rs232cRadio");
    m_lan->setObjectName("lanRadio");
    m_interface = new QButtonGroup(this);
    m_interface->addButton(m_rs232c, kRs232cInterface);
    m_interface->addButton(m_lan, kLanInterface);
    m_ipAddress = new QLineEdit(this);
    m_ipAddress->setObjectName("ipAddressEdit");
    m_ipAddress->setValidator(new QRegularExpressionValidator(
        QRegularExpression(R"(^(\d{1,3})(\.\d{1,3}){0,3}$)"), m_ipAddress));
    m_dataPort = new QLineEdit(this);
    m_dataPort->setObjectName("dataPortEdit");
    m_dataPort->setValidator(new QIntValidator(0, 99999, m_dataPort));
    m_macAddress = new QLineEdit(this);
    m_macAddress->setObjectName("macAddressEdit");
    m_comPort = new QComboBox(this);
    m_comPort->setObjectName("comPortCombo");
    m_baudRate = new QComboBox(this);
    m_baudRate->setObjectName("baudRateCombo");
    m_monitorId = new QComboBox(this);
    m_monitorId->setObjectName("monitorIdCombo");
    m_model = new QComboBox(this);
    m_model->setObjectName("modelCombo");
    m_model->setMinimumContentsLength(14);
    m_serialNo = new QLineEdit(this);
    m_serialNo->setObjectName("serialNoEdit");
    m_expansionBoard = new QCheckBox(ConsoleText::tr("With Expansion Board"), this);
    m_expansionBoard->setObjectName("expansionBoardCheck");
    m_use = new QCheckBox(ConsoleText::tr("Use this monitor"), this);
    m_use->setObjectName("useCheck");
    m_monitoring = new QCheckBox(ConsoleText::tr("Monitoring target"), this);
    m_monitoring->setObjectName("monitoringCheck");

    const auto label = [this](const QString& caption) { return new QLabel(caption, this); };
    QLabel* interfaceLabel = label(ConsoleText::tr("Interface :"));
    QLabel* ipLabel = label(ConsoleText::tr("IP Address :"));
    QLabel* portLabel = label(ConsoleText::tr("Data Port :"));
    QLabel* macLabel = label(ConsoleText::tr("MAC Address :"));
    QLabel* comLabel = label(ConsoleText::tr("COM Port :"));
    QLabel* baudLabel = label(ConsoleText::tr("Baud Rate :"));
    QLabel* idLabel = label(ConsoleText::tr("ID No. :"));
    QLabel* modelLabel = label(ConsoleText::tr("Model Name :"));
    QLabel* serialLabel = label(ConsoleText::tr("Serial No. :"));
    auto* radios = new QHBoxLayout;
    radios->addWidget(m_rs232c);
    radios->addWidget(m_lan);
    radios->addStretch();

    int row = 0;
    grid->addWidget(m_nameLabel, row, 0);
    grid->addWidget(m_name, row++, 1);
    grid->addWidget(interfaceLabel, row, 0);
    grid->addLayout(radios, row++, 1);
    for (auto [caption, field] : std::initializer_list<std::pair<QLabel*, QWidget*>>{
             {comLabel, m_comPort}, {baudLabel, m_baudRate}, {ipLabel, m_ipAddress}, {portLabel, m_dataPort},
             {macLabel, m_macAddress}, {idLabel, m_monitorId}, {modelLabel, m_model}, {serialLabel, m_serialNo}}) {
        grid->addWidget(caption, row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->addWidget(m_expansionBoard, row++, 1);
    grid->addWidget(m_use, row++, 1);
    grid->addWidget(m_monitoring, row++, 1);

    m_monitorWidgets = {interfaceLabel, m_rs232c,   m_lan,        idLabel, m_monitorId, modelLabel,
                        m_model,        serialLabel, m_serialNo, m_use,   m_monitoring};
    m_comWidgets = {comLabel, m_comPort, baudLabel, m_baudRate};
    m_lanWidgets = {ipLabel, m_ipAddress, portLabel, m_dataPort, macLabel, m_macAddress};

    for (QLineEdit* edit : {m_name, m_ipAddress, m_dataPort, m_macAddress, m_serialNo})
        connect(edit, &QLineEdit::textEdited, this, &CMonitorAccountDlg::markChanged);
    for (QComboBox* combo : {m_comPort, m_baudRate, m_monitorId})
        connect(combo, &QComboBox::activated, this, &CMonitorAccountDlg::markChanged);
    connect(m_expansionBoard, &QCheckBox::clicked, this, &CMonitorAccountDlg::markChanged);
    connect(m_monitoring, &QCheckBox::clicked, this, &CMonitorAccountDlg::markChanged);
    connect(m_interface, &QButtonGroup::idClicked, this, &CMonitorAccountDlg::interfaceChosen);
    connect(m_model, &QComboBox::activated, this, &CMonitorAccountDlg::modelChosen);
    connect(m_use, &QCheckBox::clicked, this, &CMonitorAccountDlg::useClicked);
    return grid;
}

void CMonitorAccountDlg::buildButtons(QGridLayout* buttons)
{
    auto* add = button(ConsoleText::tr("Add Monitor"), "addMonitorButton", this);
    auto* addGroup = button(ConsoleText::tr("Add Group"), "addGroupButton", this);
    m_delete = button(ConsoleText::tr("Delete..."), "deleteButton", this);
    m_search = button(ConsoleText::tr("Search for Monitors..."), "searchButton", this);
    m_information = button(ConsoleText::tr("Get Monitor's Information"), "informationButton", this);
    m_password = button(ConsoleText::tr("Register Password..."), "passwordButton", this);
    m_powerOn = button(ConsoleText::tr("Enable Power On"), "powerOnButton", this);
    m_export = button(ConsoleText::tr("Export..."), "exportButton", this);
    auto* import = button(ConsoleText::tr("Import..."), "importButton", this);
    auto* close = button(ConsoleText::tr("Close"), "closeButton", this);
    // The buttons that come and go with the selected monitor stand at the foot of their column, so that
    // hiding them leaves no hole.
    int row = 0;
    for (QPushButton* fixed : {add, addGroup, m_delete, m_export, import})
        buttons->addWidget(fixed, row++, 0);
    row = 0;
    for (QPushButton* varying : {m_search, m_information, m_password, m_powerOn})
        buttons->addWidget(varying, row++, 1);
    buttons->setRowStretch(5, 1);
    buttons->setColumnMinimumWidth(0, 190);
    buttons->setColumnMinimumWidth(1, 190);
    buttons->addWidget(close, 6, 1);

    connect(add, &QPushButton::clicked, this, &CMonitorAccountDlg::addMonitor);
    connect(addGroup, &QPushButton::clicked, this, &CMonitorAccountDlg::addGroup);
    connect(m_delete, &QPushButton::clicked, this, &CMonitorAccountDlg::deleteSelected);
    connect(m_information, &QPushButton::clicked, this, &CMonitorAccountDlg::getInformation);
    connect(m_powerOn, &QPushButton::clicked, this, &CMonitorAccountDlg::enablePowerOn);
    connect(m_search, &QPushButton::clicked, this, &CMonitorAccountDlg::search);
    connect(m_password, &QPushButton::clicked, this, &CMonitorAccountDlg::registerPassword);
    connect(m_export, &QPushButton::clicked, this, &CMonitorAccountDlg::exportMonitors);
    connect(import, &QPushButton::clicked, this, &CMonitorAccountDlg::importMonitors);
    connect(close, &QPushButton::clicked, this, &CMonitorAccountDlg::reject);
}

void CMonitorAccountDlg::fillCombos()
{
    m_modelAliases = readModelAliases(programFilesFolder()); // once: every selection shows the list
    for (int port : comPortChoices(1))
        m_comPort->addItem(QString("COM%1").arg(port), port);
    for (int rate : baudRateChoices())
        m_baudRate->addItem(QString("%1 bps").arg(rate), rate);
    for (int id = 0; id <= kHighestMonitorId; ++id)
        m_monitorId->addItem(text(monitorIdText(id)));
}

// ---- form and widgets

TESSERA_PANEL_DATA CMonitorAccountDlg::selectedRecord() const
{
    const PANEL_DATA* data = m_tree->selectedItemData();
    return data && data->isMonitor() ? recordFromPanelData(*data) : TESSERA_PANEL_DATA{};
}

std::vector<TESSERA_PANEL_DATA> CMonitorAccountDlg::registeredMonitors() const
{
    std::vector<TESSERA_PANEL_DATA> monitors;
    for (const PANEL_DATA& item : m_tree->allItems())
        if (item.isMonitor())
            monitors.push_back(recordFromPanelData(item));
    return monitors;
}

void CMonitorAccountDlg::showForm()
{
    const PANEL_DATA* data = m_tree->selectedItemData();
    if (!data)
        m_form = formForNothing();
    else if (data->isGroup())
        m_form = formForGroup(groupFromPanelData(*data));
    else
        m_form = formForMonitor(recordFromPanelData(*data));

    m_showing = true;
    m_name->setText(text(m_form.name));
    (m_form.interface == kLanInterface ? m_lan : m_rs232c)->setChecked(true);
    m_ipAddress->setText(text(m_form.ipAddress ? ipv4Text(m_form.ipAddress) : std::string()));
    m_dataPort->setText(QString::number(m_form.dataPort));
    m_macAddress->setText(text(m_form.macAddress));
    if (m_comPort->findData(m_form.comPort) < 0) { // a port outside 1..256 goes in at its sorted place
        m_comPort->clear();
        for (int port : comPortChoices(m_form.comPort))
            m_comPort->addItem(QString("COM%1").arg(port), port);
    }
    selectData(m_comPort, m_form.comPort);
    selectData(m_baudRate, m_form.baudRate);
    m_monitorId->setCurrentIndex(m_form.monitorId);
    m_model->clear();
    for (const std::string& model : modelChoices(m_modelAliases, modelNameAsStored(m_form.model)))
        m_model->addItem(text(model));
    m_model->setCurrentIndex(std::max(0, m_model->findText(text(m_form.model))));
    m_serialNo->setText(text(m_form.serialNo));
    m_expansionBoard->setChecked(m_form.expansionBoard);
    m_use->setChecked(m_form.use);
    m_monitoring->setChecked(m_form.monitoring);
    m_showing = false;
    applyLayout();
}

void CMonitorAccountDlg::applyLayout()
{
    const FormLayout shown = formLayout(m_form);
    m_formBox->setVisible(m_form.subject != FormSubject::Nothing);
    if (shown.nameLabel)
        m_nameLabel->setText(uiText(shown.nameLabel));
    m_nameLabel->setVisible(shown.name);
    m_name->setVisible(shown.name);
    showAll(m_monitorWidgets, shown.monitorFields);
    showAll(m_comWidgets, shown.comPort);
    showAll(m_lanWidgets, shown.lanFields);
    m_password->setVisible(shown.lanFields);
    m_expansionBoard->setVisible(shown.expansionBoard);
    m_powerOn->setVisible(shown.enablePowerOn);
    m_monitoring->setEnabled(shown.monitoringEnabled);
    m_information->setEnabled(m_form.subject == FormSubject::Monitor);
    m_delete->setEnabled(m_form.subject != FormSubject::Nothing);
    m_export->setEnabled(m_tree->allItems().size() > 0);
}

void CMonitorAccountDlg::readWidgets()
{
    m_form.name = m_name->text().toStdString();
    m_form.interface = m_interface->checkedId() == kLanInterface ? kLanInterface : kRs232cInterface;
    in_addr address{};
    m_form.ipAddress = ::inet_pton(AF_INET, m_ipAddress->text().toLatin1().constData(), &address) == 1
                           ? ntohl(address.s_addr)
                           : m_form.ipAddress;
    m_form.dataPort = m_dataPort->text().toInt();
    m_form.macAddress = m_macAddress->text().toStdString();
    m_form.comPort = m_comPort->currentData().toInt();
    m_form.baudRate = m_baudRate->currentData().toInt();
    m_form.monitorId = m_monitorId->currentIndex();
    m_form.model = m_model->currentText().toStdString();
    m_form.serialNo = m_serialNo->text().toStdString();
    m_form.expansionBoard = m_expansionBoard->isChecked();
    m_form.use = m_use->isChecked();
    m_form.monitoring = m_monitoring->isChecked();
}

void CMonitorAccountDlg::markChanged()
{
    if (!m_showing)
        m_form.changed = true;
}

void CMonitorAccountDlg::interfaceChosen()
{
    markChanged();
    m_form.interface = m_interface->checkedId();
    applyLayout();
}

void CMonitorAccountDlg::modelChosen()
{
    markChanged();
    readWidgets();
    const bool zr = setModel(m_form, m_form.model);
    m_serialNo->setText(text(m_form.serialNo));
    applyLayout();
    if (storeForm() && zr)
        enablePowerOn();
}

// A monitor joins or leaves the fleet only with a valid form; otherwise the check goes back.
void CMonitorAccountDlg::useClicked()
{
    readWidgets();
    MonitorForm trial = m_form;
    const FormVerdict verdict = checkForm(trial, selectedRecord(), registeredMonitors());
    if (!verdict.valid()) {
        m_use->setChecked(!m_use->isChecked());
        m_context.prompter.error(this, text(verdict.text));
        return;
    }
    setUse(m_form, m_form.use);
    m_form.changed = true;
    applyLayout();
    storeForm();
}

bool CMonitorAccountDlg::storeForm()
{
    if (m_form.subject == FormSubject::Nothing)
        return true;
    readWidgets();
    const TESSERA_PANEL_DATA selected = selectedRecord();
    const FormVerdict verdict = checkForm(m_form, selected, registeredMonitors());
    if (!verdict.valid()) {
        m_context.prompter.error(this, text(verdict.text));
        return false;
    }
    m_dataPort->setText(QString::number(m_form.dataPort)); // an RS-232C monitor's port may have been reset
    if (!m_form.changed)
        return true;
    const PANEL_DATA* current = m_tree->selectedItemData();
    if (!current)
        return true;
    PANEL_DATA edited = *current;
    if (m_form.subject == FormSubject::Group) {
        edited.name = m_form.name;
    } else {
        edited = panelDataFromRecord(monitorFromForm(m_form, selected));
        edited.selectable = current->selectable;
    }
    if (!m_tree->updateSelected(edited))
        return false;
    m_form.changed = false;
    return true;
}

// ---- the tree

void CMonitorAccountDlg::selectionChanged()
{
    showForm();
}

bool CMonitorAccountDlg::mayChangeSelection()
{
    return storeForm();
}

void CMonitorAccountDlg::reject()
{
    if (storeForm())
        QDialog::reject();
}

// ---- buttons

void CMonitorAccountDlg::addMonitor()
{
    if (!storeForm() || !m_tree->addNewMonitor())
        return;
    showForm();
    m_model->setCurrentIndex(0); // a new monitor starts with the first model of the list
    m_form.model = m_model->currentText().toStdString();
    m_form.changed = true;
    storeForm();
    showForm();
}

void CMonitorAccountDlg::addGroup()
{
    if (storeForm() && m_tree->addGroup())
        showForm();
}

void CMonitorAccountDlg::deleteSelected()
{
    if (m_tree->deleteSelected())
        showForm();
}

void CMonitorAccountDlg::getInformation()
{
    if (!storeForm() || m_form.subject != FormSubject::Monitor)
        return;
    const PANEL_DATA* current = m_tree->selectedItemData();
    MonitorInformation information;
    information.monitor = recordFromPanelData(*current);
    information.language = processSettings().environment.language;
    CommandItem item = monitorInformationItem(&information);
    if (!m_context.runner.run(this, uiText(235), {&item, 1}, {*current}))
        return;
    showMonitorInformation(m_form, information.monitor);
    m_showing = true;
    m_model->setCurrentIndex(std::max(0, m_model->findText(text(m_form.model))));
    if (m_model->currentText().toStdString() != m_form.model) {
        m_model->addItem(text(m_form.model));
        m_model->setCurrentIndex(m_model->count() - 1);
    }
    m_serialNo->setText(text(m_form.serialNo));
    m_macAddress->setText(text(m_form.macAddress));
    m_expansionBoard->setChecked(m_form.expansionBoard);
    m_showing = false;
    applyLayout();
    storeForm();
}

void CMonitorAccountDlg::enablePowerOn()
{
    const PANEL_DATA* current = m_tree->selectedItemData();
    if (!current || !current->isMonitor())
        return;
    const QString question = ConsoleText::tr(
        "If you want to power on ZR-1190 by this tool, the monitor's power-on command must be enabled.\n"
        "Do you enable it now?");
    if (!m_context.prompter.confirm(this, question, QMessageBox::Question))
        return;
    CommandItem item = settingItem("RSPW", 1); // kEnablePowerOnCommand
    m_context.runner.run(this, uiText(288), {&item, 1}, {*current});
}

void CMonitorAccountDlg::search()
{
    if (!storeForm())
        return;
    searchForMonitors(m_context, *m_tree, this); // reloads the tree: nothing is selected afterwards
    showForm();
}

void CMonitorAccountDlg::registerPassword()
{
    if (m_form.subject != FormSubject::Monitor)
        return;
    readWidgets();
    CMonitorPasswordDlg dialog(m_form.userName, m_form.password, this);
    if (m_context.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    if (setLogin(m_form, dialog.userName(), dialog.password()))
        m_form.changed = true;
}

void CMonitorAccountDlg::exportMonitors()
{
    if (!storeForm())
        return;
    const PANEL_DATA* selected = m_tree->selectedItemData();
    QString question = ConsoleText::tr("All monitors will be exported.");
    if (selected && selected->isGroup())
        question = ConsoleText::tr("The group \"%1\" will be exported with the groups and monitors in it.")
                       .arg(text(selected->name));
    else if (selected)
        question = ConsoleText::tr("The monitor \"%1\" will be exported.").arg(text(selected->name));
    if (!m_context.prompter.confirm(this, question, QMessageBox::Question))
        return;
    const QString proposed = m_exportPath.isEmpty() ? QString("MonitorAccount.mrf") : m_exportPath;
    const QString path = m_context.prompter.saveFileName(
        this, {ConsoleText::tr("Export..."), proposed, "Monitor Control File(*.mrf)|*.mrf||", "mrf"});
    if (path.isEmpty())
        return;
    const PanelRegistry registry;
    const std::vector<MonitorFileEntry> all = registeredInTreeOrder(registry.panels(), registry.groups());
    const std::vector<MonitorFileEntry> chosen = !selected          ? all
                                                 : selected->isGroup() ? selectGroup(all, selected->number)
                                                                       : selectMonitor(all, selected->number);
    std::string message;
    if (!writeMonitorFile(path.toStdString(), chosen, message)) {
        m_context.prompter.error(this, text(message));
        return;
    }
    m_exportPath = path;
}

void CMonitorAccountDlg::importMonitors()
{
    if (!storeForm())
        return;
    const QMessageBox::StandardButton mode = m_context.prompter.ask(
        this, {QString(),
               ConsoleText::tr("Remove current setting of registered monitors?\n\n"
                               "Yes: the imported monitors and groups replace the registered ones.\n"
                               "No: they are added to the registered ones."),
               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel});
    if (mode != QMessageBox::Yes && mode != QMessageBox::No)
        return;
    const QString path = m_context.prompter.openFileName(
        this, {ConsoleText::tr("Import..."), QString(), "Monitor Control File(*.mrf)|*.mrf||", "mrf", false});
    if (path.isEmpty())
        return;
    const ImportResult result = importMonitorFile(
        path.toStdString(), mode == QMessageBox::Yes ? ImportMode::Replace : ImportMode::Add, PanelRegistry());
    m_tree->reload();
    showForm();
    if (!result.ok)
        m_context.prompter.error(this, text(result.message));
}

} // namespace lumivane
