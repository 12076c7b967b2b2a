#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;

namespace lumivane {

struct ConsoleContext;

// The "Monitoring" page: whether and how often the server checks the monitors, and what it does on a
// hardware error. Written to [Check] of the operator settings when the sheet is closed with OK.
class CConfigMonitoringPage : public QWidget
{
    Q_OBJECT
public:
    explicit CConfigMonitoringPage(ConsoleContext& context, QWidget* parent = nullptr);

    bool isModified() const { return m_modified; }
    // Writes the four keys and tells the server (kSettingsChanged); nothing when nothing was changed.
    void apply();

private:
    void updateIntervalEnabled();

    ConsoleContext& m_context;
    bool m_modified = false;
    QCheckBox* m_monitoringCheck;
    QLabel* m_intervalLabel;
    QComboBox* m_intervalCombo;
    QCheckBox* m_messageBoxCheck;
    QCheckBox* m_logAttachCheck;
};

} // namespace lumivane
