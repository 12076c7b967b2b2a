#pragma once

#include "StatusList.h"

#include <QDialog>

class QTreeWidget;

namespace lumivane {

// "Property - <name>": what the server knows of one monitor, from a copy taken when the window opened.
class CServPropertyDlg : public QDialog
{
    Q_OBJECT
public:
    CServPropertyDlg(const ServerPanel& panel, const std::optional<ScheduleEvent>& nextAction,
                     QWidget* parent = nullptr);

    QTreeWidget* informationList() const { return m_information; }
    QTreeWidget* statusList() const { return m_status; }

private:
    QTreeWidget* m_information;
    QTreeWidget* m_status;
};

} // namespace lumivane
