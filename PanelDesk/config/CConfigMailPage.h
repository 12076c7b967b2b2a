#pragma once

#include "MailAddressList.h"

#include <QWidget>

#include <vector>

class QPushButton;
class QTableWidget;

namespace lumivane {

struct ConsoleContext;
struct MailResult;

// The "Mail Address" page: the addresses that get the server's mails. Every change is written to the
// address file at once; the server reads that file whenever it sends, so it needs no notice.
class CConfigMailPage : public QWidget
{
    Q_OBJECT
public:
    explicit CConfigMailPage(ConsoleContext& context, QWidget* parent = nullptr);

    const std::vector<MailAddress>& addresses() const { return m_addresses; }

private:
    void addAddress();
    void editAddress();
    void deleteAddress();
    void sendTestMail();
    void changed(int rowToSelect);
    void showRows(int rowToSelect);
    void updateButtons();
    void tell(const MailResult& result);

    ConsoleContext& m_context;
    std::vector<MailAddress> m_addresses; // the rows, in file order
    QTableWidget* m_list;
    QPushButton* m_editButton;
    QPushButton* m_deleteButton;
    QPushButton* m_testMailButton;
};

} // namespace lumivane
