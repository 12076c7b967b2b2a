#pragma once

#include "ScheduleRecords.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

class CScheduleStore;

// The rules of the schedule editor that do not depend on its windows: which monitor families and input
// families a schedule involves, the checks that keep one schedule to one family, the texts of the entry
// rows and their sort order. The console's dialogs and lumictl share them.

// Families, as bits: the main series (QX-Series) and the ZR-1190 family.
enum FamilyKinds : int
{
    kNoFamily = 0,
    kQxFamily = 1,
    kZrFamily = 2,
    kBothFamilies = 3,
};

// The families of monitors with these model names ("Brela" is the ZR-1190 family).
int monitorFamilies(const std::vector<std::string>& modelNames);
// The family of an entry's input: none for 0, ZR-1190 above 100, else the main series.
int inputFamily(int inputId);

// The input families of the current schedule's entries, leaving out the weekly or selected-days entry at
// `skipEvery` / `skipEspecial` (-1: none), the one being edited.
int entryInputFamilies(const CScheduleStore& store, int skipEvery = -1, int skipEspecial = -1);

// The check of an entry's input when the entry is stored: 0 when it may be, else the message that says
// why: 283 the schedule's other entries use the other family's inputs, 284 a ZR-1190 input for a schedule
// with monitors of the main series, 285 a main-series input for one with ZR-1190 monitors.
int entryInputProblem(int inputId, int otherInputFamilies, int scheduleMonitorFamilies);
// The check of assigning a schedule whose entries use `inputFamilies` to monitors of `selectionFamilies`:
// 0, 285 (main-series inputs, a ZR-1190 monitor selected) or 284 (ZR-1190 inputs, not only ZR-1190 monitors).
int assignProblem(int inputFamilies, int selectionFamilies);

// The input name of an entry's input, empty for 0.
std::string entryInputText(int inputId);
// The texts of a weekly row: "O"/"X" for Sunday to Saturday, on, off, input.
std::vector<std::string> everyRowTexts(const ST_SCHEDULE_EVERY& entry);
// The texts of a selected-days row: from, to, on, off, input.
std::vector<std::string> especialRowTexts(const ST_SCHEDULE_ESPECIAL& entry);

// The columns of the entry lists, in their order on screen.
enum class EveryColumn
{
    Sunday, // up to Saturday: Sunday + n
    Monday,
    Tuesday,
    Wednesday,
    Thursday,
    Friday,
    Saturday,
    On,
    Off,
    Input,
};
enum class EspecialColumn
{
    From,
    To,
    On,
    Off,
    Input,
};
// Whether `a` sorts before `b` by the column (ascending). A missing time sorts before a present one; a
// weekday by its bit; the input by its identifier; dates by year, month and day.
bool everyLess(const ST_SCHEDULE_EVERY& a, const ST_SCHEDULE_EVERY& b, EveryColumn column);
bool especialLess(const ST_SCHEDULE_ESPECIAL& a, const ST_SCHEDULE_ESPECIAL& b, EspecialColumn column);

// The "&" of a name doubled, so that a label shows it instead of taking it as a mnemonic.
std::string doubledAmpersands(std::string_view name);

// Monitoring intervals offered: 15 and 30 minutes, then 1 to 24 hours, in minutes.
std::vector<int> monitoringIntervals();
// The position in monitoringIntervals() shown for a stored interval: below 60 the first entry for 15 or
// less, else the second; from 60 on the whole hours (90 shows 1 hour).
int monitoringIntervalPosition(int storedMinutes);

} // namespace lumivane
