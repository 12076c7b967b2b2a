#include "CSendMailScheduleDlg.h"

#include "MailSettingRules.h"
#include "common/UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

CSendMailScheduleDlg::CSendMailScheduleDlg(const ST_MAIL_SCHEDULE& time, QWidget* parent)
    : QDialog(parent), m_hourCombo(new QComboBox(this)), m_minuteCombo(new QComboBox(this))
{
    setWindowTitle(ConsoleText::tr("Set Send Day and Time"));

    auto* days = new QGroupBox(ConsoleText::tr("Day"), this);
    auto* dayRow = new QHBoxLayout;
    dayRow->setSpacing(12);
    for (int day = 0; day < 7; ++day) {
        m_dayChecks[size_t(day)] = new QCheckBox(weekdayText(day), days);
        m_dayChecks[size_t(day)]->setObjectName(QString("dayCheck%1").arg(day));
        m_dayChecks[size_t(day)]->setChecked(time.dayMask & (1 << day));
        dayRow->addWidget(m_dayChecks[size_t(day)]);
    }
    auto* selectAll = new QPushButton(ConsoleText::tr("Select &All"), days);
    selectAll->setObjectName("selectAllButton");
    selectAll->setAutoDefault(false);
    auto* selectNone = new QPushButton(ConsoleText::tr("Select &None"), days);
    selectNone->setObjectName("selectNoneButton");
    selectNone->setAutoDefault(false);
    auto* selectRow = new QHBoxLayout;
    selectRow->addStretch();
    selectRow->addWidget(selectAll);
    selectRow->addWidget(selectNone);
    auto* dayLayout = new QVBoxLayout(days);
    dayLayout->addLayout(dayRow);
    dayLayout->addLayout(selectRow);

    m_hourCombo->setObjectName("hourCombo");
    for (int hour = 0; hour < 24; ++hour)
        m_hourCombo->addItem(QString::asprintf("%02d", hour));
    m_hourCombo->setCurrentIndex(reportHourPosition(time.hour));
    m_minuteCombo->setObjectName("minuteCombo");
    for (int position = 0; position < kReportMinuteChoices; ++position)
        m_minuteCombo->addItem(QString::asprintf("%02d", reportMinuteAt(position)));
    m_minuteCombo->setCurrentIndex(reportMinutePosition(time.minute));
    auto* timeGroup = new QGroupBox(ConsoleText::tr("Time"), this);
    auto* timeRow = new QHBoxLayout(timeGroup);
    auto* hourLabel = new QLabel(ConsoleText::tr("&Hour:"), timeGroup);
    hourLabel->setBuddy(m_hourCombo);
    auto* minuteLabel = new QLabel(ConsoleText::tr("&Minute:"), timeGroup);
    minuteLabel->setBuddy(m_minuteCombo);
    timeRow->addWidget(hourLabel);
    timeRow->addWidget(m_hourCombo);
    timeRow->addSpacing(16);
    timeRow->addWidget(minuteLabel);
    timeRow->addWidget(m_minuteCombo);
    timeRow->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CSendMailScheduleDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSendMailScheduleDlg::reject);
    connect(selectAll, &QPushButton::clicked, this, [this] { selectAllDays(true); });
    connect(selectNone, &QPushButton::clicked, this, [this] { selectAllDays(false); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(days);
    layout->addWidget(timeGroup);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ST_MAIL_SCHEDULE CSendMailScheduleDlg::time() const
{
    ST_MAIL_SCHEDULE time;
    for (int day = 0; day < 7; ++day)
        if (m_dayChecks[size_t(day)]->isChecked())
            time.dayMask |= 1 << day;
    time.hour = std::max(m_hourCombo->currentIndex(), 0);
    time.minute = reportMinuteAt(m_minuteCombo->currentIndex());
    return time;
}

void CSendMailScheduleDlg::selectAllDays(bool selected)
{
    for (QCheckBox* check : m_dayChecks)
        check->setChecked(selected);
}

} // namespace lumivane
