#pragma once

#include <QObject>
#include <QString>

class QCheckBox;
class QGridLayout;
class QLabel;
class QSlider;
class QSpinBox;

namespace lumivane {

// The controls of one numeric setting on a setting page: the row box (Multi Mode) or the label (Single
// Mode), a slider and an edit box with spin buttons. It reports a value the operator settled on (slider
// released or moved by keys or page clicks, Enter in the edit box, a spin step); the page decides whether
// it is sent and calls show() with the value that holds afterwards.
class SliderRow : public QObject
{
    Q_OBJECT
public:
    // Adds the row's controls to `grid` at `row`; `name` is the objects' prefix ("bright").
    SliderRow(const QString& label, const QString& name, int minimum, int maximum, QGridLayout* grid, int row,
              QWidget* parent);

    void setMultiMode(bool multi); // row box shown (unticked) or label shown
    void show(int value);          // slider and edit box, without reporting
    bool ticked() const;
    void tick();
    int value() const;

signals:
    void settled(int value);

private:
    void report(int value);

    QCheckBox* m_rowBox;
    QLabel* m_label;
    QSlider* m_slider;
    QSpinBox* m_edit;
    bool m_showing = false;
};

} // namespace lumivane
