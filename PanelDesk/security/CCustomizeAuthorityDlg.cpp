#include "CCustomizeAuthorityDlg.h"

#include "Authority.h"
#include "common/UiText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

CCustomizeAuthorityDlg::CCustomizeAuthorityDlg(uint16_t mask, QWidget* parent)
    : QDialog(parent), m_unlistedBits(mask), m_selectAllButton(new QPushButton(ConsoleText::tr("Select All"), this)),
      m_selectNoneButton(new QPushButton(ConsoleText::tr("Select None"), this))
{
    using namespace customizeBits;
    setWindowTitle(ConsoleText::tr("Customize Authority"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ConsoleText::tr("Select Items which is available for Normal Operator"), this));

    m_controlBox = addItem(kControl, QT_TRANSLATE_NOOP("Lumivane", "CONTROL"), "controlCheck", true, false);
    addItem(kScreen, QT_TRANSLATE_NOOP("Lumivane", "SCREEN"), "screenCheck", false, true);
    addItem(kPicture, QT_TRANSLATE_NOOP("Lumivane", "PICTURE"), "pictureCheck", false, true);
    addItem(kAudio, QT_TRANSLATE_NOOP("Lumivane", "AUDIO"), "audioCheck", false, true);
    addItem(kSetup, QT_TRANSLATE_NOOP("Lumivane", "SETUP"), "setupCheck", false, true);
    addItem(kOption, QT_TRANSLATE_NOOP("Lumivane", "OPTION"), "optionCheck", false, true);
    addItem(kFunction, QT_TRANSLATE_NOOP("Lumivane", "FUNCTION"), "functionCheck", false, true);
    addItem(kMonitorSetting, QT_TRANSLATE_NOOP("Lumivane", "Monitor Setting (Send all value, Receive all value)"),
            "monitorSettingCheck", false, true);
    addItem(kSchedule, QT_TRANSLATE_NOOP("Lumivane", "Schedule"), "scheduleCheck", true, false);
    addItem(kEnlarge, QT_TRANSLATE_NOOP("Lumivane", "Enlarge"), "enlargeCheck", false, false);
    addItem(kPipPbyP, QT_TRANSLATE_NOOP("Lumivane", "PIP / PbyP"), "pipPbyPCheck", false, false);
    addItem(kMonitorControl, QT_TRANSLATE_NOOP("Lumivane", "Monitor Control"), "monitorControlCheck", true, false);
    for (const Item& item : m_items) {
        item.box->setChecked((mask & item.bit) != 0);
        layout->addWidget(item.box);
    }

    m_selectAllButton->setObjectName("selectAllButton");
    m_selectNoneButton->setObjectName("selectNoneButton");
    for (QPushButton* hidden : {m_selectAllButton, m_selectNoneButton}) {
        hidden->setVisible(false);
        layout->addWidget(hidden);
    }
    connect(m_selectAllButton, &QPushButton::clicked, this, [this] { tickDependentItems(true); });
    connect(m_selectNoneButton, &QPushButton::clicked, this, [this] { tickDependentItems(false); });
    connect(m_controlBox, &QCheckBox::toggled, this, &CCustomizeAuthorityDlg::enableDependentItems);
    enableDependentItems();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CCustomizeAuthorityDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCustomizeAuthorityDlg::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QCheckBox* CCustomizeAuthorityDlg::addItem(uint16_t bit, const char* text, const char* objectName, bool visible,
                                           bool dependsOnControl)
{
    auto* box = new QCheckBox(uiText(text), this);
    box->setObjectName(objectName);
    box->setVisible(visible);
    if (!visible)
        box->setEnabled(false);
    m_items.push_back({bit, box, dependsOnControl});
    m_unlistedBits &= static_cast<uint16_t>(~bit);
    return box;
}

void CCustomizeAuthorityDlg::enableDependentItems()
{
    const bool control = m_controlBox->isChecked();
    for (const Item& item : m_items)
        if (item.dependsOnControl)
            item.box->setEnabled(control);
    m_selectAllButton->setEnabled(control);
    m_selectNoneButton->setEnabled(control);
}

void CCustomizeAuthorityDlg::tickDependentItems(bool ticked)
{
    for (const Item& item : m_items)
        if (item.dependsOnControl)
            item.box->setChecked(ticked);
}

uint16_t CCustomizeAuthorityDlg::mask() const
{
    // Bits for which the dialog has no item at all are kept as they came.
    uint16_t mask = m_unlistedBits;
    const bool control = m_controlBox->isChecked();
    for (const Item& item : m_items)
        if (item.box->isChecked() && (!item.dependsOnControl || control))
            mask |= item.bit;
    return mask;
}

} // namespace lumivane
