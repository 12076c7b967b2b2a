#include "MailOutbox.h"

#include "CMyLog.h"
#include "MailAddressList.h"
#include "SendMail.h"

namespace lumivane {

MailOutbox::MailOutbox(const CMyLog& serverLog, Sender sender, AddressSource addresses)
    : m_log(serverLog), m_sender(std::move(sender)), m_addresses(std::move(addresses))
{
    if (!m_sender)
        m_sender = [](const MailMessage& message, const std::atomic<bool>& abandon) {
            return SendMail(message, kSendmailTimeout, &abandon);
        };
    if (!m_addresses)
        m_addresses = [](int kindBit) { return LoadAddresses(kindBit); };
    m_thread = std::thread([this] { run(); });
}

MailOutbox::~MailOutbox()
{
    finish(kExitGrace);
}

void MailOutbox::finish(std::chrono::milliseconds grace)
{
    if (!m_thread.joinable())
        return;
    {
        std::unique_lock lock(m_mutex);
        m_stopping = true;
        m_wake.notify_all();
        if (!m_idle.wait_for(lock, grace, [this] { return m_queue.empty() && !m_busy; }))
            m_abandon = true;
    }
    m_wake.notify_all();
    m_thread.join();
    m_abandon = true; // nobody sends any more
}

void MailOutbox::post(int kindBit, std::string subject, std::string body)
{
    {
        const std::lock_guard lock(m_mutex);
        if (!m_abandon) {
            m_queue.push_back({kindBit, std::move(subject), std::move(body)});
            m_wake.notify_all();
            return;
        }
    }
    logNotSent({kindBit, std::move(subject), std::move(body)});
}

void MailOutbox::logNotSent(const Pending& mail) const
{
    m_log.Error("Mail not sent, the server is ending: " + mail.subject);
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
        if (m_abandon) {
            for (const Pending& mail : m_queue)
                logNotSent(mail);
            m_queue.clear();
        }
        if (m_queue.empty()) {
            m_idle.notify_all();
            return; // stopping, and everything was sent or given up
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
    const MailResult result = m_sender(message, m_abandon);
    if (!result.ok)
        m_log.Error(result.detail.empty() ? result.text : result.text + " (" + result.detail + ")");
}

} // namespace lumivane
