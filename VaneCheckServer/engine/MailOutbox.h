#pragma once

#include "MailMessage.h"
#include "MailResult.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace lumivane {

class CMyLog;

// Sends the server's mails one after the other on a thread of its own, so that a slow or stuck mail program
// never holds up the schedules and polls of the main thread. Each mail goes to the addresses of the list
// that ask for its kind, read when it is sent; a mail that fails is logged in the server log and not repeated.
class MailOutbox
{
public:
    // `abandon` turns true when the outbox gives up on the mail being sent (the server is ending).
    using Sender = std::function<MailResult(const MailMessage&, const std::atomic<bool>& abandon)>;
    using AddressSource = std::function<std::vector<std::string>(int kindBit)>;

    // By default mails go through SendMail to the addresses of LoadAddresses.
    explicit MailOutbox(const CMyLog& serverLog, Sender sender = {}, AddressSource addresses = {});
    MailOutbox(const MailOutbox&) = delete;
    MailOutbox& operator=(const MailOutbox&) = delete;
    ~MailOutbox(); // finish(kExitGrace) unless finished

    // How long the end of the server waits for the mails still to be sent.
    static constexpr std::chrono::milliseconds kExitGrace{3000};
    // Waits up to `grace` for the queue to empty; then stops the mail being sent (its program is killed)
    // and logs every mail still queued as not sent. Posts after this are logged as not sent.
    void finish(std::chrono::milliseconds grace);

    // `kindBit`: 1 report, 2 error notice.
    void post(int kindBit, std::string subject, std::string body);
    // Waits until every mail posted so far was handed over (or failed).
    void waitUntilIdle();
    size_t sentCount() const;

private:
    struct Pending
    {
        int kindBit;
        std::string subject;
        std::string body;
    };
    void run();
    void deliver(const Pending& mail);
    void logNotSent(const Pending& mail) const;

    const CMyLog& m_log;
    Sender m_sender;
    AddressSource m_addresses;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Pending> m_queue;
    bool m_busy = false;
    bool m_stopping = false;
    std::atomic<bool> m_abandon{false};
    size_t m_sent = 0;
    std::thread m_thread;
};

} // namespace lumivane
