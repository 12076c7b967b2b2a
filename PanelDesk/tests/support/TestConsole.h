#pragma once

#include "ScriptedPrompter.h"
#include "common/CommandRunner.h"
#include "common/ConsoleContext.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace lumivane::test {

// Answers the sub-dialogs a window opens from a script: expect<CSomeDlg>(act) before the action that opens
// one; `act` fills it in and gives the result exec() would. A dialog opened without an expectation (or of
// another type) is rejected and counted in unexpected(); expectations nobody used are counted in pending().
class ScriptedDialogs final : public DialogRunner
{
public:
    template <typename Dialog> void expect(std::function<int(Dialog*)> act)
    {
        m_script.push_back([act = std::move(act)](QDialog& dialog) -> std::optional<int> {
            auto* typed = qobject_cast<Dialog*>(&dialog);
            if (!typed)
                return std::nullopt;
            return act(typed);
        });
    }
    int exec(QDialog& dialog) override;

    int unexpected() const { return m_unexpected; }
    size_t pending() const { return m_script.size(); }
    const QStringList& opened() const { return m_opened; } // class names, in order
    void clear()
    {
        m_script.clear();
        m_opened.clear();
        m_unexpected = 0;
    }

private:
    std::deque<std::function<std::optional<int>(QDialog&)>> m_script;
    QStringList m_opened;
    int m_unexpected = 0;
};

// The server notices a window sent.
class RecordingNotifier final : public ServerNotifier
{
public:
    void notify(int message) override { messages.push_back(message); }
    std::vector<int> messages;
};

// A runner that talks to no monitor: it records each run's title and command texts and answers `result`.
// For tests of window states that would otherwise need monitors at addresses a test must not reach.
class RecordingRunner final : public CommandRunner
{
public:
    bool run(QWidget*, const QString& title, std::span<CommandItem> items,
             const std::vector<PANEL_DATA>& monitors) override
    {
        titles << title;
        for (const CommandItem& item : items)
            commands << QString::fromLatin1(item.text);
        return !monitors.empty() && result;
    }
    bool result = true;
    QStringList titles;
    QStringList commands;
};

// The console context of a test: the test's scripted prompter, scripted sub-dialogs, the real run window
// (its error box answered by the prompter's script) and a recording notifier.
struct TestConsole
{
    explicit TestConsole(ScriptedPrompter& prompter) : runner(prompter), context{prompter, dialogs, runner, notifier} {}

    ScriptedDialogs dialogs;
    WindowCommandRunner runner;
    RecordingNotifier notifier;
    ConsoleContext context;
};

} // namespace lumivane::test
