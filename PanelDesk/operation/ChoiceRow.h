#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;

namespace lumivane {

// A radio group of a setting page: the row box (Multi Mode) or the label (Single Mode) and one latching
// button per choice. The page decides what a click does and then shows the stored value again, so that a
// refused choice never stays marked.
class ChoiceRow : public QObject
{
    Q_OBJECT
public:
    struct Choice
    {
        QString text;
        const char* objectName;
        int value;
    };

    // The buttons wrap after `perLine` of them (0: one line).
    ChoiceRow(const QString& label, const QString& name, const std::vector<Choice>& choices, QGridLayout* grid, int row,
              QWidget* parent, int perLine = 0);

    void setMultiMode(bool multi);
    void setValues(const std::vector<int>& values); // the values of the buttons, in button order
    void setChoiceEnabled(int value, bool enabled);
    void setRowEnabled(bool enabled); // unticks the row when disabled
    void show(int value);             // marks the button of `value`, none when no button has it
    bool ticked() const;
    void tick();

signals:
    void chosen(int value);

private:
    QCheckBox* m_rowBox;
    QLabel* m_label;
    std::vector<QPushButton*> m_buttons;
    std::vector<int> m_values;
};

} // namespace lumivane
