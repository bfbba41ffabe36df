// Reading the pairs of one line record into the segment table, shared by the
// block reader and the word reader so both treat damaged counts alike.
#ifndef TINDAVEL_RECORDS_LINE_RECORD_H_
#define TINDAVEL_RECORDS_LINE_RECORD_H_

#include <cstdint>
#include <optional>

#include "analysis/detection_state.h"
#include "analysis/segment_preparation.h"
#include "records/damage_reporter.h"
#include "records/record_format.h"

static_assert(kMaxLineSegments == kMaxSegments,
              "a line record holds at most as many segments as the segment table");

// Pairs a count word announces: a negative count is an empty line.
constexpr int32_t pairsOfCount(int16_t count) { return count > 0 ? count : 0; }

// Words from a count word to the next line's count word. Never less than 1,
// so a walk over count words never stands still or moves backwards.
constexpr int32_t recordWordsOfCount(int16_t count) { return 1 + 2 * pairsOfCount(count); }

// Reports a count word out of range, if it is.
inline void checkCount(int16_t count, int64_t line, DamageOnce& damage) {
  if (count < 0) [[unlikely]] {
    damage.report(line, damage::kNegativeCount);
  } else if (count > kMaxLineSegments) [[unlikely]] {
    damage.report(line, damage::kCountTooLarge);
  }
}

// Reads the pairs announced by `count` through `next` (a callable returning
// std::optional<int16_t>, empty at the end of the data) and hands each whole
// pair to `pair(index, start, end)`, index from 1, sign-extended. A pair cut
// off by the end of the file is dropped. Returns false when the record was
// cut short.
template <typename NextWord, typename Pair>
bool readPairs(int16_t count, NextWord&& next, Pair&& pair) {
  const int32_t pairs = pairsOfCount(count);
  for (int32_t i = 1; i <= pairs; ++i) {
    const std::optional<int16_t> start = next();
    const std::optional<int16_t> end = start ? next() : std::nullopt;
    if (!end) return false;
    pair(i, int32_t{*start}, int32_t{*end});
  }
  return true;
}

// Takes a line record's pairs into d.Segments[1..] as raw segments (Start
// and End only). Pairs beyond the table are dropped, so the reader stays in
// step with the file. finish() sets d.SegmentCount to the pairs stored.
class RawSegmentSink {
 public:
  explicit RawSegmentSink(DetectionState& d) : d_(d) {}
  void operator()(int32_t i, int32_t start, int32_t end) {
    if (i > kMaxSegments) return;
    d_.Segments[i].Start = start;
    d_.Segments[i].End = end;
    stored_ = i;
  }
  void finish() { d_.SegmentCount = stored_; }

 private:
  DetectionState& d_;
  int32_t stored_ = 0;
};

// Takes a line record's pairs straight through the segment preparation: every
// pair of even an over-long record is prepared, and finish() sets
// d.SegmentCount to the number kept.
class PreparingSegmentSink {
 public:
  PreparingSegmentSink(DetectionState& d, const SettingsVariables& s) : preparer_(d, s) {}
  void operator()(int32_t, int32_t start, int32_t end) { preparer_.add(start, end); }
  void finish() { preparer_.finish(); }

 private:
  SegmentPreparer preparer_;
};

#endif  // TINDAVEL_RECORDS_LINE_RECORD_H_
