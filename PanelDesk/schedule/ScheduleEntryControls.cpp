#include "ScheduleEntryControls.h"

#include "InputModes.h"
#include "ModelLookup.h"
#include "ScheduleRules.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumivane {

namespace {

constexpr int kMinuteStep = 5;

QComboBox* numberList(int count, int step, const QString& name, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (int i = 0; i < count; ++i)
        list->addItem(QString::asprintf("%02d", i * step));
    return list;
}

} // namespace

ScheduleEntryControls::ScheduleEntryControls(QWidget* dialog, bool offerNeither)
    : QObject(dialog), m_dialog(dialog), m_layout(new QVBoxLayout), m_control(new QButtonGroup(this)),
      m_changeInput(new QCheckBox(ConsoleText::tr("Change Input"), dialog)),
      m_mainSeries(new QRadioButton(ConsoleText::tr("QX-Series"), dialog)),
      m_zrFamily(new QRadioButton(ConsoleText::tr("ZR-1190"), dialog)), m_inputs(new QComboBox(dialog))
{
    auto* controlBox = new QGroupBox(ConsoleText::tr("Control"), dialog);
    auto* controls = new QVBoxLayout(controlBox);
    const std::pair<QString, const char*> radios[] = {
        {ConsoleText::tr("Both power on and off."), "bothRadio"},
        {ConsoleText::tr("Power on only."), "onOnlyRadio"},
        {ConsoleText::tr("Power off only."), "offOnlyRadio"},
        {ConsoleText::tr("Neither power on nor off."), "neitherRadio"},
    };
    for (int id = Both; id <= (offerNeither ? Neither : OffOnly); ++id) {
        auto* radio = new QRadioButton(radios[id].first, controlBox);
        radio->setObjectName(radios[id].second);
        m_control->addButton(radio, id);
        controls->addWidget(radio);
    }
    m_onGroup = timeGroup(ConsoleText::tr("Power On"), "onTime", m_onHour, m_onMinute);
    m_offGroup = timeGroup(ConsoleText::tr("Power Off"), "offTime", m_offHour, m_offMinute);

    m_changeInput->setObjectName("changeInputCheck");
    m_mainSeries->setObjectName("mainSeriesRadio");
    m_zrFamily->setObjectName("zrFamilyRadio");
    m_inputs->setObjectName("inputList");
    m_inputs->setMinimumContentsLength(16);
    auto* inputBox = new QGroupBox(dialog);
    auto* input = new QGridLayout(inputBox);
    input->addWidget(m_changeInput, 0, 0, 1, 2);
    input->addWidget(m_mainSeries, 1, 0);
    input->addWidget(m_zrFamily, 1, 1);
    input->addWidget(m_inputs, 2, 0, 1, 2);

    auto* times = new QHBoxLayout;
    times->addWidget(m_onGroup);
    times->addWidget(m_offGroup);
    auto* layout = static_cast<QVBoxLayout*>(m_layout);
    layout->addWidget(controlBox);
    layout->addLayout(times);
    layout->addWidget(inputBox);

    connect(m_control, &QButtonGroup::idClicked, this, &ScheduleEntryControls::controlChosen);
    connect(m_changeInput, &QCheckBox::toggled, this, &ScheduleEntryControls::inputBoxToggled);
    connect(m_mainSeries, &QRadioButton::toggled, this, &ScheduleEntryControls::fillInputs);
    show(1, 0, 0, 1, 0, 0, 0);
}

QGroupBox* ScheduleEntryControls::timeGroup(const QString& title, const char* name, QComboBox*& hours,
                                            QComboBox*& minutes)
{
    auto* group = new QGroupBox(title, m_dialog);
    group->setObjectName(QString(name) + "Group");
    hours = numberList(24, 1, QString(name) + "Hour", group);
    minutes = numberList(60 / kMinuteStep, kMinuteStep, QString(name) + "Minute", group);
    auto* row = new QHBoxLayout(group);
    row->addWidget(hours);
    row->addWidget(new QLabel(":", group));
    row->addWidget(minutes);
    return group;
}

void ScheduleEntryControls::controlChosen()
{
    const int control = m_control->checkedId();
    m_onGroup->setEnabled(control == Both || control == OnOnly);
    m_offGroup->setEnabled(control == Both || control == OffOnly);
}

void ScheduleEntryControls::fillInputs()
{
    m_inputs->clear();
    const ModelCode model = m_zrFamily->isChecked() ? modelFromName("Brela", 0) : ModelCode();
    for (InputModeIndex input : selectableInputs(model))
        m_inputs->addItem(QString::fromStdString(inputModeName(input)), input);
}

void ScheduleEntryControls::inputBoxToggled()
{
    const bool on = m_changeInput->isChecked();
    m_mainSeries->setEnabled(on);
    m_zrFamily->setEnabled(on);
    m_inputs->setEnabled(on);
}

void ScheduleEntryControls::show(int onValid, int onHour, int onMinute, int offValid, int offHour, int offMinute,
                                 int inputId)
{
    const int control = onValid && offValid ? Both : onValid ? OnOnly : offValid ? OffOnly : Neither;
    if (QAbstractButton* radio = m_control->button(control))
        radio->setChecked(true);
    controlChosen();
    m_onHour->setCurrentIndex(onHour);
    m_onMinute->setCurrentIndex(onMinute / kMinuteStep);
    m_offHour->setCurrentIndex(offHour);
    m_offMinute->setCurrentIndex(offMinute / kMinuteStep);

    const bool zr = inputFamily(inputId) == kZrFamily;
    (zr ? m_zrFamily : m_mainSeries)->setChecked(true);
    fillInputs();
    m_changeInput->setChecked(inputId != 0);
    inputBoxToggled();
    const int position = m_inputs->findData(inputId);
    m_inputs->setCurrentIndex(position >= 0 ? position : 0);
}

void ScheduleEntryControls::read(int& onValid, int& onHour, int& onMinute, int& offValid, int& offHour,
                                 int& offMinute, int& inputId) const
{
    const int control = m_control->checkedId();
    onValid = control == Both || control == OnOnly;
    offValid = control == Both || control == OffOnly;
    onHour = onValid ? m_onHour->currentIndex() : 0;
    onMinute = onValid ? m_onMinute->currentIndex() * kMinuteStep : 0;
    offHour = offValid ? m_offHour->currentIndex() : 0;
    offMinute = offValid ? m_offMinute->currentIndex() * kMinuteStep : 0;
    inputId = m_changeInput->isChecked() ? m_inputs->currentData().toInt() : 0;
}

bool ScheduleEntryControls::inputAccepted(Prompter& prompter, int otherInputFamilies, int monitorFamilies) const
{
    const int inputId = m_changeInput->isChecked() ? m_inputs->currentData().toInt() : 0;
    const int problem = entryInputProblem(inputId, otherInputFamilies, monitorFamilies);
    if (problem != 0)
        prompter.error(m_dialog, uiText(problem));
    return problem == 0;
}

} // namespace lumivane
