#include "CErrorDlg.h"

#include "ServerLists.h"
#include "common/UiText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace lumivane {

CErrorDlg::CErrorDlg(QWidget* parent) : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(uiText(528));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    auto* heading = new QHBoxLayout;
    heading->addWidget(icon);
    heading->addWidget(new QLabel(ConsoleText::tr("ERROR detected!"), this), 1);

    m_list = makeServerList({uiText(536), uiText(537)}, {100, 1000}, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(dialogUnits(this, 560), dialogUnits(this, 300));
}

void CErrorDlg::addEntries(const ErrorListEntries& entries)
{
    for (const auto& [name, text] : entries.entries())
        addEntry(name, text);
}

bool CErrorDlg::addEntry(const std::string& monitorName, const std::string& text)
{
    if (!m_entries.add(monitorName, text))
        return false;
    appendTextLines(m_list, {{monitorName, text}});
    return true;
}

int CErrorDlg::lineCount() const
{
    return m_list->topLevelItemCount();
}

void CErrorDlg::present()
{
    show();
    raise();
    activateWindow();
}

} // namespace lumivane
