// The exported operations of the link library. No exception leaves them; every failure is a status or a
// missing handle.
#include "corvalink.h"

#include "LanLogin.h"
#include "LanSearch.h"
#include "Link.h"
#include "LinkLimits.h"
#include "PortName.h"
#include "Reply.h"
#include "SerialTransport.h"
#include "TcpTransport.h"
#include "Wait.h"

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <strings.h>

using lumivane::link::Link;

struct LINK_OBJECT
{
    std::unique_ptr<Link> link;
};

namespace {

using namespace lumivane::link;

// Search targets taken from $LUMIVANE_LAN_SEARCH at most (a /16 range).
constexpr size_t kMaxSearchTargets = 65536;

LINK_HANDLE wrap(std::unique_ptr<Link> link)
{
    return new LINK_OBJECT{std::move(link)};
}

LINK_HANDLE openSerial(const PortName& name, uint32_t flags, volatile int32_t* cancel)
{
    auto transport = SerialTransport::open(serialDeviceFor(name.comNumber), static_cast<int>(flags >> 24));
    if (!transport)
        return nullptr;
    return wrap(
        std::make_unique<Link>(std::move(transport), static_cast<int>(flags & 0xFF), timeoutsFor(flags), cancel));
}

LINK_HANDLE openLan(const PortName& name, const char* user, const char* password, uint32_t flags,
                    volatile int32_t* cancel)
{
    const LinkTimeouts timeouts = timeoutsFor(flags);
    TcpTransport::ConnectResult result;
    auto transport = TcpTransport::connect(name.address, name.dataPort, Deadline(timeouts.connectMs), cancel, result);
    if (!transport)
        return nullptr;
    switch (greetAndLogIn(*transport, user ? user : "", password ? password : "", timeouts.replyMs, cancel)) {
    case LoginOutcome::Ready:
        return wrap(std::make_unique<Link>(std::move(transport), static_cast<int>(flags & 0xFF), timeouts, cancel));
    case LoginOutcome::Denied:
        return wrap(std::make_unique<Link>(LINK_LOGIN_DENIED));
    case LoginOutcome::Refused:
        return wrap(std::make_unique<Link>(LINK_ACCESS_REFUSED));
    case LoginOutcome::Busy:
    case LoginOutcome::Failed:
        break;
    }
    return nullptr;
}

// The command text of a query key: "command:" or "Command:" followed by the text.
bool queryText(const char* key, std::string_view& text)
{
    constexpr size_t prefixLength = sizeof "command:" - 1;
    if (key == nullptr || std::strlen(key) < prefixLength || ::strncasecmp(key, "command:", prefixLength) != 0)
        return false;
    text = std::string_view(key + prefixLength);
    return true;
}

Link* linkOf(LINK_HANDLE h)
{
    return h != nullptr ? h->link.get() : nullptr;
}

// A comma-separated ID list that holds a 0 (no ID), an ID twice, or something that is not an ID.
bool needsNewIds(std::string_view list)
{
    std::set<int32_t> seen;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        const int32_t id = readNumber(item);
        if (id <= 0 || id > 255 || !seen.insert(id).second)
            return true;
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
    return false;
}

void copyCut(const std::string& text, char* buffer, size_t size)
{
    const size_t length = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

} // namespace

extern "C" {

LINK_HANDLE LinkOpen(const char* port, uint32_t flags)
{
    return LinkOpenLogin(port, "", "", flags, nullptr);
}

LINK_HANDLE LinkOpenLogin(const char* port, const char* user, const char* password, uint32_t flags,
                          volatile int32_t* cancel)
{
    try {
        if (port == nullptr || isCancelled(cancel))
            return nullptr;
        const PortName name = parsePortName(port);
        switch (name.kind) {
        case PortName::Kind::Serial:
            return openSerial(name, flags, cancel);
        case PortName::Kind::Lan:
            return openLan(name, user, password, flags, cancel);
        case PortName::Kind::Invalid:
            break;
        }
    } catch (...) {
    }
    return nullptr;
}

void LinkClose(LINK_HANDLE h)
{
    delete h;
}

int32_t LinkSet(LINK_HANDLE h, const char* key, const char* value, int32_t, int32_t, int32_t)
{
    try {
        Link* link = linkOf(h);
        if (link == nullptr || key == nullptr || value == nullptr)
            return LINK_ERROR;
        if (std::strcmp(key, "command") == 0)
            return link->set(value);
        if (std::strcmp(key, "multi") == 0 && std::strcmp(value, "off") == 0)
            return link->set("MWIN0000");
    } catch (...) {
    }
    return LINK_ERROR;
}

int32_t LinkGetNumber(LINK_HANDLE h, const char* key, int32_t* value, int32_t, int32_t, int32_t)
{
    try {
        Link* link = linkOf(h);
        std::string_view text;
        if (link == nullptr || value == nullptr || !queryText(key, text))
            return LINK_ERROR;
        std::string reply;
        const int32_t status = link->query(text, reply);
        if (status == LINK_OK)
            *value = readNumber(reply);
        return status;
    } catch (...) {
    }
    return LINK_ERROR;
}

int32_t LinkGetPair(LINK_HANDLE h, const char* key, int32_t* first, int32_t* second, int32_t, int32_t, int32_t)
{
    try {
        Link* link = linkOf(h);
        std::string_view text;
        if (link == nullptr || first == nullptr || second == nullptr || !queryText(key, text))
            return LINK_ERROR;
        std::string reply;
        int32_t status = link->query(text, reply);
        int32_t a = 0;
        int32_t b = 0;
        if (status == LINK_OK && !readPair(reply, a, b))
            status = LINK_ERROR;
        if (status == LINK_OK) {
            *first = a;
            *second = b;
        }
        return status;
    } catch (...) {
    }
    return LINK_ERROR;
}

int32_t LinkGetText(LINK_HANDLE h, const char* key, char* buffer, int32_t size)
{
    try {
        Link* link = linkOf(h);
        std::string_view text;
        if (link == nullptr || buffer == nullptr || size <= 0 || !queryText(key, text))
            return LINK_ERROR;
        std::string reply;
        const int32_t status = link->query(text, reply);
        if (status == LINK_OK)
            copyCut(reply, buffer, static_cast<size_t>(size));
        return status;
    } catch (...) {
    }
    return LINK_ERROR;
}

int32_t LinkReadIdList(LINK_HANDLE h, char* buffer4096, int32_t, int32_t, int32_t)
{
    try {
        Link* link = linkOf(h);
        if (link == nullptr || buffer4096 == nullptr)
            return LINK_ERROR;
        std::string reply;
        const int32_t status = link->query("IDLS????", reply, true);
        if (status == LINK_OK)
            copyCut(reply, buffer4096, 4096);
        return status;
    } catch (...) {
    }
    return LINK_ERROR;
}

int32_t LinkAssignIds(LINK_HANDLE h, char* idList, int32_t, int32_t, int32_t)
{
    try {
        Link* link = linkOf(h);
        if (link == nullptr || idList == nullptr)
            return LINK_ERROR;
        if (!needsNewIds(std::string_view(idList, ::strnlen(idList, 4095))))
            return LINK_OK;
        int32_t status = link->set("IDAS0001", true);
        if (status != LINK_OK)
            return status;
        std::string reply;
        status = link->query("IDLS????", reply, true);
        if (status == LINK_OK)
            copyCut(reply, idList, 4096);
        return status;
    } catch (...) {
    }
    return LINK_ERROR;
}

int32_t LinkFindLan(const char* lan, int32_t port, LINK_LAN_DEVICE** list)
{
    try {
        if (list != nullptr)
            *list = nullptr;
        if (lan == nullptr || ::strcasecmp(lan, "LAN") != 0 || list == nullptr || port <= 0 || port > 65535)
            return 0;
        const char* configured = std::getenv("LUMIVANE_LAN_SEARCH");
        const bool broadcast = configured == nullptr;
        const auto targets = broadcast ? broadcastTargets() : parseSearchTargets(configured, kMaxSearchTargets);
        const auto answers = searchLan(targets, static_cast<uint16_t>(port), broadcast, kLanSearchListenMs);
        if (answers.empty())
            return 0;
        auto* devices = static_cast<LINK_LAN_DEVICE*>(std::malloc(answers.size() * sizeof(LINK_LAN_DEVICE)));
        if (devices == nullptr)
            return 0;
        for (size_t i = 0; i < answers.size(); ++i)
            devices[i] = LINK_LAN_DEVICE{answers[i].address, answers[i].dataPort};
        *list = devices;
        return static_cast<int32_t>(answers.size());
    } catch (...) {
    }
    return 0;
}

void LinkFreeLanList(const char*, LINK_LAN_DEVICE* list)
{
    std::free(list);
}

} // extern "C"
