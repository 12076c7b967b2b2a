#include "CommandIo.h"

#include "WindowMessage.h"

namespace lumivane::ctl {

void tellServer(int message)
{
    postWindowMessage(kServerWindowClass, {message, 0, 0}); // no server running: it reads the files at start
}

} // namespace lumivane::ctl
