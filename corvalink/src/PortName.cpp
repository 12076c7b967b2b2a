#include "PortName.h"

#include "DataFolder.h"
#include "LinkLimits.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <strings.h>
#include <unistd.h>

namespace lumivane::link {

namespace {
// A decimal number of 1 to `maxDigits` digits, the whole of `text`.
bool parseDecimal(std::string_view text, size_t maxDigits, long& value)
{
    if (text.empty() || text.size() > maxDigits)
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string_view trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

bool parseIpv4(std::string_view text, uint32_t& address)
{
    address = 0;
    for (int part = 0; part < 4; ++part) {
        const size_t dot = part < 3 ? text.find('.') : text.size();
        long octet = 0;
        if (dot == std::string_view::npos || !parseDecimal(text.substr(0, dot), 3, octet) || octet > 255)
            return false;
        address = (address << 8) | static_cast<uint32_t>(octet);
        text.remove_prefix(part < 3 ? dot + 1 : dot);
    }
    return true;
}

PortName parsePortName(std::string_view text)
{
    PortName name;
    long number = 0;
    if (text.size() > 3 && equalsNoCase(text.substr(0, 3), "COM")) {
        if (parseDecimal(text.substr(3), 3, number) && number >= 1 && number <= 256) {
            name.kind = PortName::Kind::Serial;
            name.comNumber = static_cast<int>(number);
        }
        return name;
    }
    if (text.size() > 3 && equalsNoCase(text.substr(0, 3), "LAN")) {
        text.remove_prefix(3);
        const size_t colon = text.find(':');
        long port = kDefaultDataPort;
        if (colon != std::string_view::npos &&
            (!parseDecimal(text.substr(colon + 1), 5, port) || port < 1 || port > 65535))
            return name;
        if (!parseIpv4(text.substr(0, colon), name.address))
            return name;
        name.kind = PortName::Kind::Lan;
        name.dataPort = static_cast<uint16_t>(port);
    }
    return name;
}

std::string readIniValue(const std::string& path, std::string_view section, std::string_view key)
{
    // Close-on-exec, so that no program started meanwhile inherits it.
    const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "re"), std::fclose);
    if (!file)
        return {};
    char* raw = nullptr;
    size_t capacity = 0;
    std::string value;
    bool inSection = false;
    while (::getline(&raw, &capacity, file.get()) >= 0) {
        const std::string_view text = trimmed(raw);
        if (!text.empty() && text.front() == '[') {
            const size_t close = text.find(']');
            inSection = close != std::string_view::npos && equalsNoCase(trimmed(text.substr(1, close - 1)), section);
            continue;
        }
        const size_t equals = text.find('=');
        if (inSection && equals != std::string_view::npos && equalsNoCase(trimmed(text.substr(0, equals)), key)) {
            value = trimmed(text.substr(equals + 1));
            break;
        }
    }
    std::free(raw);
    return value;
}

std::string serialDeviceFor(int comNumber)
{
    const std::string key = "COM" + std::to_string(comNumber);
    if (const char* configured = std::getenv(("LUMIVANE_" + key).c_str()); configured != nullptr && *configured)
        return configured;
    const std::string folder = programFilesFolder();
    if (!folder.empty()) {
        std::string mapped = readIniValue(folder + "/QVXCtrlEnv.ini", "ComPorts", key);
        if (!mapped.empty())
            return mapped;
    }
    return "/dev/ttyS" + std::to_string(comNumber - 1);
}

} // namespace lumivane::link
