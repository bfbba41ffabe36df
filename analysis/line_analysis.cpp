#include "analysis/line_analysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <ostream>

#include "analysis/channel_layout.h"
#include "analysis/number_format.h"

namespace {

int32_t clampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Sums (areas over hours of a blocked sensor, line counts) stop at the 32-bit
// limit instead of wrapping around. The overflow test is a branch that real
// lines never take.
int32_t addSat(int32_t a, int32_t b) {
  int32_t sum;
  if (__builtin_add_overflow(a, b, &sum)) [[unlikely]] return b > 0 ? INT32_MAX : INT32_MIN;
  return sum;
}

int32_t clampPixel(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, kMinPixel, kMaxPixel));
}

bool overlaps(const ObjectRecord& a, const ObjectRecord& b) {
  return a.Start < b.End && b.Start < a.End;
}

// arctan(x) * 57 truncated reaches its limit 89 by x = 107 (and -89 by
// -107), so a table from -128 to 128 holds every value; it spares an arctan
// per object per line. Truncation toward zero keeps the angle odd in x.
constexpr int kAngleTableReach = 128;
const std::array<int8_t, 2 * kAngleTableReach + 1> kAngleTable = [] {
  std::array<int8_t, 2 * kAngleTableReach + 1> table{};
  for (int x = 0; x <= kAngleTableReach; ++x) {
    const auto angle = static_cast<int8_t>(std::atan(static_cast<double>(x)) * kAngleScale);
    table[kAngleTableReach + x] = angle;
    table[kAngleTableReach - x] = static_cast<int8_t>(-angle);
  }
  return table;
}();

// A record and its outline (entries [1..OutlineCount]), as one table place
// holds them.
struct Place {
  ObjectRecord& r;
  OutlineEntry* outline;
};

// The record and the outline entries in use, into another place.
void copyRecord(Place to, const Place& from) {
  to.r = from.r;
  const int count = std::clamp(from.r.OutlineCount, 0, kOutlineLimit);
  std::copy_n(from.outline + 1, count, to.outline + 1);
}

// D.2: the entry of the object's new line, while the outline has room.
void extendOutline(ObjectRecord& r, OutlineEntry* outline, int32_t start, int32_t end) {
  if (r.OutlineCount >= kOutlineLimit || r.OutlineCount < 0) [[unlikely]] return;
  ++r.OutlineCount;
  ++r.OutlineLine;
  outline[r.OutlineCount] = {static_cast<int16_t>(start), static_cast<int16_t>(end),
                             static_cast<int16_t>(r.OutlineLine)};
}

// Appends from's entries first..last to to's outline while it has room, line
// numbers moved onto to's own line count. An outline whose count is below 0
// (only a hostile caller sets one) takes none, as in extendOutline.
void appendOutline(Place to, const Place& from, int64_t first, int64_t last) {
  if (to.r.OutlineCount < 0) [[unlikely]] return;
  first = std::max<int64_t>(first, 1);
  last = std::min<int64_t>(last, std::min(from.r.OutlineCount, kOutlineLimit));
  const int64_t shift = int64_t{to.r.OutlineLine} - from.r.OutlineLine;
  for (int64_t e = first; e <= last && to.r.OutlineCount < kOutlineLimit; ++e) {
    const OutlineEntry& entry = from.outline[e];
    to.outline[++to.r.OutlineCount] = {entry.Left, entry.Right,
                                       static_cast<int16_t>(shift + entry.Line)};
  }
}

// Room for the longest trace line: ten numbers of up to 11 characters, three
// means of up to 39 and 30 characters between them.
constexpr int kTraceLineBytes = 10 * 11 + 3 * 39 + 30 + 1;

void writeTraceLine(char* buffer, int size, const DetectionState& d, const ObjectRecord& p,
                    int c) {
  char mean[3][40];
  formatFixedTo(mean[0], sizeof mean[0], d.AvgLength[c], 0);
  formatFixedTo(mean[1], sizeof mean[1], d.AvgBreadth[c], 0);
  formatFixedTo(mean[2], sizeof mean[2], d.AvgArea[c], 0);
  // The buffer holds the longest line (kTraceLineBytes), so nothing is cut.
  (void)std::snprintf(buffer, size, "%d :%d :%d :%d   :%d :%d :%d   :%d :%d :%d   :%s :%s :%s",
                      d.LineCounter, p.Lines, p.MaxWidth, p.Area, d.MinLength[c], d.MinBreadth[c],
                      d.MinArea[c], d.MaxLength[c], d.MaxBreadth[c], d.MaxArea[c], mean[0], mean[1],
                      mean[2]);
}

}  // namespace

int32_t edgeAngle(int64_t x) {
  return kAngleTable[static_cast<std::size_t>(std::clamp<int64_t>(x, -kAngleTableReach, kAngleTableReach) +
                                              kAngleTableReach)];
}

std::string traceLine(const DetectionState& d, const ObjectRecord& p, int c) {
  char buffer[kTraceLineBytes];
  writeTraceLine(buffer, sizeof buffer, d, p, c);
  return buffer;
}

namespace {

// The thresholds of the shape state in the channel of an object.
struct ShapeLimits {
  int64_t angleThreshold;  // degrees of edge spread
  int64_t runArea;         // widths summed in one run that advance a phase
};

// E: open, close, open again, each phase with enough width in one unbroken
// run of lines, means two fish nose to tail in one dark run. Shape 0
// (opening expected) and 2 (opening again) advance on a spread of the edges
// above the threshold, 1 (closing expected) on one below minus the
// threshold, 3 never (the object ends on the next line anyway). A line that
// does not advance the shape ends the run; a new phase starts its run
// afresh, the last (two fish) keeps it. Sets to.Shape and to.RunArea from
// the object's shape and run before this line, without branches: whether a
// line advances the shape changes from line to line.
void advanceShape(ObjectRecord& to, int32_t shape, int32_t runArea, int32_t w,
                  const ShapeLimits& limits) {
  const int64_t spread = int64_t{to.RightAngle} - to.LeftAngle;
  const int64_t threshold = limits.angleThreshold;
  const bool holds = (((shape == 0) | (shape == 2)) & (spread > threshold)) |
                     ((shape == 1) & (spread < -threshold));
  const int32_t grown = addSat(runArea, w) & -int32_t{holds};  // 0 when the run ends
  const bool advances = holds & (grown > limits.runArea);
  to.Shape = shape + int32_t{advances};
  to.RunArea = grown & -int32_t{!(advances & (shape + 1 < 3))};
}

// The angle of an edge smoothed over the lines: `smoothing` percent of the
// new angle, the rest of the old.
int32_t smoothAngle(int32_t angle, int32_t old, int64_t smoothing) {
  return clampToInt32((angle * smoothing + (100 - smoothing) * old) / 100);
}

// D: `to` (a segment of the line, Start and End filled) continues object
// `from`: every field of `to` is set from `from` and the segment, and the
// segment's entry goes into the outline (`outline`, which was from's). The
// two records are distinct places, which `restrict` tells the compiler, so
// that it reads from's fields once and never reads back a store to `to`.
void continueRecord(ObjectRecord* __restrict to, const ObjectRecord* __restrict from,
                    OutlineEntry* outline, int64_t smoothing, const ShapeLimits& limits) {
  const int32_t start = to->Start;
  const int32_t end = to->End;
  const int32_t w = end - start;
  to->Lines = addSat(from->Lines, 1);
  to->MaxWidth = std::max(from->MaxWidth, w);
  to->MinLeft = std::min(from->MinLeft, start);
  to->MaxRight = std::max(from->MaxRight, end);
  to->Area = addSat(from->Area, w);
  to->Colour = from->Colour;
  to->OwnLines = addSat(from->OwnLines, 1);
  to->OwnArea = addSat(from->OwnArea, w);
  to->Group = from->Group;
  to->LeftAngle = smoothAngle(edgeAngle(int64_t{start} - from->Start), from->LeftAngle, smoothing);
  to->RightAngle = smoothAngle(edgeAngle(int64_t{end} - from->End), from->RightAngle, smoothing);
  advanceShape(*to, from->Shape, from->RunArea, w, limits);
  // D.2: the entry of the object's new line, while the outline has room.
  const int32_t count = from->OutlineCount;
  const int32_t line = from->OutlineLine;
  if (count >= kOutlineLimit || count < 0) [[unlikely]] {
    to->OutlineCount = count;
    to->OutlineLine = line;
  } else {
    to->OutlineCount = count + 1;
    to->OutlineLine = line + 1;
    outline[count + 1] = {static_cast<int16_t>(start), static_cast<int16_t>(end),
                          static_cast<int16_t>(line + 1)};
  }
}

}  // namespace

// One pass of porun over a line. i runs over the tracked objects, j over the
// line's segments, c is the channel of object i. A record changes tables by
// being copied into its new place, its outline trading places with the one
// there (see detection_state.h); the place it leaves is dead until the end of
// the pass (nothing reads a tracked object before i, and the rows trade when
// the pass ends).
//
// The pass works on copies of the rows and counts, held in pointers and
// 64-bit integers (Pos), and writes the counts back when it ends: a store
// into a record's 32-bit fields can then never alias them, so the compiler
// keeps them in registers instead of reloading them after every store.
class LinePass {
 public:
  using Pos = std::ptrdiff_t;

  LinePass(DetectionState& d, const SettingsVariables& s, std::ostream* trace)
      : d_(d), trace_(trace), walk_(s) {}

  void run() {
    sanitise();
    d_.FinishedCount = 0;
    // B.1: each tracked object meets the segments under it. The common case
    // (one object over one segment, no other object under that segment) is
    // decided and done here on positions and counts in local variables;
    // every other case goes to the decision table with them (decide).
    Pos i = 1;
    Pos j = 1;
    Pos c = 1;
    Pos nSeg = segCount_;
    Pos nPrev = prevCount_;
    for (; i <= nPrev; ++i) {
      const ObjectRecord& p = prev(i);
      c = walk_.next(c, p.Start);
      while (j <= nSeg && seg(j).End <= p.Start) newObject(j++);
      if (p.Shape != 3 && j <= nSeg && overlaps(seg(j), p) &&
          !(j < nSeg && overlaps(seg(j + 1), p)) &&
          !(i < nPrev && prev(i + 1).Start < seg(j).End)) [[likely]] {
        continueObject(j, i, c);  // one object, one segment
        ++j;
        continue;
      }
      i_ = i;
      j_ = j;
      c_ = c;
      segCount_ = nSeg;
      prevCount_ = nPrev;
      decide();
      i = i_;
      j = j_;
      nSeg = segCount_;
      nPrev = prevCount_;
    }
    j_ = j;
    c_ = c;
    segCount_ = nSeg;
    prevCount_ = nPrev;
    // B.2: segments under no object start new ones.
    while (j_ <= segCount_) newObject(j_++);
    // B.3: the line's objects become the tracked objects.
    std::swap(d_.Segments.records_, d_.PreviousObjects.records_);
    std::swap(d_.Segments.outlines_, d_.PreviousObjects.outlines_);
    d_.SegmentCount = static_cast<int32_t>(segCount_);
    d_.PreviousCount = static_cast<int32_t>(segCount_);
    std::fill_n(d_.Segments.records_, segCount_, ObjectRecord{});
    d_.CurrentChannel = static_cast<int32_t>(c_);
  }

 private:
  ObjectRecord& seg(Pos k) { return segRows_[k - 1]; }
  ObjectRecord& prev(Pos k) { return prevRows_[k - 1]; }
  OutlineEntry* segOutline(Pos k) { return segOutlines_[k - 1]; }
  Place segPlace(Pos k) { return {seg(k), segOutlines_[k - 1]}; }
  Place prevPlace(Pos k) { return {prev(k), prevOutlines_[k - 1]}; }

  // Tracked object i moves into segment place j: the record is copied, the
  // two outlines trade places.
  void moveToSegment(Pos j, Pos i) {
    seg(j) = prev(i);
    std::swap(segOutlines_[j - 1], prevOutlines_[i - 1]);
  }

  // Removes place `k` of a row of `count` places: the places after it move
  // down one, and the record and outline of place k go to the last place,
  // so every outline stays in exactly one place.
  // (The records are moved with memmove, not std::rotate, which takes
  // ObjectRecord for a type to swap element by element.)
  static void removePlace(ObjectRecord* rows, OutlineEntry** outlines, Pos k, Pos count) {
    const ObjectRecord removed = rows[k - 1];
    std::copy(rows + k, rows + count, rows + (k - 1));
    rows[count - 1] = removed;
    std::rotate(outlines + (k - 1), outlines + k, outlines + count);
  }

  // Segment places after j move x places on, to make room for x more
  // pieces after j; the x places past the last segment come in their stead
  // (their records are overwritten, their outlines keep a place each).
  void openSegmentPlaces(Pos j, Pos x) {
    std::copy_backward(segRows_ + j, segRows_ + segCount_, segRows_ + segCount_ + x);
    std::rotate(segOutlines_ + j, segOutlines_ + segCount_, segOutlines_ + segCount_ + x);
  }

  // Counts and positions from outside are hostile until checked.
  void sanitise() {
    segCount_ = std::clamp(d_.SegmentCount, 0, kMaxSegments);
    prevCount_ = std::clamp(d_.PreviousCount, 0, kMaxTracked);
    for (Pos k = 1; k <= segCount_; ++k) {
      ObjectRecord& r = seg(k);
      r.Start = clampPixel(r.Start);
      r.End = clampPixel(r.End);
    }
  }

  // B.1.3: segments from `from` on overlapping object `obj`, in a row; none
  // for an object that holds two fish (Shape 3).
  Pos overlapCount(Pos obj, Pos from) {
    const ObjectRecord& p = prev(obj);
    if (p.Shape == 3) return 0;
    Pos n = 0;
    while (from + n <= segCount_ && overlaps(seg(from + n), p)) ++n;
    return n;
  }

  // nA(s): objects from i on, in a row, starting before segment s ends.
  Pos objectsUnder(Pos s) {
    const int32_t end = seg(s).End;
    Pos n = 0;
    while (i_ + n <= prevCount_ && prev(i_ + n).Start < end) ++n;
    return n;
  }

  bool sizeTestHolds(const ObjectRecord& p) const {
    const Pos c = c_;
    return d_.MinLength[c] <= p.Lines && p.Lines < d_.MaxLength[c] &&
           d_.MinBreadth[c] <= p.MaxWidth && p.MaxWidth < d_.MaxBreadth[c] &&
           d_.MinArea[c] <= p.Area && p.Area < d_.MaxArea[c];
  }

  // I: big enough on its own to be a fish beside its neighbour.
  bool substantial(const ObjectRecord& p) const {
    const Pos c = c_;
    return (p.OwnArea >= d_.MinArea[c] / 2 &&
            p.OwnLines > (int64_t{d_.MinLength[c]} + 1) / 2) ||
           (p.Area >= d_.MinArea[c] && p.Lines > int64_t{d_.MinLength[c]} + 1);
  }

  // C: segment k starts an object.
  void newObject(Pos k) {
    ObjectRecord& r = seg(k);
    const int32_t start = r.Start;
    const int32_t end = r.End;
    const int32_t w = end - start;
    r = ObjectRecord{};
    r.Lines = 1;
    r.Start = start;
    r.End = end;
    r.MaxWidth = w;
    r.Area = w;
    r.OwnLines = 1;
    r.OwnArea = w;
    r.MinLeft = start;
    r.MaxRight = end;
    r.OutlineLine = 1;
    r.OutlineCount = 1;
    segOutline(k)[1] = {static_cast<int16_t>(start), static_cast<int16_t>(end), 1};
  }

  // B.1.3 to B.1.5: the decision table for object i and segment j, for
  // every case but the common one run() takes itself.
  void decide() {
    const Pos nB = overlapCount(i_, j_);
    if (nB == 0) {
      endObject();  // nothing under it, or two fish in a row
    } else if (nB == 1) {
      const Pos nA = objectsUnder(j_);
      if (nA == 1) {
        continueObject();  // one object, one segment
      } else if (nA == 2) {
        if (overlapCount(i_ + 1, j_) == 1) {
          merge(i_ + 1);  // two objects run into one segment
        } else {
          continueObject();  // the neighbour goes on elsewhere too
        }
      } else {
        merge(i_ + nA - 1);  // three or more objects into one segment
      }
    } else if (objectsUnder(j_ + 1) == 1) {
      split(nB);  // one object over several segments: a fork
    } else {
      continueObject();  // the next segment belongs to the next object too
    }
  }

  // D: segment j continues object i (in channel c). The object's record
  // moves into the segment's place and takes the segment's position.
  void continueObject(Pos j, Pos i, Pos c) {
    std::swap(segOutlines_[j - 1], prevOutlines_[i - 1]);
    // On the object's second line the angles are taken as they are.
    const int64_t smoothing = prev(i).Lines == 1 ? 100 : d_.AngleSmoothing[c];
    const ShapeLimits limits{d_.AngleThreshold, int64_t{d_.MinArea[c]} * d_.AreaFactor};
    continueRecord(&seg(j), &prev(i), segOutline(j), smoothing, limits);
  }
  void continueObject() {
    continueObject(j_, i_, c_);
    ++j_;
  }

  // F: object i has no successor: accept it or drop it.
  void endObject() {
    const ObjectRecord& p = prev(i_);
    const Pos c = c_;
    if (p.Group == 0) {
      if (sizeTestHolds(p)) accept();
      return;
    }
    // A piece of a split needs enough of its own since the split.
    if (sizeTestHolds(p) && (int64_t{d_.MinLength[c]} + 2) / 3 < p.OwnLines &&
        d_.MinArea[c] / 4 <= p.OwnArea) {
      accept();
    } else {
      release(prevPlace(i_), i_ + 1);
    }
  }

  // G: object i is a fish.
  void accept() {
    const ObjectRecord& p = prev(i_);
    const Pos c = c_;
    d_.ObjectTotal = addSat(d_.ObjectTotal, 1);
    if (trace_) {
      char line[kTraceLineBytes];
      writeTraceLine(line, sizeof line, d_, p, static_cast<int>(c));
      *trace_ << line << '\n';
    }
    constexpr double n = kAveragingWindow;
    d_.AvgLength[c] = (n - 1) * d_.AvgLength[c] / n + p.Lines / n;
    d_.AvgBreadth[c] = (n - 1) * d_.AvgBreadth[c] / n + p.MaxWidth / n;
    d_.AvgArea[c] = (n - 1) * d_.AvgArea[c] / n + p.Area / n;
    // Every tracked object has a place here, so none is ever lost.
    assert(d_.FinishedCount < kMaxFinished);
    const int f = ++d_.FinishedCount;
    d_.FinishedObjects.records_[f - 1] = p;
    std::swap(d_.FinishedObjects.outlines_[f - 1], prevOutlines_[i_ - 1]);
  }

  // H: objects i..e run into segment j.
  void merge(Pos e) {
    // H.1: keep apart the neighbours that are fish of their own, absorb the
    // rest. Each pair kept apart costs a place in Segments; when the table is
    // full the pair is absorbed instead (only a hostile line gets there).
    Pos k = i_;
    while (k < e) {
      const ObjectRecord& left = prev(k);
      const ObjectRecord& right = prev(k + 1);
      const bool apart = substantial(left) && substantial(right) &&
                         int64_t{left.RightAngle} - right.LeftAngle < kMergeAngleLimit &&
                         segCount_ + (k - i_) < kMaxSegments;
      if (apart) {
        ++k;
      } else {
        absorb(k);
        --e;
      }
    }
    const Pos x = e - i_;
    if (x == 0) {
      // H.2: one object is left; it keeps its record (with the combined
      // extent of the absorbed ones) and only its outline grows.
      const int32_t start = seg(j_).Start;
      const int32_t end = seg(j_).End;
      moveToSegment(j_, i_);
      extendOutline(seg(j_), segOutline(j_), start, end);
      ++j_;
      return;
    }
    // H.3: the segment is cut into x + 1 equal pieces, one per object, with
    // half the gap limit kept free on both sides of every cut. The segments
    // after j move x places on to make room.
    const int64_t s0 = seg(j_).Start;
    // Pixels and the piece count fit 32 bits: a 32-bit division is the
    // same and takes half the time of a 64-bit one.
    const int64_t pw = static_cast<int32_t>(seg(j_).End - s0) / static_cast<int32_t>(x + 1);
    const int64_t g = d_.GapLimit[c_] / 2;
    openSegmentPlaces(j_, x);
    segCount_ += x;
    for (Pos p = 0; p <= x; ++p) {
      moveToSegment(j_ + p, i_ + p);
      ObjectRecord& r = seg(j_ + p);
      const int32_t start = clampPixel(s0 + p * pw + g);
      const int32_t end = clampPixel(s0 + (p + 1) * pw - g);
      const int32_t w = end - start;
      r.Lines = addSat(r.Lines, 1);
      r.OwnLines = addSat(r.OwnLines, 1);
      r.Area = addSat(r.Area, w);
      r.OwnArea = addSat(r.OwnArea, w);
      // The outer edges keep their angles, the cut edges are new.
      if (p != 0) r.LeftAngle = 0;
      if (p != x) r.RightAngle = 0;
      r.RunArea = 0;
      r.Start = start;
      r.End = end;
      extendOutline(r, segOutline(j_ + p), start, end);
    }
    // H.4
    i_ = e;
    j_ += x + 1;
  }

  // J: tracked object k+1 is absorbed into object k.
  void absorb(Pos k) {
    ObjectRecord& t = prev(k);
    ObjectRecord& r = prev(k + 1);
    appendOutline(prevPlace(k), prevPlace(k + 1), 1, r.OutlineCount);
    if (r.Shape > t.Shape) {
      t.Shape = r.Shape;
      t.RunArea = r.RunArea;
    }
    t.Lines = addSat(std::max(t.Lines, r.Lines), 1);
    t.End = r.End;
    t.MaxWidth = t.End - t.Start;
    t.MaxRight = r.MaxRight;
    if (r.Group > 0) {
      release(prevPlace(k + 1), k + 2);
    } else {
      t.Area = addSat(t.Area, r.Area);
      t.OwnArea = addSat(t.OwnArea, r.OwnArea);
      t.OwnLines = std::max(t.OwnLines, r.OwnLines);
    }
    // R leaves the table; its place goes behind the last object.
    removePlace(prevRows_, prevOutlines_, k + 1, prevCount_);
    --prevCount_;
  }

  // K: object i forks into segments j..j+n-1.
  void split(Pos n) {
    const ObjectRecord& p = prev(i_);
    const int32_t group = p.Group > 0 ? p.Group : freeGroup();
    const Pos first = j_;
    const Pos last = j_ + n - 1;
    // The later pieces get copies; the first takes the object's own record,
    // so it goes last.
    for (Pos m = last; m >= first; --m) {
      const int32_t start = seg(m).Start;
      const int32_t end = seg(m).End;
      if (m == first) {
        moveToSegment(m, i_);
      } else {
        copyRecord(segPlace(m), prevPlace(i_));
      }
      ObjectRecord& r = seg(m);
      r.Area = r.Area / static_cast<int32_t>(n);
      r.Lines = addSat(r.Lines, 1);
      r.Colour = 0;
      r.Group = group;
      r.OwnLines = 1;
      r.OwnArea = end - start;
      r.Start = start;
      r.End = end;
      extendOutline(r, segOutline(m), start, end);
      if (m == first) r.RightAngle = 0;  // the inner edges are new
      if (m == last) r.LeftAngle = 0;
    }
    j_ = last + 1;
  }

  // K.1: the smallest group number in use by no successor made on this line
  // and no tracked object from i on.
  int32_t freeGroup() {
    // At most kMaxSegments + kMaxTracked numbers are in use, so one of
    // 1..kMaxSegments + kMaxTracked + 1 is free.
    std::array<bool, kMaxSegments + kMaxTracked + 2> used{};
    auto mark = [&used](int32_t g) {
      if (g > 0 && g < static_cast<int32_t>(used.size())) used[g] = true;
    };
    for (Pos k = 1; k < j_; ++k) mark(seg(k).Group);
    for (Pos k = i_; k <= prevCount_; ++k) mark(prev(k).Group);
    int32_t g = 1;
    while (used[g]) ++g;
    return g;
  }

  // L: x leaves its split group; what it grew since the split goes to the
  // members left: the successors made on this line and the tracked objects
  // from `firstTracked` on.
  void release(Place xp, Pos firstTracked) {
    ObjectRecord& x = xp.r;
    const int32_t group = x.Group;
    int n = 0;
    int32_t maxOwnArea = INT32_MIN;
    int32_t maxOwnLines = INT32_MIN;
    forEachMember(group, firstTracked, [&](Place mp) {
      const ObjectRecord& m = mp.r;
      ++n;
      maxOwnArea = std::max(maxOwnArea, m.OwnArea);
      maxOwnLines = std::max(maxOwnLines, m.OwnLines);
    });
    const int64_t firstEntry = int64_t{x.OutlineCount} - x.OwnLines;
    const int64_t lastEntry = std::min(x.OutlineCount, kOutlineLimit - 1);
    if (n == 1) {
      // The last member leaves the group and takes the whole area.
      forEachMember(group, firstTracked, [&](Place mp) {
        ObjectRecord& m = mp.r;
        m.Group = 0;
        m.Area = addSat(m.Area, x.Area);
        m.OwnArea = m.Area;
        m.OwnLines = m.Lines;
        m.MinLeft = std::min(m.MinLeft, x.MinLeft);
        m.MaxRight = std::max(m.MaxRight, x.MaxRight);
        appendOutline(mp, xp, firstEntry, lastEntry);
      });
    } else if (n > 1) {
      forEachMember(group, firstTracked, [&](Place mp) {
        ObjectRecord& m = mp.r;
        m.Area = addSat(m.Area, x.Area / n);
        m.OwnArea = maxOwnArea;
        m.OwnLines = maxOwnLines;
        appendOutline(mp, xp, firstEntry, lastEntry);
      });
    }
    x.Group = 0;
  }

  template <typename Visit>
  void forEachMember(int32_t group, Pos firstTracked, Visit visit) {
    // Segments from j on are still raw and belong to no group.
    for (Pos k = 1; k < j_; ++k) {
      if (seg(k).Group == group) visit(segPlace(k));
    }
    for (Pos k = firstTracked; k <= prevCount_; ++k) {
      if (prev(k).Group == group) visit(prevPlace(k));
    }
  }

  DetectionState& d_;
  std::ostream* trace_;
  const ChannelWalk walk_;
  ObjectRecord* const segRows_ = d_.Segments.records_;
  OutlineEntry** const segOutlines_ = d_.Segments.outlines_;
  ObjectRecord* const prevRows_ = d_.PreviousObjects.records_;
  OutlineEntry** const prevOutlines_ = d_.PreviousObjects.outlines_;
  Pos segCount_ = 0;   // the line's segments (and successors made so far)
  Pos prevCount_ = 0;  // the tracked objects
  Pos i_ = 1;  // tracked object
  Pos j_ = 1;  // segment
  Pos c_ = 1;  // channel of object i
};

void porun(DetectionState& d, const SettingsVariables& s, std::ostream* trace) {
  if (d.SegmentCount == 0 && d.PreviousCount == 0) {
    // Nothing dark on this line nor on the one before: most lines between fish.
    d.FinishedCount = 0;
    d.CurrentChannel = 1;
    return;
  }
  LinePass(d, s, trace).run();
}

void countFinishedObjects(DetectionState& d, const SettingsVariables& s,
                          ChannelArray<int32_t>& counts, CountedObjectSink* sink) {
  int k = 1;
  if (d.FinishedCount <= 0) {
    d.CurrentChannel = k;
    return;
  }
  for (int f = 1; f <= std::clamp(d.FinishedCount, 0, kMaxFinished); ++f) {
    k = channelOf(s, d.FinishedObjects[f].Start, k);
    counts[k] = addSat(counts[k], 1);
    if (sink) sink->objectCounted(d.FinishedObjects[f], k);
  }
  d.CurrentChannel = k;
}
