// The line pass: follows every dark object from one scan line to the next,
// lets objects grow, merge, split and end, and accepts an ended object as a
// fish when it passes its channel's size limits.
//
// Per line the caller:
//   1. fills d.Segments[k].Start/End and prepares them (segment_preparation.h),
//   2. calls porun,
//   3. counts d.FinishedObjects[1..d.FinishedCount] into channels
//      (countFinishedObjects).
// Before the first line of a pass it calls d.clearLines() and applies the size
// group of every channel (stillafiskiflokk).
#ifndef TINDAVEL_ANALYSIS_LINE_ANALYSIS_H_
#define TINDAVEL_ANALYSIS_LINE_ANALYSIS_H_

#include <cstdint>
#include <iosfwd>
#include <string>

#include "analysis/detection_state.h"
#include "settings/settings_variables.h"

// Analyses one line. Reads d.Segments[1..d.SegmentCount] and the tracked
// objects; leaves the line's objects in d.PreviousObjects[1..d.PreviousCount],
// the objects accepted on this line in d.FinishedObjects[1..d.FinishedCount]
// (left to right), adds them to d.ObjectTotal and to the running means of
// their channel, and writes one trace line per accepted object to `trace`
// unless it is null (the trace file is closed). Segments[1..SegmentCount] are
// cleared afterwards; SegmentCount keeps its value.
//
// Counts outside the tables (SegmentCount, PreviousCount beyond 0..500) are
// clamped, and pixel positions to kMinPixel..kMaxPixel, before anything else.
void porun(DetectionState& d, const SettingsVariables& s, std::ostream* trace = nullptr);

// Told of every object as it is counted: the record the acceptance step
// copied into FinishedObjects (the one its trace line describes) and the
// channel it is counted in.
class CountedObjectSink {
 public:
  virtual void objectCounted(const ObjectRecord& object, int channel) = 0;

 protected:
  ~CountedObjectSink() = default;
};

// Counts the objects accepted on the last line into `counts`[1..NrChannels]:
// each in the channel found by its Start, walking the channels from 1 and
// never past NrChannels (an object right of the last channel belongs to it).
// Each is also told to `sink` unless it is null. Leaves d.CurrentChannel
// where the walk stopped.
void countFinishedObjects(DetectionState& d, const SettingsVariables& s,
                          ChannelArray<int32_t>& counts, CountedObjectSink* sink = nullptr);

// The edge angle of a shift of x pixels per line: arctan(x) * 57 truncated
// toward zero, in degrees.
int32_t edgeAngle(int64_t x);

// The trace line of an accepted object (without the line break), with the
// parameters and means of channel c as they are now.
std::string traceLine(const DetectionState& d, const ObjectRecord& p, int c);

#endif  // TINDAVEL_ANALYSIS_LINE_ANALYSIS_H_
