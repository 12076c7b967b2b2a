#pragma once

#include "RunObserver.h"

#include <QMessageBox>
#include <QString>

class QWidget;

namespace lumivane {

// One message box: what it says and which buttons it offers.
struct Prompt
{
    QString caption; // empty: the application title
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    bool topmost = false; // stays above every window (the panel store's error boxes)
};

// One file dialog. `filter` is in the string table's form, "Text(*.ext)|*.ext||".
struct FilePrompt
{
    QString caption;
    QString path; // the folder to start in, or the suggested file; empty: where the last file was chosen
    QString filter;
    QString defaultSuffix;        // added to a typed name without one ("esf")
    bool confirmOverwrite = true; // save only: ask before replacing an existing file
};

// Every message box and file dialog of the console goes through a Prompter, so that tests answer them
// without a screen: the console gets the real one, a test a scripted one that hands out the next answer.
class Prompter
{
public:
    virtual ~Prompter() = default;

    // The button the operator chose; Cancel (or No) when the box was closed otherwise.
    virtual QMessageBox::StandardButton ask(QWidget* parent, const Prompt& prompt) = 0;
    // The chosen path; empty when cancelled.
    virtual QString openFileName(QWidget* parent, const FilePrompt& prompt) = 0;
    virtual QString saveFileName(QWidget* parent, const FilePrompt& prompt) = 0;
    // The communication error box of a run: the operator's choice among the enabled buttons.
    virtual ErrorChoice askOnError(QWidget* parent, const ErrorBox& box) = 0;

    // Shorthands for the usual boxes.
    void plain(QWidget* parent, const QString& text);
    void information(QWidget* parent, const QString& text);
    void exclamation(QWidget* parent, const QString& text);
    void error(QWidget* parent, const QString& text);
    // OK and Cancel; true for OK.
    bool confirm(QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::NoIcon);
};

// The prompter of the running console: real message boxes and file dialogs.
class QtPrompter final : public Prompter
{
public:
    QMessageBox::StandardButton ask(QWidget* parent, const Prompt& prompt) override;
    QString openFileName(QWidget* parent, const FilePrompt& prompt) override;
    QString saveFileName(QWidget* parent, const FilePrompt& prompt) override;
    ErrorChoice askOnError(QWidget* parent, const ErrorBox& box) override;

    // The folder of the last file chosen, where the next dialog without a path starts.
    const QString& lastFolder() const { return m_lastFolder; }

private:
    enum class FileMode
    {
        Open,
        Save
    };
    QString chooseFile(QWidget* parent, const FilePrompt& prompt, FileMode mode);

    QString m_lastFolder;
};

// "Enlarge Setting File(*.esf)|*.esf||" → "Enlarge Setting File(*.esf) (*.esf)", pairs joined by ";;".
QString qtFileFilter(const QString& tableFilter);

} // namespace lumivane
