#include "SliderRow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace lumivane {

SliderRow::SliderRow(const QString& label, const QString& name, int minimum, int maximum, QGridLayout* grid, int row,
                     QWidget* parent)
    : QObject(parent), m_rowBox(new QCheckBox(label, parent)), m_label(new QLabel(label, parent)),
      m_slider(new QSlider(Qt::Horizontal, parent)), m_edit(new QSpinBox(parent))
{
    m_rowBox->setObjectName(name + "Check");
    m_label->setObjectName(name + "Label");
    m_slider->setObjectName(name + "Slider");
    m_edit->setObjectName(name + "Edit");
    m_slider->setRange(minimum, maximum);
    m_edit->setRange(minimum, maximum);
    m_edit->setKeyboardTracking(false); // typing reports on Enter or when the edit box is left
    m_slider->setTracking(false);       // dragging reports once, on release

    m_label->setMinimumWidth(m_rowBox->sizeHint().width()); // the page keeps its width in both modes
    grid->addWidget(m_rowBox, row, 0);
    grid->addWidget(m_label, row, 0);
    grid->addWidget(m_slider, row, 1);
    grid->addWidget(m_edit, row, 2);

    connect(m_slider, &QSlider::valueChanged, this, [this](int value) { report(value); });
    connect(m_slider, &QSlider::sliderMoved, m_edit, [this](int value) {
        const QSignalBlocker quiet(m_edit);
        m_edit->setValue(value); // the edit box follows the drag; nothing is sent until release
    });
    connect(m_edit, &QSpinBox::valueChanged, this, [this](int value) { report(value); });
    setMultiMode(false);
}

void SliderRow::setMultiMode(bool multi)
{
    m_rowBox->setVisible(multi);
    m_rowBox->setChecked(false);
    m_label->setVisible(!multi);
}

void SliderRow::show(int value)
{
    m_showing = true;
    m_slider->setValue(value);
    m_edit->setValue(value);
    m_showing = false;
}

bool SliderRow::ticked() const
{
    return m_rowBox->isChecked();
}

void SliderRow::tick()
{
    m_rowBox->setChecked(true);
}

int SliderRow::value() const
{
    return m_edit->value();
}

void SliderRow::report(int value)
{
    if (m_showing)
        return;
    show(value); // both controls agree before the page decides
    emit settled(value);
}

} // namespace lumivane
