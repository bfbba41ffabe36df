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

void setDetectionConstants(DetectionState& d, int32_t channelWidthMm) {
  if (channelWidthMm == 1400) {
    d.LengthDivisor = 6;
    d.AngleThreshold = 8;
    d.AreaFactor = 1;
  } else {
    d.LengthDivisor = 4;
    d.AngleThreshold = 10;
    d.AreaFactor = 2;
  }
}

DetectionState& gDetection = *new DetectionState;
