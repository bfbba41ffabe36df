#include "tools/recount_report_data.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "analysis/number_format.h"
#include "analysis/size_groups.h"
#include "settings/text_encoding.h"

namespace {

std::string breadthLabel(int k) { return std::to_string(k); }

// Weights from a thousandth of a gram to kilograms: two or three figures.
std::string weightLabel(int k) {
  if (k == 0) return "0";
  const double g = weightClassFloor(k);
  return formatFixed(g, g < 0.01 ? 4 : g < 0.1 ? 3 : g < 1 ? 2 : g < 10 ? 1 : 0);
}

}  // namespace

RecountHistogram gatherHistogram(const std::vector<std::vector<int32_t>>& counts, std::string (*label)(int k)) {
  RecountHistogram bars;
  size_t first = SIZE_MAX;
  size_t last = 0;
  for (const std::vector<int32_t>& channel : counts) {
    for (size_t k = 0; k < channel.size(); ++k) {
      if (channel[k] == 0) continue;
      first = std::min(first, k);
      last = std::max(last, k);
    }
  }
  bars.heights.resize(counts.size());
  if (first == SIZE_MAX) return bars;
  const size_t per = (last - first) / kReportHistogramBars + 1;
  for (size_t k = first; k <= last; k += per) {
    bars.labels.push_back(label(static_cast<int>(k)));
    for (size_t c = 0; c < counts.size(); ++c) {
      int64_t sum = 0;
      for (size_t j = k; j < std::min(k + per, last + 1) && j < counts[c].size(); ++j) sum += counts[c][j];
      bars.heights[c].push_back(sum);
    }
  }
  return bars;
}

RecountRecording reportRecording(const std::string& file, const Recount& r) {
  RecountRecording rec;
  rec.file = printableName(file);
  rec.startTime = r.startTime;
  rec.seconds = static_cast<double>(r.fileLines) / kLinesPerSecond;
  rec.error = r.error;
  for (const Damage& d : r.damage) rec.damage.push_back("line " + std::to_string(d.line) + ": " + d.reason);
  if (!r.error.empty()) return rec;
  const double startOfDay = r.startTime ? *r.startTime - std::floor(*r.startTime) : 0;
  std::vector<std::vector<int32_t>> breadths;
  std::vector<std::vector<int32_t>> weights;
  for (int c = 1; c <= r.channels; ++c) {
    RecountChannel ch;
    ch.name = r.names[c];
    ch.sizeGroup = std::string(SizeGroupNames[sizeGroupIndex(r.sizeGroups[c])]);
    if (r.live[c]) ch.live = *r.live[c];
    ch.recount = r.counts[c];
    for (const ChartPoint& p : r.liveCurves[c]) ch.liveCurve.push_back({p.x, p.y});
    const FishChannelTally& t = r.fish.channel(c);
    // A point in the middle of each minute counted, zero where none came.
    const int64_t firstMinute = (int64_t{r.first} - 1) * r.frameWidth / kLinesPerMinute;
    const int64_t endMinute = (int64_t{r.first} - 1) * r.frameWidth / kLinesPerMinute +
                              (r.lines + kLinesPerMinute - 1) / kLinesPerMinute;
    for (int64_t m = firstMinute; m < endMinute; ++m) {
      const double y = static_cast<size_t>(m) < t.perMinute.size() ? t.perMinute[static_cast<size_t>(m)] : 0;
      ch.recountCurve.push_back({startOfDay + (static_cast<double>(m) + 0.5) / (24.0 * 60), y});
    }
    breadths.push_back(t.breadthMm);
    weights.emplace_back(t.weight.begin(), t.weight.end());
    rec.channels.push_back(std::move(ch));
  }
  rec.breadthMm = gatherHistogram(breadths, breadthLabel);
  rec.weightGrams = gatherHistogram(weights, weightLabel);
  return rec;
}
