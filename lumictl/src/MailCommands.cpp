#include "MailCommands.h"

#include "CMailScheduleList.h"
#include "CtlText.h"
#include "MailAddressList.h"
#include "ScheduleRules.h"
#include "SendMail.h"
#include "Settings.h"
#include "Strings.h"
#include "TimeWords.h"
#include "WindowMessage.h"

namespace lumivane::ctl {

const char* const kMailHelp =
    "usage: lumictl mail list [--json]\n"
    "       lumictl mail add ADDRESS [--reports] [--errors]   receives the reports / the error notices\n"
    "       lumictl mail remove ADDRESS\n"
    "       lumictl mail test ADDRESS\n"
    "       lumictl mail reports list [--json]\n"
    "       lumictl mail reports add HH:MM [--days DAYS]      minutes 00, 15, 30 or 45; DAYS as for\n"
    "                                                        schedules (default all)\n"
    "       lumictl mail reports remove N                    N as numbered by the list, from 1\n";

const char* const kMonitoringHelp =
    "usage: lumictl monitoring show [--json]\n"
    "       lumictl monitoring set [--enabled yes|no] [--interval 15m|30m|1h..24h] [--message-box yes|no]\n"
    "                              [--attach-log yes|no]\n";

namespace {

const char* mark(bool set)
{
    return messageText(set ? 173 : 174); // "O" / "X"
}

// The position of `address` in the list, case ignored; -1 when it is not there.
int findAddress(const std::vector<MailAddress>& list, const std::string& address)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (lower(list[i].address) == lower(address))
            return static_cast<int>(i);
    return -1;
}

int saveAddresses(const CommandIo& io, const std::vector<MailAddress>& list)
{
    const MailResult saved = SaveAddresses(list);
    if (!saved) {
        io.err << "lumictl: " << oneLine(saved.text) << "\n";
        return 1;
    }
    return 0; // the server reads the list whenever it sends
}

int listAddresses(const CommandIo& io)
{
    io.line.allowOnly({"json"});
    const std::vector<MailAddress> list = loadAddressList();
    const bool json = io.line.has("json");
    if (json)
        io.out << "[";
    for (size_t i = 0; i < list.size(); ++i) {
        const bool reports = list[i].kinds & kPeriodicalMailBit;
        const bool errors = list[i].kinds & kErrorMailBit;
        if (json)
            io.out << (i ? ", " : "") << "{\"address\": " << jsonText(list[i].address)
                   << ", \"reports\": " << (reports ? "true" : "false") << ", \"errors\": " << (errors ? "true" : "false")
                   << "}";
        else
            io.out << list[i].address << "\treports " << mark(reports) << "\terrors " << mark(errors) << "\n";
    }
    if (json)
        io.out << "]\n";
    return 0;
}

int addAddress(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"reports", "errors"});
    if (words.size() != 1)
        throw UsageError{"mail add: give one ADDRESS"};
    if (!ValidateAddress(words[0]))
        throw UsageError{messageText(274)};
    std::vector<MailAddress> list = loadAddressList();
    if (findAddress(list, words[0]) >= 0)
        throw UsageError{words[0] + " is in the list already (mail remove, then add it again)"};
    list.push_back({words[0], (io.line.has("reports") ? kPeriodicalMailBit : 0) |
                                  (io.line.has("errors") ? kErrorMailBit : 0)});
    return saveAddresses(io, list);
}

int removeAddress(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({});
    if (words.size() != 1)
        throw UsageError{"mail remove: give one ADDRESS"};
    std::vector<MailAddress> list = loadAddressList();
    const int position = findAddress(list, words[0]);
    if (position < 0)
        throw UsageError{words[0] + " is not in the list"};
    list.erase(list.begin() + position);
    return saveAddresses(io, list);
}

int testMail(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({});
    if (words.size() != 1)
        throw UsageError{"mail test: give one ADDRESS"};
    if (!ValidateAddress(words[0]))
        throw UsageError{messageText(274)};
    const MailResult result = sendTestMail(words[0]);
    (result.ok ? io.out : io.err) << result.text << "\n";
    if (!result.ok && !result.detail.empty())
        io.err << result.detail << "\n";
    return result.ok ? 0 : 1;
}

int saveReportTimes(const CommandIo& io, CMailScheduleList& times)
{
    const ScheduleSaveResult saved = times.Save();
    if (!saved) {
        io.err << "lumictl: " << oneLine(saved.text()) << "\n";
        return 1;
    }
    tellServer(windowMessages::kSchedulesChanged);
    return 0;
}

int reportsCommand(const CommandIo& io, const std::vector<std::string>& words)
{
    if (words.empty())
        throw UsageError{"mail reports: list, add or remove?"};
    CMailScheduleList times;
    times.Load();
    if (words[0] == "list" && words.size() == 1) {
        io.line.allowOnly({"json"});
        const bool json = io.line.has("json");
        io.out << (json ? "[" : "");
        for (int i = 0; i < times.count(); ++i) {
            const ST_MAIL_SCHEDULE& time = *times.at(i);
            const std::string clock = scheduleTimeText(1, time.hour, time.minute);
            if (json)
                io.out << (i ? ", " : "") << "{\"entry\": " << i + 1 << ", \"time\": " << jsonText(clock)
                       << ", \"days\": " << jsonText(dayMaskText(time.dayMask)) << "}";
            else
                io.out << i + 1 << "\t" << clock << "\tdays " << dayMaskText(time.dayMask) << "\n";
        }
        io.out << (json ? "]\n" : "");
        return 0;
    }
    if (words[0] == "add" && words.size() == 2) {
        io.line.allowOnly({"days"});
        const ClockTime time = parseClockTime(words[1], 15, "the report time");
        times.Add(time.hour, time.minute, io.line.value("days") ? parseDayMask(*io.line.value("days")) : kEveryDayMask);
        return saveReportTimes(io, times);
    }
    if (words[0] == "remove" && words.size() == 2) {
        io.line.allowOnly({});
        if (times.count() == 0)
            throw UsageError{"there is no report time"};
        times.Delete(parseNumber(words[1], 1, times.count(), "the report time number") - 1);
        return saveReportTimes(io, times);
    }
    throw UsageError{"mail reports: list, add HH:MM [--days DAYS] or remove N"};
}

// "15m", "30m" or "1h" to "24h", in minutes.
int parseInterval(const std::string& text)
{
    for (int minutes : monitoringIntervals()) {
        const std::string word = minutes < 60 ? std::to_string(minutes) + "m" : std::to_string(minutes / 60) + "h";
        if (text == word)
            return minutes;
    }
    throw UsageError{"--interval: 15m, 30m or 1h to 24h, not '" + text + "'"};
}

std::string intervalText(int minutes)
{
    const int shown = monitoringIntervals()[monitoringIntervalPosition(minutes)];
    return shown < 60 ? std::to_string(shown) + " min" : std::to_string(shown / 60) + (shown == 60 ? " hour" : " hours");
}

int showMonitoring(const CommandIo& io)
{
    io.line.allowOnly({"json"});
    const OperatorSettings& settings = processSettings().operatorSettings;
    if (io.line.has("json")) {
        io.out << "{\"enabled\": " << (settings.monitoring ? "true" : "false")
               << ", \"interval_minutes\": " << settings.interval
               << ", \"message_box\": " << (settings.messageBox ? "true" : "false")
               << ", \"attach_log\": " << (settings.logAttach ? "true" : "false") << "}\n";
        return 0;
    }
    io.out << "enabled\t" << (settings.monitoring ? "yes" : "no") << "\ninterval\t" << intervalText(settings.interval)
           << "\nmessage-box\t" << (settings.messageBox ? "yes" : "no") << "\nattach-log\t"
           << (settings.logAttach ? "yes" : "no") << "\n";
    return 0;
}

int setMonitoring(const CommandIo& io)
{
    io.line.allowOnly({"enabled", "interval", "message-box", "attach-log"});
    // Every value is checked before anything is written.
    std::vector<std::pair<const char*, int>> keys;
    if (const auto enabled = io.line.value("enabled"))
        keys.emplace_back("Monitoring", parseYesNo(*enabled, "--enabled"));
    if (const auto interval = io.line.value("interval"))
        keys.emplace_back("Interval", parseInterval(*interval));
    if (const auto box = io.line.value("message-box"))
        keys.emplace_back("MessageBox", parseYesNo(*box, "--message-box"));
    if (const auto attach = io.line.value("attach-log"))
        keys.emplace_back("LogAttach", parseYesNo(*attach, "--attach-log"));
    if (keys.empty())
        throw UsageError{"monitoring set: give --enabled, --interval, --message-box or --attach-log"};
    for (const auto& [key, value] : keys)
        if (!writeOperatorSetting(settingKeys::kCheck, key, value)) {
            io.err << "lumictl: cannot write " << operatorIniPath() << "\n";
            return 1;
        }
    tellServer(windowMessages::kSettingsChanged);
    return 0;
}

} // namespace

int mailCommand(const CommandIo& io, const std::vector<std::string>& words)
{
    if (words.empty())
        throw UsageError{"mail: list, add, remove, test or reports?"};
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (words[0] == "list" && rest.empty())
        return listAddresses(io);
    if (words[0] == "add")
        return addAddress(io, rest);
    if (words[0] == "remove")
        return removeAddress(io, rest);
    if (words[0] == "test")
        return testMail(io, rest);
    if (words[0] == "reports")
        return reportsCommand(io, rest);
    throw UsageError{"mail: unknown action '" + words[0] + "'"};
}

int monitoringCommand(const CommandIo& io, const std::vector<std::string>& words)
{
    if (words.size() == 1 && words[0] == "show")
        return showMonitoring(io);
    if (words.size() == 1 && words[0] == "set")
        return setMonitoring(io);
    throw UsageError{"monitoring: show or set?"};
}

} // namespace lumivane::ctl
