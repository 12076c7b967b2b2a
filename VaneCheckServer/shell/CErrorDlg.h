#pragma once

#include "StatusList.h"

#include <QDialog>

class QTreeWidget;

namespace lumivane {

// "ERROR detected!": the errors of the server's runs, (monitor name, message), at most 100 lines. Shown
// modal without blocking the server's main loop; closing it deletes it, and the next error makes a new one.
class CErrorDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CErrorDlg(QWidget* parent = nullptr);

    // Adds the pairs that waited while no list was shown.
    void addEntries(const ErrorListEntries& entries);
    // False when the list is full (the pair is dropped).
    bool addEntry(const std::string& monitorName, const std::string& text);
    int lineCount() const;
    // Shows the list and brings it forward.
    void present();

private:
    ErrorListEntries m_entries;
    QTreeWidget* m_list;
};

} // namespace lumivane
