#pragma once

#include <QDialog>

#include <functional>

class QProgressBar;

namespace lumivane {

// "Communicating": the progress of a command from the status window, with Cancel. Modal, without blocking
// the server's main loop; the run closes it when it ends.
class CServCommunicateDlg : public QDialog
{
    Q_OBJECT
public:
    CServCommunicateDlg(int total, std::function<void()> cancel, QWidget* parent = nullptr);

    // Monitors done so far; the bar shows at most the total.
    void setDone(int done);
    int shownValue() const;

protected:
    void reject() override; // Cancel and Escape: the run stops between monitors

private:
    std::function<void()> m_cancel;
    QProgressBar* m_bar;
    int m_total;
};

} // namespace lumivane
