#include "CEveryScheduleDlg.h"

#include "ScheduleEntryControls.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

CEveryScheduleDlg::CEveryScheduleDlg(Prompter& prompter, const ST_SCHEDULE_EVERY& entry, int monitorFamilies,
                                     int otherInputFamilies, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_entry(entry), m_monitorFamilies(monitorFamilies),
      m_otherInputFamilies(otherInputFamilies), m_controls(new ScheduleEntryControls(this, false))
{
    setObjectName("everyScheduleDialog");
    setWindowTitle(ConsoleText::tr("Every Week Schedule"));
    auto* daysBox = new QGroupBox(ConsoleText::tr("Days"), this);
    auto* days = new QGridLayout(daysBox);
    for (int day = 0; day < 7; ++day) {
        m_days[day] = new QCheckBox(weekdayText(day), daysBox);
        m_days[day]->setObjectName(QString("day%1Check").arg(day));
        m_days[day]->setChecked(entry.dayMask & (1 << day));
        days->addWidget(m_days[day], 0, day);
    }
    auto* all = new QPushButton(ConsoleText::tr("Select All"), daysBox);
    auto* none = new QPushButton(ConsoleText::tr("Select None"), daysBox);
    all->setObjectName("selectAllButton");
    none->setObjectName("selectNoneButton");
    days->addWidget(all, 1, 4, 1, 3);
    days->addWidget(none, 2, 4, 1, 3);
    connect(all, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { tickAll(false); });

    m_controls->show(entry.onValid, entry.onHour, entry.onMinute, entry.offValid, entry.offHour, entry.offMinute,
                     entry.inputId);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CEveryScheduleDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEveryScheduleDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(daysBox);
    layout->addLayout(m_controls->layout());
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CEveryScheduleDlg::tickAll(bool ticked)
{
    for (QCheckBox* day : m_days)
        day->setChecked(ticked);
}

void CEveryScheduleDlg::accept()
{
    int dayMask = 0;
    for (int day = 0; day < 7; ++day)
        if (m_days[day]->isChecked())
            dayMask |= 1 << day;
    if (dayMask == 0) {
        m_prompter.error(this, uiText(208)); // "Please select schedule days."
        return;
    }
    if (!m_controls->inputAccepted(m_prompter, m_otherInputFamilies, m_monitorFamilies))
        return;
    m_entry.dayMask = dayMask;
    m_controls->read(m_entry.onValid, m_entry.onHour, m_entry.onMinute, m_entry.offValid, m_entry.offHour,
                     m_entry.offMinute, m_entry.inputId);
    QDialog::accept();
}

} // namespace lumivane
