#include "reports/report_format.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "reports/day_count.h"

std::string formatReportDate(double days) {
  std::string text = formatDayCount("d.m.yyyy h:nn", days);
  return text.empty() ? kNoValue : text;
}

std::string formatTimeOfDay(double days) {
  if (!std::isfinite(days)) return kNoValue;
  // Only the time of day is printed, so a duration of any length has one.
  const int64_t ms = timeOfDayMilliseconds(days);
  char text[32];
  (void)std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(ms / 3'600'000),
                      static_cast<long long>(ms / 60'000 % 60), static_cast<long long>(ms / 1000 % 60));
  return text;
}
