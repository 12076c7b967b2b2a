#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumivane::link {

// What a port text names: "COM<n>" or "LAN<a>.<b>.<c>.<d>[:<port>]".
struct PortName
{
    enum class Kind
    {
        Invalid,
        Serial,
        Lan
    } kind = Kind::Invalid;
    int comNumber = 0;     // Serial: n of "COM<n>", 1..256
    uint32_t address = 0;  // Lan: IPv4, first octet in the most significant byte
    uint16_t dataPort = 0; // Lan: 1..65535, the default data port when the text names none
};

PortName parsePortName(std::string_view text);

// Parses a dotted IPv4 address ("127.0.0.2") into host order.
bool parseIpv4(std::string_view text, uint32_t& address);

// The device of "COM<n>": $LUMIVANE_COM<n> when set; else the entry COM<n> of section [ComPorts] of
// QVXCtrlEnv.ini in the program folder; else /dev/ttyS<n-1>.
std::string serialDeviceFor(int comNumber);

// The value of `key` in `section` of the INI file at `path` (names without regard to case, value trimmed);
// empty when the file, section or key is missing.
std::string readIniValue(const std::string& path, std::string_view section, std::string_view key);

} // namespace lumivane::link
