#include "reports/stored_lines.h"

#include <cstdio>

#include "reports/day_count.h"

std::string formatStoreLine(double days, std::span<const int32_t> counts) {
  const int64_t ms = timeOfDayMilliseconds(days);
  char time[16];
  (void)std::snprintf(time, sizeof time, "%02d:%02d:%02d", static_cast<int>(ms / 3'600'000),
                      static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60));
  std::string line = time;
  for (const int32_t count : counts) {
    line += kStoreLineGap;
    line += std::to_string(count);
  }
  return line;
}

std::string formatTargetLine(std::string_view longTimeText, int32_t count) {
  std::string line(longTimeText);
  line += kTargetLineGap;
  line += std::to_string(count);
  return line;
}
