#include "CScheduleDlg.h"

#include "SelectedDaysScheduleDlg.h"
#include "CEveryScheduleDlg.h"
#include "PanelRegistry.h"
#include "ScheduleRules.h"
#include "WindowMessage.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace lumivane {

namespace {

constexpr int kIndexRole = Qt::UserRole;

QPushButton* button(const QString& text, const char* name, QWidget* parent)
{
    auto* made = new QPushButton(text, parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

// An entry list: a hidden first column, then the visible ones with their widths (the last takes the rest).
QTreeWidget* entryList(const char* name, const QStringList& titles, const std::vector<int>& widths, QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setUniformRowHeights(true);
    list->setHeaderLabels(QStringList{QString()} + titles);
    list->setColumnHidden(0, true);
    for (size_t i = 0; i < widths.size(); ++i)
        list->setColumnWidth(static_cast<int>(i) + 1, widths[i]);
    list->header()->setStretchLastSection(true);
    list->header()->setSectionsClickable(true);
    list->header()->setSortIndicatorShown(false);
    return list;
}

int selectedEntry(const QTreeWidget* list)
{
    const QTreeWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->data(0, kIndexRole).toInt() : -1;
}

// The positions 0..count-1 in the order of `sorting`; `less` compares two positions by a column.
template <typename Less>
std::vector<int> sortedPositions(int count, int column, bool reversed, Less less)
{
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    if (column >= 0)
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return reversed ? less(b, a) : less(a, b); });
    return order;
}

void addRow(QTreeWidget* list, int index, const std::vector<std::string>& texts)
{
    auto* row = new QTreeWidgetItem(list);
    row->setData(0, kIndexRole, index);
    for (size_t i = 0; i < texts.size(); ++i)
        row->setText(static_cast<int>(i) + 1, QString::fromStdString(texts[i]));
}

std::vector<std::string> modelNames(const std::vector<PANEL_DATA>& monitors)
{
    std::vector<std::string> names;
    for (const PANEL_DATA& monitor : monitors)
        names.push_back(monitor.szModel);
    return names;
}

} // namespace

// ---- the name dialog

CScheduleNameDlg::CScheduleNameDlg(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_name(new QLineEdit(this))
{
    setObjectName("scheduleNameDialog");
    setWindowTitle(uiText(175)); // "Enter new schedule name"
    m_name->setObjectName("nameEdit");
    m_name->setMinimumWidth(260);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CScheduleNameDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CScheduleNameDlg::reject);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(uiText(176), this), 0, 0); // "Schedule Name :"
    layout->addWidget(m_name, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
}

QString CScheduleNameDlg::name() const
{
    return m_name->text();
}

void CScheduleNameDlg::setName(const QString& name)
{
    m_name->setText(name);
}

void CScheduleNameDlg::accept()
{
    if (m_name->text().isEmpty()) {
        m_prompter.error(this, uiText(165)); // "Please enter schedule name."
        return;
    }
    if (!isScheduleName(m_name->text().toStdString())) {
        m_prompter.error(this, ConsoleText::tr("A schedule name cannot hold a comma."));
        return;
    }
    QDialog::accept();
}

// ---- the editor

CScheduleDlg::CScheduleDlg(ConsoleContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_schedules(new QListWidget(this)),
      m_new(button(ConsoleText::tr("New..."), "newButton", this)),
      m_delete(button(ConsoleText::tr("Delete..."), "deleteButton", this)),
      m_assign(button(ConsoleText::tr("Assign >>"), "assignButton", this)),
      m_remove(button(ConsoleText::tr("<< Remove"), "removeButton", this)),
      m_tree(new CPanelTreeCtrl(context.prompter, this)),
      m_note(new QLabel(ConsoleText::tr("The schedules are carried out by this PC: it must be on at the scheduled "
                                        "times. They work independently of the monitors' own schedules."),
                        this)),
      m_entries(new QGroupBox(this))
{
    setObjectName("scheduleDialog");
    setWindowTitle(ConsoleText::tr("Schedule Setting"));
    m_schedules->setObjectName("scheduleList");
    m_schedules->setFixedWidth(180);
    m_note->setObjectName("scheduleNote");
    m_note->setWordWrap(true);
    m_note->setAlignment(Qt::AlignCenter);
    m_entries->setObjectName("entriesGroup");

    QStringList dayTitles;
    for (int day = 0; day < 7; ++day)
        dayTitles << weekdayText(day);
    m_every = entryList("everyList", dayTitles + QStringList{uiText(142), uiText(143), uiText(144)},
                        {50, 50, 50, 50, 50, 50, 50, 60, 60}, m_entries);
    m_especial = entryList("especialList", {uiText(145), uiText(146), uiText(142), uiText(143), uiText(144)},
                           {120, 120, 90, 90}, m_entries);
    m_everyEdit = button(ConsoleText::tr("Edit..."), "everyEditButton", m_entries);
    m_everyDelete = button(ConsoleText::tr("Delete"), "everyDeleteButton", m_entries);
    m_especialEdit = button(ConsoleText::tr("Edit..."), "especialEditButton", m_entries);
    m_especialDelete = button(ConsoleText::tr("Delete"), "especialDeleteButton", m_entries);
    auto* everyAdd = button(ConsoleText::tr("Add..."), "everyAddButton", m_entries);
    auto* especialAdd = button(ConsoleText::tr("Add..."), "especialAddButton", m_entries);

    auto* entries = new QGridLayout(m_entries);
    entries->addWidget(new QLabel(ConsoleText::tr("Every week"), m_entries), 0, 0);
    entries->addWidget(m_every, 1, 0, 3, 1);
    entries->addWidget(everyAdd, 1, 1);
    entries->addWidget(m_everyEdit, 2, 1);
    entries->addWidget(m_everyDelete, 3, 1, Qt::AlignTop);
    entries->addWidget(new QLabel(ConsoleText::tr("Selected days"), m_entries), 4, 0);
    entries->addWidget(m_especial, 5, 0, 3, 1);
    entries->addWidget(especialAdd, 5, 1);
    entries->addWidget(m_especialEdit, 6, 1);
    entries->addWidget(m_especialDelete, 7, 1, Qt::AlignTop);
    m_every->setMinimumSize(620, 130);
    m_especial->setMinimumSize(620, 110);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(ConsoleText::tr("Schedule"), this));
    listColumn->addWidget(m_schedules);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(m_new);
    listButtons->addWidget(m_delete);
    listColumn->addLayout(listButtons);
    m_assign->setFixedWidth(110);
    m_remove->setFixedWidth(110);
    auto* assignColumn = new QVBoxLayout;
    assignColumn->addStretch();
    assignColumn->addWidget(m_assign);
    assignColumn->addWidget(m_remove);
    assignColumn->addStretch();
    m_tree->setFixedSize(400, 300);
    auto* top = new QHBoxLayout;
    top->addLayout(listColumn);
    top->addLayout(assignColumn);
    top->addWidget(m_tree);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_note);
    layout->addWidget(m_entries);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_store.LoadList(); // before the tree, whose labels name each monitor's schedule
    m_tree->setMode(PanelTreeMode::Schedule);
    m_tree->setListener(this);
    m_tree->setCheckBoxes(true); // loads the tree

    connect(m_schedules, &QListWidget::itemSelectionChanged, this, &CScheduleDlg::scheduleChosen);
    connect(m_new, &QPushButton::clicked, this, &CScheduleDlg::newSchedule);
    connect(m_delete, &QPushButton::clicked, this, &CScheduleDlg::deleteSchedule);
    connect(m_assign, &QPushButton::clicked, this, &CScheduleDlg::assign);
    connect(m_remove, &QPushButton::clicked, this, &CScheduleDlg::remove);
    connect(everyAdd, &QPushButton::clicked, this, &CScheduleDlg::addEvery);
    connect(m_everyEdit, &QPushButton::clicked, this, &CScheduleDlg::editEvery);
    connect(m_everyDelete, &QPushButton::clicked, this, &CScheduleDlg::deleteEvery);
    connect(especialAdd, &QPushButton::clicked, this, &CScheduleDlg::addEspecial);
    connect(m_especialEdit, &QPushButton::clicked, this, &CScheduleDlg::editEspecial);
    connect(m_especialDelete, &QPushButton::clicked, this, &CScheduleDlg::deleteEspecial);
    connect(m_every, &QTreeWidget::itemSelectionChanged, this, &CScheduleDlg::updateButtons);
    connect(m_especial, &QTreeWidget::itemSelectionChanged, this, &CScheduleDlg::updateButtons);
    connect(m_every, &QTreeWidget::itemDoubleClicked, this, &CScheduleDlg::editEvery);
    connect(m_especial, &QTreeWidget::itemDoubleClicked, this, &CScheduleDlg::editEspecial);
    connect(m_every->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        sortBy(m_everySorting, column);
        fillEveryList();
    });
    connect(m_especial->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        sortBy(m_especialSorting, column);
        fillEspecialList();
    });

    fillScheduleList();
    deselect();
}

// ---- the tree

void CScheduleDlg::itemClicked(QTreeWidgetItem* /*item*/, bool onCheckBox)
{
    if (onCheckBox)
        treeChanged();
}

void CScheduleDlg::selectionChanged()
{
    treeChanged();
}

QString CScheduleDlg::labelSuffix(const PANEL_DATA& data)
{
    if (!data.bSchedule)
        return uiText(166); // "*UNASSIGNED*"
    const std::optional<std::string> name = m_store.FindName(data.nScheduleNo);
    return name ? QString::fromStdString(*name) : uiText(166);
}

// A single monitor with a schedule shows that schedule.
void CScheduleDlg::treeChanged()
{
    const std::vector<PANEL_DATA> monitors = m_tree->selectedMonitors();
    if (monitors.size() == 1 && monitors[0].bSchedule) {
        for (int i = 0; i < m_store.listCount(); ++i)
            if (m_store.listAt(i)->id == monitors[0].nScheduleNo && currentScheduleIndex() != i)
                m_schedules->setCurrentRow(i);
    }
    updateButtons();
}

void CScheduleDlg::updateButtons()
{
    const std::vector<PANEL_DATA> monitors = m_tree->selectedMonitors();
    const bool scheduleChosen = currentScheduleIndex() >= 0;
    m_delete->setEnabled(scheduleChosen);
    m_assign->setEnabled(scheduleChosen && !monitors.empty());
    m_remove->setEnabled(std::any_of(monitors.begin(), monitors.end(), [](const PANEL_DATA& m) { return m.bSchedule; }));
    m_everyEdit->setEnabled(selectedEntry(m_every) >= 0);
    m_everyDelete->setEnabled(selectedEntry(m_every) >= 0);
    m_especialEdit->setEnabled(selectedEntry(m_especial) >= 0);
    m_especialDelete->setEnabled(selectedEntry(m_especial) >= 0);
}

// ---- the schedules

int CScheduleDlg::currentScheduleIndex() const
{
    const QListWidgetItem* item = m_schedules->currentItem();
    return item && item->isSelected() ? m_schedules->row(item) : -1;
}

void CScheduleDlg::fillScheduleList()
{
    const QSignalBlocker quiet(m_schedules);
    m_schedules->clear();
    for (int i = 0; i < m_store.listCount(); ++i)
        m_schedules->addItem(QString::fromStdString(m_store.listAt(i)->name));
}

void CScheduleDlg::deselect()
{
    {
        const QSignalBlocker quiet(m_schedules);
        m_schedules->setCurrentRow(-1);
        m_schedules->clearSelection();
    }
    scheduleChosen();
}

void CScheduleDlg::scheduleChosen()
{
    const int index = currentScheduleIndex();
    const bool chosen = index >= 0;
    m_entries->setVisible(chosen);
    m_note->setVisible(!chosen);
    m_tree->setSelectedSchedule(chosen ? m_store.SelectSchedule(index) : 0);
    if (chosen) {
        m_entries->setTitle(QString::fromStdString(doubledAmpersands(m_store.listAt(index)->name)));
        fillEveryList();
        fillEspecialList();
    }
    updateButtons();
}

void CScheduleDlg::sortBy(Sorting& sorting, int column)
{
    if (sorting.column == column) {
        sorting.reversed = !sorting.reversed;
    } else {
        sorting.column = column;
        sorting.reversed = false;
    }
}

void CScheduleDlg::fillEveryList()
{
    m_every->clear();
    const int column = m_everySorting.column - 1;
    const auto less = [&](int a, int b) {
        return everyLess(*m_store.everyAt(a), *m_store.everyAt(b), static_cast<EveryColumn>(column));
    };
    for (int index : sortedPositions(m_store.everyCount(), column, m_everySorting.reversed, less))
        addRow(m_every, index, everyRowTexts(*m_store.everyAt(index)));
    updateButtons();
}

void CScheduleDlg::fillEspecialList()
{
    m_especial->clear();
    const int column = m_especialSorting.column - 1;
    const auto less = [&](int a, int b) {
        return especialLess(*m_store.especialAt(a), *m_store.especialAt(b), static_cast<EspecialColumn>(column));
    };
    for (int index : sortedPositions(m_store.especialCount(), column, m_especialSorting.reversed, less))
        addRow(m_especial, index, especialRowTexts(*m_store.especialAt(index)));
    updateButtons();
}

bool CScheduleDlg::saved(const ScheduleSaveResult& result)
{
    if (!result && result.message != 0)
        m_context.prompter.ask(this, {QString(), QString::fromStdString(result.text()),
                                      result.stopIcon ? QMessageBox::Critical : QMessageBox::NoIcon});
    return result.ok;
}

void CScheduleDlg::newSchedule()
{
    CScheduleNameDlg nameDialog(m_context.prompter, this);
    if (m_context.dialogs.exec(nameDialog) != QDialog::Accepted)
        return;
    saved(m_store.AddSchedule(nameDialog.name().toStdString()));
    fillScheduleList();
    deselect();
    m_context.notifier.notify(windowMessages::kSchedulesChanged);
}

void CScheduleDlg::deleteSchedule()
{
    const int index = currentScheduleIndex();
    if (index < 0)
        return;
    const CScheduleList schedule = *m_store.listAt(index);
    const QString question = QString::fromStdString(formatMessage(171, schedule.name.c_str()));
    if (m_context.prompter.ask(this, {QString(), question, QMessageBox::Question,
                                      QMessageBox::Ok | QMessageBox::Cancel}) != QMessageBox::Ok)
        return;
    m_tree->clearSchedule(schedule.id); // the monitors first: none may keep a schedule that is gone
    saved(m_store.DeleteSchedule(index));
    fillScheduleList();
    deselect();
    m_tree->reload();
    updateButtons();
    m_context.notifier.notify(windowMessages::kPanelsChanged);
    m_context.notifier.notify(windowMessages::kSchedulesChanged);
}

int CScheduleDlg::scheduleMonitorFamilies() const
{
    const int id = m_store.currentId();
    std::vector<std::string> models;
    for (const PANEL_DATA& item : m_tree->allItems())
        if (item.isMonitor() && item.bSchedule && item.nScheduleNo == id)
            models.push_back(item.szModel);
    return monitorFamilies(models);
}

// Writes the schedule `id` (0: none) to the checked monitors; the tree shows the store afterwards with
// the same monitors checked.
static bool writeAssignment(CPanelTreeCtrl& tree, Prompter& prompter, QWidget* parent, int id)
{
    std::vector<int> numbers;
    for (const PANEL_DATA& monitor : tree.selectedMonitors())
        numbers.push_back(monitor.number);
    PanelRegistry registry;
    const bool written = registry.assignSchedule(numbers, id);
    if (!written)
        prompter.error(parent, QString::fromStdString(registry.lastError()));
    tree.reload();
    for (int number : numbers)
        if (QTreeWidgetItem* item = tree.findItem(number, false))
            tree.setItemChecked(item, true);
    return written;
}

void CScheduleDlg::assign()
{
    const std::vector<PANEL_DATA> monitors = m_tree->selectedMonitors();
    if (currentScheduleIndex() < 0 || monitors.empty())
        return;
    if (const int problem = assignProblem(entryInputFamilies(m_store), monitorFamilies(modelNames(monitors)))) {
        m_context.prompter.error(this, uiText(problem));
        return;
    }
    if (writeAssignment(*m_tree, m_context.prompter, this, m_store.currentId()))
        m_context.notifier.notify(windowMessages::kPanelsChanged);
    updateButtons();
}

void CScheduleDlg::remove()
{
    if (writeAssignment(*m_tree, m_context.prompter, this, 0))
        m_context.notifier.notify(windowMessages::kPanelsChanged);
    updateButtons();
}

// ---- the entries

void CScheduleDlg::entriesChanged()
{
    fillEveryList();
    fillEspecialList();
    m_context.notifier.notify(windowMessages::kSchedulesChanged);
}

void CScheduleDlg::addEvery()
{
    ST_SCHEDULE_EVERY fresh;
    fresh.onValid = fresh.offValid = 1;
    CEveryScheduleDlg dialog(m_context.prompter, fresh, scheduleMonitorFamilies(), entryInputFamilies(m_store), this);
    if (m_context.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    saved(m_store.AddEvery(dialog.entry()));
    entriesChanged();
}

void CScheduleDlg::editEvery()
{
    const int index = selectedEntry(m_every);
    if (index < 0)
        return;
    CEveryScheduleDlg dialog(m_context.prompter, *m_store.everyAt(index), scheduleMonitorFamilies(),
                             entryInputFamilies(m_store, index), this);
    if (m_context.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    *m_store.everyAt(index) = dialog.entry();
    saved(m_store.SaveEntries());
    entriesChanged();
}

void CScheduleDlg::deleteEvery()
{
    const int index = selectedEntry(m_every);
    if (index < 0)
        return;
    saved(m_store.DeleteEvery(index));
    entriesChanged();
}

void CScheduleDlg::addEspecial()
{
    ST_SCHEDULE_ESPECIAL fresh;
    fresh.onValid = fresh.offValid = 1;
    CEspecialScheduleDlg dialog(m_context.prompter, fresh, scheduleMonitorFamilies(), entryInputFamilies(m_store),
                                this);
    if (m_context.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    saved(m_store.AddEspecial(dialog.entry()));
    entriesChanged();
}

void CScheduleDlg::editEspecial()
{
    const int index = selectedEntry(m_especial);
    if (index < 0)
        return;
    CEspecialScheduleDlg dialog(m_context.prompter, *m_store.especialAt(index), scheduleMonitorFamilies(),
                                entryInputFamilies(m_store, -1, index), this);
    if (m_context.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    *m_store.especialAt(index) = dialog.entry();
    saved(m_store.SaveEntries());
    entriesChanged();
}

void CScheduleDlg::deleteEspecial()
{
    const int index = selectedEntry(m_especial);
    if (index < 0)
        return;
    saved(m_store.DeleteEspecial(index));
    entriesChanged();
}

} // namespace lumivane
