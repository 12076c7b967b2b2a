#include "COperationTabCtrl.h"

#include "CRCOperation.h"
#include "CZRRcOperation.h"
#include "common/UiText.h"

#include <QLabel>
#include <QStackedWidget>
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

COperationTabCtrl::COperationTabCtrl(ConsoleContext& context, CPanelTreeCtrl& tree, MONITOR_SETTING& setting,
                                     QWidget* parent)
    : QTabWidget(parent), m_pages(new QStackedWidget(this)), m_message(new CInvalidOperation(this)),
      m_control(new CRCOperation(context, tree, setting.control, this)),
      m_zrControl(new CZRRcOperation(context, tree, setting.zrControl, this))
{
    setObjectName("operationTabs");
    // One tab over a stack of every page: the control keeps the size of the largest page, so the window
    // keeps its size when the page changes.
    for (QWidget* page : std::initializer_list<QWidget*>{m_message, m_control, m_zrControl})
        m_pages->addWidget(page);
    addTab(m_pages, QString());
}

void COperationTabCtrl::showMessage(const QString& text)
{
    m_message->setMessage(text);
    showPage(m_message, ConsoleText::tr("Message"));
}

CRCOperation* COperationTabCtrl::showControl(bool multi, InputModeIndex input, ModelCode model)
{
    m_control->setMultiMode(multi);
    m_control->setInputMode(input, model);
    showPage(m_control, ConsoleText::tr("CONTROL"));
    return m_control;
}

CZRRcOperation* COperationTabCtrl::showZrControl(bool multi, InputModeIndex input)
{
    m_zrControl->setMultiMode(multi);
    m_zrControl->setInputMode(input);
    showPage(m_zrControl, ConsoleText::tr("CONTROL"));
    return m_zrControl;
}

QWidget* COperationTabCtrl::shownPage() const
{
    return m_pages->currentWidget();
}

void COperationTabCtrl::showPage(QWidget* page, const QString& tab)
{
    m_pages->setCurrentWidget(page);
    setTabText(0, tab);
}

} // namespace lumivane
