// Date-times as report files keep them: a floating count of days since
// 30 December 1899 00:00, the whole part naming the day and the fraction the
// time of day. 45000.75 is 15 March 2023 18:00; 0.5 is noon of 30 Dec 1899.
//
// A count below zero names a day before 1899 and its fraction is still taken
// without sign as the time of day: -1.25 is 29 December 1899 06:00 (the rule
// of the platform that wrote these files). Splitting rounds to the nearest
// millisecond, so 0.99999999999 is the next midnight.
//
// Durations ("Lasting", "Overload") are plain day counts: 1/24 is one hour.
#ifndef TINDAVEL_REPORTS_DAY_COUNT_H_
#define TINDAVEL_REPORTS_DAY_COUNT_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr int64_t kMillisecondsPerDay = 24LL * 60 * 60 * 1000;
inline constexpr double kSecondsPerDay = 86400.0;

struct CivilDateTime {
  int year = 1899;   // 1 to 9999
  int month = 12;    // 1 to 12
  int day = 30;      // 1 to 31
  int hour = 0;      // 0 to 23
  int minute = 0;    // 0 to 59
  int second = 0;    // 0 to 59
  int millisecond = 0;
  bool operator==(const CivilDateTime&) const = default;
};

// The day count of a civil date-time (proleptic Gregorian calendar). The
// fields must form a valid date and time.
double dayCountFromCivil(const CivilDateTime& t);

// The civil date-time of a day count, to the millisecond. nullopt when the
// count is not finite or lies outside the years 1 to 9999.
std::optional<CivilDateTime> civilFromDayCount(double days);

// The milliseconds since midnight of a day count's time of day (0 to
// kMillisecondsPerDay - 1); 1.25 gives 6 hours. Not finite: 0.
int64_t timeOfDayMilliseconds(double days);

// Names and separator that the date-time patterns take from the system's
// settings; the defaults are those of an English system.
struct DateTimeNames {
  char timeSeparator = ':';
  std::array<const char*, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
};

// Formats a day count with the platform's date-time pattern letters (letters
// match without regard to case):
//   d / dd      day without / with leading zero     m / mm   month, likewise
//   mmm         short month name ("MMM")             yy / yyyy  two / four-digit year
//   h / hh      hour without / with leading zero     n / nn   minute, likewise
//   s / ss      second, likewise
//   m or mm right after an h or hh (other characters between them do not
//   count) means minutes, so "hh:mm:ss" is a clock time.
//   ":" is the system's time separator; text in "..." or '...' is copied;
//   every other character stands for itself.
// "d.m.yyyy h:nn" gives "15.3.2023 18:00"; "dd MMM yyyy" gives "15 Mar 2023".
// A count outside the years 1 to 9999 or not finite gives an empty text.
std::string formatDayCount(std::string_view pattern, double days, const DateTimeNames& names = {});

#endif  // TINDAVEL_REPORTS_DAY_COUNT_H_
