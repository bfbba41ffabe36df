#include "analysis/segment_preparation.h"

#include <algorithm>

#include "analysis/channel_layout.h"

SegmentPreparer::SegmentPreparer(DetectionState& d, const SettingsVariables& s)
    : d_(d), s_(s), lastChannel_(lastChannel(s)) {}

void SegmentPreparer::add(int64_t start, int64_t end) {
  start = std::clamp<int64_t>(start, kMinPixel, kMaxPixel);
  end = std::clamp<int64_t>(end, kMinPixel, kMaxPixel);
  while (channel_ < lastChannel_ && s_.ChannelPositions[channel_].End < start) ++channel_;
  if (kept_ == 0 || start - d_.Segments[kept_].End >= d_.GapLimit[channel_]) {
    // A new segment, unless it is noise.
    if (end - start <= d_.MinWidth[channel_]) return;
    // No place left: the run is dropped (see the header).
    if (kept_ == kMaxSegments) return;
    ++kept_;
    d_.Segments[kept_].Start = static_cast<int32_t>(start);
    d_.Segments[kept_].End = static_cast<int32_t>(end);
  } else {
    // Within the gap limit: joined, however narrow.
    d_.Segments[kept_].End = static_cast<int32_t>(end);
  }
}

int32_t SegmentPreparer::finish() {
  d_.SegmentCount = kept_;
  d_.CurrentChannel = channel_;
  return kept_;
}

void prepareSegments(DetectionState& d, const SettingsVariables& s) {
  const int32_t raw = std::clamp<int32_t>(d.SegmentCount, 0, kMaxSegments);
  if (raw == 0) {  // most lines: nothing dark
    d.SegmentCount = 0;
    d.CurrentChannel = 1;
    return;
  }
  SegmentPreparer preparer(d, s);
  // In place: the kept count never passes the raw index being read.
  for (int32_t k = 1; k <= raw; ++k) preparer.add(d.Segments[k].Start, d.Segments[k].End);
  preparer.finish();
}
