#include "ServerStatus.h"

#include "DataFolder.h"
#include "SharedFile.h"
#include "Strings.h"

#include <cstdio>

namespace lumivane {
namespace {

constexpr const char* kStatusFolder = "Status";
constexpr const char* kStatusFileName = "status.json";

JsonValue timeOrNull(std::time_t time)
{
    return time == 0 ? JsonValue() : JsonValue(isoTimeText(time));
}

std::time_t timeOf(const JsonValue& value)
{
    return value.type() == JsonValue::Type::String ? parseIsoTime(value.asString()).value_or(0) : 0;
}

int intOf(const JsonValue& value)
{
    return static_cast<int>(value.asNumber());
}

JsonValue monitorToJson(const MonitorStatusEntry& monitor)
{
    JsonValue entry = JsonValue::object();
    entry.set("number", monitor.number);
    entry.set("name", monitor.name);
    JsonValue& group = entry.set("group", JsonValue::object());
    group.set("number", monitor.groupNumber);
    group.set("name", monitor.groupName);
    entry.set("hasState", monitor.hasState);
    entry.set("status", monitor.status);
    if (monitor.hasState) {
        JsonValue& power = entry.set("power", JsonValue::object());
        power.set("code", monitor.power);
        power.set("text", monitor.powerText);
    } else {
        entry.set("power", nullptr);
    }
    JsonValue& input = entry.set("input", JsonValue::object());
    input.set("id", monitor.inputId);
    input.set("name", monitor.input);
    entry.set("signal", monitor.signal);
    entry.set("statusFlags", monitor.statusFlags);
    entry.set("statusText", monitor.statusText);
    entry.set("lastCheck", monitor.hasState ? timeOrNull(monitor.lastCheck) : JsonValue());
    if (monitor.next) {
        JsonValue& next = entry.set("nextAction", JsonValue::object());
        next.set("time", isoTimeText(monitor.next->time));
        next.set("powerOn", monitor.next->powerOn);
        next.set("text", monitor.next->text);
        if (monitor.next->inputId != 0) {
            JsonValue& nextInput = next.set("input", JsonValue::object());
            nextInput.set("id", monitor.next->inputId);
            nextInput.set("name", monitor.next->inputName);
        } else {
            next.set("input", nullptr);
        }
    } else {
        entry.set("nextAction", nullptr);
    }
    return entry;
}

MonitorStatusEntry monitorFromJson(const JsonValue& entry)
{
    MonitorStatusEntry monitor;
    monitor.number = intOf(entry.get("number"));
    monitor.name = entry.get("name").asString();
    monitor.groupNumber = intOf(entry.get("group").get("number"));
    monitor.groupName = entry.get("group").get("name").asString();
    monitor.hasState = entry.get("hasState").asBool();
    monitor.status = entry.get("status").asString();
    monitor.power = intOf(entry.get("power").get("code"));
    monitor.powerText = entry.get("power").get("text").asString();
    monitor.inputId = intOf(entry.get("input").get("id"));
    monitor.input = entry.get("input").get("name").asString();
    monitor.signal = entry.get("signal").asString();
    monitor.statusFlags = static_cast<uint32_t>(entry.get("statusFlags").asNumber());
    monitor.statusText = entry.get("statusText").asString();
    monitor.lastCheck = timeOf(entry.get("lastCheck"));
    const JsonValue& next = entry.get("nextAction");
    if (next.type() == JsonValue::Type::Object) {
        MonitorStatusEntry::NextAction action;
        action.time = timeOf(next.get("time"));
        action.powerOn = next.get("powerOn").asBool();
        action.text = next.get("text").asString();
        action.inputId = intOf(next.get("input").get("id"));
        action.inputName = next.get("input").get("name").asString();
        monitor.next = action;
    }
    return monitor;
}

} // namespace

std::string isoTimeText(std::time_t time)
{
    std::tm local{};
    ::localtime_r(&time, &local);
    const long offset = local.tm_gmtoff;
    const int minutes = static_cast<int>((offset < 0 ? -offset : offset) / 60 % (24 * 60));
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+',
                  minutes / 60, minutes % 60);
    return text;
}

std::optional<std::time_t> parseIsoTime(std::string_view text)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, consumed = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second,
                    &consumed) != 6 ||
        consumed != 19)
        return std::nullopt;
    long offset = 0;
    const std::string_view zone = text.substr(19);
    if (zone != "Z") {
        int offsetHours = 0, offsetMinutes = 0, zoneConsumed = 0;
        const std::string zoneText(zone);
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') ||
            std::sscanf(zoneText.c_str() + 1, "%2d:%2d%n", &offsetHours, &offsetMinutes, &zoneConsumed) != 2 ||
            zoneConsumed != 5)
            return std::nullopt;
        offset = (offsetHours * 60L + offsetMinutes) * 60L * (zone[0] == '-' ? -1 : 1);
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    std::tm utc{};
    utc.tm_year = year - 1900;
    utc.tm_mon = month - 1;
    utc.tm_mday = day;
    utc.tm_hour = hour;
    utc.tm_min = minute;
    utc.tm_sec = second;
    return ::timegm(&utc) - offset;
}

JsonValue statusToJson(const ServerStatus& status)
{
    JsonValue document = JsonValue::object();
    document.set("schema", kStatusSchemaVersion);
    document.set("written", isoTimeText(status.written));
    document.set("serverStarted", timeOrNull(status.serverStarted));
    document.set("lastPoll", timeOrNull(status.lastPoll));
    document.set("running", status.running);
    document.set("monitoring", status.monitoring);
    document.set("pollIntervalMinutes", status.pollIntervalMinutes);
    JsonValue& monitors = document.set("monitors", JsonValue::array());
    for (const MonitorStatusEntry& monitor : status.monitors)
        monitors.push(monitorToJson(monitor));
    return document;
}

std::optional<ServerStatus> statusFromJson(const JsonValue& document, std::string& error)
{
    if (document.type() != JsonValue::Type::Object || document.get("schema").type() != JsonValue::Type::Number ||
        document.get("monitors").type() != JsonValue::Type::Array) {
        error = "not a status file of the server";
        return std::nullopt;
    }
    if (intOf(document.get("schema")) > kStatusSchemaVersion) {
        error = "written by a newer server (schema " + std::to_string(intOf(document.get("schema"))) + ")";
        return std::nullopt;
    }
    ServerStatus status;
    status.written = timeOf(document.get("written"));
    status.serverStarted = timeOf(document.get("serverStarted"));
    status.lastPoll = timeOf(document.get("lastPoll"));
    status.running = document.get("running").asBool();
    status.monitoring = document.get("monitoring").asBool();
    status.pollIntervalMinutes = intOf(document.get("pollIntervalMinutes"));
    for (const JsonValue& entry : document.get("monitors").items())
        status.monitors.push_back(monitorFromJson(entry));
    return status;
}

std::string statusFilePath(bool create, std::string* error)
{
    const std::string folder = dataFolder(create);
    if (folder.empty())
        return {};
    if (create) {
        std::string problem;
        if (!ensureSubfolder(folder, kStatusFolder, problem)) {
            if (error)
                *error = problem;
            return {};
        }
    }
    return folder + "/" + kStatusFolder + "/" + kStatusFileName;
}

bool replaceFileAtomically(const std::string& path, std::string_view content, std::string& error)
{
    AtomicFileWriter writer;
    return writer.open(path, error) && writer.write(content) && writer.commit(error);
}

std::string monitoringTimeText(bool hasState, std::time_t lastCheck, std::time_t now)
{
    if (!hasState)
        return messageText(111);
    std::tm checked{};
    std::tm today{};
    ::localtime_r(&lastCheck, &checked);
    ::localtime_r(&now, &today);
    char text[32];
    if (checked.tm_year == today.tm_year && checked.tm_yday == today.tm_yday)
        std::snprintf(text, sizeof text, "%02d:%02d", checked.tm_hour, checked.tm_min);
    else
        std::snprintf(text, sizeof text, "%04d/%02d/%02d", checked.tm_year + 1900, checked.tm_mon + 1, checked.tm_mday);
    return text;
}

std::string nextActionText(const std::optional<MonitorStatusEntry::NextAction>& next)
{
    if (!next)
        return messageText(544);
    std::tm local{};
    ::localtime_r(&next->time, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", local.tm_hour, local.tm_min);
    return std::string(text) + " - " + next->text;
}

} // namespace lumivane
