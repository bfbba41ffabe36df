// How the printed report writes dates and times: "d.m.yyyy h:nn" for the
// session's date and "h:nn:ss" for durations. Day counts are those of
// reports/day_count.h; numbers go through formatFixed
// (analysis/number_format.h), the program's "0" and "0.0" patterns. No Qt.
#ifndef TINDAVEL_REPORTS_REPORT_FORMAT_H_
#define TINDAVEL_REPORTS_REPORT_FORMAT_H_

#include <string>

#include "analysis/number_format.h"

// Printed in place of a value that has no sound form: a rate over a session
// of no length, a weight that is not a whole number, a date out of range.
inline constexpr const char* kNoValue = "-";

// "DateTime" as "d.m.yyyy h:nn": 45000.75 prints "15.3.2023 18:00". A value
// outside the years 1 to 9999, or not finite, prints kNoValue.
std::string formatReportDate(double days);

// A duration as "h:nn:ss" of its time of day only: 1.25 days prints
// "6:00:00". Not finite: kNoValue.
std::string formatTimeOfDay(double days);

#endif  // TINDAVEL_REPORTS_REPORT_FORMAT_H_
