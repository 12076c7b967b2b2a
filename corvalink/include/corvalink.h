/* The link to the monitors: one handle per open port (a COM port, possibly a daisy chain, or one LAN
 * monitor), line-based commands and replies, daisy-chain IDs and the LAN search. One thread uses a handle
 * at a time. No call blocks forever: connects, log-ins and replies have time-outs, and a set cancel flag
 * cuts a wait short.
 *
 * Port texts: "COM<n>" (1..256) is $LUMIVANE_COM<n> when set, else the entry COM<n> of section [ComPorts]
 * of QVXCtrlEnv.ini in the program folder, else /dev/ttyS<n-1>; it is opened exclusively (flock and
 * TIOCEXCL), raw 8N1 at the speed of the baud code. "LAN<a>.<b>.<c>.<d>:<port>" (port 10008 when left
 * out) is one TCP connection with TCP_NODELAY.
 *
 * Time-outs: connect 2 s; greeting, log-in and reply 5 s, or the wait value of the open flags in seconds
 * when it is not 0; $LUMIVANE_LINK_TIMEOUT_MS, when set, replaces all of them. A refused connection or an
 * unreachable address fails at once.
 *
 * Every command leaves in one write: "#<id>" (three digits, IDs 1..255) unless the ID is 0 or the command
 * is a chain command, the text, CR. A command text holding a control character is refused with status 1
 * and not sent. Input left over from an earlier command (a reply that came after its time-out) is thrown
 * away before the next command leaves. After a closed connection or an overlong reply line the handle
 * answers every call with status 1; reopen it. */
#ifndef CORVALINK_H
#define CORVALINK_H

#include <stdint.h>

#if defined(CORVALINK_BUILDING)
#define CORVALINK_API __attribute__((visibility("default")))
#else
#define CORVALINK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes of every call that talks to a monitor. */
enum {
    LINK_OK = 0,
    LINK_ERROR = 1,           /* general communication error: closed connection, garbage, wrong ID */
    LINK_PORT_BUSY = 7,       /* port in use or wrong */
    LINK_TIMEOUT = 8,
    LINK_MONITOR_ERROR = 9,   /* the monitor answered ERR */
    LINK_LOCKED = 10,         /* control is locked on the monitor */
    LINK_CANCELLED = 11,      /* never returned by the link: the programs use it for the operator's cancel */
    LINK_LOGIN_DENIED = 12,
    LINK_ACCESS_REFUSED = 13, /* access from this PC is not permitted */
    LINK_WRONG_INTERFACE = 14
};

/* Open flags: bits 0-7 monitor ID, 8-15 mode (not used by the link), 16-23 wait (reply time-out in
 * seconds, 0 default), 24-31 baud code (4 9600, 5 19200, 6 38400, 7 115200; any other 9600). */
#define LINK_FLAGS(id, mode, wait, baudCode)                                                              \
    ((uint32_t)((id) & 0xFF) | ((uint32_t)((mode) & 0xFF) << 8) | ((uint32_t)((wait) & 0xFF) << 16) |    \
     ((uint32_t)((baudCode) & 0xFF) << 24))

typedef struct LINK_OBJECT* LINK_HANDLE;
typedef struct {
    uint32_t address; /* IPv4, first octet in the most significant byte */
    uint32_t dataPort;
} LINK_LAN_DEVICE;

/* Opens a port. NULL when the port text is bad, the port cannot be opened or is held by another opener,
 * the connection fails, the monitor answers BUSY or no usable greeting, or the cancel flag is set. A LAN
 * monitor that asks for a log-in gets `user` and `password` (NULL counts as empty); when it denies the
 * log-in, or refuses this PC's address, the handle returned answers every call with status 12 or 13.
 * `cancel` may be NULL; otherwise the handle keeps it and looks at it while waiting for replies, so it must
 * stay valid until LinkClose. LinkOpen is LinkOpenLogin with empty credentials and no cancel flag. */
CORVALINK_API LINK_HANDLE LinkOpen(const char* port, uint32_t flags);
CORVALINK_API LINK_HANDLE LinkOpenLogin(const char* port, const char* user, const char* password, uint32_t flags,
                                        volatile int32_t* cancel);
/* Closes the port and frees the handle; NULL is allowed. */
CORVALINK_API void LinkClose(LINK_HANDLE h);

/* Keys: LinkSet takes "command" with a command text, or "multi" with "off" (sends MWIN0000); the queries
 * take "command:" or "Command:" followed by the command text. The three trailing words are unused.
 * Statuses: 0 OK or a value; 9 ERR; 10 LOCKED; 14 IFERR; 8 no reply in time; 1 for everything else: a
 * query answered OK, a setting answered with a value, a reply for another ID, a reply holding control
 * characters, a closed connection, a line over 4095 bytes, a pair without comma, a cancelled wait, a bad
 * argument. A failed query leaves its results as they were. */
CORVALINK_API int32_t LinkSet(LINK_HANDLE h, const char* key, const char* value, int32_t r1, int32_t r2, int32_t r3);
CORVALINK_API int32_t LinkGetNumber(LINK_HANDLE h, const char* key, int32_t* value, int32_t r1, int32_t r2,
                                    int32_t r3);
CORVALINK_API int32_t LinkGetPair(LINK_HANDLE h, const char* key, int32_t* first, int32_t* second, int32_t r1,
                                  int32_t r2, int32_t r3);
/* The reply line, cut to size - 1 bytes and zero-terminated. */
CORVALINK_API int32_t LinkGetText(LINK_HANDLE h, const char* key, char* buffer, int32_t size);
/* Sends IDLS???? (without prefix) and stores the comma-separated IDs of the chain, cut to 4095 bytes. */
CORVALINK_API int32_t LinkReadIdList(LINK_HANDLE h, char* buffer4096, int32_t r1, int32_t r2, int32_t r3);
/* When `idList` (a 4096-byte buffer as LinkReadIdList fills it) holds a 0, an ID twice or something that
 * is no ID 1..255, sends IDAS0001, reads IDLS???? again and writes the new list into `idList`. A list that
 * is already unique is left as it is and nothing is sent (status 0). */
CORVALINK_API int32_t LinkAssignIds(LINK_HANDLE h, char* idList, int32_t r1, int32_t r2, int32_t r3);
/* Sends the UDP probe "DISCOVER" CR LF to `port` on every target and collects the "HERE <data port>"
 * answers for 1000 ms after the last probe, each answering address once. Targets: $LUMIVANE_LAN_SEARCH
 * (read at every call: comma-separated IPv4 addresses and ranges A-B; set but empty means none) or, when
 * it is not set, the limited broadcast and every interface's broadcast address. `lan` must be "LAN".
 * Returns the count; *list is then a list to free with LinkFreeLanList, or NULL when the count is 0. */
CORVALINK_API int32_t LinkFindLan(const char* lan, int32_t port, LINK_LAN_DEVICE** list);
CORVALINK_API void LinkFreeLanList(const char* lan, LINK_LAN_DEVICE* list);

#ifdef __cplusplus
}
#endif

#endif /* CORVALINK_H */
