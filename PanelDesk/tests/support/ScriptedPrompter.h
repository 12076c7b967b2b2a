#pragma once

#include "common/Prompter.h"

#include <QStringList>

#include <deque>
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

    QMessageBox::StandardButton ask(QWidget* parent, const Prompt& prompt) override;
    QString openFileName(QWidget* parent, const FilePrompt& prompt) override;
    QString saveFileName(QWidget* parent, const FilePrompt& prompt) override;

    const std::vector<Prompt>& asked() const { return m_asked; }
    QStringList texts() const;
    const Prompt& last() const { return m_asked.back(); }
    int unexpected() const { return m_unexpected; }
    size_t answersLeft() const { return m_answers.size(); }
    void clear();

private:
    std::deque<QMessageBox::StandardButton> m_answers;
    std::deque<QString> m_fileNames;
    std::vector<Prompt> m_asked;
    int m_unexpected = 0;
};

} // namespace lumivane::test
