#include "CErrorMessageBox.h"

#include "UiText.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumivane {

CErrorMessageBox::CErrorMessageBox(const ErrorBox& box, QWidget* parent) : QDialog(parent), m_buttons(new QHBoxLayout)
{
    setObjectName("errorMessageBox");
    setWindowTitle(ConsoleText::tr("Communication Error"));
    auto* report = new QPlainTextEdit(this);
    report->setObjectName("reportEdit");
    report->setReadOnly(true);
    report->setPlainText(QString::fromStdString(box.text).remove('\r'));
    report->setMinimumSize(480, 270);

    addChoice(ConsoleText::tr("&Retry Command"), ErrorChoice::RetryCommand, true, "retryCommandButton");
    addChoice(ConsoleText::tr("&Skip Command"), ErrorChoice::SkipCommand, box.skipCommandEnabled, "skipCommandButton");
    addChoice(ConsoleText::tr("Skip &Monitor"), ErrorChoice::SkipMonitor, box.skipMonitorEnabled, "skipMonitorButton");
    addChoice(ConsoleText::tr("&Abort"), ErrorChoice::Abort, true, "abortButton");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(report);
    layout->addLayout(m_buttons);
}

void CErrorMessageBox::addChoice(const QString& text, ErrorChoice choice, bool enabled, const char* objectName)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setEnabled(enabled);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, choice] { done(int(choice) + 1); });
    m_buttons->addWidget(button);
}

ErrorChoice CErrorMessageBox::choose()
{
    const int result = exec();
    return result > 0 ? ErrorChoice(result - 1) : ErrorChoice::Abort;
}

} // namespace lumivane
