#include "ScheduleRules.h"

#include "CScheduleStore.h"
#include "InputModes.h"
#include "ModelLookup.h"
#include "Strings.h"

#include <tuple>

namespace lumivane {

namespace {

constexpr int kMarkYes = 173; // "O"
constexpr int kMarkNo = 174;  // "X"
constexpr int kBothFamiliesInOneSchedule = 283;
constexpr int kZrInputForMainSeries = 284;
constexpr int kMainInputForZr = 285;

// A missing time sorts before any present one.
auto timeKey(int valid, int hour, int minute)
{
    return valid ? std::tuple(1, hour, minute) : std::tuple(0, 0, 0);
}

template <typename Entry>
int addFamily(int families, const Entry& entry)
{
    return families | inputFamily(entry.inputId);
}

} // namespace

int monitorFamilies(const std::vector<std::string>& modelNames)
{
    int families = kNoFamily;
    for (const std::string& name : modelNames)
        families |= isZrModelName(name) ? kZrFamily : kQxFamily;
    return families;
}

int inputFamily(int inputId)
{
    if (inputId == 0)
        return kNoFamily;
    return inputId > 100 ? kZrFamily : kQxFamily;
}

int entryInputFamilies(const CScheduleStore& store, int skipEvery, int skipEspecial)
{
    int families = kNoFamily;
    for (int i = 0; i < store.everyCount(); ++i)
        if (i != skipEvery)
            families = addFamily(families, *store.everyAt(i));
    for (int i = 0; i < store.especialCount(); ++i)
        if (i != skipEspecial)
            families = addFamily(families, *store.especialAt(i));
    return families;
}

int entryInputProblem(int inputId, int otherInputFamilies, int scheduleMonitorFamilies)
{
    const int family = inputFamily(inputId);
    if (family == kNoFamily)
        return 0;
    const int otherFamily = family == kZrFamily ? kQxFamily : kZrFamily;
    if (otherInputFamilies & otherFamily)
        return kBothFamiliesInOneSchedule;
    if (scheduleMonitorFamilies & otherFamily)
        return family == kZrFamily ? kZrInputForMainSeries : kMainInputForZr;
    return 0;
}

int assignProblem(int inputFamilies, int selectionFamilies)
{
    if ((inputFamilies & kQxFamily) && (selectionFamilies & kZrFamily))
        return kMainInputForZr;
    if ((inputFamilies & kZrFamily) && selectionFamilies != kZrFamily)
        return kZrInputForMainSeries;
    return 0;
}

std::string entryInputText(int inputId)
{
    return inputId == 0 ? std::string() : inputModeName(inputId);
}

std::vector<std::string> everyRowTexts(const ST_SCHEDULE_EVERY& entry)
{
    std::vector<std::string> texts;
    for (int day = 0; day < 7; ++day)
        texts.emplace_back(messageText(entry.dayMask & (1 << day) ? kMarkYes : kMarkNo));
    texts.push_back(scheduleTimeText(entry.onValid, entry.onHour, entry.onMinute));
    texts.push_back(scheduleTimeText(entry.offValid, entry.offHour, entry.offMinute));
    texts.push_back(entryInputText(entry.inputId));
    return texts;
}

std::vector<std::string> especialRowTexts(const ST_SCHEDULE_ESPECIAL& entry)
{
    return {scheduleDateText(entry.fromYear, entry.fromMonth, entry.fromDay),
            scheduleDateText(entry.toYear, entry.toMonth, entry.toDay),
            scheduleTimeText(entry.onValid, entry.onHour, entry.onMinute),
            scheduleTimeText(entry.offValid, entry.offHour, entry.offMinute), entryInputText(entry.inputId)};
}

bool everyLess(const ST_SCHEDULE_EVERY& a, const ST_SCHEDULE_EVERY& b, EveryColumn column)
{
    switch (column) {
    case EveryColumn::On:
        return timeKey(a.onValid, a.onHour, a.onMinute) < timeKey(b.onValid, b.onHour, b.onMinute);
    case EveryColumn::Off:
        return timeKey(a.offValid, a.offHour, a.offMinute) < timeKey(b.offValid, b.offHour, b.offMinute);
    case EveryColumn::Input:
        return a.inputId < b.inputId;
    default: {
        const int bit = 1 << static_cast<int>(column);
        return (a.dayMask & bit) < (b.dayMask & bit);
    }
    }
}

bool especialLess(const ST_SCHEDULE_ESPECIAL& a, const ST_SCHEDULE_ESPECIAL& b, EspecialColumn column)
{
    switch (column) {
    case EspecialColumn::From:
        return std::tie(a.fromYear, a.fromMonth, a.fromDay) < std::tie(b.fromYear, b.fromMonth, b.fromDay);
    case EspecialColumn::To:
        return std::tie(a.toYear, a.toMonth, a.toDay) < std::tie(b.toYear, b.toMonth, b.toDay);
    case EspecialColumn::On:
        return timeKey(a.onValid, a.onHour, a.onMinute) < timeKey(b.onValid, b.onHour, b.onMinute);
    case EspecialColumn::Off:
        return timeKey(a.offValid, a.offHour, a.offMinute) < timeKey(b.offValid, b.offHour, b.offMinute);
    case EspecialColumn::Input:
        break;
    }
    return a.inputId < b.inputId;
}

std::string doubledAmpersands(std::string_view name)
{
    std::string doubled;
    for (char c : name) {
        doubled += c;
        if (c == '&')
            doubled += '&';
    }
    return doubled;
}

std::vector<int> monitoringIntervals()
{
    std::vector<int> minutes{15, 30};
    for (int hours = 1; hours <= 24; ++hours)
        minutes.push_back(hours * 60);
    return minutes;
}

int monitoringIntervalPosition(int storedMinutes)
{
    if (storedMinutes < 60)
        return storedMinutes <= 15 ? 0 : 1;
    const int position = storedMinutes / 60 + 1;
    const int last = static_cast<int>(monitoringIntervals().size()) - 1;
    return position > last ? last : position;
}

} // namespace lumivane
