#include "MailOutbox.h"

#include "CMyLog.h"
#include "MailAddressList.h"
#include "SendMail.h"

namespace lumivane {

MailOutbox::MailOutbox(const CMyLog& serverLog, Sender sender, AddressSource addresses)
    : m_log(serverLog), m_sender(std::move(sender)), m_addresses(std::move(addresses))
{
    if (!m_sender)
        m_sender = [](const MailMessage& message) { return SendMail(message); };
    if (!m_addresses)
        m_addresses = [](int kindBit) { return LoadAddresses(kindBit); };
    m_thread = std::thread([this] { run(); });
}

MailOutbox::~MailOutbox()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void MailOutbox::post(int kindBit, std::string subject, std::string body)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back({kindBit, std::move(subject), std::move(body)});
    }
    m_wake.notify_all();
}

void MailOutbox::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

size_t MailOutbox::sentCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_sent;
}

void MailOutbox::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty()) {
            m_idle.notify_all();
            return; // stopping, and everything was sent
        }
        const Pending mail = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        deliver(mail);
        lock.lock();
        m_busy = false;
        ++m_sent;
        if (m_queue.empty())
            m_idle.notify_all();
    }
}

void MailOutbox::deliver(const Pending& mail)
{
    MailMessage message;
    message.recipients = m_addresses(mail.kindBit);
    if (message.recipients.empty())
        return;
    message.subject = mail.subject;
    message.body = mail.body;
    const MailResult result = m_sender(message);
    if (!result.ok)
        m_log.Error(result.detail.empty() ? result.text : result.text + " (" + result.detail + ")");
}

} // namespace lumivane
