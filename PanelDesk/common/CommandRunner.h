#pragma once

#include "CommandItem.h"
#include "tree/PanelData.h"

#include <QString>

#include <span>
#include <vector>

class QWidget;

namespace lumivane {

class Prompter;

// How every console window runs a command list over monitors. True when every command of every monitor
// succeeded; false at once, without a window, when there is no monitor.
class CommandRunner
{
public:
    virtual ~CommandRunner() = default;
    virtual bool run(QWidget* parent, const QString& title, std::span<CommandItem> items,
                     const std::vector<PANEL_DATA>& monitors) = 0;
};

// The console's runner: the run window (CCommunicateDlg) over the worker, the error box through the prompter.
class WindowCommandRunner final : public CommandRunner
{
public:
    explicit WindowCommandRunner(Prompter& prompter) : m_prompter(prompter) {}
    bool run(QWidget* parent, const QString& title, std::span<CommandItem> items,
             const std::vector<PANEL_DATA>& monitors) override;

private:
    Prompter& m_prompter;
};

} // namespace lumivane
