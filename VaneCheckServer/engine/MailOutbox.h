#pragma once

#include "MailMessage.h"
#include "MailResult.h"

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
    using Sender = std::function<MailResult(const MailMessage&)>;
    using AddressSource = std::function<std::vector<std::string>(int kindBit)>;

    // By default mails go through SendMail to the addresses of LoadAddresses.
    explicit MailOutbox(const CMyLog& serverLog, Sender sender = {}, AddressSource addresses = {});
    MailOutbox(const MailOutbox&) = delete;
    MailOutbox& operator=(const MailOutbox&) = delete;
    ~MailOutbox(); // sends what is queued, then ends

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

    const CMyLog& m_log;
    Sender m_sender;
    AddressSource m_addresses;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Pending> m_queue;
    bool m_busy = false;
    bool m_stopping = false;
    size_t m_sent = 0;
    std::thread m_thread;
};

} // namespace lumivane
