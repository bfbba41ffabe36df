#include "reports/report_format.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "reports/day_count.h"

std::string formatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return kNoValue;
  const double scale = decimals == 1 ? 10.0 : 1.0;
  const double scaled = std::round(value * scale);  // half away from zero
  char text[400];
  if (std::fabs(scaled) < 9e15) {
    const int64_t units = static_cast<int64_t>(scaled);
    const int64_t magnitude = units < 0 ? -units : units;
    const char* sign = units < 0 ? "-" : "";
    if (decimals == 1) {
      std::snprintf(text, sizeof text, "%s%lld.%lld", sign, static_cast<long long>(magnitude / 10),
                    static_cast<long long>(magnitude % 10));
    } else {
      std::snprintf(text, sizeof text, "%s%lld", sign, static_cast<long long>(magnitude));
    }
  } else {
    // Beyond exact integer steps of a double no tie can arise: printf's
    // rounding is as good as ours there.
    std::snprintf(text, sizeof text, "%.*f", decimals == 1 ? 1 : 0, value);
  }
  return text;
}

std::string formatReportDate(double days) {
  std::string text = formatDayCount("d.m.yyyy h:nn", days);
  return text.empty() ? kNoValue : text;
}

std::string formatTimeOfDay(double days) {
  if (!std::isfinite(days)) return kNoValue;
  // Only the time of day is printed, so a duration of any length has one.
  const int64_t ms = timeOfDayMilliseconds(days);
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(ms / 3'600'000),
                static_cast<long long>(ms / 60'000 % 60), static_cast<long long>(ms / 1000 % 60));
  return text;
}
