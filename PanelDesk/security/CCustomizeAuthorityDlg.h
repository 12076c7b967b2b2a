#pragma once

#include <QDialog>

#include <cstdint>
#include <vector>

class QCheckBox;
class QPushButton;

namespace lumivane {

// "Customize Authority": which functions the Normal Operator may use. Only "CONTROL", "Schedule" and
// "Monitor Control" are shown; the other items of the mask ride along in hidden boxes, so their bits
// pass through unchanged, except that the items that depend on "CONTROL" are cleared without it.
class CCustomizeAuthorityDlg : public QDialog
{
    Q_OBJECT
public:
    CCustomizeAuthorityDlg(uint16_t mask, QWidget* parent = nullptr);

    // The mask the boxes make; the caller takes it after OK only.
    uint16_t mask() const;

private:
    struct Item
    {
        uint16_t bit;
        QCheckBox* box;
        bool dependsOnControl;
    };

    QCheckBox* addItem(uint16_t bit, const char* text, const char* objectName, bool visible, bool dependsOnControl);
    void enableDependentItems();
    void tickDependentItems(bool ticked);

    uint16_t m_unlistedBits; // bits no box stands for
    std::vector<Item> m_items;
    QCheckBox* m_controlBox = nullptr;
    QPushButton* m_selectAllButton;
    QPushButton* m_selectNoneButton;
};

} // namespace lumivane
