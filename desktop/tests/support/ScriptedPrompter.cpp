#include "ScriptedPrompter.h"

#include <QLabel>
#include <QWidget>

namespace lumivane::test {

QMessageBox::StandardButton ScriptedPrompter::ask(QWidget* /*parent*/, const Prompt& prompt)
{
    m_asked.push_back(prompt);
    if (!m_answers.empty()) {
        const QMessageBox::StandardButton answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    if (prompt.buttons == QMessageBox::Ok)
        return QMessageBox::Ok;
    ++m_unexpected;
    return prompt.buttons & QMessageBox::Cancel ? QMessageBox::Cancel : QMessageBox::No;
}

QString ScriptedPrompter::openFileName(QWidget* /*parent*/, const FilePrompt& /*prompt*/)
{
    if (m_fileNames.empty()) {
        ++m_unexpected;
        return {};
    }
    const QString path = m_fileNames.front();
    m_fileNames.pop_front();
    return path;
}

QString ScriptedPrompter::saveFileName(QWidget* parent, const FilePrompt& prompt)
{
    return openFileName(parent, prompt);
}

ErrorChoice ScriptedPrompter::askOnError(QWidget* parent, const ErrorBox& box)
{
    AskedError asked{box, {}, {}, {}};
    if (parent) {
        asked.windowTitle = parent->windowTitle();
        asked.windowObjectName = parent->objectName();
        for (const QLabel* label : parent->findChildren<QLabel*>())
            if (label->isVisibleTo(parent))
                asked.windowTexts << label->text();
    }
    m_errorBoxes.push_back(asked);
    if (m_errorChoices.empty()) {
        ++m_unexpected;
        return ErrorChoice::Abort;
    }
    const ScriptedChoice next = m_errorChoices.front();
    m_errorChoices.pop_front();
    if (next.meanwhile)
        next.meanwhile();
    return next.choice;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList texts;
    for (const Prompt& prompt : m_asked)
        texts << prompt.text;
    return texts;
}

void ScriptedPrompter::clear()
{
    m_answers.clear();
    m_fileNames.clear();
    m_errorChoices.clear();
    m_errorBoxes.clear();
    m_asked.clear();
    m_unexpected = 0;
}

} // namespace lumivane::test
