#pragma once

#include "Authority.h"

#include <QDialog>

class QTabWidget;

namespace lumivane {

class Prompter;

// The "Mail/Monitoring Setting" property sheet. The Administrator gets the mail, periodical mail and
// monitoring pages in front of the version page; everybody else the version page only.
// This version of the console carries the version page; the other pages come with the mail settings.
class CConfigSheet : public QDialog
{
    Q_OBJECT
public:
    CConfigSheet(Prompter& prompter, Authority authority, QWidget* parent = nullptr);

    void showVersionPage();
    QTabWidget* pages() const { return m_pages; }

private:
    Prompter& m_prompter;
    QTabWidget* m_pages;
    QWidget* m_versionPage;
};

} // namespace lumivane
