#include "CServPropertyDlg.h"

#include "ServerLists.h"
#include "common/UiText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace lumivane {

CServPropertyDlg::CServPropertyDlg(const ServerPanel& panel, const std::optional<ScheduleEvent>& nextAction,
                                   QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(uiFormat(578, panel.data.szName));
    const QStringList headers{QStringLiteral("header"), QStringLiteral("data")};
    m_information = makeServerList(headers, {150, 200}, this);
    m_status = makeServerList(headers, {150, 1000}, this);
    m_information->setHeaderHidden(true);
    m_status->setHeaderHidden(true);
    appendTextLines(m_information, monitorInformationLines(panel, nextAction));
    appendTextLines(m_status, monitorStatusLines(panel));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ConsoleText::tr("Monitor Information :"), this));
    layout->addWidget(m_information, 3);
    layout->addWidget(new QLabel(ConsoleText::tr("Monitor Status :"), this));
    layout->addWidget(m_status, 2);
    layout->addWidget(buttons);
    resize(dialogUnits(this, 400), dialogUnits(this, 330));
}

} // namespace lumivane
