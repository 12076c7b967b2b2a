#pragma once

#include "Authority.h"

#include <QDialog>

class QTabWidget;

namespace lumivane {

class CConfigMonitoringPage;
struct ConsoleContext;

// The "Mail/Monitoring Setting" property sheet. The Administrator gets the mail address, periodical mail
// and monitoring pages in front of the version page; everybody else the version page only. The list
// pages save each change at once; the monitoring page is saved by OK.
class CConfigSheet : public QDialog
{
    Q_OBJECT
public:
    CConfigSheet(ConsoleContext& context, Authority authority, QWidget* parent = nullptr);

    void showVersionPage();
    QTabWidget* pages() const { return m_pages; }

private:
    void acceptPages();

    QTabWidget* m_pages;
    CConfigMonitoringPage* m_monitoringPage = nullptr; // the Administrator's only
    QWidget* m_versionPage;
};

} // namespace lumivane
