#include "tools/recount_fish_rows.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "analysis/detection_state.h"
#include "records/debug_viewer_engine.h"
#include "reports/day_count.h"
#include "tools/csv_text.h"

namespace {

void appendInteger(std::string& out, int64_t value) {
  char digits[24];
  const auto done = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, done.ptr);
}

// `value` (finite, not negative) with 1 to 3 decimals, half away from zero.
// A row is written per fish, so this stays clear of printf and of
// allocations.
void appendFixed(std::string& out, double value, int decimals) {
  static constexpr int64_t kScale[] = {1, 10, 100, 1000};
  const int64_t scale = kScale[decimals];
  const auto scaled = static_cast<int64_t>(std::llround(value * static_cast<double>(scale)));
  appendInteger(out, scaled / scale);
  char fraction[4] = {'.'};
  int64_t rest = scaled % scale;
  for (int k = decimals; k >= 1; --k) {
    fraction[k] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  out.append(fraction, static_cast<size_t>(decimals) + 1);
}

}  // namespace

double weightClassFloor(int k) {
  return kWeightTallyFloorGrams * std::pow(10.0, static_cast<double>(k - 1) / kWeightClassesPerDecade);
}

void FishTally::begin(const FishScale& scale, bool rows) {
  scale_ = scale;
  keepRows_ = rows;
  rows_.clear();
  channels_ = {};
  cachedSecond_ = INT64_MIN;
  startMs_ = scale.startTime ? std::llround(*scale.startTime * kMillisecondsPerDay) : 0;
  for (int c = 1; c <= scale.channels; ++c) {
    prefix_[c] = csvField(scale.file) + ',' + std::to_string(c) + ',' + csvField(scale.channelNames[c]) + ',' +
                 csvField(scale.sizeGroups[c]) + ',';
  }
}

void FishTally::appendTime(int64_t line) {
  if (!scale_.startTime) return;
  // Whole milliseconds: the start's, and the line's at 1116 lines a second.
  const int64_t ms = startMs_ + (line * 1000 + kLinesPerSecond / 2) / kLinesPerSecond;
  const int64_t second = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
  if (second != cachedSecond_) {
    cachedSecond_ = second;
    cachedSecondText_.clear();
    if (const std::optional<CivilDateTime> t =
            civilFromDayCount(static_cast<double>(second) * 1000 / kMillisecondsPerDay)) {
      char text[24];
      (void)std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t->year, t->month, t->day, t->hour,
                          t->minute, t->second);
      cachedSecondText_ = text;
    }
  }
  if (cachedSecondText_.empty()) return;  // outside the years 1 to 9999
  rows_ += cachedSecondText_;
  const int64_t milli = ms - second * 1000;
  rows_ += '.';
  rows_ += static_cast<char>('0' + milli / 100);
  rows_ += static_cast<char>('0' + milli / 10 % 10);
  rows_ += static_cast<char>('0' + milli % 10);
}

void FishTally::fishCounted(const ObjectRecord& fish, int channel, int32_t frame, int64_t line) {
  const double span = static_cast<double>(scale_.rightEdge) - scale_.leftEdge;
  const double breadthMm = span > 0 ? fish.MaxWidth * static_cast<double>(scale_.channelWidthMm) / span : 0;
  const double grams = weightEstimate(fish.Area, scale_.leftEdge, scale_.rightEdge, scale_.channelWidthMm);

  FishChannelTally& t = channels_[channel];
  const auto minute = static_cast<size_t>(std::max<int64_t>(line - 1, 0) / kLinesPerMinute);
  if (t.perMinute.size() <= minute) t.perMinute.resize(minute + 1, 0);
  ++t.perMinute[minute];
  if (t.breadthMm.empty()) t.breadthMm.assign(kBreadthTallyMm + 1, 0);
  ++t.breadthMm[static_cast<size_t>(std::clamp(static_cast<int>(breadthMm), 0, kBreadthTallyMm))];
  int weightClass = 0;
  if (grams >= kWeightTallyFloorGrams) {
    weightClass = 1 + static_cast<int>(std::log10(grams / kWeightTallyFloorGrams) * kWeightClassesPerDecade);
  }
  ++t.weight[static_cast<size_t>(std::clamp(weightClass, 0, kWeightTallyClasses - 1))];

  if (!keepRows_) return;
  rows_ += prefix_[channel];
  appendInteger(rows_, frame);
  rows_ += ',';
  appendInteger(rows_, line);
  rows_ += ',';
  appendTime(line);
  rows_ += ',';
  appendInteger(rows_, fish.Lines);
  rows_ += ',';
  appendInteger(rows_, fish.MaxWidth);
  rows_ += ',';
  appendInteger(rows_, fish.Area);
  rows_ += ',';
  appendFixed(rows_, std::min(std::max(breadthMm, 0.0), 1e12), 1);
  rows_ += ',';
  appendFixed(rows_, std::min(grams, 1e12), 3);
  rows_ += "\r\n";
}
