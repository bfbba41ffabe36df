#include "reports/recount_report.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include "reports/day_count.h"

std::string recountStartText(const std::optional<double>& startTime) {
  if (!startTime) return "-";
  const std::string text = formatDayCount("d.m.yyyy h:nn:ss", *startTime);
  return text.empty() ? "-" : text;
}

std::string recountDurationText(double seconds) {
  const auto s = static_cast<long long>(std::llround(std::max(seconds, 0.0)));
  char text[40];
  (void)std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  return text;
}

std::string recountCountText(const std::optional<int64_t>& count) { return count ? std::to_string(*count) : "-"; }

std::string recountDifferenceText(const std::optional<int64_t>& live, int64_t recount) {
  if (!live) return "-";
  const int64_t d = recount - *live;
  return (d > 0 ? "+" : "") + std::to_string(d);
}

std::optional<int64_t> liveTotal(const RecountRecording& r) {
  int64_t sum = 0;
  for (const RecountChannel& c : r.channels) {
    if (!c.live) return std::nullopt;
    sum += *c.live;
  }
  return sum;
}

int64_t recountTotal(const RecountRecording& r) {
  int64_t sum = 0;
  for (const RecountChannel& c : r.channels) sum += c.recount;
  return sum;
}

std::vector<DayTotal> totalsPerDay(const RecountReport& report) {
  // Keyed by the day number (whole days of the count; none sorts last) and
  // the channel.
  std::map<std::pair<int64_t, int>, DayTotal> days;
  for (const RecountRecording& r : report.recordings) {
    if (!r.error.empty()) continue;
    const int64_t dayNumber = r.startTime ? static_cast<int64_t>(std::floor(*r.startTime)) : INT64_MAX;
    for (size_t k = 0; k < r.channels.size(); ++k) {
      const RecountChannel& c = r.channels[k];
      const int channel = static_cast<int>(k) + 1;
      auto [it, fresh] = days.try_emplace({dayNumber, channel});
      DayTotal& t = it->second;
      if (fresh) {
        t.day = r.startTime ? formatDayCount("d.m.yyyy", *r.startTime) : "-";
        t.channel = channel;
        t.channelName = c.name;
        t.live = 0;
      }
      t.live = t.live && c.live ? std::optional<int64_t>(*t.live + *c.live) : std::nullopt;
      t.recount += c.recount;
    }
  }
  std::vector<DayTotal> rows;
  rows.reserve(days.size());
  for (auto& [key, total] : days) rows.push_back(std::move(total));
  return rows;
}
