#include "StopSignals.h"

#include <csignal>
#include <pthread.h>

namespace lumivane {
namespace {

// SIGUSR1 ends the waiting thread.
sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGUSR1);
    return set;
}

} // namespace

void StopSignals::block()
{
    sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

StopSignals::StopSignals(std::function<void()> onStop)
    : m_thread([onStop = std::move(onStop)] {
          const sigset_t set = stopSignals();
          for (;;) {
              int signal = 0;
              if (sigwait(&set, &signal) != 0)
                  continue;
              if (signal == SIGUSR1)
                  return;
              onStop();
          }
      })
{
}

StopSignals::~StopSignals()
{
    pthread_kill(m_thread.native_handle(), SIGUSR1);
    m_thread.join();
}

} // namespace lumivane
