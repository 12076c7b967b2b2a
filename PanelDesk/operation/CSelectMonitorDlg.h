#pragma once

#include "tree/PanelData.h"

#include <QDialog>

#include <vector>

class QComboBox;

namespace lumivane {

// "Select Monitor": picks the one monitor of several checked ones that a reading comes from. The first is
// selected at the start.
class CSelectMonitorDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CSelectMonitorDlg(const std::vector<PANEL_DATA>& monitors, QWidget* parent = nullptr);

    void select(int position);
    // The chosen monitor once accepted.
    const PANEL_DATA& chosen() const;

private:
    std::vector<PANEL_DATA> m_monitors;
    QComboBox* m_names;
};

} // namespace lumivane
