#pragma once

#include "ScheduleRecords.h"

#include <QDialog>

class QDateEdit;
class QRadioButton;

namespace lumivane {

class Prompter;
class ScheduleEntryControls;

// "Selected Days Schedule": one day or a term from one day to another, with times and input; "Neither
// power on nor off." makes a day without switching (the weekly entries do not apply on it).
class CEspecialScheduleDlg : public QDialog
{
    Q_OBJECT
public:
    CEspecialScheduleDlg(Prompter& prompter, const ST_SCHEDULE_ESPECIAL& entry, int monitorFamilies,
                         int otherInputFamilies, QWidget* parent = nullptr);

    const ST_SCHEDULE_ESPECIAL& entry() const { return m_entry; }
    void accept() override;

private:
    void termChosen();

    Prompter& m_prompter;
    ST_SCHEDULE_ESPECIAL m_entry;
    int m_monitorFamilies;
    int m_otherInputFamilies;
    QRadioButton* m_day;
    QRadioButton* m_term;
    QDateEdit* m_from;
    QDateEdit* m_to;
    ScheduleEntryControls* m_controls;
};

} // namespace lumivane
