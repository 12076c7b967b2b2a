#include "CConfigPeriodicalPage.h"

#include "CSendMailScheduleDlg.h"
#include "ConfigPageWidgets.h"
#include "MailSettingRules.h"
#include "WindowMessage.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumivane {
namespace {

constexpr int kDayColumnWidth = 40;

QStringList columnHeaders()
{
    QStringList headers{uiText(177)}; // "Time"
    for (int day = 0; day < 7; ++day)
        headers << weekdayText(day);
    return headers;
}

} // namespace

CConfigPeriodicalPage::CConfigPeriodicalPage(ConsoleContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_list(makeSettingList(this, "reportTimeList", columnHeaders())),
      m_editButton(makePageButton(this, ConsoleText::tr("&Edit..."), "editButton")),
      m_deleteButton(makePageButton(this, ConsoleText::tr("&Delete"), "deleteButton"))
{
    setObjectName("periodicalPage");
    m_times.Load();
    m_list->setMinimumSize(480, 220);
    m_list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int day = 1; day <= 7; ++day)
        m_list->setColumnWidth(day, kDayColumnWidth);
    auto* addButton = makePageButton(this, ConsoleText::tr("&Add..."), "addButton");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton);
    buttons->addWidget(m_editButton);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(addButton, &QPushButton::clicked, this, &CConfigPeriodicalPage::addTime);
    connect(m_editButton, &QPushButton::clicked, this, &CConfigPeriodicalPage::editTime);
    connect(m_deleteButton, &QPushButton::clicked, this, &CConfigPeriodicalPage::deleteTime);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CConfigPeriodicalPage::updateButtons);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, &CConfigPeriodicalPage::editTime);

    showRows(-1);
}

void CConfigPeriodicalPage::addTime()
{
    CSendMailScheduleDlg dialog(newReportTime(), this);
    if (m_context.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    const ST_MAIL_SCHEDULE time = dialog.time();
    m_times.Add(time.hour, time.minute, time.dayMask);
    saveAndShow(m_times.count() - 1);
}

void CConfigPeriodicalPage::editTime()
{
    const int row = selectedRow(m_list);
    const ST_MAIL_SCHEDULE* stored = m_times.at(row);
    if (!stored)
        return;
    CSendMailScheduleDlg dialog(*stored, this);
    if (m_context.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    const ST_MAIL_SCHEDULE time = dialog.time();
    m_times.Replace(row, time.hour, time.minute, time.dayMask);
    saveAndShow(row);
}

void CConfigPeriodicalPage::deleteTime()
{
    if (m_times.Delete(selectedRow(m_list)))
        saveAndShow(-1);
}

// A failed write keeps the change on screen and leaves the server with the file it has.
void CConfigPeriodicalPage::saveAndShow(int rowToSelect)
{
    showRows(rowToSelect);
    const ScheduleSaveResult saved = m_times.Save();
    if (saved)
        m_context.notifier.notify(windowMessages::kSchedulesChanged);
    else
        m_context.prompter.error(this, uiText(saved.message));
}

void CConfigPeriodicalPage::showRows(int rowToSelect)
{
    std::vector<std::vector<std::string>> rows;
    for (int index = 0; index < m_times.count(); ++index)
        rows.push_back(reportTimeRowTexts(*m_times.at(index)));
    fillSettingList(m_list, rows);
    selectRow(m_list, rowToSelect);
    updateButtons();
}

void CConfigPeriodicalPage::updateButtons()
{
    const bool selected = selectedRow(m_list) >= 0;
    m_editButton->setEnabled(selected);
    m_deleteButton->setEnabled(selected);
}

} // namespace lumivane
