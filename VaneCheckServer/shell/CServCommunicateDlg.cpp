#include "CServCommunicateDlg.h"

#include "common/UiText.h"

#include <QDialogButtonBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lumivane {

CServCommunicateDlg::CServCommunicateDlg(int total, std::function<void()> cancel, QWidget* parent)
    : QDialog(parent), m_cancel(std::move(cancel)), m_bar(new QProgressBar(this)), m_total(std::max(total, 1))
{
    setWindowTitle(uiText(571));
    setModal(true);
    m_bar->setRange(0, m_total);
    m_bar->setValue(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &CServCommunicateDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 50);
}

void CServCommunicateDlg::setDone(int done)
{
    m_bar->setValue(std::clamp(done, 0, m_total));
}

int CServCommunicateDlg::shownValue() const
{
    return m_bar->value();
}

void CServCommunicateDlg::reject()
{
    // The window stays until the run has stopped and closes it.
    if (m_cancel)
        m_cancel();
    if (QPushButton* cancel = findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel))
        cancel->setEnabled(false);
}

} // namespace lumivane
