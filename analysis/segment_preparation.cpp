#include "analysis/segment_preparation.h"

#include <algorithm>

int32_t SegmentPreparer::finish() {
  d_.SegmentCount = static_cast<int32_t>(kept_);
  d_.CurrentChannel = static_cast<int32_t>(channel_);
  return static_cast<int32_t>(kept_);
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
