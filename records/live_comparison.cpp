#include "records/live_comparison.h"

#include <algorithm>
#include <cmath>

#include "reports/day_count.h"

namespace {

int64_t minuteOf(int64_t line) { return (std::max<int64_t>(line, 1) - 1) / kLinesPerMinute; }

}  // namespace

void LiveComparison::setRecording(int64_t totalLines, double startTime, int channels,
                                  const ChannelArray<std::optional<int32_t>>& live) {
  totalLines_ = std::max<int64_t>(totalLines, 0);
  startOfDay_ = static_cast<double>(timeOfDayMilliseconds(startTime)) / kMillisecondsPerDay;
  channels_ = std::clamp(channels, 0, kMaxChannels);
  live_ = {};
  for (int c = 1; c <= channels_; ++c) live_[c] = live[c];
  minutes_.assign(static_cast<size_t>(minuteOf(totalLines_) + 1), ChannelArray<int32_t>{});
  runFirst_ = runLast_ = 0;
}

void LiveComparison::countRestarted(int64_t firstLine) {
  std::fill(minutes_.begin(), minutes_.end(), ChannelArray<int32_t>{});
  runFirst_ = firstLine;
  runLast_ = firstLine - 1;
}

void LiveComparison::fishCounted(const ObjectRecord& /*fish*/, int channel, int32_t /*frame*/, int64_t line) {
  if (channel < 1 || channel > kMaxChannels || line < 1 || line > totalLines_) return;
  ++minutes_[static_cast<size_t>(minuteOf(line))][channel];
}

void LiveComparison::linesCounted(int64_t lastLine) {
  if (runFirst_ >= 1) runLast_ = std::clamp(lastLine, runLast_, totalLines_);
}

std::optional<int32_t> LiveComparison::liveCount(int c) const {
  if (c < 1 || c > channels_) return std::nullopt;
  return live_[c];
}

bool LiveComparison::wholeRecording() const { return runFirst_ == 1 && totalLines_ > 0 && runLast_ == totalLines_; }

std::optional<int64_t> LiveComparison::difference(int c, int32_t recount) const {
  const std::optional<int32_t> live = liveCount(c);
  if (!live || !wholeRecording()) return std::nullopt;
  return int64_t{recount} - *live;
}

std::vector<int32_t> LiveComparison::minuteCounts(int c) const {
  std::vector<int32_t> counts;
  if (c < 1 || c > kMaxChannels || runFirst_ < 1 || runLast_ < runFirst_) return counts;
  for (int64_t m = minuteOf(runFirst_); m <= minuteOf(runLast_); ++m) {
    counts.push_back(minutes_[static_cast<size_t>(m)][c]);
  }
  return counts;
}

std::vector<ChartPoint> LiveComparison::recountCurve(int c) const {
  std::vector<ChartPoint> curve;
  const std::vector<int32_t> counts = minuteCounts(c);
  if (counts.empty()) return curve;
  curve.reserve(counts.size() + 1);
  curve.push_back({timeOfLine(runFirst_), 0});
  const int64_t firstMinute = minuteOf(runFirst_);
  for (size_t i = 0; i < counts.size(); ++i) {
    const int64_t endOfMinute = (firstMinute + static_cast<int64_t>(i) + 1) * kLinesPerMinute;
    curve.push_back({timeOfLine(std::min(endOfMinute, runLast_)), static_cast<double>(counts[i])});
  }
  return curve;
}

double LiveComparison::timeOfLine(int64_t line) const {
  return startOfDay_ + static_cast<double>(line) / kLinesPerSecond / kSecondsPerDay;
}

std::optional<int32_t> LiveComparison::frameAt(double x, int32_t frameWidth) const {
  if (totalLines_ < 1 || frameWidth < 1 || !std::isfinite(x)) return std::nullopt;
  // The line whose time is the last not after x; line 0 is the start itself.
  const double line = std::floor((x - startOfDay_) * kSecondsPerDay * kLinesPerSecond + 1e-6);
  if (line < 0 || line > static_cast<double>(totalLines_)) return std::nullopt;
  const auto first = std::max<int64_t>(static_cast<int64_t>(line), 1);
  return static_cast<int32_t>((first - 1) / frameWidth + 1);
}
