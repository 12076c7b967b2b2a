#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane::sim {

// What a monitor does to the reply of a command instead of sending it plainly.
enum class ReplyFault
{
    None,
    Silent,  // no reply at all
    Drop,    // closes the connection instead of replying (serial: no reply)
    Garbage, // a line of control characters and bytes that are no text
    Endless, // 5000 bytes without a line end
    WrongId, // the reply carries another monitor's ID prefix
    CutLine, // half of the reply, then the connection closes (serial: nothing more)
};

bool parseReplyFault(std::string_view text, ReplyFault& fault);
const char* replyFaultName(ReplyFault fault);

// One emulated monitor: what it is and how it behaves from the start.
struct MonitorSpec
{
    std::string name;
    std::string model = "QX-T988";
    std::string serial; // empty: made from the monitor's place in the fleet
    std::string mac;    // 12 hexadecimal digits; empty: made from the place
    int id = 0;         // 0 (none) or 1..255
    bool power = true;
    int input = 1;               // the monitor's own input number
    bool expansionBoard = false; // OPTB
    int mdel = 1;                // MDEL
    int workHours = 1200;        // UTIM
    std::string temperature = "32";
    uint16_t hardwareStatus = 0; // HWCK, HWST and the DSTA derived from it
    bool signal = true;          // without signal PXCK and RESO answer ERR
    int powerUpMs = 0;           // after POWR0001, every command answers ERR this long
    int replyDelayMs = 0;
    ReplyFault fault = ReplyFault::None;
    bool locked = false;         // every command answers LOCKED
    bool wrongInterface = false; // every command answers IFERR
    // Command codes ("SLDS") the monitor lacks or has whatever the availability table says of its model,
    // so that a test can model a monitor that disagrees with the table.
    std::vector<std::string> lacks;
    std::vector<std::string> has;
};

// A port: one LAN monitor (with the RS-232C chain it heads) or a serial daisy chain on a pseudo-terminal.
struct ChainSpec
{
    enum class Kind
    {
        Lan,
        Serial
    } kind = Kind::Serial;
    std::string name;
    std::string address; // Lan: IPv4 on this machine, for example 127.0.0.2
    int dataPort = -1;   // Lan: -1 the fleet's data port, 0 chosen by the system
    int baud = 0;        // Serial: the speed the chain listens at; 0 any
    bool loginRequired = false;
    std::string user;
    std::string password;
    bool refused = false;        // every connection gets REFUSED
    bool silentGreeting = false; // a connection gets no greeting
    std::vector<MonitorSpec> monitors;
};

struct FleetSpec
{
    int dataPort = 10008;  // 0: chosen by the system, one port shared by all LAN monitors
    int searchPort = 5006; // 0: chosen by the system; -1: no discovery responder
    std::vector<ChainSpec> chains;
};

// Reads a fleet description. On failure `error` says which line and why.
bool parseFleet(std::string_view text, FleetSpec& fleet, std::string& error);

} // namespace lumivane::sim
