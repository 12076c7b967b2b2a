#pragma once

#include <QWidget>

#include <cstdint>

class QLabel;

namespace lumivane {

class CPanelTreeCtrl;
class Prompter;

// Stands in the main window's page area for the operation window until that window is built: the panel
// tree of the operation window (check boxes on) and a note, and the settings the main window hands to
// the operation window.
class COperationPlaceholder : public QWidget
{
    Q_OBJECT
public:
    explicit COperationPlaceholder(Prompter& prompter, QWidget* parent = nullptr);

    // Restricted layout: power only, and the input mode when `inputSelection`.
    void setRestricted(bool restricted, bool inputSelection);
    // The Normal Operator's mask (all bits for the other roles).
    void setCustomizeMask(uint16_t mask);
    void reloadMonitorTree();

    bool restricted() const { return m_restricted; }
    bool inputSelection() const { return m_inputSelection; }
    uint16_t customizeMask() const { return m_customizeMask; }
    CPanelTreeCtrl* tree() const { return m_tree; }

private:
    void describe();

    CPanelTreeCtrl* m_tree;
    QLabel* m_note;
    bool m_restricted = false;
    bool m_inputSelection = true;
    uint16_t m_customizeMask = 0xFFFF;
};

} // namespace lumivane
