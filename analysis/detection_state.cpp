#include "analysis/detection_state.h"

DetectionState::DetectionState() : pool_(new ObjectRecord[kPoolSize]) {
  ObjectRecord* next = pool_.get();
  for (auto& slot : slotsA_) slot = next++;
  for (auto& slot : slotsB_) slot = next++;
  for (auto& slot : finishedSlots_) slot = next++;
  Segments.slots_ = slotsA_.data();
  Segments.capacity_ = kMaxSegments;
  PreviousObjects.slots_ = slotsB_.data();
  PreviousObjects.capacity_ = kMaxTracked;
  FinishedObjects.slots_ = finishedSlots_.data();
  FinishedObjects.capacity_ = kMaxFinished;
}

void setDetectionConstants(DetectionState& d, const ChannelWidthConstants& constants) {
  d.LengthDivisor = constants.LengthDivisor;
  d.AngleThreshold = constants.AngleThreshold;
  d.AreaFactor = constants.AreaFactor;
}

void setDetectionConstants(DetectionState& d, int32_t channelWidthMm) {
  setDetectionConstants(d, channelWidthMm == kWideChannelMm ? kWideChannelConstants : kNarrowChannelConstants);
}
