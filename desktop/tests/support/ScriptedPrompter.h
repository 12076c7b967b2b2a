#pragma once

#include "common/Prompter.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace lumivane::test {

// The Prompter of the console tests. A test says the next answers before it acts; every box is recorded.
// A box that only offers OK needs no answer. A question asked without an answer waiting counts as
// unexpected and is answered with Cancel (or No), the answer that changes nothing.
class ScriptedPrompter : public Prompter
{
public:
    void answerNext(QMessageBox::StandardButton answer) { m_answers.push_back(answer); }
    void setNextFileName(const QString& path) { m_fileNames.push_back(path); }
    // The next communication error box takes `choice`; a box asked without one is unexpected (Abort).
    // `meanwhile` runs while the box is up (the operator fixes the cable, say).
    void answerErrorNext(ErrorChoice choice, std::function<void()> meanwhile = {})
    {
        m_errorChoices.push_back({choice, std::move(meanwhile)});
    }

    QMessageBox::StandardButton ask(QWidget* parent, const Prompt& prompt) override;
    QString openFileName(QWidget* parent, const FilePrompt& prompt) override;
    QString saveFileName(QWidget* parent, const FilePrompt& prompt) override;
    ErrorChoice askOnError(QWidget* parent, const ErrorBox& box) override;

    // Every error box asked, and the window that asked it (the run window) with its title at that moment.
    struct AskedError
    {
        ErrorBox box;
        QString windowTitle;
        QString windowObjectName;
        QStringList windowTexts; // every label's text in the asking window, top to bottom
    };
    const std::vector<AskedError>& errorBoxes() const { return m_errorBoxes; }

    const std::vector<Prompt>& asked() const { return m_asked; }
    QStringList texts() const;
    const Prompt& last() const { return m_asked.back(); }
    int unexpected() const { return m_unexpected; }
    size_t answersLeft() const { return m_answers.size() + m_errorChoices.size(); }
    void clear();

private:
    std::deque<QMessageBox::StandardButton> m_answers;
    std::deque<QString> m_fileNames;
    struct ScriptedChoice
    {
        ErrorChoice choice;
        std::function<void()> meanwhile;
    };
    std::deque<ScriptedChoice> m_errorChoices;
    std::vector<AskedError> m_errorBoxes;
    std::vector<Prompt> m_asked;
    int m_unexpected = 0;
};

} // namespace lumivane::test
