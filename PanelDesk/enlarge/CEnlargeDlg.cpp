#include "CEnlargeDlg.h"

#include "CEnlargeFrame.h"
#include "EnlargeFile.h"
#include "Settings.h"
#include "WallSender.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

namespace lumivane {

namespace {

constexpr int kSaveQuestion = 213;
constexpr int kFileFilter = 209;
constexpr int kDefaultFileName = 210;
// The size coding of the setting file (H × 100 + V) leaves two digits for each side.
constexpr int kLargestSide = 99;

QPushButton* button(const QString& text, const char* name, QWidget* parent)
{
    auto* made = new QPushButton(text, parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

// A bezel edit: the operator may type any number, which is brought into 0..100 when the edit is left;
// the arrows stop at the ends.
class BezelSpinBox final : public QSpinBox
{
public:
    explicit BezelSpinBox(const char* name, QWidget* parent) : QSpinBox(parent)
    {
        setObjectName(name);
        setRange(-999, 999);
        setValue(kDefaultBezel);
        setKeyboardTracking(false);
    }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled enabled = StepNone;
        if (value() < kLargestBezel)
            enabled |= StepUpEnabled;
        if (value() > 0)
            enabled |= StepDownEnabled;
        return enabled;
    }
};

QComboBox* sizeCombo(const char* name, int largest, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (int n = 1; n <= std::clamp(largest, 1, kLargestSide); ++n)
        combo->addItem(QString::number(n), n);
    return combo;
}

// Shows `value` in the combo, adding it when a loaded file brought a size beyond the offered ones.
void showInCombo(QComboBox* combo, int value)
{
    int at = combo->findData(value);
    if (at < 0) {
        combo->addItem(QString::number(value), value);
        at = combo->count() - 1;
    }
    combo->setCurrentIndex(at);
}

QString fileMessage(EnlargeFileStatus status, const QString& path)
{
    switch (status) {
    case EnlargeFileStatus::CannotOpen:
        return uiFormat(199, path.toLocal8Bit().constData());
    case EnlargeFileStatus::Broken:
        return uiText(200);
    case EnlargeFileStatus::UnsupportedVersion:
        return uiText(201);
    case EnlargeFileStatus::Ok:
        break;
    }
    return {};
}

} // namespace

CEnlargeDlg::CEnlargeDlg(ConsoleContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_tree(new CPanelTreeCtrl(context.prompter, this)),
      m_frame(new CEnlargeFrame(this))
{
    setObjectName("enlargeDialog");
    setWindowTitle(ConsoleText::tr("Enlarge Setting/Video Wall Setting"));
    buildControls();
    connectControls();

    m_tree->setMode(PanelTreeMode::Enlarge);
    m_tree->setListener(this);
    m_tree->setEnlargeSupportTest([](const PANEL_DATA& data, int h, int v) {
        return supportsWallSize(wallMonitorOf(data).model, h, v);
    });
    m_tree->setLayoutSize(m_layout.columns(), m_layout.rows());
    m_tree->setCheckBoxes(true); // loads the tree
    recreate(kDefaultWallSize, kDefaultWallSize, WallOrientation::Landscape);
}

void CEnlargeDlg::buildControls()
{
    m_assign = button(ConsoleText::tr("Assign >>"), "assignButton", this);
    m_remove = button(ConsoleText::tr("<< Remove"), "removeButton", this);
    m_close = button(ConsoleText::tr("Close"), "closeButton", this);
    m_tree->setObjectName("enlargeTree");
    m_tree->setMinimumWidth(270);

    auto* editor = new QVBoxLayout;
    editor->addLayout(buildLayoutRow());
    editor->addLayout(buildView());
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(buildSendColumn());
    bottom->addWidget(buildAdjustment());
    editor->addLayout(bottom);

    auto* assignColumn = new QVBoxLayout;
    assignColumn->addStretch();
    assignColumn->addWidget(m_assign);
    assignColumn->addWidget(m_remove);
    assignColumn->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(m_tree);
    body->addLayout(assignColumn);
    body->addLayout(editor);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(closeRow);
}

// Size, orientation and the file buttons.
QLayout* CEnlargeDlg::buildLayoutRow()
{
    const EnvironmentSettings& environment = processSettings().environment;
    m_columns = sizeCombo("columnsCombo", environment.monitorSettingColumn, this);
    m_rows = sizeCombo("rowsCombo", environment.monitorSettingRow, this);
    m_landscape = new QRadioButton(ConsoleText::tr("LANDSCAPE"), this);
    m_landscape->setObjectName("landscapeButton");
    m_portrait = new QRadioButton(ConsoleText::tr("PORTRAIT"), this);
    m_portrait->setObjectName("portraitButton");
    m_new = button(ConsoleText::tr("New"), "newButton", this);
    m_load = button(ConsoleText::tr("Load"), "loadButton", this);
    m_save = button(ConsoleText::tr("Save"), "saveButton", this);

    auto* sizeBox = new QGroupBox(ConsoleText::tr("Size"), this);
    sizeBox->setObjectName("sizeGroup");
    auto* sizeRow = new QHBoxLayout(sizeBox);
    sizeRow->addWidget(m_columns);
    sizeRow->addWidget(new QLabel(ConsoleText::tr("X"), sizeBox));
    sizeRow->addWidget(m_rows);
    auto* orientationBox = new QGroupBox(ConsoleText::tr("Orientation"), this);
    orientationBox->setObjectName("orientationGroup");
    auto* orientationRow = new QHBoxLayout(orientationBox);
    orientationRow->addWidget(m_landscape);
    orientationRow->addWidget(m_portrait);
    auto* row = new QHBoxLayout;
    row->addWidget(sizeBox);
    row->addWidget(orientationBox);
    row->addStretch();
    for (QPushButton* file : {m_new, m_load, m_save})
        row->addWidget(file, 0, Qt::AlignBottom);
    return row;
}

// The layout view with the group buttons beside it.
QLayout* CEnlargeDlg::buildView()
{
    m_execute = button(ConsoleText::tr("Excute\nEnlarge"), "executeButton", this);
    m_cancel = button(ConsoleText::tr("Cancel\nEnlarge "), "cancelEnlargeButton", this);
    auto* groupColumn = new QVBoxLayout;
    groupColumn->addWidget(m_execute);
    groupColumn->addWidget(m_cancel);
    groupColumn->addStretch();
    auto* view = new QHBoxLayout;
    view->addWidget(m_frame);
    view->addLayout(groupColumn);
    return view;
}

// Bezel widths, ID indication and "Send".
QLayout* CEnlargeDlg::buildSendColumn()
{
    auto* bezelBox = new QGroupBox(ConsoleText::tr("Bezel width"), this);
    bezelBox->setObjectName("bezelGroup");
    m_bezelH = new BezelSpinBox("bezelHEdit", bezelBox);
    m_bezelV = new BezelSpinBox("bezelVEdit", bezelBox);
    auto* bezelRow = new QHBoxLayout(bezelBox);
    bezelRow->addWidget(new QLabel(ConsoleText::tr("Horizontal :"), bezelBox));
    bezelRow->addWidget(m_bezelH);
    bezelRow->addWidget(new QLabel(ConsoleText::tr("Vertical :"), bezelBox));
    bezelRow->addWidget(m_bezelV);

    auto* idBox = new QGroupBox(ConsoleText::tr("ID indication"), this);
    idBox->setObjectName("idIndicationGroup");
    m_idOn = button(ConsoleText::tr("ON"), "idOnButton", idBox);
    m_idOff = button(ConsoleText::tr("OFF"), "idOffButton", idBox);
    auto* idRow = new QHBoxLayout(idBox);
    idRow->addWidget(m_idOn);
    idRow->addWidget(m_idOff);
    m_send = button(ConsoleText::tr("Send"), "sendButton", this);

    auto* column = new QVBoxLayout;
    column->addWidget(bezelBox);
    auto* sendRow = new QHBoxLayout;
    sendRow->addWidget(idBox);
    sendRow->addStretch();
    sendRow->addWidget(m_send, 0, Qt::AlignBottom);
    column->addLayout(sendRow);
    column->addStretch();
    return column;
}

// The arrows and the typed values of the picture position.
QGroupBox* CEnlargeDlg::buildAdjustment()
{
    auto* box = new QGroupBox(ConsoleText::tr("Adjustment"), this);
    box->setObjectName("adjustmentGroup");
    m_up = button(ConsoleText::tr("Up"), "upButton", box);
    m_down = button(ConsoleText::tr("Down"), "downButton", box);
    m_left = button(ConsoleText::tr("Left"), "leftButton", box);
    m_right = button(ConsoleText::tr("Right"), "rightButton", box);
    for (QPushButton* arrow : {m_up, m_down, m_left, m_right})
        arrow->setFixedWidth(arrow->sizeHint().width()); // the cross stays compact
    m_shiftH = new QLineEdit(box);
    m_shiftH->setObjectName("shiftHEdit");
    m_shiftV = new QLineEdit(box);
    m_shiftV->setObjectName("shiftVEdit");
    for (QLineEdit* edit : {m_shiftH, m_shiftV}) {
        edit->setValidator(new QIntValidator(-999, 999, edit));
        edit->setFixedWidth(60);
    }
    auto* arrows = new QGridLayout;
    arrows->addWidget(m_up, 0, 1);
    arrows->addWidget(m_left, 1, 0);
    arrows->addWidget(m_right, 1, 2);
    arrows->addWidget(m_down, 2, 1);
    auto* shifts = new QGridLayout;
    shifts->addWidget(new QLabel(ConsoleText::tr("Horizontal :"), box), 0, 0);
    shifts->addWidget(m_shiftH, 0, 1);
    shifts->addWidget(new QLabel(ConsoleText::tr("Vertical :"), box), 1, 0);
    shifts->addWidget(m_shiftV, 1, 1);
    auto* row = new QHBoxLayout(box);
    row->addLayout(arrows);
    row->addSpacing(16);
    row->addLayout(shifts);
    row->addStretch();
    return box;
}

void CEnlargeDlg::connectControls()
{
    connect(m_columns, &QComboBox::activated, this, &CEnlargeDlg::sizeChosen);
    connect(m_rows, &QComboBox::activated, this, &CEnlargeDlg::sizeChosen);
    connect(m_landscape, &QRadioButton::clicked, this, [this] { orientationChosen(WallOrientation::Landscape); });
    connect(m_portrait, &QRadioButton::clicked, this, [this] { orientationChosen(WallOrientation::Portrait); });
    connect(m_new, &QPushButton::clicked, this, &CEnlargeDlg::newLayout);
    connect(m_save, &QPushButton::clicked, this, &CEnlargeDlg::saveLayout);
    connect(m_load, &QPushButton::clicked, this, &CEnlargeDlg::loadLayout);
    connect(m_assign, &QPushButton::clicked, this, &CEnlargeDlg::assignSelectedMonitor);
    connect(m_remove, &QPushButton::clicked, this, &CEnlargeDlg::removeSelectedMonitor);
    connect(m_execute, &QPushButton::clicked, this, &CEnlargeDlg::executeGroup);
    connect(m_cancel, &QPushButton::clicked, this, &CEnlargeDlg::cancelGroup);
    connect(m_bezelH, &QSpinBox::editingFinished, this, &CEnlargeDlg::bezelEdited);
    connect(m_bezelV, &QSpinBox::editingFinished, this, &CEnlargeDlg::bezelEdited);
    connect(m_idOn, &QPushButton::clicked, this, [this] { idIndication(true); });
    connect(m_idOff, &QPushButton::clicked, this, [this] { idIndication(false); });
    connect(m_send, &QPushButton::clicked, this, &CEnlargeDlg::send);
    connect(m_up, &QPushButton::clicked, this, [this] { arrow(ShiftArrow::Up); });
    connect(m_down, &QPushButton::clicked, this, [this] { arrow(ShiftArrow::Down); });
    connect(m_left, &QPushButton::clicked, this, [this] { arrow(ShiftArrow::Left); });
    connect(m_right, &QPushButton::clicked, this, [this] { arrow(ShiftArrow::Right); });
    connect(m_shiftH, &QLineEdit::returnPressed, this, [this] { shiftTyped(true); });
    connect(m_shiftV, &QLineEdit::returnPressed, this, [this] { shiftTyped(false); });
    connect(m_shiftH, &QLineEdit::editingFinished, this, &CEnlargeDlg::showShifts);
    connect(m_shiftV, &QLineEdit::editingFinished, this, &CEnlargeDlg::showShifts);
    connect(m_frame, &CEnlargeFrame::cellPressed, this, &CEnlargeDlg::cellPressed);
    connect(m_frame, &CEnlargeFrame::cellReleased, this, &CEnlargeDlg::cellReleased);
    connect(m_close, &QPushButton::clicked, this, &CEnlargeDlg::reject);
}

// ---------------------------------------------------------------------------------------------------------
// Leaving

bool CEnlargeDlg::askToSave()
{
    bezelEdited();
    if (!m_layout.wouldLoseWork())
        return true;
    Prompt prompt;
    prompt.text = uiText(kSaveQuestion);
    prompt.icon = QMessageBox::Question;
    prompt.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    const QMessageBox::StandardButton answer = m_context.prompter.ask(this, prompt);
    if (answer == QMessageBox::Yes) {
        // A save that was cancelled or failed keeps the layout: nothing is lost.
        if (!saveLayout())
            return false;
    } else if (answer != QMessageBox::No) {
        return false;
    }
    m_layout.clearChanged();
    return true;
}

void CEnlargeDlg::reject()
{
    if (askToSave())
        QDialog::reject();
}

// ---------------------------------------------------------------------------------------------------------
// The layout

void CEnlargeDlg::recreate(int h, int v, WallOrientation orientation)
{
    m_layout.recreate(h, v, orientation);
    m_rectangle.emplace(m_layout);
    m_tree->setLayoutSize(h, v);
    m_tree->reload();
    m_frame->rebuild(m_layout);
    m_bezelH->setValue(m_layout.bezelH());
    m_bezelV->setValue(m_layout.bezelV());
    showSize();
    updateControls();
}

void CEnlargeDlg::showSize()
{
    showInCombo(m_columns, m_layout.columns());
    showInCombo(m_rows, m_layout.rows());
    (m_layout.isPortrait() ? m_portrait : m_landscape)->setChecked(true);
}

void CEnlargeDlg::sizeChosen()
{
    const int h = m_columns->currentData().toInt();
    const int v = m_rows->currentData().toInt();
    if (h >= 1 && v >= 1 && m_layout.isNewSize(h, v) && askToSave())
        recreate(h, v, m_layout.orientation());
    showSize();
}

void CEnlargeDlg::orientationChosen(WallOrientation orientation)
{
    if (orientation != m_layout.orientation() && askToSave())
        recreate(m_layout.columns(), m_layout.rows(), orientation);
    showSize();
}

void CEnlargeDlg::newLayout()
{
    if (askToSave())
        recreate(m_layout.columns(), m_layout.rows(), m_layout.orientation());
}

bool CEnlargeDlg::saveLayout()
{
    bezelEdited();
    FilePrompt prompt;
    prompt.caption = ConsoleText::tr("Save");
    prompt.path = m_lastPath.isEmpty() ? uiText(kDefaultFileName) : m_lastPath;
    prompt.filter = uiText(kFileFilter);
    prompt.defaultSuffix = "esf";
    const QString path = m_context.prompter.saveFileName(this, prompt);
    if (path.isEmpty())
        return false;
    const EnlargeFileStatus status = writeEnlargeFile(path.toStdString(), m_layout, [this](int32_t panelNo) {
        return m_tree->findItem(panelNo, false) != nullptr;
    });
    if (status != EnlargeFileStatus::Ok) {
        m_context.prompter.error(this, fileMessage(status, path));
        return false;
    }
    m_lastPath = path;
    m_layout.clearChanged();
    return true;
}

void CEnlargeDlg::loadLayout()
{
    FilePrompt prompt;
    prompt.caption = ConsoleText::tr("Load");
    prompt.path = m_lastPath;
    prompt.filter = uiText(kFileFilter);
    prompt.defaultSuffix = "esf";
    const QString path = m_context.prompter.openFileName(this, prompt);
    if (path.isEmpty() || !askToSave())
        return;
    const EnlargeFileReading reading =
        readEnlargeFile(path.toStdString(), [this](int32_t panelNo) -> std::optional<WallMonitor> {
            const PANEL_DATA* monitor = treeMonitor(panelNo);
            return monitor ? std::optional(wallMonitorOf(*monitor)) : std::nullopt;
        }, m_layout);
    if (reading.status != EnlargeFileStatus::Ok) {
        m_context.prompter.error(this, fileMessage(reading.status, path));
        return;
    }
    m_lastPath = path;
    m_rectangle.emplace(m_layout);
    m_tree->setLayoutSize(m_layout.columns(), m_layout.rows());
    m_tree->reload();
    markTree();
    m_frame->rebuild(m_layout);
    m_bezelH->setValue(m_layout.bezelH());
    m_bezelV->setValue(m_layout.bezelV());
    showSize();
    updateControls();
}

void CEnlargeDlg::assignSelectedMonitor()
{
    const PANEL_DATA* data = m_tree->selectedItemData();
    if (!data || !data->isMonitor() || !data->selectable || hasPendingRectangle(m_layout))
        return;
    if (m_layout.assign(wallMonitorOf(*data)).placed)
        markTree();
    showCells();
    updateControls();
}

void CEnlargeDlg::removeSelectedMonitor()
{
    if (m_layout.removeSelected())
        markTree();
    showCells();
    updateControls();
}

void CEnlargeDlg::cellPressed(int index)
{
    m_rectangle->press(index);
    showCells();
    updateControls();
}

void CEnlargeDlg::cellReleased(int index)
{
    m_rectangle->release(index);
    showCells();
    updateControls();
}

void CEnlargeDlg::executeGroup()
{
    executePendingRectangle(m_layout);
    showCells();
    updateControls();
}

void CEnlargeDlg::cancelGroup()
{
    cancelRectangleOrGroup(m_layout);
    showCells();
    updateControls();
}

void CEnlargeDlg::bezelEdited()
{
    const int h = EnlargeLayout::clampBezel(m_bezelH->value());
    const int v = EnlargeLayout::clampBezel(m_bezelV->value());
    m_bezelH->setValue(h);
    m_bezelV->setValue(v);
    if (h == m_layout.bezelH() && v == m_layout.bezelV())
        return;
    m_layout.setBezels(h, v);
    m_layout.markEdited();
}

// ---------------------------------------------------------------------------------------------------------
// The monitors

const PANEL_DATA* CEnlargeDlg::treeMonitor(int32_t panelNo) const
{
    return CPanelTreeCtrl::dataOf(m_tree->findItem(panelNo, false));
}

void CEnlargeDlg::send()
{
    bezelEdited();
    std::vector<PANEL_DATA> monitors;
    for (const PANEL_DATA& item : m_tree->allItems())
        if (item.isMonitor())
            monitors.push_back(item);
    WallSender sender(m_context, this);
    if (sender.sendWall(m_layout, m_tree->selectedMonitors(), monitors))
        m_layout.markSent();
    updateControls();
}

void CEnlargeDlg::idIndication(bool on)
{
    WallSender(m_context, this).idIndication(m_tree->selectedMonitors(), on);
}

void CEnlargeDlg::arrow(ShiftArrow direction)
{
    const std::optional<int> cell = m_layout.selected();
    if (!cell || !adjustmentAllowed(m_layout, *cell) || !arrowEnabled(m_layout, *cell, direction))
        return;
    const PANEL_DATA* monitor = treeMonitor(m_layout.cell(*cell).monitor->panelNo);
    if (!monitor) {
        m_context.prompter.error(this, uiText(183)); // "Please select monitor."
        return;
    }
    const ShiftChange change = arrowStep(m_layout, *cell, direction);
    if (WallSender(m_context, this).sendShift(*monitor, change.command))
        applyShift(m_layout, *cell, change);
    updateControls();
}

void CEnlargeDlg::shiftTyped(bool horizontal)
{
    const std::optional<int> cell = m_layout.selected();
    bool number = false;
    const int value = (horizontal ? m_shiftH : m_shiftV)->text().toInt(&number);
    if (cell && number && adjustmentAllowed(m_layout, *cell)) {
        if (const PANEL_DATA* monitor = treeMonitor(m_layout.cell(*cell).monitor->panelNo)) {
            const ShiftChange change = typedShift(m_layout, *cell, horizontal, value);
            if (WallSender(m_context, this).sendShift(*monitor, change.command))
                applyShift(m_layout, *cell, change);
        } else {
            m_context.prompter.error(this, uiText(183)); // "Please select monitor."
        }
    }
    updateControls(); // shows the stored values: the old ones when sending failed
}

// ---------------------------------------------------------------------------------------------------------
// The tree's listener slots

void CEnlargeDlg::itemClicked(QTreeWidgetItem*, bool)
{
    bezelEdited();
    updateControls();
}

void CEnlargeDlg::selectionChanged()
{
    updateControls();
}

void CEnlargeDlg::itemDoubleClicked(QTreeWidgetItem*)
{
    assignSelectedMonitor();
}

bool CEnlargeDlg::isDropTarget(const QPoint& screenPoint)
{
    if (!m_frame->containsScreenPoint(screenPoint))
        return false;
    const std::optional<int> cell = m_frame->cellAtScreenPoint(screenPoint);
    if (cell != m_layout.selected()) {
        m_layout.select(cell);
        showCells();
        updateControls();
    }
    return cell.has_value();
}

void CEnlargeDlg::dropped(const QPoint& screenPoint)
{
    const std::optional<int> cell = m_frame->cellAtScreenPoint(screenPoint);
    if (!cell)
        return;
    m_layout.select(cell);
    assignSelectedMonitor();
}

// ---------------------------------------------------------------------------------------------------------
// Showing the state

void CEnlargeDlg::markTree()
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        PANEL_DATA* data = CPanelTreeCtrl::dataOf(*it);
        if (!data || !data->isMonitor())
            continue;
        const std::optional<int> cell = m_layout.cellOf(data->number);
        data->placed = cell ? 1 : 0;
        data->cellIndex = cell.value_or(0);
        if (cell)
            m_tree->setItemChecked(*it, true);
    }
    m_tree->refreshImages();
}

void CEnlargeDlg::showCells()
{
    m_frame->refresh(m_layout);
}

void CEnlargeDlg::showShifts()
{
    const std::optional<int> cell = m_layout.selected();
    const bool shown = cell && m_layout.cell(*cell).holdsMonitor();
    m_shiftH->setText(shown ? QString::number(m_layout.cell(*cell).shiftH) : QString());
    m_shiftV->setText(shown ? QString::number(m_layout.cell(*cell).shiftV) : QString());
}

void CEnlargeDlg::updateControls()
{
    const bool pending = hasPendingRectangle(m_layout);
    const bool anyChecked = !m_tree->selectedMonitors().empty();
    const PANEL_DATA* chosen = m_tree->selectedItemData();
    const std::optional<int> cell = m_layout.selected();
    const WallCell* selected = cell ? &m_layout.cell(*cell) : nullptr;

    m_assign->setEnabled(chosen && chosen->isMonitor() && chosen->selectable && selected && !pending);
    m_remove->setEnabled(selected && selected->holdsMonitor() && selected->group.isFree() && !pending);
    m_execute->setEnabled(m_layout.groupMode() && pending);
    m_cancel->setEnabled(m_layout.groupMode() &&
                         (pending || (selected && selected->group.ENST == CellGroupRecord::Grouped)));
    m_send->setEnabled(anyChecked && !pending);
    m_idOn->setEnabled(anyChecked);
    m_idOff->setEnabled(anyChecked);

    const bool adjustable = cell && adjustmentAllowed(m_layout, *cell);
    m_up->setEnabled(adjustable && arrowEnabled(m_layout, *cell, ShiftArrow::Up));
    m_down->setEnabled(adjustable && arrowEnabled(m_layout, *cell, ShiftArrow::Down));
    m_left->setEnabled(adjustable && arrowEnabled(m_layout, *cell, ShiftArrow::Left));
    m_right->setEnabled(adjustable && arrowEnabled(m_layout, *cell, ShiftArrow::Right));
    m_shiftH->setEnabled(adjustable);
    m_shiftV->setEnabled(adjustable);
    showShifts();
}

} // namespace lumivane
