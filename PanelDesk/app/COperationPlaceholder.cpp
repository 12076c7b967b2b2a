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

    auto* operation = new QGroupBox(uiText("Operation"), this);
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
        offered = m_inputSelection ? uiText("Power and input mode") : uiText("Power");
    else if (m_customizeMask & 0x4000) // "CONTROL"
        offered = uiText("Power, input mode and the setting pages");
    else
        offered = uiText("Power and input mode");
    m_note->setText(uiText("Power, input and the settings of the checked monitors are operated here once the "
                           "operation window is part of the console.") +
                    "\n\n" + uiText("Offered to this operator:") + " " + offered);
}

} // namespace lumivane
