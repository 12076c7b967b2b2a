#include "CConfigSheet.h"

#include "CConfigMailPage.h"
#include "CConfigMonitoringPage.h"
#include "CConfigPeriodicalPage.h"
#include "CConfigVersionPage.h"
#include "common/UiText.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lumivane {

CConfigSheet::CConfigSheet(ConsoleContext& context, Authority authority, QWidget* parent)
    : QDialog(parent), m_pages(new QTabWidget(this)), m_versionPage(new CConfigVersionPage)
{
    setWindowTitle(uiText(122));
    m_pages->setObjectName("sheetPages");
    if (authority == Authority::Administrator) {
        m_monitoringPage = new CConfigMonitoringPage(context);
        m_pages->addTab(new CConfigMailPage(context), ConsoleText::tr("Mail Address"));
        m_pages->addTab(new CConfigPeriodicalPage(context), ConsoleText::tr("Periodical Mail"));
        m_pages->addTab(m_monitoringPage, ConsoleText::tr("Monitoring"));
    }
    m_pages->addTab(m_versionPage, ConsoleText::tr("Version"));
    m_pages->setMinimumSize(360, 160);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CConfigSheet::acceptPages);
    connect(buttons, &QDialogButtonBox::rejected, this, &CConfigSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CConfigSheet::showVersionPage()
{
    m_pages->setCurrentWidget(m_versionPage);
}

void CConfigSheet::acceptPages()
{
    if (m_monitoringPage)
        m_monitoringPage->apply();
    accept();
}

} // namespace lumivane
