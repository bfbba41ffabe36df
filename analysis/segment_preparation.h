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

#include <algorithm>
#include <cstdint>

#include "analysis/detection_state.h"
#include "settings/settings_variables.h"

class SegmentPreparer {
 public:
  // Starts a line: nothing kept, channel 1.
  SegmentPreparer(DetectionState& d, const SettingsVariables& s)
      : d_(d), rows_(&d.Segments[1]), walk_(s) {}
  // One raw run, in left-to-right order. Pixels are clamped to
  // kMinPixel..kMaxPixel.
  //
  // Without branches but for a full table: whether a run joins the segment
  // before, starts one or is noise changes from run to run (specks, forks).
  // The run is written into the place after the kept segments whether or
  // not it starts a segment there; that place is past the kept ones, and in
  // place (prepareSegments) it is the raw run being read or one read before.
  void add(int64_t start, int64_t end) {
    start = std::clamp<int64_t>(start, kMinPixel, kMaxPixel);
    end = std::clamp<int64_t>(end, kMinPixel, kMaxPixel);
    channel_ = walk_.next(channel_, start);
    // Within the gap limit of the segment before: joined, however narrow.
    // Before the first segment lastEnd_ lies so far left that nothing joins,
    // so the test needs no look at kept_. Joins and starts are combined
    // bitwise, never with && or ?:, which the compiler turns into branches
    // that are mispredicted at every speck.
    const bool joins = start - lastEnd_ < d_.GapLimit[channel_];
    if (kept_ == kMaxSegments) [[unlikely]] {
      // No place left: a run that would start a segment is dropped (see
      // the header).
      if (joins) {
        rows_[kept_ - 1].End = static_cast<int32_t>(end);
        lastEnd_ = end;
      }
      return;
    }
    // A new segment, unless it is noise.
    const bool starts = !joins & (end - start > d_.MinWidth[channel_]);
    rows_[kept_].Start = static_cast<int32_t>(start);
    rows_[kept_ - int64_t{joins}].End = static_cast<int32_t>(end);
    kept_ += int64_t{starts};
    const int64_t moved = -int64_t{joins | starts};  // all ones when the run was kept
    lastEnd_ = (end & moved) | (lastEnd_ & ~moved);
  }
  // Sets d.SegmentCount to the number kept (and d.CurrentChannel to where the
  // channel walk stopped); returns it.
  int32_t finish();

 private:
  // The counts are held as 64-bit numbers, so that the stores into the
  // segment table (32-bit fields) can never alias them and they stay in
  // registers.
  DetectionState& d_;
  ObjectRecord* const rows_;  // d.Segments[1..], one after the other
  const ChannelWalk walk_;
  int64_t channel_ = 1;
  int64_t kept_ = 0;
  // End of the last segment kept; before the first, far enough left that
  // start - lastEnd_ exceeds every 32-bit gap limit (start >= kMinPixel).
  int64_t lastEnd_ = kNoSegmentEnd;
  static constexpr int64_t kNoSegmentEnd = int64_t{kMinPixel} - (int64_t{1} << 40);
};

// Compacts d.Segments[1..d.SegmentCount] in place and sets d.SegmentCount to
// the number kept. A SegmentCount outside 0..kMaxSegments is clamped first.
void prepareSegments(DetectionState& d, const SettingsVariables& s);

#endif  // TINDAVEL_ANALYSIS_SEGMENT_PREPARATION_H_
