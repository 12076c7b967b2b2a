#include "SelectedDaysScheduleDlg.h"

#include "ScheduleEntryControls.h"
#include "common/UiText.h"

#include <QDate>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumivane {

namespace {

QDateEdit* datePicker(const QString& name, QWidget* parent)
{
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat("yyyy/MM/dd");
    picker->setDateRange(QDate(1970, 1, 1), QDate(2099, 12, 31));
    return picker;
}

QDate dateOr(int year, int month, int day, const QDate& fallback)
{
    const QDate date(year, month, day);
    return date.isValid() ? date : fallback;
}

} // namespace

CEspecialScheduleDlg::CEspecialScheduleDlg(Prompter& prompter, const ST_SCHEDULE_ESPECIAL& entry,
                                           int monitorFamilies, int otherInputFamilies, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_entry(entry), m_monitorFamilies(monitorFamilies),
      m_otherInputFamilies(otherInputFamilies), m_day(new QRadioButton(ConsoleText::tr("Day"), this)),
      m_term(new QRadioButton(ConsoleText::tr("Term"), this)), m_from(datePicker("fromDate", this)),
      m_to(datePicker("toDate", this)), m_controls(new ScheduleEntryControls(this, true))
{
    setObjectName("especialScheduleDialog");
    setWindowTitle(ConsoleText::tr("Selected Days Schedule"));
    m_day->setObjectName("dayRadio");
    m_term->setObjectName("termRadio");
    const QDate today = QDate::currentDate();
    m_from->setDate(dateOr(entry.fromYear, entry.fromMonth, entry.fromDay, today));
    m_to->setDate(dateOr(entry.toYear, entry.toMonth, entry.toDay, m_from->date()));
    (m_from->date() == m_to->date() ? m_day : m_term)->setChecked(true);

    auto* daysBox = new QGroupBox(ConsoleText::tr("Date"), this);
    auto* days = new QGridLayout(daysBox);
    days->addWidget(m_day, 0, 0);
    days->addWidget(m_term, 1, 0);
    days->addWidget(m_from, 0, 1, 2, 1);
    days->addWidget(new QLabel(ConsoleText::tr("to"), daysBox), 0, 2, 2, 1);
    days->addWidget(m_to, 0, 3, 2, 1);
    // The term never runs backwards: moving one end past the other takes the other along.
    connect(m_from, &QDateEdit::dateChanged, this, [this](const QDate& from) {
        if (m_day->isChecked() || m_to->date() < from)
            m_to->setDate(from);
    });
    connect(m_to, &QDateEdit::dateChanged, this, [this](const QDate& to) {
        if (m_from->date() > to)
            m_from->setDate(to);
    });
    connect(m_day, &QRadioButton::toggled, this, &CEspecialScheduleDlg::termChosen);
    termChosen();

    m_controls->show(entry.onValid, entry.onHour, entry.onMinute, entry.offValid, entry.offHour, entry.offMinute,
                     entry.inputId);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CEspecialScheduleDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEspecialScheduleDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(daysBox);
    layout->addLayout(m_controls->layout());
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CEspecialScheduleDlg::termChosen()
{
    m_to->setEnabled(m_term->isChecked());
    if (m_day->isChecked())
        m_to->setDate(m_from->date());
}

void CEspecialScheduleDlg::accept()
{
    if (!m_controls->inputAccepted(m_prompter, m_otherInputFamilies, m_monitorFamilies))
        return;
    const QDate from = m_from->date();
    const QDate to = m_day->isChecked() ? from : m_to->date();
    m_entry.fromYear = from.year();
    m_entry.fromMonth = from.month();
    m_entry.fromDay = from.day();
    m_entry.toYear = to.year();
    m_entry.toMonth = to.month();
    m_entry.toDay = to.day();
    m_controls->read(m_entry.onValid, m_entry.onHour, m_entry.onMinute, m_entry.offValid, m_entry.offHour,
                     m_entry.offMinute, m_entry.inputId);
    QDialog::accept();
}

} // namespace lumivane
