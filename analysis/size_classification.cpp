#include "analysis/size_classification.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/number_format.h"
#include "analysis/size_groups.h"
#include "settings/settings_variables.h"

namespace {


int32_t clampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Truncation toward zero of a double that may lie outside the 32-bit range
// (means of hostile data); NaN gives 0.
int32_t truncToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

bool validChannel(int ch) { return ch >= 1 && ch <= kMaxChannels; }

// The limits that follow from MinLength and MinBreadth.
void deriveLimits(DetectionState& d, int ch) {
  d.MaxBreadth[ch] = clampToInt32(int64_t{20} * d.MinBreadth[ch]);
  d.MaxLength[ch] = clampToInt32(int64_t{50} * d.MinLength[ch]);
  d.MinArea[ch] = clampToInt32(int64_t{2} * d.MinBreadth[ch] * d.MinLength[ch]);
  d.MaxArea[ch] = clampToInt32(int64_t{d.MaxBreadth[ch]} * d.MaxLength[ch]);
}

struct SegmentLimits {
  int32_t upToMinArea;
  int32_t minWidth;
  int32_t gapLimit;
  int32_t angleSmoothing;
};

// Segment limits and angle smoothing by the automatic MinArea.
constexpr SegmentLimits kSegmentLimits[] = {
    {17, 4, 4, 45},   {34, 4, 4, 42},  {70, 4, 4, 34},   {150, 4, 4, 30},
    {350, 6, 5, 33},  {700, 7, 6, 33}, {1500, 8, 7, 30}, {10000, 20, 18, 28},
};

}  // namespace

int32_t pixelScale(const SettingsVariables& s, int32_t mm) {
  const int64_t widthMm = s.ChannelWidthMm > 0 ? s.ChannelWidthMm : kDefaultChannelWidthMm;
  // In integers: the floating formula can land a hair below a whole result
  // (511 * 63 / 500 * 500 / 511) and truncate it one too low.
  const int64_t numerator = (int64_t{s.RightEdge} - s.LeftEdge) * mm * 500;
  return clampToInt32(numerator / (widthMm * 511));
}

void stillafiskiflokk(int ch, DetectionState& d, const SettingsVariables& s,
                      int32_t linesPerBuffer, bool enableMulti, SizeDisplay* display) {
  if (!validChannel(ch)) return;
  const int g = sizeGroupIndex(s.SizeGroup[ch]);
  const SizeGroupRow& row = kSizeGroups[g];
  if (display) display->showSizeGroupName(ch, SizeGroupNames[g]);

  d.MinWidth[ch] = row.MinWidth;
  d.GapLimit[ch] = row.GapLimit;

  d.AvgLength[ch] = row.Length;
  d.MinLength[ch] = truncToInt32(d.AvgLength[ch] / d.LengthDivisor);
  d.MinLengthFloor[ch] = row.LengthFloor;

  d.AvgBreadth[ch] = pixelScale(s, row.BreadthMm);
  d.MinBreadth[ch] = truncToInt32(d.AvgBreadth[ch] / 4);
  d.MinBreadthFloor[ch] = pixelScale(s, row.BreadthFloorMm);

  deriveLimits(d, ch);

  if (display) {
    int64_t maximum = int64_t{row.GaugeFactor} * linesPerBuffer / kLinesPerSecond;
    if (enableMulti && s.NrChannels > 0) maximum /= s.NrChannels;
    display->setGaugeMaximum(clampToInt32(maximum));
  }

  d.AvgArea[ch] = d.AvgLength[ch] * d.AvgBreadth[ch] / 2;
  d.AngleSmoothing[ch] = 33;
}

void autofiskiflokkur(int ch, DetectionState& d, const ViewerCounts& counts,
                      bool sessionActive, SizeDisplay* display) {
  if (!validChannel(ch)) return;
  d.MinLength[ch] =
      std::max(truncToInt32(d.AvgLength[ch] / d.LengthDivisor), d.MinLengthFloor[ch]);
  d.MinBreadth[ch] = std::max(truncToInt32(d.AvgBreadth[ch] / 4), d.MinBreadthFloor[ch]);
  deriveLimits(d, ch);
  d.MinArea[ch] = std::max(d.MinArea[ch], 11);

  bool found = false;
  for (const SegmentLimits& limits : kSegmentLimits) {
    if (d.MinArea[ch] <= limits.upToMinArea) {
      d.MinWidth[ch] = limits.minWidth;
      d.GapLimit[ch] = limits.gapLimit;
      d.AngleSmoothing[ch] = limits.angleSmoothing;
      found = true;
      break;
    }
  }
  if (!found) {  // very large fish: keep the limits, but not below 4
    d.MinWidth[ch] = std::max(d.MinWidth[ch], 4);
    d.GapLimit[ch] = std::max(d.GapLimit[ch], 4);
  }

  if (!display) return;
  if (counts.WeightSamples[ch] < 1) {
    for (int bar = 1; bar <= kMaxChannels; ++bar) {
      display->setProgressPosition(bar, counts.WeightSamples[bar]);
    }
  } else {
    const double w = static_cast<double>(counts.WeightSum[ch] / counts.WeightSamples[ch]);
    display->showWeightEstimate(ch, formatFixed(w, w < 10 ? 1 : 0) + " gr");
  }
  for (int bar = 1; bar <= kMaxChannels; ++bar) {
    const int32_t needed = bar == 1 ? 30 : 100;
    display->setProgressVisible(bar, counts.WeightSamples[bar] < needed && sessionActive);
  }
}
