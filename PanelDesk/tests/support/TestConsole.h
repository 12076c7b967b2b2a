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
