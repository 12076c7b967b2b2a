#pragma once

#include "InputModes.h"
#include "MonitorSetting.h"

#include <QTabWidget>
#include <QWidget>

class QLabel;
class QStackedWidget;

namespace lumivane {

class CPanelTreeCtrl;
class CBaseOperation;
class CRCOperation;
class CZRRcOperation;
struct ConsoleContext;

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
    COperationTabCtrl(ConsoleContext& context, CPanelTreeCtrl& tree, MONITOR_SETTING& setting,
                      QWidget* parent = nullptr);

    // The "Message" tab with `text`.
    void showMessage(const QString& text);
    // The "CONTROL" tab of the main series, told the mode and the input.
    CRCOperation* showControl(bool multi, InputModeIndex input, ModelCode model);
    // The "CONTROL" tab of the ZR-1190 family, told the mode and the input.
    CZRRcOperation* showZrControl(bool multi, InputModeIndex input);

    QString shownTab() const { return tabText(0); }
    QWidget* shownPage() const;
    CInvalidOperation* messagePage() const { return m_message; }
    CRCOperation* controlPage() const { return m_control; }
    CZRRcOperation* zrControlPage() const { return m_zrControl; }

private:
    void showPage(QWidget* page, const QString& tab);

    QStackedWidget* m_pages;
    CInvalidOperation* m_message;
    CRCOperation* m_control;
    CZRRcOperation* m_zrControl;
};

} // namespace lumivane
