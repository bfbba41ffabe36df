#include "analysis/detection_state.h"

#include <cstddef>
#include <cstdint>

// The outlines are left uninitialised: an entry is written before it is read
// (OutlineCount says which are in use), and the pages of outlines never used
// are never touched.
DetectionState::DetectionState()
    : records_(new ObjectRecord[kPlaces]),
      outlinePlaces_(new OutlineEntry*[kPlaces]),
      outlines_(new OutlineEntry[static_cast<size_t>(kPlaces) * (kOutlineLimit + 1)]) {
  for (int k = 0; k < kPlaces; ++k) outlinePlaces_[k] = &outlines_[static_cast<size_t>(k) * (kOutlineLimit + 1)];
  auto place = [this](RecordTable& table, int first, int capacity) {
    table.records_ = &records_[first];
    table.outlines_ = &outlinePlaces_[first];
    table.capacity_ = capacity;
  };
  place(Segments, 0, kMaxSegments);
  place(PreviousObjects, kMaxSegments, kMaxTracked);
  place(FinishedObjects, kMaxSegments + kMaxTracked, kMaxFinished);
}

void setDetectionConstants(DetectionState& d, const ChannelWidthConstants& constants) {
  d.LengthDivisor = constants.LengthDivisor;
  d.AngleThreshold = constants.AngleThreshold;
  d.AreaFactor = constants.AreaFactor;
}

void setDetectionConstants(DetectionState& d, int32_t channelWidthMm) {
  setDetectionConstants(d, channelWidthConstantsForMm(channelWidthMm));
}

int64_t ChannelWalk::walkChannels(const SettingsVariables& s, int64_t last, int64_t from, int64_t x) {
  while (from < last && s.ChannelPositions[from].End < x) ++from;
  return from;
}
