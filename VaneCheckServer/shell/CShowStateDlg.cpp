#include "CShowStateDlg.h"

#include "CGroupTreeCtrl.h"
#include "CServPropertyDlg.h"
#include "PanelRegistry.h"
#include "ServerImages.h"
#include "ServerLists.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace lumivane {
namespace {

constexpr int kNumberRole = Qt::UserRole;
constexpr int kColumnWidths[kStatusColumnCount] = {180, 100, 160, 90, 100, 120};
constexpr int kColumnTitles[kStatusColumnCount] = {536, 545, 550, 562, 563, 564};

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

QTreeWidgetItem* makeItem(const StatusRow& row)
{
    auto* item = new QTreeWidgetItem({text(row.name()), text(row.status), text(row.input), text(row.signal),
                                      text(row.monitoringTime), text(row.schedule)});
    item->setIcon(0, statusImage(row.image));
    item->setIcon(5, statusImage(row.scheduleImage));
    for (int column = 0; column < kStatusColumnCount; ++column)
        item->setToolTip(column, item->text(column));
    item->setData(0, kNumberRole, row.number());
    return item;
}

} // namespace

CShowStateDlg::CShowStateDlg(ServerEngine& engine, Prompter& prompter, std::function<bool()> modalOpen,
                             std::function<void(int)> showProgress, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_prompter(prompter), m_modalOpen(std::move(modalOpen)),
      m_showProgress(std::move(showProgress))
{
    setWindowTitle(ConsoleText::tr("Monitor Status"));
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowIcon(trayIcon(528));
    buildLayout();
    FillTree();
}

void CShowStateDlg::buildLayout()
{
    m_tree = new CGroupTreeCtrl(this);
    auto* groupBox = new QGroupBox(ConsoleText::tr("Group Select"), this);
    (new QVBoxLayout(groupBox))->addWidget(m_tree);
    groupBox->setMaximumWidth(dialogUnits(this, 150));

    QStringList titles;
    std::vector<int> widths;
    for (int column = 0; column < kStatusColumnCount; ++column) {
        titles << uiText(kColumnTitles[column]);
        widths.push_back(kColumnWidths[column]);
    }
    m_list = makeServerList(titles, widths, this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setSortIndicator(0, Qt::AscendingOrder);

    m_latest = new QPushButton(uiText(570), this);
    m_latest->setAutoDefault(false);

    auto* right = new QVBoxLayout;
    right->addWidget(m_list, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_latest);
    right->addLayout(buttonRow);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(groupBox);
    layout->addLayout(right, 1);
    resize(dialogUnits(this, 960), dialogUnits(this, 400));

    connect(m_tree, &CGroupTreeCtrl::groupSelected, this, [this] { FillList(); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { sortBy(static_cast<StatusColumn>(column)); });
    connect(m_list, &QWidget::customContextMenuRequested, this, &CShowStateDlg::showContextMenu);
    connect(m_latest, &QPushButton::clicked, this, [this] { runCommand(ManualCommand{}, true); });
}

void CShowStateDlg::SetAuthority(int level, bool inputModeAvailable)
{
    if (level != 0)
        m_authority = level;
    m_inputPermitted = !(m_authority == 3 && !inputModeAvailable);
}

void CShowStateDlg::onWindowMessage(int message, int wParam)
{
    switch (message) {
    case statusWindowMessages::kRunState:
        m_runInProgress = wParam == 0;
        m_latest->setEnabled(!m_runInProgress);
        m_latest->setText(uiText(m_runInProgress ? 571 : 570));
        break;
    case statusWindowMessages::kStatusChanged:
        FillList();
        break;
    case statusWindowMessages::kPanelsReloaded:
        FillTree();
        break;
    default:
        break;
    }
}

void CShowStateDlg::FillTree()
{
    m_groups = PanelRegistry().groups();
    m_tree->fill(m_groups);
    FillList();
}

void CShowStateDlg::FillList()
{
    const std::vector<int> groups = groupsUnder(m_tree->selectedGroup(), m_groups);
    m_rows = statusRows(m_engine.livePanels(), groups,
                        [this](int scheduleId) { return m_engine.nextScheduledAction(scheduleId); }, std::time(nullptr));
    sortStatusRows(m_rows, m_sortColumn, m_ascending);
    showRows();
}

void CShowStateDlg::showRows()
{
    const std::vector<int> selected = selectedNumbers();
    m_list->clear();
    for (const StatusRow& row : m_rows) {
        QTreeWidgetItem* item = makeItem(row);
        m_list->addTopLevelItem(item);
        item->setSelected(std::find(selected.begin(), selected.end(), row.number()) != selected.end());
    }
}

void CShowStateDlg::sortBy(StatusColumn column)
{
    m_ascending = column == m_sortColumn ? !m_ascending : true;
    m_sortColumn = column;
    m_list->header()->setSortIndicator(static_cast<int>(column), m_ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    sortStatusRows(m_rows, m_sortColumn, m_ascending);
    showRows();
}

std::vector<int> CShowStateDlg::selectedNumbers() const
{
    std::vector<int> numbers;
    for (const QTreeWidgetItem* item : m_list->selectedItems())
        numbers.push_back(item->data(0, kNumberRole).toInt());
    return numbers;
}

std::vector<const ServerPanel*> CShowStateDlg::selectedPanels() const
{
    const std::vector<int> numbers = selectedNumbers();
    std::vector<const ServerPanel*> panels;
    for (const StatusRow& row : m_rows) {
        if (std::find(numbers.begin(), numbers.end(), row.number()) != numbers.end())
            panels.push_back(&row.panel);
    }
    return panels;
}

QMenu* CShowStateDlg::makeContextMenu()
{
    const StatusMenuState state = statusMenuState(selectedPanels(), m_authority, m_propertyOpen, m_runInProgress,
                                                  m_modalOpen && m_modalOpen());
    auto* menu = new QMenu(this);
    const auto addCommand = [&](const QString& title, bool enabled, auto action) {
        QAction* item = menu->addAction(title, this, action);
        item->setEnabled(enabled);
    };
    addCommand(ConsoleText::tr("On"), state.commands, [this] { runCommand({true, true}, false); });
    addCommand(ConsoleText::tr("Off"), state.commands, [this] { runCommand({true, false}, false); });
    addCommand(ConsoleText::tr("Get Status"), state.commands, [this] { runCommand({}, false); });
    menu->addSeparator();
    if (state.browse)
        addCommand(ConsoleText::tr("Browse..."), true, [this] { browse(); });
    addCommand(ConsoleText::tr("Property..."), state.property, [this] { showProperty(); });
    return menu;
}

void CShowStateDlg::showContextMenu(const QPoint& at)
{
    if (!m_list->itemAt(at))
        return;
    QMenu* menu = makeContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_list->viewport()->mapToGlobal(at));
}

int CShowStateDlg::targetCount(const ManualTargets& targets) const
{
    const std::vector<int>& wanted = targets.byGroup ? targets.groupNumbers : targets.panelNumbers;
    const std::vector<ServerPanel> live = m_engine.livePanels();
    return static_cast<int>(std::count_if(live.begin(), live.end(), [&](const ServerPanel& panel) {
        const int key = targets.byGroup ? panel.data.nGroupNo : panel.data.nPanelNo;
        return panel.data.bUse && std::find(wanted.begin(), wanted.end(), key) != wanted.end();
    }));
}

void CShowStateDlg::runCommand(ManualCommand command, bool wholeGroup)
{
    ManualTargets targets;
    targets.byGroup = wholeGroup;
    if (wholeGroup)
        targets.groupNumbers = groupsUnder(m_tree->selectedGroup(), m_groups);
    else
        targets.panelNumbers = selectedNumbers();
    // Counted before the start: the run may take the copies away at once.
    const int total = targetCount(targets);
    switch (m_engine.startManualCommand(targets, command)) {
    case ManualStart::Busy:
        m_prompter.exclamation(this, uiText(557));
        break;
    case ManualStart::NoTargets:
        break;
    case ManualStart::Started:
        if (m_showProgress)
            m_showProgress(total);
        break;
    }
}

void CShowStateDlg::browse()
{
    const std::vector<const ServerPanel*> selected = selectedPanels();
    if (selected.size() == 1)
        QDesktopServices::openUrl(QUrl(text(browseAddress(selected.front()->data))));
}

void CShowStateDlg::showProperty()
{
    const std::vector<const ServerPanel*> selected = selectedPanels();
    if (selected.size() != 1 || m_propertyOpen)
        return;
    const ServerPanel copy = *selected.front();
    const auto next = copy.data.bSchedule ? m_engine.nextScheduledAction(copy.data.nScheduleNo) : std::nullopt;
    m_propertyOpen = true;
    CServPropertyDlg dialog(copy, next, this);
    dialog.exec();
    m_propertyOpen = false;
}

void CShowStateDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CShowStateDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

} // namespace lumivane
