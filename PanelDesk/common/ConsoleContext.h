#pragma once

class QDialog;

namespace lumivane {

class CommandRunner;
class Prompter;

// Opens a dialog modally and gives its result. The console's runs exec(); a test's answers from a script.
class DialogRunner
{
public:
    virtual ~DialogRunner() = default;
    virtual int exec(QDialog& dialog) = 0;
};

class QtDialogRunner final : public DialogRunner
{
public:
    int exec(QDialog& dialog) override;
};

// Tells the monitoring server that shared data changed (windowMessages::k...).
class ServerNotifier
{
public:
    virtual ~ServerNotifier() = default;
    virtual void notify(int message) = 0;
};

class QtServerNotifier final : public ServerNotifier
{
public:
    void notify(int message) override;
};

// What the console's windows are handed instead of loose parameters: the message boxes, the sub-dialogs,
// the communication runs and the server notices. Owned by whoever builds the main window.
struct ConsoleContext
{
    Prompter& prompter;
    DialogRunner& dialogs;
    CommandRunner& runner;
    ServerNotifier& notifier;
};

} // namespace lumivane
