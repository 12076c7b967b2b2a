#pragma once

#include "NamedMutex.h"
#include "WindowMessageListener.h"

#include <chrono>
#include <string>

namespace lumivane {

// One program instance per machine: the first start takes the machine-wide instance mutex and listens for
// window messages under its window class; a later start finds the mutex taken and posts to the first one.
class SingleInstance
{
public:
    // `mutexName` is the plain name ("VaneController"); "Global\" is put in front of it.
    SingleInstance(const std::string& mutexName, std::string windowClass);
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance(); // stops listening, then releases the mutex

    enum class Start
    {
        First,          // this is the instance; its listener is open
        AlreadyRunning, // another instance holds the mutex
        Failed,         // no mutex or no socket (see error)
    };
    Start start(std::string& error);

    WindowMessageListener& listener() { return m_listener; }

    // From a later start: posts `message` to the running instance. While that instance is between taking
    // the mutex and listening, the post is repeated for up to `patience`.
    PostResult postToRunning(const WindowMessage& message,
                             std::chrono::milliseconds patience = std::chrono::milliseconds(2000)) const;

private:
    NamedMutex m_mutex;
    std::string m_windowClass;
    WindowMessageListener m_listener;
    bool m_owner = false;
};

} // namespace lumivane
