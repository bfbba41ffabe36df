#include "tools/recount_fish_rows.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "analysis/detection_state.h"
#include "records/debug_viewer_engine.h"
#include "reports/day_count.h"
#include "tools/csv_text.h"

// The numbers of one row are put together in a buffer on the stack and
// appended to the rows at once: a row is written per fish, so this stays
// clear of printf, of allocations and of many small appends.
class FishRowText {
 public:
  void integer(int64_t value) { end_ = std::to_chars(end_, text_.data() + text_.size(), value).ptr; }
  // `value` (finite, not negative) with 1 to 3 decimals, half away from zero.
  void fixed(double value, int decimals) {
    static constexpr int64_t kScale[] = {1, 10, 100, 1000};
    const int64_t scale = kScale[decimals];
    const auto scaled = static_cast<int64_t>(std::llround(value * static_cast<double>(scale)));
    integer(scaled / scale);
    *end_ = '.';
    int64_t rest = scaled % scale;
    for (int k = decimals; k >= 1; --k) {
      end_[k] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    }
    end_ += decimals + 1;
  }
  void text(std::string_view s) { end_ = std::copy(s.begin(), s.end(), end_); }
  void put(char c) { *end_++ = c; }
  // The milliseconds of a time, after its "yyyy-mm-ddThh:mm:ss".
  void milliseconds(int64_t milli) {
    put('.');
    put(static_cast<char>('0' + milli / 100));
    put(static_cast<char>('0' + milli / 10 % 10));
    put(static_cast<char>('0' + milli % 10));
  }
  std::string_view view() const { return {text_.data(), static_cast<size_t>(end_ - text_.data())}; }

 private:
  // Room for what follows the prefix: two 64-bit numbers, four 32-bit
  // ones, a time and two figures of at most 1e12 with their decimals.
  std::array<char, 192> text_;
  char* end_ = text_.data();
};

double weightClassFloor(int k) {
  return kWeightTallyFloorGrams * std::pow(10.0, static_cast<double>(k - 1) / kWeightClassesPerDecade);
}

void FishTally::begin(const FishScale& scale, std::optional<std::string> rowBuffer) {
  scale_ = scale;
  keepRows_ = rowBuffer.has_value();
  rows_ = keepRows_ ? std::move(*rowBuffer) : std::string();
  rows_.clear();
  channels_ = {};
  cachedSecond_ = INT64_MIN;
  startMs_ = scale.startTime ? std::llround(*scale.startTime * kMillisecondsPerDay) : 0;
  for (int c = 1; c <= scale.channels; ++c) {
    prefix_[c] = csvField(scale.file) + ',' + std::to_string(c) + ',' + csvField(scale.channelNames[c]) + ',' +
                 csvField(scale.sizeGroups[c]) + ',';
  }
}

void FishTally::appendTime(FishRowText& row, int64_t line) {
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
  row.text(cachedSecondText_);
  row.milliseconds(ms - second * 1000);
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
  FishRowText row;
  row.integer(frame);
  row.put(',');
  row.integer(line);
  row.put(',');
  appendTime(row, line);
  row.put(',');
  row.integer(fish.Lines);
  row.put(',');
  row.integer(fish.MaxWidth);
  row.put(',');
  row.integer(fish.Area);
  row.put(',');
  row.fixed(std::min(std::max(breadthMm, 0.0), 1e12), 1);
  row.put(',');
  row.fixed(std::min(grams, 1e12), 3);
  row.text("\r\n");
  rows_ += prefix_[channel];
  rows_ += row.view();
}
