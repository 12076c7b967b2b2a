#pragma once

#include <QObject>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLayout;
class QRadioButton;
class QWidget;

namespace lumivane {

class Prompter;

// What both schedule entry dialogs offer: the control radios, the power-on and power-off times (minutes
// in steps of 5) and "Change Input" with the family and the input. The dialogs add their days.
class ScheduleEntryControls : public QObject
{
    Q_OBJECT
public:
    enum Control
    {
        Both = 0,
        OnOnly = 1,
        OffOnly = 2,
        Neither = 3, // selected days only
    };

    ScheduleEntryControls(QWidget* dialog, bool offerNeither);

    QLayout* layout() const { return m_layout; }

    // Fills the controls from an entry's fields.
    void show(int onValid, int onHour, int onMinute, int offValid, int offHour, int offMinute, int inputId);
    // The entry's fields from the controls.
    void read(int& onValid, int& onHour, int& onMinute, int& offValid, int& offHour, int& offMinute,
              int& inputId) const;

    // The OK check of the input against the schedule: true when it may be stored, else the message has
    // been shown and the dialog stays open.
    bool inputAccepted(Prompter& prompter, int otherInputFamilies, int monitorFamilies) const;

private:
    QGroupBox* timeGroup(const QString& title, const char* name, QComboBox*& hours, QComboBox*& minutes);
    void controlChosen();
    void fillInputs();
    void inputBoxToggled();

    QWidget* m_dialog;
    QLayout* m_layout;
    QButtonGroup* m_control;
    QGroupBox* m_onGroup;
    QGroupBox* m_offGroup;
    QComboBox* m_onHour;
    QComboBox* m_onMinute;
    QComboBox* m_offHour;
    QComboBox* m_offMinute;
    QCheckBox* m_changeInput;
    QRadioButton* m_mainSeries;
    QRadioButton* m_zrFamily;
    QComboBox* m_inputs;
};

} // namespace lumivane
