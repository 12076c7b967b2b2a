#include "CMonitorFindDlg.h"

#include "ProfileFile.h"
#include "Settings.h"
#include "common/UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {
namespace {

constexpr int kAllInterfaces = -1;
constexpr int kLan = 0;
constexpr int kHighestComPort = 256;

// Read from the file rather than the start-up copy: lumictl or another console may have changed it.
int storedSearchPort()
{
    OperatorSettings settings;
    settings.readFrom(ProfileFile::load(operatorIniPath()));
    const int port = settings.searchPort;
    return port > 0 && port <= 65535 ? port : CMonitorFindDlg::kDefaultSearchPort;
}

} // namespace

CMonitorFindDlg::CMonitorFindDlg(QWidget* parent)
    : QDialog(parent), m_interfaceCombo(new QComboBox(this)), m_searchPortEdit(new QLineEdit(this)),
      m_baudCombo(new QComboBox(this)), m_daisyChainCheck(new QCheckBox(this))
{
    setWindowTitle(ConsoleText::tr("Select interface"));
    m_interfaceCombo->setObjectName("interfaceCombo");
    m_interfaceCombo->addItem(uiText(277), kAllInterfaces);
    m_interfaceCombo->addItem(QStringLiteral("LAN"), kLan);
    for (int port = 1; port <= kHighestComPort; ++port)
        m_interfaceCombo->addItem(QString("COM%1").arg(port), port);
    m_interfaceCombo->setMaxVisibleItems(12);

    m_searchPortEdit->setObjectName("searchPortEdit");
    m_searchPortEdit->setValidator(new QIntValidator(1, 65535, m_searchPortEdit));
    m_searchPortEdit->setText(QString::number(storedSearchPort()));

    m_baudCombo->setObjectName("baudCombo");
    for (int rate : {9600, 19200, 38400})
        m_baudCombo->addItem(QString::number(rate), rate);

    m_daisyChainCheck->setObjectName("daisyChainCheck");
    m_daisyChainCheck->setText(ConsoleText::tr("Search daisy chained monitors"));

    auto* form = new QFormLayout;
    form->addRow(ConsoleText::tr("Search Interface :"), m_interfaceCombo);
    form->addRow(ConsoleText::tr("Search Port :"), m_searchPortEdit);
    form->addRow(ConsoleText::tr("Baud Rate :"), m_baudCombo);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_okButton = buttons->button(QDialogButtonBox::Ok);
    m_okButton->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CMonitorFindDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMonitorFindDlg::reject);
    connect(m_interfaceCombo, &QComboBox::currentIndexChanged, this, &CMonitorFindDlg::updateEnabling);
    connect(m_searchPortEdit, &QLineEdit::textChanged, this, &CMonitorFindDlg::updateEnabling);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_daisyChainCheck);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    updateEnabling();
}

int CMonitorFindDlg::interfaceChoice() const
{
    return m_interfaceCombo->currentData().toInt();
}

int CMonitorFindDlg::searchPort() const
{
    bool ok = false;
    const int port = m_searchPortEdit->text().toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? port : 0;
}

int CMonitorFindDlg::baudRate() const
{
    return m_baudCombo->currentData().toInt();
}

bool CMonitorFindDlg::daisyChain() const
{
    return m_daisyChainCheck->isChecked();
}

void CMonitorFindDlg::updateEnabling()
{
    const int choice = interfaceChoice();
    const bool searchesLan = choice == kAllInterfaces || choice == kLan;
    m_searchPortEdit->setEnabled(searchesLan);
    m_baudCombo->setEnabled(choice != kLan);
    // A LAN search needs a port to ask on; an empty or zero port would search nothing.
    m_okButton->setEnabled(!searchesLan || searchPort() != 0);
}

void CMonitorFindDlg::accept()
{
    const int port = searchPort();
    if (port != 0) {
        // The next search (and lumictl search) starts from this port. A data folder that cannot be written
        // costs only the remembered value, not this search.
        writeOperatorSetting(settingKeys::kConfig, "SearchPort", port);
        processSettings().operatorSettings.searchPort = port;
    }
    QDialog::accept();
}

} // namespace lumivane
