// Segment preparation: the raw dark runs of a scan line are compacted, left to
// right, into the segments the detection works on. A run narrower than or as
// wide as its channel's MinWidth is noise and dropped, unless it lies within
// GapLimit of the segment before, in which case it is joined to it.
//
// Two ways in:
//  - prepareSegments: the caller has put the raw runs in
//    d.Segments[1..d.SegmentCount] (Start and End only) and they are compacted
//    in place. The table has kMaxSegments places.
//  - SegmentPreparer: the caller hands the raw runs one by one; use this when
//    a line may carry more runs than the table has places (a record line holds
//    up to 32767). Preparation usually keeps far fewer than it is given.
// Either way, once kMaxSegments segments are kept, a run that would start
// another is dropped (a run that joins the last one still extends it), so the
// rightmost dark runs of an impossible line are the ones lost.
#ifndef TINDAVEL_ANALYSIS_SEGMENT_PREPARATION_H_
#define TINDAVEL_ANALYSIS_SEGMENT_PREPARATION_H_

#include <cstdint>

#include "analysis/detection_state.h"
#include "settings/settings_variables.h"

class SegmentPreparer {
 public:
  // Starts a line: nothing kept, channel 1.
  SegmentPreparer(DetectionState& d, const SettingsVariables& s);
  // One raw run, in left-to-right order. Pixels are clamped to
  // kMinPixel..kMaxPixel.
  void add(int64_t start, int64_t end);
  // Sets d.SegmentCount to the number kept (and d.CurrentChannel to where the
  // channel walk stopped); returns it.
  int32_t finish();

 private:
  DetectionState& d_;
  const SettingsVariables& s_;
  int lastChannel_;
  int32_t channel_ = 1;
  int32_t kept_ = 0;
};

// Compacts d.Segments[1..d.SegmentCount] in place and sets d.SegmentCount to
// the number kept. A SegmentCount outside 0..kMaxSegments is clamped first.
void prepareSegments(DetectionState& d, const SettingsVariables& s);

#endif  // TINDAVEL_ANALYSIS_SEGMENT_PREPARATION_H_
