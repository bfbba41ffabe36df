#include "analysis/line_analysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "analysis/channel_layout.h"
#include "analysis/number_format.h"

namespace {

int32_t clampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Sums (areas over hours of a blocked sensor, line counts) stop at the 32-bit
// limit instead of wrapping around.
int32_t addSat(int32_t a, int64_t b) { return clampToInt32(int64_t{a} + b); }

int32_t clampPixel(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, kMinPixel, kMaxPixel));
}

bool overlaps(const ObjectRecord& a, const ObjectRecord& b) {
  return a.Start < b.End && b.Start < a.End;
}

// arctan(x) * 57 truncated reaches its limit 89 by x = 107, so a table up to
// 128 holds every value; it spares an arctan per object per line.
constexpr int kAngleTableSize = 129;
const std::array<int8_t, kAngleTableSize> kAngleTable = [] {
  std::array<int8_t, kAngleTableSize> table{};
  for (int x = 0; x < kAngleTableSize; ++x) {
    table[x] = static_cast<int8_t>(std::atan(static_cast<double>(x)) * kAngleScale);
  }
  return table;
}();

// Everything but the outline, which is copied entry by entry as far as used.
constexpr std::size_t kHeaderBytes = offsetof(ObjectRecord, Outline);

void copyRecord(ObjectRecord& to, const ObjectRecord& from) {
  std::memcpy(static_cast<void*>(&to), &from, kHeaderBytes);
  const int count = std::clamp(from.OutlineCount, 0, kOutlineLimit);
  std::copy_n(from.Outline.begin() + 1, count, to.Outline.begin() + 1);
}

// D.2: the entry of the object's new line, while the outline has room.
void extendOutline(ObjectRecord& r, int32_t start, int32_t end) {
  if (r.OutlineCount >= kOutlineLimit || r.OutlineCount < 0) return;
  ++r.OutlineCount;
  ++r.OutlineLine;
  r.Outline[r.OutlineCount] = {static_cast<int16_t>(start), static_cast<int16_t>(end),
                               static_cast<int16_t>(r.OutlineLine)};
}

// Appends from's entries first..last to to's outline while it has room, line
// numbers moved onto to's own line count.
void appendOutline(ObjectRecord& to, const ObjectRecord& from, int64_t first, int64_t last) {
  first = std::max<int64_t>(first, 1);
  last = std::min<int64_t>(last, std::min(from.OutlineCount, kOutlineLimit));
  const int64_t shift = int64_t{to.OutlineLine} - from.OutlineLine;
  for (int64_t e = first; e <= last && to.OutlineCount < kOutlineLimit; ++e) {
    const OutlineEntry& entry = from.Outline[e];
    to.Outline[++to.OutlineCount] = {entry.Left, entry.Right,
                                     static_cast<int16_t>(shift + entry.Line)};
  }
}

void writeTraceLine(char* buffer, int size, const DetectionState& d, const ObjectRecord& p,
                    int c) {
  char mean[3][40];
  formatFixedTo(mean[0], sizeof mean[0], d.AvgLength[c], 0);
  formatFixedTo(mean[1], sizeof mean[1], d.AvgBreadth[c], 0);
  formatFixedTo(mean[2], sizeof mean[2], d.AvgArea[c], 0);
  std::snprintf(buffer, size, "%d :%d :%d :%d   :%d :%d :%d   :%d :%d :%d   :%s :%s :%s",
                d.LineCounter, p.Lines, p.MaxWidth, p.Area, d.MinLength[c], d.MinBreadth[c],
                d.MinArea[c], d.MaxLength[c], d.MaxBreadth[c], d.MaxArea[c], mean[0], mean[1],
                mean[2]);
}

}  // namespace

int32_t edgeAngle(int64_t x) {
  const int64_t magnitude = std::min<int64_t>(x < 0 ? -x : x, kAngleTableSize - 1);
  const int32_t angle = kAngleTable[magnitude];
  return x < 0 ? -angle : angle;
}

std::string traceLine(const DetectionState& d, const ObjectRecord& p, int c) {
  char buffer[256];
  writeTraceLine(buffer, sizeof buffer, d, p, c);
  return buffer;
}

// One pass of porun over a line. i runs over the tracked objects, j over the
// line's segments, c is the channel of object i. A record changes tables by
// trading pool slots, never by being copied (see detection_state.h).
class LinePass {
 public:
  LinePass(DetectionState& d, const SettingsVariables& s, std::ostream* trace)
      : d_(d), s_(s), trace_(trace), lastChannel_(lastChannel(s)) {}

  void run() {
    sanitise();
    d_.FinishedCount = 0;
    // B.1: each tracked object meets the segments under it.
    for (i_ = 1; i_ <= d_.PreviousCount; ++i_) {
      const ObjectRecord& p = prev(i_);
      while (c_ < lastChannel_ && s_.ChannelPositions[c_].End < p.Start) ++c_;
      while (j_ <= d_.SegmentCount && seg(j_).End <= p.Start) newObject(j_++);
      const int nB = overlapCount(i_, j_);
      if (nB == 0) {
        endObject();  // nothing under it, or two fish in a row
      } else if (nB == 1) {
        const int nA = objectsUnder(j_);
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
    // B.2: segments under no object start new ones.
    while (j_ <= d_.SegmentCount) newObject(j_++);
    // B.3: the line's objects become the tracked objects.
    std::swap(d_.Segments.slots_, d_.PreviousObjects.slots_);
    d_.PreviousCount = d_.SegmentCount;
    for (int k = 1; k <= d_.SegmentCount; ++k) {
      std::memset(static_cast<void*>(&seg(k)), 0, kHeaderBytes);
    }
    d_.CurrentChannel = c_;
  }

 private:
  ObjectRecord& seg(int k) { return d_.Segments[k]; }
  ObjectRecord& prev(int k) { return d_.PreviousObjects[k]; }

  static void trade(RecordTable& a, int ka, RecordTable& b, int kb) {
    std::swap(a.slots_[ka - 1], b.slots_[kb - 1]);
  }

  // Counts and positions from outside are hostile until checked.
  void sanitise() {
    d_.SegmentCount = std::clamp(d_.SegmentCount, 0, kMaxSegments);
    d_.PreviousCount = std::clamp(d_.PreviousCount, 0, kMaxTracked);
    for (int k = 1; k <= d_.SegmentCount; ++k) {
      seg(k).Start = clampPixel(seg(k).Start);
      seg(k).End = clampPixel(seg(k).End);
    }
  }

  // B.1.3: segments from `from` on overlapping object `obj`, in a row; none
  // for an object that holds two fish (Shape 3).
  int overlapCount(int obj, int from) {
    const ObjectRecord& p = prev(obj);
    if (p.Shape == 3) return 0;
    int n = 0;
    while (from + n <= d_.SegmentCount && overlaps(seg(from + n), p)) ++n;
    return n;
  }

  // nA(s): objects from i on, in a row, starting before segment s ends.
  int objectsUnder(int s) {
    const int32_t end = seg(s).End;
    int n = 0;
    while (i_ + n <= d_.PreviousCount && prev(i_ + n).Start < end) ++n;
    return n;
  }

  bool sizeTestHolds(const ObjectRecord& p) const {
    const int c = c_;
    return d_.MinLength[c] <= p.Lines && p.Lines < d_.MaxLength[c] &&
           d_.MinBreadth[c] <= p.MaxWidth && p.MaxWidth < d_.MaxBreadth[c] &&
           d_.MinArea[c] <= p.Area && p.Area < d_.MaxArea[c];
  }

  // I: big enough on its own to be a fish beside its neighbour.
  bool substantial(const ObjectRecord& p) const {
    const int c = c_;
    return (p.OwnArea >= d_.MinArea[c] / 2 &&
            p.OwnLines > (int64_t{d_.MinLength[c]} + 1) / 2) ||
           (p.Area >= d_.MinArea[c] && p.Lines > int64_t{d_.MinLength[c]} + 1);
  }

  // C: segment k starts an object.
  void newObject(int k) {
    ObjectRecord& r = seg(k);
    const int32_t w = r.End - r.Start;
    r.Lines = 1;
    r.MaxWidth = w;
    r.Area = w;
    r.Colour = 0;
    r.OwnLines = 1;
    r.OwnArea = w;
    r.Group = 0;
    r.LeftAngle = 0;
    r.RightAngle = 0;
    r.RunArea = 0;
    r.Shape = 0;
    r.MinLeft = r.Start;
    r.MaxRight = r.End;
    r.OutlineLine = 1;
    r.OutlineCount = 1;
    r.Outline[1] = {static_cast<int16_t>(r.Start), static_cast<int16_t>(r.End), 1};
  }

  // D: segment j continues object i. The object's record moves into the
  // segment's place and takes the segment's position.
  void continueObject() {
    const int32_t start = seg(j_).Start;
    const int32_t end = seg(j_).End;
    trade(d_.Segments, j_, d_.PreviousObjects, i_);
    ObjectRecord& r = seg(j_);
    const int32_t w = end - start;
    const int32_t leftAngle = edgeAngle(int64_t{start} - r.Start);
    const int32_t rightAngle = edgeAngle(int64_t{end} - r.End);
    if (r.Lines == 1) {
      r.LeftAngle = leftAngle;
      r.RightAngle = rightAngle;
    } else {
      const int64_t smoothing = d_.AngleSmoothing[c_];
      r.LeftAngle = clampToInt32((leftAngle * smoothing + (100 - smoothing) * r.LeftAngle) / 100);
      r.RightAngle =
          clampToInt32((rightAngle * smoothing + (100 - smoothing) * r.RightAngle) / 100);
    }
    r.Lines = addSat(r.Lines, 1);
    r.OwnLines = addSat(r.OwnLines, 1);
    r.MaxWidth = std::max(r.MaxWidth, w);
    r.Area = addSat(r.Area, w);
    r.OwnArea = addSat(r.OwnArea, w);
    r.MinLeft = std::min(r.MinLeft, start);
    r.MaxRight = std::max(r.MaxRight, end);
    r.Start = start;
    r.End = end;
    extendOutline(r, start, end);
    advanceShape(r, w);
    ++j_;
  }

  // E: open, close, open again, each phase with enough width in one unbroken
  // run of lines, means two fish nose to tail in one dark run.
  void advanceShape(ObjectRecord& r, int32_t w) {
    const int64_t spread = int64_t{r.RightAngle} - r.LeftAngle;
    const int64_t limit = int64_t{d_.MinArea[c_]} * d_.AreaFactor;
    const int64_t threshold = d_.AngleThreshold;
    bool holds;
    switch (r.Shape) {
      case 0:  // opening expected
      case 2:  // opening again
        holds = spread > threshold;
        break;
      case 1:  // closing expected
        holds = spread < -threshold;
        break;
      default:  // 3: ends on the next line anyway
        holds = false;
        break;
    }
    if (!holds) {
      r.RunArea = 0;
      return;
    }
    r.RunArea = addSat(r.RunArea, w);
    if (r.RunArea > limit) {
      ++r.Shape;
      if (r.Shape < 3) r.RunArea = 0;
    }
  }

  // F: object i has no successor: accept it or drop it.
  void endObject() {
    ObjectRecord& p = prev(i_);
    const int c = c_;
    if (p.Group == 0) {
      if (sizeTestHolds(p)) accept();
      return;
    }
    // A piece of a split needs enough of its own since the split.
    if (sizeTestHolds(p) && (int64_t{d_.MinLength[c]} + 2) / 3 < p.OwnLines &&
        d_.MinArea[c] / 4 <= p.OwnArea) {
      accept();
    } else {
      release(p, i_ + 1);
    }
  }

  // G: object i is a fish.
  void accept() {
    const ObjectRecord& p = prev(i_);
    const int c = c_;
    d_.ObjectTotal = addSat(d_.ObjectTotal, 1);
    if (trace_) {
      char line[256];
      writeTraceLine(line, sizeof line, d_, p, c);
      *trace_ << line << '\n';
    }
    constexpr double n = kAveragingWindow;
    d_.AvgLength[c] = (n - 1) * d_.AvgLength[c] / n + p.Lines / n;
    d_.AvgBreadth[c] = (n - 1) * d_.AvgBreadth[c] / n + p.MaxWidth / n;
    d_.AvgArea[c] = (n - 1) * d_.AvgArea[c] / n + p.Area / n;
    // Every tracked object has a place here, so none is ever lost.
    assert(d_.FinishedCount < kMaxFinished);
    ++d_.FinishedCount;
    trade(d_.FinishedObjects, d_.FinishedCount, d_.PreviousObjects, i_);
  }

  // H: objects i..e run into segment j.
  void merge(int e) {
    // H.1: keep apart the neighbours that are fish of their own, absorb the
    // rest. Each pair kept apart costs a place in Segments; when the table is
    // full the pair is absorbed instead (only a hostile line gets there).
    int k = i_;
    while (k < e) {
      const ObjectRecord& left = prev(k);
      const ObjectRecord& right = prev(k + 1);
      const bool apart = substantial(left) && substantial(right) &&
                         int64_t{left.RightAngle} - right.LeftAngle < kMergeAngleLimit &&
                         d_.SegmentCount + (k - i_) < kMaxSegments;
      if (apart) {
        ++k;
      } else {
        absorb(k);
        --e;
      }
    }
    const int x = e - i_;
    if (x == 0) {
      // H.2: one object is left; it keeps its record (with the combined
      // extent of the absorbed ones) and only its outline grows.
      const int32_t start = seg(j_).Start;
      const int32_t end = seg(j_).End;
      trade(d_.Segments, j_, d_.PreviousObjects, i_);
      extendOutline(seg(j_), start, end);
      ++j_;
      return;
    }
    // H.3: the segment is cut into x + 1 equal pieces, one per object, with
    // half the gap limit kept free on both sides of every cut.
    const int64_t s0 = seg(j_).Start;
    const int64_t pw = (int64_t{seg(j_).End} - s0) / (x + 1);
    const int64_t g = d_.GapLimit[c_] / 2;
    ObjectRecord** slots = d_.Segments.slots_;
    std::rotate(slots + j_, slots + d_.SegmentCount, slots + d_.SegmentCount + x);
    d_.SegmentCount += x;
    for (int p = 0; p <= x; ++p) {
      trade(d_.Segments, j_ + p, d_.PreviousObjects, i_ + p);
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
      extendOutline(r, start, end);
    }
    // H.4
    i_ = e;
    j_ += x + 1;
  }

  // J: tracked object k+1 is absorbed into object k.
  void absorb(int k) {
    ObjectRecord& t = prev(k);
    ObjectRecord& r = prev(k + 1);
    appendOutline(t, r, 1, r.OutlineCount);
    if (r.Shape > t.Shape) {
      t.Shape = r.Shape;
      t.RunArea = r.RunArea;
    }
    t.Lines = addSat(std::max(t.Lines, r.Lines), 1);
    t.End = r.End;
    t.MaxWidth = t.End - t.Start;
    t.MaxRight = r.MaxRight;
    if (r.Group > 0) {
      release(r, k + 2);
    } else {
      t.Area = addSat(t.Area, r.Area);
      t.OwnArea = addSat(t.OwnArea, r.OwnArea);
      t.OwnLines = std::max(t.OwnLines, r.OwnLines);
    }
    // R leaves the table; its slot goes behind the last object.
    ObjectRecord** slots = d_.PreviousObjects.slots_;
    std::rotate(slots + k, slots + k + 1, slots + d_.PreviousCount);
    --d_.PreviousCount;
  }

  // K: object i forks into segments j..j+n-1.
  void split(int n) {
    ObjectRecord& p = prev(i_);
    const int32_t group = p.Group > 0 ? p.Group : freeGroup();
    const int first = j_;
    const int last = j_ + n - 1;
    // The later pieces get copies; the first takes the object's own record,
    // so it goes last.
    for (int m = last; m >= first; --m) {
      const int32_t start = seg(m).Start;
      const int32_t end = seg(m).End;
      if (m == first) {
        trade(d_.Segments, m, d_.PreviousObjects, i_);
      } else {
        copyRecord(seg(m), p);
      }
      ObjectRecord& r = seg(m);
      r.Area = r.Area / n;
      r.Lines = addSat(r.Lines, 1);
      r.Colour = 0;
      r.Group = group;
      r.OwnLines = 1;
      r.OwnArea = end - start;
      r.Start = start;
      r.End = end;
      extendOutline(r, start, end);
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
    for (int k = 1; k < j_; ++k) mark(seg(k).Group);
    for (int k = i_; k <= d_.PreviousCount; ++k) mark(prev(k).Group);
    int32_t g = 1;
    while (used[g]) ++g;
    return g;
  }

  // L: x leaves its split group; what it grew since the split goes to the
  // members left: the successors made on this line and the tracked objects
  // from `firstTracked` on.
  void release(ObjectRecord& x, int firstTracked) {
    const int32_t group = x.Group;
    int n = 0;
    int32_t maxOwnArea = INT32_MIN;
    int32_t maxOwnLines = INT32_MIN;
    forEachMember(group, firstTracked, [&](ObjectRecord& m) {
      ++n;
      maxOwnArea = std::max(maxOwnArea, m.OwnArea);
      maxOwnLines = std::max(maxOwnLines, m.OwnLines);
    });
    const int64_t firstEntry = int64_t{x.OutlineCount} - x.OwnLines;
    const int64_t lastEntry = std::min(x.OutlineCount, kOutlineLimit - 1);
    if (n == 1) {
      // The last member leaves the group and takes the whole area.
      forEachMember(group, firstTracked, [&](ObjectRecord& m) {
        m.Group = 0;
        m.Area = addSat(m.Area, x.Area);
        m.OwnArea = m.Area;
        m.OwnLines = m.Lines;
        m.MinLeft = std::min(m.MinLeft, x.MinLeft);
        m.MaxRight = std::max(m.MaxRight, x.MaxRight);
        appendOutline(m, x, firstEntry, lastEntry);
      });
    } else if (n > 1) {
      forEachMember(group, firstTracked, [&](ObjectRecord& m) {
        m.Area = addSat(m.Area, x.Area / n);
        m.OwnArea = maxOwnArea;
        m.OwnLines = maxOwnLines;
        appendOutline(m, x, firstEntry, lastEntry);
      });
    }
    x.Group = 0;
  }

  template <typename Visit>
  void forEachMember(int32_t group, int firstTracked, Visit visit) {
    // Segments from j on are still raw and belong to no group.
    for (int k = 1; k < j_; ++k) {
      if (seg(k).Group == group) visit(seg(k));
    }
    for (int k = firstTracked; k <= d_.PreviousCount; ++k) {
      if (prev(k).Group == group) visit(prev(k));
    }
  }

  DetectionState& d_;
  const SettingsVariables& s_;
  std::ostream* trace_;
  const int lastChannel_;
  int i_ = 1;  // tracked object
  int j_ = 1;  // segment
  int c_ = 1;  // channel of object i
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
                          ChannelArray<int32_t>& counts) {
  int k = 1;
  if (d.FinishedCount <= 0) {
    d.CurrentChannel = k;
    return;
  }
  for (int f = 1; f <= std::clamp(d.FinishedCount, 0, kMaxFinished); ++f) {
    k = channelOf(s, d.FinishedObjects[f].Start, k);
    counts[k] = addSat(counts[k], 1);
  }
  d.CurrentChannel = k;
}
