// The stored count lines of a counting session: what Store and the target
// timer append to the session's report lines, and what a report file's
// "StoredValues" section holds under the keys "0", "1", ... . The report
// prints them as they stand, under the heading "Time    " and the channel names.
//
//   Store line   "hh:mm:ss", then per channel 1..NrChannels five blanks and
//                the channel's count:  "14:05:09     120     87"
//   Target line  the time of day in the system's long time format, twelve
//                blanks, the count of channel 1: "14:05:09            100"
#ifndef TINDAVEL_REPORTS_STORED_LINES_H_
#define TINDAVEL_REPORTS_STORED_LINES_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::string_view kStoreLineGap = "     ";          // five blanks
inline constexpr std::string_view kTargetLineGap = "            ";  // twelve blanks

// A Store line at the time of day of `days` (a day count, reports/day_count.h)
// with the counts of channels 1..counts.size(), in that order.
std::string formatStoreLine(double days, std::span<const int32_t> counts);

// A target line: `longTimeText` is the time already formatted with the
// system's long time format (that format belongs to the caller's locale).
std::string formatTargetLine(std::string_view longTimeText, int32_t count);

#endif  // TINDAVEL_REPORTS_STORED_LINES_H_
