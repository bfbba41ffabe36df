// The state of the scan-line detection: the record type of the analysis, the
// three record tables, the per-channel detection parameters with their running
// means, and the detection constants.
//
// Tables are numbered from 1 like everywhere in the program:
//   d.Segments[1..d.SegmentCount]                segments of the line being analysed
//   d.PreviousObjects[1..d.PreviousCount]        tracked objects after the last line
//   d.FinishedObjects[1..d.FinishedCount]        objects accepted on the last line
//
// Storage. A record is only the fields the line pass reads and writes on
// every line (68 bytes); a table holds its records by value, one row after
// the other, so the hot data of all 500 tracked objects takes 34 KB. Every
// place of a table owns an outline (table.outline(k), 2000 entries of 6
// bytes), kept apart from the records in one block of its own. When a record
// changes place (a segment continues an object, an object ends, merges or is
// absorbed), the record is copied and the two places' outlines trade places:
// an outline is never copied then, and is copied only when a split makes a
// second piece of an object or when an absorbed or released object hands its
// entries on. The line's objects become the tracked objects by the two
// tables trading their rows. So a line costs the same whatever the length of
// the fish, and a line allocates nothing. Exactly as many outlines exist as
// the three tables have places, each in exactly one place. A reference to a
// table entry (d.FinishedObjects[k]) means that entry only until the next
// porun; copy what must outlive it (a record is a plain value; its outline
// is read through its table). Places past a table's count hold records of
// no meaning.
//
// The rows (100 KB) and the outlines (18 MB, never touched where unused)
// are allocated once, when the state is constructed; the state itself is
// small and may live anywhere.
#ifndef TINDAVEL_ANALYSIS_DETECTION_STATE_H_
#define TINDAVEL_ANALYSIS_DETECTION_STATE_H_

#include <cassert>
#include <cstdint>
#include <memory>

#include "settings/channel_width.h"
#include "settings/settings_variables.h"

inline constexpr int kMaxSegments = 500;   // places in Segments
inline constexpr int kMaxTracked = 500;    // places in PreviousObjects
// The counter itself keeps 25 finished objects per line. Every tracked object
// can end on one line, so the table has a place for each of them and no
// accepted object is ever lost for want of room.
inline constexpr int kMaxFinished = kMaxTracked;
inline constexpr int kOutlineLimit = 2000;       // outline entries kept per object
inline constexpr int kAveragingWindow = 3000;    // accepted objects in the running means
inline constexpr int kAngleScale = 57;           // degrees per radian, as an integer factor
inline constexpr int kMergeAngleLimit = 115;     // degrees; neighbours opening wider merge
// Pixel positions are 16-bit in every record file. Positions beyond that range
// (only hostile callers produce them) are clamped to it, which keeps every
// width and sum of the analysis free of overflow.
inline constexpr int32_t kMinPixel = -32768;
inline constexpr int32_t kMaxPixel = 32767;

// One outline entry: the object's segment on one of its lines.
struct OutlineEntry {
  int16_t Left;   // first pixel
  int16_t Right;  // end pixel
  int16_t Line;   // line number within the object, from 1
};

// A segment of the current line, a tracked object or a finished object.
// A raw segment has only Start and End filled. Its outline lives in its
// table's place (RecordTable::outline).
struct ObjectRecord {
  int32_t Lines = 0;       // scan lines the object has lasted; 1 on its first line
  int32_t Start = 0;       // first pixel of the object's segment on the latest line
  int32_t End = 0;         // end pixel of that segment; width is End - Start
  int32_t MaxWidth = 0;    // largest segment width seen (pixels): the breadth
  int32_t MinLeft = 0;     // smallest Start seen
  int32_t MaxRight = 0;    // largest End seen
  int32_t Area = 0;        // sum of the segment widths (pixel-lines)
  int32_t Colour = 0;      // display colour number, 0 = none yet (debug viewer only)
  int32_t OwnLines = 0;    // lines since created or last split
  int32_t OwnArea = 0;     // area since created or last split
  int32_t Group = 0;       // split group shared by the pieces of one object; 0 = none
  int32_t LeftAngle = 0;   // smoothed angle of the left edge, degrees
  int32_t RightAngle = 0;  // smoothed angle of the right edge, degrees
  int32_t RunArea = 0;     // widths summed over the current run advancing Shape
  int32_t Shape = 0;       // 0 opening expected, 1 closing expected, 2 opening again, 3 two fish
  int32_t OutlineCount = 0;  // entries used in the outline
  int32_t OutlineLine = 0;   // line number of the latest line, from 1 at the first
};

// A table of records numbered from 1: table[k] is the record in place k,
// table.outline(k) its outline, entries [1..table[k].OutlineCount] ([0]
// unused). Entries past OutlineCount are not kept up to date (and not
// cleared), so copy only the entries in use.
class RecordTable {
 public:
  ObjectRecord& operator[](int k) {
    assert(k >= 1 && k <= capacity_);
    return records_[k - 1];
  }
  const ObjectRecord& operator[](int k) const {
    assert(k >= 1 && k <= capacity_);
    return records_[k - 1];
  }
  OutlineEntry* outline(int k) {
    assert(k >= 1 && k <= capacity_);
    return outlines_[k - 1];
  }
  const OutlineEntry* outline(int k) const {
    assert(k >= 1 && k <= capacity_);
    return outlines_[k - 1];
  }
  int capacity() const { return capacity_; }

 private:
  friend struct DetectionState;
  friend class LinePass;
  ObjectRecord* records_ = nullptr;   // records_[k - 1] is record k
  OutlineEntry** outlines_ = nullptr; // outlines_[k - 1] is its outline
  int capacity_ = 0;
};

struct DetectionState {
  DetectionState();
  DetectionState(const DetectionState&) = delete;
  DetectionState& operator=(const DetectionState&) = delete;

  // Forget every object and every line: the state of a new pass. The running
  // means, parameters and constants are kept; ObjectTotal and LineCounter too.
  void clearLines() {
    SegmentCount = 0;
    PreviousCount = 0;
    FinishedCount = 0;
  }

  RecordTable Segments;         // the line being analysed; the caller fills Start/End
  int32_t SegmentCount = 0;
  RecordTable PreviousObjects;  // tracked objects after the last line, left to right
  int32_t PreviousCount = 0;
  RecordTable FinishedObjects;  // objects accepted on the last line, in order accepted
  int32_t FinishedCount = 0;
  int32_t ObjectTotal = 0;      // objects accepted since the caller last cleared it
  int32_t CurrentChannel = 1;   // channel 1..NrChannels the analysis works in
  int32_t LineCounter = 0;      // lines read by the caller; written into the trace

  // Per-channel parameters [1..4], set by the size classification.
  ChannelArray<int32_t> MinWidth{};        // pixels; narrower new segments are noise
  ChannelArray<int32_t> GapLimit{};        // pixels; narrower gaps are bridged
  ChannelArray<int32_t> MinLength{};       // lines
  ChannelArray<int32_t> MaxLength{};       // lines
  ChannelArray<int32_t> MinBreadth{};      // pixels
  ChannelArray<int32_t> MaxBreadth{};      // pixels
  ChannelArray<int32_t> MinArea{};         // pixel-lines
  ChannelArray<int32_t> MaxArea{};         // pixel-lines
  ChannelArray<int32_t> AngleSmoothing{};  // percent of the new angle taken per line
  ChannelArray<int32_t> MinLengthFloor{};  // lines; the automatic limits stay above
  ChannelArray<int32_t> MinBreadthFloor{}; // pixels; the automatic limits stay above
  // Running means over the accepted objects (window kAveragingWindow).
  ChannelArray<double> AvgLength{};   // lines
  ChannelArray<double> AvgBreadth{};  // pixels
  ChannelArray<double> AvgArea{};     // pixel-lines

  // Detection constants chosen by the channel width (setDetectionConstants;
  // meanings in ChannelWidthConstants); the wide channels' until settings
  // are loaded.
  int32_t LengthDivisor = kWideChannelConstants.LengthDivisor;
  int32_t AngleThreshold = kWideChannelConstants.AngleThreshold;
  int32_t AreaFactor = kWideChannelConstants.AreaFactor;

 private:
  friend class LinePass;
  static constexpr int kPlaces = kMaxSegments + kMaxTracked + kMaxFinished;
  // Segments and PreviousObjects trade these two rows at the end of a line.
  // One block holds the three rows of records, one the outline pointers of
  // every place, one the outlines.
  std::unique_ptr<ObjectRecord[]> records_;
  std::unique_ptr<OutlineEntry*[]> outlinePlaces_;
  std::unique_ptr<OutlineEntry[]> outlines_;
};

// The channel walk of the segment preparation and the line pass: from the
// channel of the position before on the same line (or 1), on to the first
// channel that ends at or after pixel x, never past the last channel in use
// (NrChannels clamped to 1..4). Where the ends of the channels rise from left
// to right, as in every real layout, the walk takes no branch: which objects
// of a line lie in which channel changes from line to line, and a walk that
// branches on it is mispredicted about once per object.
class ChannelWalk {
  static_assert(kMaxChannels == 4, "ends_ holds the channels before the last");

 public:
  explicit ChannelWalk(const SettingsVariables& s)
      : s_(s), last_(s.NrChannels < 1 ? 1 : s.NrChannels > kMaxChannels ? kMaxChannels : s.NrChannels) {
    // Channel k < last stops the walk at x <= End; from the last on it
    // always stops. With ends that rise, the channels passed are then the
    // k < last with End < x, and they come first: the walk from `from` ends
    // at the later of `from` and the channel after them.
    for (int k = 1; k <= 3; ++k) ends_[k - 1] = k < last_ ? int64_t{s.ChannelPositions[k].End} : INT64_MAX;
    rising_ = ends_[0] <= ends_[1] && ends_[1] <= ends_[2];
  }
  // The channel of pixel x, walking on from channel `from` (1..last).
  int64_t next(int64_t from, int64_t x) const {
    if (!rising_) [[unlikely]] return walkChannels(s_, last_, from, x);
    const int64_t passed = int64_t{x > ends_[0]} + int64_t{x > ends_[1]} + int64_t{x > ends_[2]};
    return from > passed + 1 ? from : passed + 1;
  }

 private:
  // Step by step, for any layout.
  static int64_t walkChannels(const SettingsVariables& s, int64_t last, int64_t from, int64_t x);

  const SettingsVariables& s_;
  int64_t last_;        // the last channel in use
  int64_t ends_[3];     // End of channels 1..3 before the last one; INT64_MAX from the last on
  bool rising_ = true;  // ends_ never fall from left to right
};

static_assert(kMaxSegments == kMaxTracked,
              "the line's segments become the tracked objects by a table swap");

// The detection constants of a channel width (channel_width.h).
void setDetectionConstants(DetectionState& d, const ChannelWidthConstants& constants);
// The constants for a channel width in mm: those of the Channelwidth item of
// that width, the narrow channels' for any other number.
void setDetectionConstants(DetectionState& d, int32_t channelWidthMm);

#endif  // TINDAVEL_ANALYSIS_DETECTION_STATE_H_
