#pragma once

#include "ScheduleRecords.h"

#include <QDialog>

#include <array>

class QCheckBox;

namespace lumivane {

class Prompter;
class ScheduleEntryControls;

// "Every Week Schedule": one weekly entry, its days, times and input. OK keeps the dialog open while no
// day is ticked or the input does not suit the schedule.
class CEveryScheduleDlg : public QDialog
{
    Q_OBJECT
public:
    // `monitorFamilies`: of the schedule's monitors; `otherInputFamilies`: of its other entries' inputs.
    CEveryScheduleDlg(Prompter& prompter, const ST_SCHEDULE_EVERY& entry, int monitorFamilies,
                      int otherInputFamilies, QWidget* parent = nullptr);

    const ST_SCHEDULE_EVERY& entry() const { return m_entry; }
    void accept() override;

private:
    void tickAll(bool ticked);

    Prompter& m_prompter;
    ST_SCHEDULE_EVERY m_entry;
    int m_monitorFamilies;
    int m_otherInputFamilies;
    std::array<QCheckBox*, 7> m_days{};
    ScheduleEntryControls* m_controls;
};

} // namespace lumivane
