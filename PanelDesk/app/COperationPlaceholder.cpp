#include "COperationPlaceholder.h"

#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumivane {

COperationPlaceholder::COperationPlaceholder(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_tree(new CPanelTreeCtrl(prompter, this)), m_note(new QLabel(this))
{
    setObjectName("operationPage");
    m_tree->setMode(PanelTreeMode::Operation);
    m_tree->setFixedSize(260, 360);

    auto* operation = new QGroupBox(ConsoleText::tr("Operation"), this);
    m_note->setObjectName("operationNote");
    m_note->setWordWrap(true);
    m_note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    (new QVBoxLayout(operation))->addWidget(m_note);
    operation->setFixedWidth(360);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    layout->addWidget(operation);
    m_tree->setCheckBoxes(true);
    describe();
}

void COperationPlaceholder::setRestricted(bool restricted, bool inputSelection)
{
    m_restricted = restricted;
    m_inputSelection = inputSelection;
    describe();
}

void COperationPlaceholder::setCustomizeMask(uint16_t mask)
{
    m_customizeMask = mask;
    describe();
}

void COperationPlaceholder::reloadMonitorTree()
{
    m_tree->reload();
}

void COperationPlaceholder::describe()
{
    QString offered;
    if (m_restricted)
        offered = m_inputSelection ? ConsoleText::tr("Power and input mode") : ConsoleText::tr("Power");
    else if (m_customizeMask & 0x4000) // "CONTROL"
        offered = ConsoleText::tr("Power, input mode and the setting pages");
    else
        offered = ConsoleText::tr("Power and input mode");
    m_note->setText(ConsoleText::tr("Power, input and the settings of the checked monitors are operated here once the "
                                    "operation window is part of the console.") +
                    "\n\n" + ConsoleText::tr("Offered to this operator:") + " " + offered);
}

} // namespace lumivane
