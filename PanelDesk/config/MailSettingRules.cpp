#include "MailSettingRules.h"

#include "Strings.h"

#include <algorithm>
#include <cstdio>

namespace lumivane {
namespace {

constexpr int kMarkYes = 173; // "O"
constexpr int kMarkNo = 174;  // "X"

std::string mark(bool set)
{
    return messageText(set ? kMarkYes : kMarkNo);
}

} // namespace

std::vector<std::string> mailAddressRowTexts(const MailAddress& entry)
{
    return {entry.address, mark(entry.kinds & kPeriodicalMailBit), mark(entry.kinds & kErrorMailBit)};
}

int mailKinds(bool periodical, bool error)
{
    return (error ? kErrorMailBit : 0) | (periodical ? kPeriodicalMailBit : 0);
}

std::vector<std::string> reportTimeRowTexts(const ST_MAIL_SCHEDULE& time)
{
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d", time.hour, time.minute);
    std::vector<std::string> texts{clock};
    for (int day = 0; day < 7; ++day)
        texts.push_back(mark(time.dayMask & (1 << day)));
    return texts;
}

ST_MAIL_SCHEDULE newReportTime()
{
    ST_MAIL_SCHEDULE time;
    time.dayMask = 127;
    return time;
}

int reportMinuteAt(int position)
{
    return position < 0 ? 0 : std::min(position, kReportMinuteChoices - 1) * kReportMinuteStep;
}

int reportMinutePosition(int minute)
{
    return std::clamp(minute / kReportMinuteStep, 0, kReportMinuteChoices - 1);
}

int reportHourPosition(int hour)
{
    return std::clamp(hour, 0, 23);
}

} // namespace lumivane
