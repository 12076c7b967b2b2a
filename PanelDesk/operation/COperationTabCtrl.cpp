#include "COperationTabCtrl.h"

#include "CRCOperation.h"
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

COperationTabCtrl::COperationTabCtrl(ConsoleContext& context, CPanelTreeCtrl& tree, ControlBlock& control,
                                     QWidget* parent)
    : QTabWidget(parent), m_message(new CInvalidOperation(this)),
      m_control(new CRCOperation(context, tree, control, this)), m_zrControl(new CInvalidOperation(this))
{
    setObjectName("operationTabs");
    m_zrControl->setObjectName("zrControlPage");
    m_zrControl->setMessage(
        ConsoleText::tr("The settings of the ZR-1190 family are not available in this version of Lumivane."));
    m_message->hide();
    m_control->hide();
    m_zrControl->hide();
}

void COperationTabCtrl::showMessage(const QString& text)
{
    m_message->setMessage(text);
    showPage(m_message, ConsoleText::tr("Message"));
}

CRCOperation* COperationTabCtrl::showControl(bool multi, InputModeIndex input)
{
    m_control->setMultiMode(multi);
    m_control->setInputMode(input);
    showPage(m_control, ConsoleText::tr("CONTROL"));
    return m_control;
}

void COperationTabCtrl::showZrControl()
{
    showPage(m_zrControl, ConsoleText::tr("CONTROL"));
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
