#pragma once

#include <QTabWidget>
#include <QWidget>

class QLabel;

namespace lumivane {

// The "Message" page: one explanatory text where no settings can be shown.
class CInvalidOperation : public QWidget
{
    Q_OBJECT
public:
    explicit CInvalidOperation(QWidget* parent = nullptr);
    void setMessage(const QString& text);
    QString message() const;

private:
    QLabel* m_text;
};

// The operation window's tab control: shows one page at a time under its tab.
class COperationTabCtrl : public QTabWidget
{
    Q_OBJECT
public:
    explicit COperationTabCtrl(QWidget* parent = nullptr);

    // The "Message" tab with `text`.
    void showMessage(const QString& text);
    // The "CONTROL" tab for the chosen input.
    void showControl();

    QString shownTab() const { return count() > 0 ? tabText(0) : QString(); }
    CInvalidOperation* messagePage() const { return m_message; }

private:
    void showPage(QWidget* page, const QString& tab);

    CInvalidOperation* m_message;
    CInvalidOperation* m_control; // until the CONTROL page is part of the console
};

} // namespace lumivane
