#include "CSelectMonitorDlg.h"

#include "common/UiText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lumivane {

CSelectMonitorDlg::CSelectMonitorDlg(const std::vector<PANEL_DATA>& monitors, QWidget* parent)
    : QDialog(parent), m_monitors(monitors), m_names(new QComboBox(this))
{
    setObjectName("selectMonitorDialog");
    setWindowTitle(ConsoleText::tr("Select Monitor"));
    m_names->setObjectName("monitorCombo");
    m_names->setMinimumContentsLength(28);
    for (const PANEL_DATA& monitor : m_monitors)
        m_names->addItem(QString::fromStdString(monitor.name));
    m_names->setCurrentIndex(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_names);
    layout->addWidget(buttons);
}

void CSelectMonitorDlg::select(int position)
{
    m_names->setCurrentIndex(position);
}

const PANEL_DATA& CSelectMonitorDlg::chosen() const
{
    return m_monitors.at(size_t(std::max(0, m_names->currentIndex())));
}

} // namespace lumivane
