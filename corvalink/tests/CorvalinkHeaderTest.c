/* The public header compiles as C on its own, and its flag macro packs the fields as documented. */
#include "corvalink.h"

#include <stddef.h>

int main(void)
{
    LINK_HANDLE h = NULL;
    LINK_LAN_DEVICE device = {0x7F000002u, 10008u};
    const uint32_t flags = LINK_FLAGS(3, 2, 5, 6);
    (void)h;
    (void)device;
    if (flags != 0x06050203u)
        return 1;
    if (LINK_OK != 0 || LINK_TIMEOUT != 8 || LINK_ACCESS_REFUSED != 13 || LINK_WRONG_INTERFACE != 14)
        return 1;
    /* Closing no handle is allowed. */
    LinkClose(NULL);
    return LinkSet(NULL, "command", "POWR0001", 0, 0, 0) == LINK_ERROR ? 0 : 1;
}
