#include "ControlCommands.h"

#include "Emulator.h"

#include <charconv>
#include <cstdio>
#include <sstream>
#include <vector>

namespace lumivane::sim {

namespace {

const char kHelp[] =
    "power <monitor> on|off | powerup <monitor> <ms> | delay <monitor> <ms> | fault <monitor> "
    "none|silent|drop|garbage|endless|wrongid|cutline | locked <monitor> on|off | iferr <monitor> on|off | "
    "status <monitor> <hex> | temperature <monitor> <text> | signal <monitor> on|off | id <monitor> <n> | "
    "login <chain> <user> <password> | login <chain> off | refuse <chain> on|off | greeting <chain> on|off | "
    "drop <chain> | where | show <monitor> | lines <chain> | help";

bool readSwitch(const std::string& text, bool& value)
{
    if (text != "on" && text != "off")
        return false;
    value = text == "on";
    return true;
}

bool readInt(const std::string& text, int base, int low, int high, int& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

std::string done(bool ok, const std::string& what)
{
    return ok ? "OK" : "ERR unknown " + what;
}

std::string wherePlaces(const Emulator& emulator)
{
    std::string text;
    for (const ChainPlace& place : emulator.places()) {
        text += (place.lan ? "lan " : "chain ") + place.name + " " +
                (place.lan ? place.address + ":" + std::to_string(place.dataPort) : place.device) + " monitors";
        for (const std::string& monitor : place.monitors)
            text += " " + monitor;
        text += "\n";
    }
    if (emulator.searchPort() >= 0)
        text += "search " + std::to_string(emulator.searchPort()) + " " + emulator.searchTargets() + "\n";
    return text;
}

std::string showMonitor(const Emulator& emulator, const std::string& name)
{
    const auto state = emulator.monitorState(name);
    if (!state)
        return "ERR unknown monitor";
    char status[8];
    std::snprintf(status, sizeof status, "%04X", state->hardwareStatus);
    return "monitor " + state->name + " model " + state->model + " serial " + state->serial + " mac " + state->mac +
           " id " + std::to_string(state->id) + " power " + (state->power ? "on" : "off") + " input " +
           std::to_string(state->input) + " status " + status + " temperature " + state->temperature + " signal " +
           (state->signal ? "on" : "off") + " fault " + replyFaultName(state->fault) + "\n";
}

} // namespace

std::string runControlCommand(Emulator& emulator, std::string_view line)
{
    std::istringstream stream{std::string(line)};
    std::vector<std::string> w;
    for (std::string word; stream >> word;)
        w.push_back(word);
    if (w.empty())
        return "";
    const std::string& verb = w[0];
    const size_t n = w.size();
    bool flag = false;
    int number = 0;
    ReplyFault fault = ReplyFault::None;

    if (verb == "help")
        return kHelp;
    if (verb == "where" && n == 1)
        return wherePlaces(emulator);
    if (verb == "show" && n == 2)
        return showMonitor(emulator, w[1]);
    if (verb == "lines" && n == 2) {
        std::string text;
        for (const std::string& received : emulator.receivedLines(w[1]))
            text += received + "\n";
        return text;
    }
    if (verb == "power" && n == 3 && readSwitch(w[2], flag))
        return done(emulator.setPower(w[1], flag), "monitor");
    if (verb == "powerup" && n == 3 && readInt(w[2], 10, 0, 3600000, number))
        return done(emulator.setPowerUpTime(w[1], number), "monitor");
    if (verb == "delay" && n == 3 && readInt(w[2], 10, 0, 3600000, number))
        return done(emulator.setReplyDelay(w[1], number), "monitor");
    if (verb == "fault" && n == 3 && parseReplyFault(w[2], fault))
        return done(emulator.setReplyFault(w[1], fault), "monitor");
    if (verb == "locked" && n == 3 && readSwitch(w[2], flag))
        return done(emulator.setLocked(w[1], flag), "monitor");
    if (verb == "iferr" && n == 3 && readSwitch(w[2], flag))
        return done(emulator.setWrongInterface(w[1], flag), "monitor");
    if (verb == "status" && n == 3 && readInt(w[2], 16, 0, 0xFFFF, number))
        return done(emulator.setHardwareStatus(w[1], static_cast<uint16_t>(number)), "monitor");
    if (verb == "temperature" && n == 3)
        return done(emulator.setTemperature(w[1], w[2]), "monitor");
    if (verb == "signal" && n == 3 && readSwitch(w[2], flag))
        return done(emulator.setSignal(w[1], flag), "monitor");
    if (verb == "id" && n == 3 && readInt(w[2], 10, 0, 255, number))
        return done(emulator.setMonitorId(w[1], number), "monitor");
    if (verb == "login" && n == 3 && w[2] == "off")
        return done(emulator.clearLogin(w[1]), "LAN chain");
    if (verb == "login" && n == 4)
        return done(emulator.requireLogin(w[1], w[2], w[3]), "LAN chain");
    if (verb == "refuse" && n == 3 && readSwitch(w[2], flag))
        return done(emulator.setRefused(w[1], flag), "LAN chain");
    if (verb == "greeting" && n == 3 && readSwitch(w[2], flag))
        return done(emulator.setSilentGreeting(w[1], !flag), "LAN chain");
    if (verb == "drop" && n == 2)
        return done(emulator.dropConnection(w[1]), "LAN chain");
    return "ERR bad command (try help)";
}

} // namespace lumivane::sim
