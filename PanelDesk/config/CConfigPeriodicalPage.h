#pragma once

#include "CMailScheduleList.h"

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace lumivane {

struct ConsoleContext;

// The "Periodical Mail" page: the days and times of the server's report mail. Every change is written
// at once and the server told (kSchedulesChanged).
class CConfigPeriodicalPage : public QWidget
{
    Q_OBJECT
public:
    explicit CConfigPeriodicalPage(ConsoleContext& context, QWidget* parent = nullptr);

    const CMailScheduleList& times() const { return m_times; }

private:
    void addTime();
    void editTime();
    void deleteTime();
    void saveAndShow(int rowToSelect);
    void showRows(int rowToSelect);
    void updateButtons();

    ConsoleContext& m_context;
    CMailScheduleList m_times;
    QTableWidget* m_list;
    QPushButton* m_editButton;
    QPushButton* m_deleteButton;
};

} // namespace lumivane
