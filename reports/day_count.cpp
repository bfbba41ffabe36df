#include "reports/day_count.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr sys_days kEpoch = sys_days{std::chrono::year{1899} / std::chrono::December / 30};
// Day counts of 1 January 0001 and of the day after 31 December 9999.
constexpr int64_t kFirstDay = -693593;
constexpr int64_t kEndDay = 2958466;

struct SplitDayCount {
  int64_t day = 0;  // whole days since the epoch
  int64_t ms = 0;   // time of day, 0 .. kMillisecondsPerDay - 1
};

// The whole part names the day and the fraction, without its sign, the time
// of day, both to the nearest millisecond: the count is rounded to whole
// milliseconds first and then divided, the quotient truncated toward zero.
std::optional<SplitDayCount> split(double days) {
  if (!std::isfinite(days) || days <= static_cast<double>(kFirstDay - 1) ||
      days >= static_cast<double>(kEndDay)) {
    return std::nullopt;
  }
  const auto total = static_cast<int64_t>(std::llround(days * static_cast<double>(kMillisecondsPerDay)));
  SplitDayCount s;
  s.day = total / kMillisecondsPerDay;
  s.ms = (total < 0 ? -total : total) % kMillisecondsPerDay;
  if (s.day < kFirstDay || s.day >= kEndDay) return std::nullopt;
  return s;
}

void appendNumber(std::string& out, int value, int width) {
  char text[16];
  (void)std::snprintf(text, sizeof text, "%0*d", width, value);
  out += text;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

double dayCountFromCivil(const CivilDateTime& t) {
  const year_month_day date{std::chrono::year{t.year}, std::chrono::month{static_cast<unsigned>(t.month)},
                            std::chrono::day{static_cast<unsigned>(t.day)}};
  const int64_t day = (sys_days{date} - kEpoch).count();
  const int64_t ms = ((static_cast<int64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
  const double fraction = static_cast<double>(ms) / static_cast<double>(kMillisecondsPerDay);
  // Before the epoch the fraction still counts forward from midnight, so it
  // is subtracted from the (negative) day number.
  return day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
}

std::optional<CivilDateTime> civilFromDayCount(double days) {
  const std::optional<SplitDayCount> s = split(days);
  if (!s) return std::nullopt;
  const year_month_day date{kEpoch + std::chrono::days{s->day}};
  CivilDateTime t;
  t.year = static_cast<int>(date.year());
  t.month = static_cast<int>(static_cast<unsigned>(date.month()));
  t.day = static_cast<int>(static_cast<unsigned>(date.day()));
  t.hour = static_cast<int>(s->ms / 3'600'000);
  t.minute = static_cast<int>(s->ms / 60'000 % 60);
  t.second = static_cast<int>(s->ms / 1000 % 60);
  t.millisecond = static_cast<int>(s->ms % 1000);
  return t;
}

int64_t timeOfDayMilliseconds(double days) {
  if (!std::isfinite(days)) return 0;
  // Only the fraction matters; dropping the whole days first keeps the
  // millisecond product in range for any count.
  const double fraction = std::fabs(days - std::trunc(days));
  auto ms = static_cast<int64_t>(std::llround(fraction * static_cast<double>(kMillisecondsPerDay)));
  if (ms >= kMillisecondsPerDay) ms -= kMillisecondsPerDay;
  return ms;
}

std::string formatDayCount(std::string_view pattern, double days, const DateTimeNames& names) {
  const std::optional<CivilDateTime> t = civilFromDayCount(days);
  if (!t) return {};
  std::string out;
  char lastLetter = 0;  // the last pattern letter, upper case; decides "m" after "h"
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '"' || c == '\'') {
      const size_t close = pattern.find(c, i + 1);
      const size_t end = close == std::string_view::npos ? pattern.size() : close;
      out += pattern.substr(i + 1, end - i - 1);
      i = end == pattern.size() ? end : end + 1;
      continue;
    }
    if (c == ':') {
      out += names.timeSeparator;
      ++i;
      continue;
    }
    char letter = upper(c);
    size_t run = 1;
    while (i + run < pattern.size() && upper(pattern[i + run]) == letter) ++run;
    if (letter < 'A' || letter > 'Z') {
      out += c;
      ++i;
      continue;
    }
    if (letter == 'M' && lastLetter == 'H' && run <= 2) letter = 'N';
    lastLetter = letter;
    switch (letter) {
      case 'D':
        appendNumber(out, t->day, run >= 2 ? 2 : 1);
        break;
      case 'M':
        if (run >= 3) {
          out += names.shortMonthNames[static_cast<size_t>(t->month - 1)];
        } else {
          appendNumber(out, t->month, static_cast<int>(run));
        }
        break;
      case 'Y':
        if (run >= 3) {
          appendNumber(out, t->year, 4);
        } else {
          appendNumber(out, t->year % 100, 2);
        }
        break;
      case 'H':
        appendNumber(out, t->hour, run >= 2 ? 2 : 1);
        break;
      case 'N':
        appendNumber(out, t->minute, run >= 2 ? 2 : 1);
        break;
      case 'S':
        appendNumber(out, t->second, run >= 2 ? 2 : 1);
        break;
      default:
        out.append(pattern.substr(i, run));  // a letter with no meaning here
        break;
    }
    i += run;
  }
  return out;
}
