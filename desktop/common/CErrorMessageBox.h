#pragma once

#include "RunObserver.h"

#include <QDialog>

class QHBoxLayout;

namespace lumivane {

// The communication error box: the run's report in a read-only field and the four buttons that decide how
// the run goes on (Retry Command, Skip Command, Skip Monitor, Abort), the skips enabled as the run allows.
// Closing it any other way counts as Abort.
class CErrorMessageBox : public QDialog
{
    Q_OBJECT
public:
    explicit CErrorMessageBox(const ErrorBox& box, QWidget* parent = nullptr);

    ErrorChoice choose(); // shows the box modally

private:
    void addChoice(const QString& text, ErrorChoice choice, bool enabled, const char* objectName);

    QHBoxLayout* m_buttons;
};

} // namespace lumivane
