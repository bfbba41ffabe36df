// How the printed report writes numbers, dates and times: "0" and "0.0" for
// numbers (rounded half away from zero, as the layouts always did), "d.m.yyyy
// h:nn" for the session's date and "h:nn:ss" for durations. Day counts are
// those of reports/day_count.h. No Qt here.
#ifndef TINDAVEL_REPORTS_REPORT_FORMAT_H_
#define TINDAVEL_REPORTS_REPORT_FORMAT_H_

#include <string>

// Printed in place of a value that has no sound form: a rate over a session
// of no length, a weight that is not a whole number, a date out of range.
inline constexpr const char* kNoValue = "-";

// `value` rounded half away from zero to `decimals` (0 or 1 here) places:
// formatFixed(1.666, 0) == "2", formatFixed(2.45, 1) == "2.5". A value that
// rounds to zero prints without a minus sign. Not finite: kNoValue.
std::string formatFixed(double value, int decimals);

// "DateTime" as "d.m.yyyy h:nn": 45000.75 prints "15.3.2023 18:00". A value
// outside the years 1 to 9999, or not finite, prints kNoValue.
std::string formatReportDate(double days);

// A duration as "h:nn:ss" of its time of day only: 1.25 days prints
// "6:00:00". Not finite: kNoValue.
std::string formatTimeOfDay(double days);

#endif  // TINDAVEL_REPORTS_REPORT_FORMAT_H_
