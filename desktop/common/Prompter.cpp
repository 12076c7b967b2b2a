#include "Prompter.h"

#include "CErrorMessageBox.h"
#include "UiText.h"

#include <QFileDialog>
#include <QFileInfo>

namespace lumivane {

void Prompter::plain(QWidget* parent, const QString& text)
{
    ask(parent, {QString(), text, QMessageBox::NoIcon, QMessageBox::Ok});
}

void Prompter::information(QWidget* parent, const QString& text)
{
    ask(parent, {QString(), text, QMessageBox::Information, QMessageBox::Ok});
}

void Prompter::exclamation(QWidget* parent, const QString& text)
{
    ask(parent, {QString(), text, QMessageBox::Warning, QMessageBox::Ok});
}

void Prompter::error(QWidget* parent, const QString& text)
{
    ask(parent, {QString(), text, QMessageBox::Critical, QMessageBox::Ok});
}

bool Prompter::confirm(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    return ask(parent, {QString(), text, icon, QMessageBox::Ok | QMessageBox::Cancel}) == QMessageBox::Ok;
}

QMessageBox::StandardButton QtPrompter::ask(QWidget* parent, const Prompt& prompt)
{
    QMessageBox box(prompt.icon, prompt.caption.isEmpty() ? applicationTitle() : prompt.caption, prompt.text,
                    prompt.buttons, parent);
    if (prompt.topmost)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const auto chosen = QMessageBox::StandardButton(box.exec());
    if (chosen != QMessageBox::NoButton)
        return chosen;
    // Closed without a button that stands for closing: count it as the refusing one.
    return prompt.buttons & QMessageBox::Cancel ? QMessageBox::Cancel : QMessageBox::No;
}

QString QtPrompter::openFileName(QWidget* parent, const FilePrompt& prompt)
{
    return chooseFile(parent, prompt, FileMode::Open);
}

QString QtPrompter::saveFileName(QWidget* parent, const FilePrompt& prompt)
{
    return chooseFile(parent, prompt, FileMode::Save);
}

QString QtPrompter::chooseFile(QWidget* parent, const FilePrompt& prompt, FileMode mode)
{
    QFileDialog dialog(parent, prompt.caption, prompt.path.isEmpty() ? m_lastFolder : prompt.path,
                       qtFileFilter(prompt.filter));
    if (mode == FileMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !prompt.confirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.setDefaultSuffix(prompt.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().first();
    m_lastFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

ErrorChoice QtPrompter::askOnError(QWidget* parent, const ErrorBox& box)
{
    CErrorMessageBox dialog(box, parent);
    return dialog.choose();
}

QString qtFileFilter(const QString& tableFilter)
{
    const QStringList parts = tableFilter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        filters << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    }
    return filters.join(";;");
}

} // namespace lumivane
