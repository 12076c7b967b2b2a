#pragma once

#include <QWidget>

namespace lumivane {

// The "Version" page of the "Mail/Monitoring Setting" sheet: the console's version.
class CConfigVersionPage : public QWidget
{
    Q_OBJECT
public:
    explicit CConfigVersionPage(QWidget* parent = nullptr);

    // "Ver. 0.1.0"; "Ver. ???" when the program carries no version.
    static QString versionText();
};

} // namespace lumivane
