#include "COperationTabCtrl.h"

#include "common/UiText.h"

#include <QLabel>
#include <QVBoxLayout>

namespace lumivane {

CInvalidOperation::CInvalidOperation(QWidget* parent) : QWidget(parent), m_text(new QLabel(this))
{
    setObjectName("invalidOperationPage");
    m_text->setObjectName("messageLabel");
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(this))->addWidget(m_text);
}

void CInvalidOperation::setMessage(const QString& text)
{
    m_text->setText(text);
}

QString CInvalidOperation::message() const
{
    return m_text->text();
}

COperationTabCtrl::COperationTabCtrl(QWidget* parent)
    : QTabWidget(parent), m_message(new CInvalidOperation(this)), m_control(new CInvalidOperation(this))
{
    setObjectName("operationTabs");
    m_control->setObjectName("controlPage");
    m_control->setMessage(ConsoleText::tr("The settings of this input are not available in this version of Lumivane."));
    m_message->hide();
    m_control->hide();
}

void COperationTabCtrl::showMessage(const QString& text)
{
    m_message->setMessage(text);
    showPage(m_message, ConsoleText::tr("Message"));
}

void COperationTabCtrl::showControl()
{
    showPage(m_control, ConsoleText::tr("CONTROL"));
}

void COperationTabCtrl::showPage(QWidget* page, const QString& tab)
{
    if (count() == 1 && widget(0) == page) {
        setTabText(0, tab);
        return;
    }
    while (count() > 0) {
        QWidget* shown = widget(0);
        removeTab(0);
        shown->hide();
    }
    addTab(page, tab);
    page->show();
}

} // namespace lumivane
