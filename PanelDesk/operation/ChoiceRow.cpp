#include "ChoiceRow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace lumivane {

ChoiceRow::ChoiceRow(const QString& label, const QString& name, const std::vector<Choice>& choices, QGridLayout* grid,
                     int row, QWidget* parent, int perLine)
    : QObject(parent), m_rowBox(new QCheckBox(label, parent)), m_label(new QLabel(label, parent))
{
    m_rowBox->setObjectName(name + "Check");
    m_label->setObjectName(name + "Label");
    auto* buttons = new QGridLayout;
    const int lineLength = perLine > 0 ? perLine : int(choices.size());
    for (size_t i = 0; i < choices.size(); ++i) {
        auto* button = new QPushButton(choices[i].text, parent);
        button->setObjectName(choices[i].objectName);
        button->setCheckable(true);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { emit chosen(m_values[i]); });
        buttons->addWidget(button, int(i) / lineLength, int(i) % lineLength);
        m_buttons.push_back(button);
        m_values.push_back(choices[i].value);
    }
    buttons->setColumnStretch(lineLength, 1);
    m_label->setMinimumWidth(m_rowBox->sizeHint().width()); // the page keeps its width in both modes
    grid->addWidget(m_rowBox, row, 0);
    grid->addWidget(m_label, row, 0);
    grid->addLayout(buttons, row, 1, 1, 2);
    setMultiMode(false);
}

void ChoiceRow::setMultiMode(bool multi)
{
    m_rowBox->setVisible(multi);
    m_rowBox->setChecked(false);
    m_label->setVisible(!multi);
}

void ChoiceRow::setValues(const std::vector<int>& values)
{
    m_values = values;
}

void ChoiceRow::setChoiceEnabled(int value, bool enabled)
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_values[i] == value)
            m_buttons[i]->setEnabled(enabled);
}

void ChoiceRow::setRowEnabled(bool enabled)
{
    m_rowBox->setEnabled(enabled);
    m_label->setEnabled(enabled);
    if (!enabled)
        m_rowBox->setChecked(false);
    for (QPushButton* button : m_buttons)
        button->setEnabled(enabled);
}

void ChoiceRow::show(int value)
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setChecked(m_values[i] == value);
}

bool ChoiceRow::ticked() const
{
    return m_rowBox->isChecked();
}

void ChoiceRow::tick()
{
    m_rowBox->setChecked(true);
}

} // namespace lumivane
