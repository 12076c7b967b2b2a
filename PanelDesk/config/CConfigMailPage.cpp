#include "CConfigMailPage.h"

#include "CMailAddressDlg.h"
#include "ConfigPageWidgets.h"
#include "MailSettingRules.h"
#include "SendMail.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <thread>

namespace lumivane {
namespace {

constexpr int kTestMailQuestion = 182; // "The test mail to \"%s\" will be sent. "

// The operator's text of a mail result, through the console's translation.
QString resultText(const MailResult& result)
{
    if (result.message == kSendMailErrorCodeMessage)
        return uiFormat(result.message, result.errorCode);
    if (result.message != 0)
        return uiText(result.message);
    return QString::fromStdString(result.text);
}

// The mail program may take up to its time limit: it runs beside the window, which keeps painting but
// takes no input until the mail is handed over.
MailResult sendTestMailBeside(const std::string& address)
{
    MailResult result;
    QEventLoop waiting;
    std::thread sender([&] {
        result = lumivane::sendTestMail(address);
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();
    sender.join();
    return result;
}

} // namespace

CConfigMailPage::CConfigMailPage(ConsoleContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_addresses(loadAddressList()),
      m_list(
          makeSettingList(this, "addressList", {uiText(178), ConsoleText::tr("Periodical"), ConsoleText::tr("Error")})),
      m_editButton(makePageButton(this, ConsoleText::tr("&Edit..."), "editButton")),
      m_deleteButton(makePageButton(this, ConsoleText::tr("&Delete"), "deleteButton")),
      m_testMailButton(makePageButton(this, ConsoleText::tr("Send &test mail"), "testMailButton"))
{
    setObjectName("mailPage");
    m_list->setMinimumSize(480, 220);
    m_list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->setColumnWidth(1, 80);
    m_list->setColumnWidth(2, 80);
    auto* addButton = makePageButton(this, ConsoleText::tr("&Add..."), "addButton");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton);
    buttons->addWidget(m_editButton);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    buttons->addWidget(m_testMailButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(addButton, &QPushButton::clicked, this, &CConfigMailPage::addAddress);
    connect(m_editButton, &QPushButton::clicked, this, &CConfigMailPage::editAddress);
    connect(m_deleteButton, &QPushButton::clicked, this, &CConfigMailPage::deleteAddress);
    connect(m_testMailButton, &QPushButton::clicked, this, &CConfigMailPage::sendTestMail);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CConfigMailPage::updateButtons);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, &CConfigMailPage::editAddress);

    showRows(-1);
}

void CConfigMailPage::addAddress()
{
    CMailAddressDlg dialog(m_context.prompter, MailAddress(), this);
    if (m_context.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    m_addresses.push_back(dialog.entry());
    changed(int(m_addresses.size()) - 1);
}

void CConfigMailPage::editAddress()
{
    const int row = selectedRow(m_list);
    if (row < 0)
        return;
    CMailAddressDlg dialog(m_context.prompter, m_addresses[size_t(row)], this);
    if (m_context.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    m_addresses[size_t(row)] = dialog.entry();
    changed(row);
}

void CConfigMailPage::deleteAddress()
{
    const int row = selectedRow(m_list);
    if (row < 0)
        return;
    m_addresses.erase(m_addresses.begin() + row);
    changed(-1);
}

void CConfigMailPage::sendTestMail()
{
    const int row = selectedRow(m_list);
    if (row < 0)
        return;
    const std::string& address = m_addresses[size_t(row)].address;
    if (!m_context.prompter.confirm(this, uiFormat(kTestMailQuestion, address.c_str()), QMessageBox::Question))
        return;
    tell(sendTestMailBeside(address));
}

// Every change shows the list anew and writes the file whole; a failed write leaves the change on screen.
void CConfigMailPage::changed(int rowToSelect)
{
    showRows(rowToSelect);
    tell(SaveAddresses(m_addresses));
}

void CConfigMailPage::showRows(int rowToSelect)
{
    std::vector<std::vector<std::string>> rows;
    for (const MailAddress& entry : m_addresses)
        rows.push_back(mailAddressRowTexts(entry));
    fillSettingList(m_list, rows);
    selectRow(m_list, rowToSelect);
    updateButtons();
}

void CConfigMailPage::updateButtons()
{
    const bool selected = selectedRow(m_list) >= 0;
    m_editButton->setEnabled(selected);
    m_deleteButton->setEnabled(selected);
    m_testMailButton->setEnabled(selected);
}

void CConfigMailPage::tell(const MailResult& result)
{
    if (result.message == 0)
        return;
    if (result.ok)
        m_context.prompter.information(this, resultText(result));
    else if (result.stopIcon)
        m_context.prompter.error(this, resultText(result));
    else
        m_context.prompter.exclamation(this, resultText(result));
}

} // namespace lumivane
