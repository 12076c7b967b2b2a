#pragma once

#include "MailAddressList.h"
#include "ScheduleRecords.h"

#include <string>
#include <vector>

namespace lumivane {

// The rules of the mail pages that do not depend on their windows: the row texts of the address and
// report-time lists, the kinds of an address, the report minutes offered.

// An address row: the address, then "O"/"X" for periodical reports and error notices.
std::vector<std::string> mailAddressRowTexts(const MailAddress& entry);
// The kinds value of the address dialog's two boxes.
int mailKinds(bool periodical, bool error);

// A report-time row: "HH:MM", then "O"/"X" for Sunday to Saturday.
std::vector<std::string> reportTimeRowTexts(const ST_MAIL_SCHEDULE& time);
// What "Add..." starts from: every day at 00:00.
ST_MAIL_SCHEDULE newReportTime();

// Report minutes come in quarters of an hour: position 0..3 is 00, 15, 30, 45; no choice (-1) is 00.
inline constexpr int kReportMinuteStep = 15;
inline constexpr int kReportMinuteChoices = 4;
int reportMinuteAt(int position);
// The position shown for a stored minute; one off the quarters (a hand-edited file) shows the quarter it lies in.
int reportMinutePosition(int minute);
// The hour position shown for a stored hour, kept within 0..23.
int reportHourPosition(int hour);

} // namespace lumivane
