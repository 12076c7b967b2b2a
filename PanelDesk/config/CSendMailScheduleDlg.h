#pragma once

#include "ScheduleRecords.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;

namespace lumivane {

// "Set Send Day and Time": the weekdays and the time of one periodic report. No day at all is
// accepted: such a report is never sent.
class CSendMailScheduleDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CSendMailScheduleDlg(const ST_MAIL_SCHEDULE& time, QWidget* parent = nullptr);

    ST_MAIL_SCHEDULE time() const;

private:
    void selectAllDays(bool selected);

    std::array<QCheckBox*, 7> m_dayChecks{}; // Sunday first, as the bits of dayMask
    QComboBox* m_hourCombo;
    QComboBox* m_minuteCombo;
};


} // namespace lumivane
