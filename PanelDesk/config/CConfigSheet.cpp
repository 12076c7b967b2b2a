#include "CConfigSheet.h"

#include "CConfigVersionPage.h"
#include "common/UiText.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lumivane {

CConfigSheet::CConfigSheet(Prompter& prompter, Authority authority, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_pages(new QTabWidget(this)), m_versionPage(new CConfigVersionPage)
{
    (void)authority; // decides which pages come before the version page, once they exist
    setWindowTitle(uiText(122));
    m_pages->setObjectName("sheetPages");
    m_pages->addTab(m_versionPage, ConsoleText::tr("Version"));
    m_pages->setMinimumSize(360, 160);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CConfigSheet::accept);
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

} // namespace lumivane
