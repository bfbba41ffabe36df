// Fuzz target: the line analysis fed raw segment tables, prepared or not,
// under settings that may be as damaged as a report can make them.
//
// Input: a settings header, then line after line.
//   header  byte 0: bits 0-1 channels - 1; bits 2-3 channel width 500, 1000,
//                   1400 or 0 mm; bit 4 Enablemulti; bit 5 channel positions
//                   follow raw; bit 6 trace lines written
//           2 x int16 LeftEdge, RightEdge; 4 x int8 size groups of channels 1..4;
//           raw positions: 4 x (int16 Begin, End, Width)
//   line    flag byte: bits 0-1 how the segments arrive (0 raw into the
//           table, 1 and 3 prepared in place, 2 one by one through the
//           preparer); bit 3 limits adapted after the line; bit 4 every
//           object forgotten first (a jump)
//           int16 segment count (taken as it is, however large or negative),
//           then int16 Start, End pairs while the input lasts
// Numbers are little-endian.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "analysis/detection_state.h"
#include "analysis/line_analysis.h"
#include "analysis/segment_preparation.h"
#include "analysis/size_classification.h"
#include "analysis/viewer_counts.h"
#include "settings/settings_variables.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  bool empty() const { return p_ == end_; }
  uint8_t byte() { return p_ < end_ ? *p_++ : 0; }
  int16_t word() {
    const auto low = static_cast<uint16_t>(byte());
    return static_cast<int16_t>(low | static_cast<uint16_t>(byte() << 8));
  }
  bool has(size_t bytes) const { return static_cast<size_t>(end_ - p_) >= bytes; }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  const uint8_t options = in.byte();
  SettingsVariables s;
  s.NrChannels = 1 + (options & 3);
  static constexpr int32_t kWidths[4] = {500, 1000, 1400, 0};
  s.ChannelWidthMm = kWidths[(options >> 2) & 3];
  const bool enableMulti = (options & 0x10) != 0;
  s.LeftEdge = in.word();
  s.RightEdge = in.word();
  for (int c = 1; c <= kMaxChannels; ++c) s.SizeGroup[c] = static_cast<int8_t>(in.byte());
  for (int c = 1; c <= kMaxChannels; ++c) {
    if (options & 0x20) {
      s.ChannelPositions[c].Begin = in.word();
      s.ChannelPositions[c].End = in.word();
      s.ChannelPositions[c].Width = in.word();
    } else {
      const int64_t span = int64_t{s.RightEdge} - s.LeftEdge + 1;
      s.ChannelPositions[c].Begin = static_cast<int32_t>(s.LeftEdge + span * (c - 1) / s.NrChannels);
      s.ChannelPositions[c].End = static_cast<int32_t>(s.LeftEdge + span * c / s.NrChannels - 1);
      s.ChannelPositions[c].Width = s.ChannelWidthMm / s.NrChannels;
    }
  }
  fuzz::NullStream traceStream;
  std::ostream* trace = (options & 0x40) ? &traceStream : nullptr;

  DetectionState& d = fuzz::freshDetection();
  setDetectionConstants(d, s.ChannelWidthMm);
  for (int c = 1; c <= s.NrChannels; ++c) stillafiskiflokk(c, d, s, 1000, enableMulti);

  ViewerCounts counts;
  int64_t accepted = 0;
  while (!in.empty()) {
    const uint8_t flag = in.byte();
    const int16_t count = in.word();
    if (flag & 0x10) d.clearLines();
    const int mode = flag & 3;
    if (mode == 2) {
      SegmentPreparer preparer(d, s);
      for (int k = 0; k < count && in.has(4); ++k) {
        const int16_t start = in.word();
        preparer.add(start, in.word());
      }
      fuzz::check(preparer.finish() == d.SegmentCount, "the preparer's count is the table's");
    } else {
      const int pairs = std::clamp<int>(count, 0, kMaxSegments);
      for (int k = 1; k <= pairs && in.has(4); ++k) {
        d.Segments[k].Start = in.word();
        d.Segments[k].End = in.word();
      }
      d.SegmentCount = count;
      if (mode != 0) prepareSegments(d, s);
    }
    if (mode != 0) fuzz::check(d.SegmentCount >= 0 && d.SegmentCount <= kMaxSegments, "prepared within the table");
    ++d.LineCounter;
    porun(d, s, trace);
    fuzz::check(d.PreviousCount >= 0 && d.PreviousCount <= kMaxTracked, "tracked objects within the table");
    fuzz::check(d.FinishedCount >= 0 && d.FinishedCount <= kMaxFinished, "finished objects within the table");
    accepted += d.FinishedCount;
    countFinishedObjects(d, s, counts.ViewerCount);
    if (flag & 0x08) {
      for (int c = 1; c <= s.NrChannels; ++c) autofiskiflokkur(c, d, counts, false);
    }
  }
  int64_t counted = 0;
  for (int c = 1; c <= kMaxChannels; ++c) counted += counts.ViewerCount[c];
  fuzz::check(counted == accepted, "every accepted object is counted in one channel");
  return 0;
}
