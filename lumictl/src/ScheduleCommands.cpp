#include "ScheduleCommands.h"

#include "CScheduleStore.h"
#include "CtlText.h"
#include "ScheduleRules.h"
#include "Strings.h"
#include "TargetSelection.h"
#include "TimeWords.h"
#include "WindowMessage.h"

#include <sstream>

namespace lumivane::ctl {

const char* const kSchedulesHelp =
    "usage: lumictl schedules list [--json]\n"
    "       lumictl schedules add NAME                 prints the new schedule's number\n"
    "       lumictl schedules delete SCHEDULE          also takes it from every monitor\n"
    "       lumictl schedules show SCHEDULE [--json]\n"
    "       lumictl schedules weekly SCHEDULE --days DAYS [--on HH:MM] [--off HH:MM] [--input INPUT]\n"
    "       lumictl schedules date SCHEDULE --from YYYY-MM-DD [--to YYYY-MM-DD] [--on HH:MM] [--off HH:MM]\n"
    "                                      [--input INPUT]\n"
    "       lumictl schedules remove-entry SCHEDULE weekly|date N\n"
    "       lumictl schedules assign SCHEDULE TARGET...\n"
    "       lumictl schedules unassign TARGET...\n"
    "SCHEDULE is a schedule's number or name (case ignored). DAYS is a comma list of sun..sat, ranges such\n"
    "as mon-fri, or all. Minutes go in steps of 5. A weekly entry switches on or off (or both); a date entry\n"
    "without --on and --off is a day without switching. Entries are numbered from 1 within each kind.\n";

namespace {

// The schedule named by its number or its name; its index in the list.
int findSchedule(const CScheduleStore& store, const std::string& word)
{
    for (int i = 0; i < store.listCount(); ++i)
        if (std::to_string(store.listAt(i)->id) == word)
            return i;
    for (int i = 0; i < store.listCount(); ++i)
        if (lower(store.listAt(i)->name) == lower(word))
            return i;
    throw UsageError{"no schedule '" + word + "' (lumictl schedules list)"};
}

// The store with the schedule of `word` selected and its entries loaded.
int selectSchedule(CScheduleStore& store, const std::string& word)
{
    store.LoadList();
    const int index = findSchedule(store, word);
    store.SelectSchedule(index);
    return store.listAt(index)->id;
}

int reportSave(const CommandIo& io, const ScheduleSaveResult& result, int notice)
{
    if (!result) {
        io.err << "lumictl: " << oneLine(result.text()) << "\n";
        return 1;
    }
    tellServer(notice);
    return 0;
}

std::vector<std::string> modelNames(const std::vector<TESSERA_PANEL_DATA>& monitors)
{
    std::vector<std::string> names;
    for (const TESSERA_PANEL_DATA& monitor : monitors)
        names.emplace_back(monitor.szModel);
    return names;
}

std::vector<TESSERA_PANEL_DATA> monitorsWithSchedule(const PanelRegistry& registry, int id)
{
    std::vector<TESSERA_PANEL_DATA> monitors;
    for (const TESSERA_PANEL_DATA& monitor : registry.panels())
        if (monitor.bSchedule && monitor.nScheduleNo == id)
            monitors.push_back(monitor);
    return monitors;
}

// The times and the input of a new entry from --on, --off and --input, checked against the schedule's
// other entries and its monitors as the entry dialogs check them.
template <typename Entry>
Entry entryFromOptions(const CommandIo& io, const CScheduleStore& store, int id)
{
    Entry entry;
    if (const auto on = io.line.value("on")) {
        const ClockTime time = parseClockTime(*on, 5, "--on");
        entry = {1, time.hour, time.minute};
    }
    if (const auto off = io.line.value("off")) {
        const ClockTime time = parseClockTime(*off, 5, "--off");
        entry.offValid = 1;
        entry.offHour = time.hour;
        entry.offMinute = time.minute;
    }
    if (const auto input = io.line.value("input")) {
        entry.inputId = parseInput(*input);
        const int families = monitorFamilies(modelNames(monitorsWithSchedule(io.registry, id)));
        if (const int problem = entryInputProblem(entry.inputId, entryInputFamilies(store), families))
            throw UsageError{messageText(problem)};
    }
    return entry;
}

std::string jsonTime(int valid, int hour, int minute)
{
    return valid ? jsonText(scheduleTimeText(1, hour, minute)) : "null";
}

int listSchedules(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"json"});
    if (!words.empty())
        throw UsageError{"schedules list takes no words"};
    CScheduleStore store;
    store.LoadList();
    const bool json = io.line.has("json");
    if (json)
        io.out << "[";
    for (int i = 0; i < store.listCount(); ++i) {
        const CScheduleList& schedule = *store.listAt(i);
        if (json)
            io.out << (i ? ", " : "") << "{\"number\": " << schedule.id << ", \"name\": " << jsonText(schedule.name) << "}";
        else
            io.out << schedule.id << "\t" << schedule.name << "\n";
    }
    if (json)
        io.out << "]\n";
    return 0;
}

int addSchedule(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({});
    if (words.size() != 1)
        throw UsageError{"schedules add: give one NAME (quote a name with blanks)"};
    const std::string& name = words[0];
    if (name.empty())
        throw UsageError{messageText(165)}; // "Please enter schedule name."
    if (!isScheduleName(name))
        throw UsageError{"a schedule name cannot hold a comma or a line break"};
    CScheduleStore store;
    store.LoadList();
    for (int i = 0; i < store.listCount(); ++i)
        if (lower(store.listAt(i)->name) == lower(name))
            throw UsageError{"there is a schedule '" + store.listAt(i)->name + "' already (number " +
                             std::to_string(store.listAt(i)->id) + ")"};
    const ScheduleSaveResult added = store.AddSchedule(name);
    if (const int status = reportSave(io, added, windowMessages::kSchedulesChanged))
        return status;
    io.out << store.listAt(store.listCount() - 1)->id << "\n";
    return 0;
}

int deleteSchedule(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({});
    if (words.size() != 1)
        throw UsageError{"schedules delete: which SCHEDULE?"};
    CScheduleStore store;
    store.LoadList();
    const int index = findSchedule(store, words[0]);
    const int id = store.listAt(index)->id;
    // The monitors first: a monitor left with a schedule that no longer exists would keep its number.
    if (!io.registry.clearSchedule(id)) {
        io.err << "lumictl: " << oneLine(io.registry.lastError()) << "\n";
        return 1;
    }
    tellServer(windowMessages::kPanelsChanged);
    return reportSave(io, store.DeleteSchedule(index), windowMessages::kSchedulesChanged);
}

void showText(const CommandIo& io, const CScheduleStore& store, int id)
{
    io.out << id << "\t" << *store.FindName(id) << "\n";
    for (int i = 0; i < store.everyCount(); ++i) {
        const ST_SCHEDULE_EVERY& entry = *store.everyAt(i);
        io.out << "weekly " << i + 1 << "\tdays " << dayMaskText(entry.dayMask) << "\ton "
               << scheduleTimeText(entry.onValid, entry.onHour, entry.onMinute) << "\toff "
               << scheduleTimeText(entry.offValid, entry.offHour, entry.offMinute);
        if (entry.inputId)
            io.out << "\tinput " << entryInputText(entry.inputId);
        io.out << "\n";
    }
    for (int i = 0; i < store.especialCount(); ++i) {
        const std::vector<std::string> texts = especialRowTexts(*store.especialAt(i));
        io.out << "date " << i + 1 << "\tfrom " << texts[0] << "\tto " << texts[1] << "\ton " << texts[2] << "\toff "
               << texts[3];
        if (!texts[4].empty())
            io.out << "\tinput " << texts[4];
        io.out << "\n";
    }
}

void showJson(const CommandIo& io, const CScheduleStore& store, int id)
{
    io.out << "{\"number\": " << id << ", \"name\": " << jsonText(*store.FindName(id)) << ", \"weekly\": [";
    for (int i = 0; i < store.everyCount(); ++i) {
        const ST_SCHEDULE_EVERY& e = *store.everyAt(i);
        io.out << (i ? ", " : "") << "{\"entry\": " << i + 1 << ", \"days\": " << jsonText(dayMaskText(e.dayMask))
               << ", \"on\": " << jsonTime(e.onValid, e.onHour, e.onMinute)
               << ", \"off\": " << jsonTime(e.offValid, e.offHour, e.offMinute) << ", \"input\": " << e.inputId
               << "}";
    }
    io.out << "], \"dates\": [";
    for (int i = 0; i < store.especialCount(); ++i) {
        const ST_SCHEDULE_ESPECIAL& e = *store.especialAt(i);
        io.out << (i ? ", " : "") << "{\"entry\": " << i + 1
               << ", \"from\": " << jsonText(isoDate(e.fromYear, e.fromMonth, e.fromDay))
               << ", \"to\": " << jsonText(isoDate(e.toYear, e.toMonth, e.toDay))
               << ", \"on\": " << jsonTime(e.onValid, e.onHour, e.onMinute)
               << ", \"off\": " << jsonTime(e.offValid, e.offHour, e.offMinute) << ", \"input\": " << e.inputId
               << "}";
    }
    io.out << "]}\n";
}

int showSchedule(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"json"});
    if (words.size() != 1)
        throw UsageError{"schedules show: which SCHEDULE?"};
    CScheduleStore store;
    const int id = selectSchedule(store, words[0]);
    if (io.line.has("json"))
        showJson(io, store, id);
    else
        showText(io, store, id);
    return 0;
}

int addWeekly(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"days", "on", "off", "input"});
    if (words.size() != 1)
        throw UsageError{"schedules weekly: which SCHEDULE?"};
    if (!io.line.has("on") && !io.line.has("off"))
        throw UsageError{"schedules weekly: give --on, --off or both"};
    const auto days = io.line.value("days");
    if (!days)
        throw UsageError{messageText(208)}; // "Please select schedule days."
    CScheduleStore store;
    const int id = selectSchedule(store, words[0]);
    ST_SCHEDULE_EVERY entry = entryFromOptions<ST_SCHEDULE_EVERY>(io, store, id);
    entry.dayMask = parseDayMask(*days);
    return reportSave(io, store.AddEvery(entry), windowMessages::kSchedulesChanged);
}

int addDate(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"from", "to", "on", "off", "input"});
    if (words.size() != 1)
        throw UsageError{"schedules date: which SCHEDULE?"};
    const auto from = io.line.value("from");
    if (!from)
        throw UsageError{"schedules date: give --from YYYY-MM-DD"};
    CScheduleStore store;
    const int id = selectSchedule(store, words[0]);
    ST_SCHEDULE_ESPECIAL entry = entryFromOptions<ST_SCHEDULE_ESPECIAL>(io, store, id);
    const CalendarDay first = parseCalendarDay(*from, "--from");
    const CalendarDay last = io.line.value("to") ? parseCalendarDay(*io.line.value("to"), "--to") : first;
    if (last < first)
        throw UsageError{"--to " + *io.line.value("to") + " lies before --from " + *from};
    entry.fromYear = first.year;
    entry.fromMonth = first.month;
    entry.fromDay = first.day;
    entry.toYear = last.year;
    entry.toMonth = last.month;
    entry.toDay = last.day;
    return reportSave(io, store.AddEspecial(entry), windowMessages::kSchedulesChanged);
}

int removeEntry(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({});
    if (words.size() != 3 || (words[1] != "weekly" && words[1] != "date"))
        throw UsageError{"schedules remove-entry: SCHEDULE weekly|date N"};
    CScheduleStore store;
    selectSchedule(store, words[0]);
    const bool weekly = words[1] == "weekly";
    const int count = weekly ? store.everyCount() : store.especialCount();
    if (count == 0)
        throw UsageError{"the schedule has no " + words[1] + " entry"};
    const int index = parseNumber(words[2], 1, count, "the entry number") - 1;
    return reportSave(io, weekly ? store.DeleteEvery(index) : store.DeleteEspecial(index),
                      windowMessages::kSchedulesChanged);
}

int setAssignment(const CommandIo& io, const std::vector<TESSERA_PANEL_DATA>& monitors, int id)
{
    std::vector<int> numbers;
    for (const TESSERA_PANEL_DATA& monitor : monitors)
        numbers.push_back(monitor.nPanelNo);
    if (!io.registry.assignSchedule(numbers, id)) {
        io.err << "lumictl: " << oneLine(io.registry.lastError()) << "\n";
        return 1;
    }
    tellServer(windowMessages::kPanelsChanged);
    return 0;
}

int assignSchedule(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"group", "all"});
    if (words.empty())
        throw UsageError{"schedules assign: SCHEDULE TARGET..."};
    CScheduleStore store;
    const int id = selectSchedule(store, words[0]);
    const std::vector<TESSERA_PANEL_DATA> monitors =
        selectTargets(io.registry, io.line, {words.begin() + 1, words.end()});
    if (const int problem = assignProblem(entryInputFamilies(store), monitorFamilies(modelNames(monitors))))
        throw UsageError{messageText(problem)};
    return setAssignment(io, monitors, id);
}

int unassignSchedule(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"group", "all"});
    return setAssignment(io, selectTargets(io.registry, io.line, words), 0);
}

} // namespace

int schedulesCommand(const CommandIo& io, const std::vector<std::string>& words)
{
    using Action = int (*)(const CommandIo&, const std::vector<std::string>&);
    static const std::pair<const char*, Action> actions[] = {
        {"list", listSchedules},   {"add", addSchedule},          {"delete", deleteSchedule},
        {"show", showSchedule},    {"weekly", addWeekly},         {"date", addDate},
        {"remove-entry", removeEntry}, {"assign", assignSchedule}, {"unassign", unassignSchedule},
    };
    if (words.empty())
        throw UsageError{"schedules: list, add, delete, show, weekly, date, remove-entry, assign or unassign?"};
    for (const auto& [name, action] : actions)
        if (words[0] == name)
            return action(io, {words.begin() + 1, words.end()});
    throw UsageError{"schedules: unknown action '" + words[0] + "'"};
}

} // namespace lumivane::ctl
