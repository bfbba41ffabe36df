// A plain model of the segment preparation, the line pass and the counting,
// written rule by rule with whole records copied and table entries moved the
// obvious way (no pool, no traded slots, no shortcuts). The randomized
// comparison test runs it beside the real engine line by line; any difference
// in any field is a fault of one of the two.
//
// It keeps the engine's documented choices where the rules leave room: the
// channel walks stop at the last channel in use, and a merge keeps a pair
// apart only while the segment table has a place for the extra piece.
// Inputs must stay in the 16-bit pixel range and away from 32-bit sums (the
// engine clamps those; the model does not).
#ifndef TINDAVEL_TESTS_ANALYSIS_REFERENCE_LINE_PASS_H_
#define TINDAVEL_TESTS_ANALYSIS_REFERENCE_LINE_PASS_H_

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

#include "analysis/channel_layout.h"
#include "analysis/detection_state.h"
#include "settings/settings_variables.h"

struct ReferenceRecord {
  int32_t Lines = 0, Start = 0, End = 0, MaxWidth = 0, MinLeft = 0, MaxRight = 0, Area = 0;
  int32_t Colour = 0, OwnLines = 0, OwnArea = 0, Group = 0, LeftAngle = 0, RightAngle = 0;
  int32_t RunArea = 0, Shape = 0, OutlineLine = 0;
  std::vector<OutlineEntry> Outline;  // entry e is Outline[e - 1]

  int outlineCount() const { return static_cast<int>(Outline.size()); }
  const OutlineEntry& entry(int e) const { return Outline[e - 1]; }
};

// What the model saw, so the comparison test can show it covered the rules.
struct ReferenceEvents {
  long long continued = 0, created = 0, ended = 0, accepted = 0;
  long long splits = 0, threeWaySplits = 0;
  long long mergesIntoOne = 0, mergesCut = 0, pairsKeptApart = 0, absorbed = 0;
  long long releasedToOne = 0, releasedToMany = 0, releasedToNone = 0;
  long long shapeThreeEnded = 0, outlineFull = 0, neighbourNotMerged = 0;
};

class ReferenceLinePass {
 public:
  ReferenceLinePass()
      : Segments(kMaxSegments + 1), PreviousObjects(kMaxTracked + 1),
        FinishedObjects(kMaxFinished + 1) {}

  // The per-channel parameters and constants of `d` (the running means too).
  void takeParameters(const DetectionState& d) {
    MinWidth = d.MinWidth;
    GapLimit = d.GapLimit;
    MinLength = d.MinLength;
    MaxLength = d.MaxLength;
    MinBreadth = d.MinBreadth;
    MaxBreadth = d.MaxBreadth;
    MinArea = d.MinArea;
    MaxArea = d.MaxArea;
    AngleSmoothing = d.AngleSmoothing;
    AvgLength = d.AvgLength;
    AvgBreadth = d.AvgBreadth;
    AvgArea = d.AvgArea;
    AngleThreshold = d.AngleThreshold;
    AreaFactor = d.AreaFactor;
  }

  // Step A over Segments[1..SegmentCount], Start and End as the caller put them.
  void prepare(const SettingsVariables& s) {
    const int last = lastChannel(s);
    int c = 1;
    int kept = 0;
    for (int k = 1; k <= SegmentCount; ++k) {
      const int32_t start = Segments[k].Start;
      const int32_t end = Segments[k].End;
      while (c < last && s.ChannelPositions[c].End < start) ++c;
      if (kept == 0 || int64_t{start} - Segments[kept].End >= GapLimit[c]) {
        if (end - start <= MinWidth[c]) continue;
        ++kept;
        Segments[kept].Start = start;
        Segments[kept].End = end;
      } else {
        Segments[kept].End = end;
      }
    }
    SegmentCount = kept;
    CurrentChannel = c;
  }

  void porun(const SettingsVariables& s, std::ostream* trace) {
    trace_ = trace;
    const int last = lastChannel(s);
    i_ = 1;
    j_ = 1;
    FinishedCount = 0;
    c_ = 1;
    while (i_ <= PreviousCount) {
      while (c_ < last && s.ChannelPositions[c_].End < PreviousObjects[i_].Start) ++c_;
      while (j_ <= SegmentCount && Segments[j_].End <= PreviousObjects[i_].Start) {
        newObject(j_);
        ++j_;
      }
      const int nB = overlapCount(i_);
      if (nB == 0) {
        if (PreviousObjects[i_].Shape == 3 && j_ <= SegmentCount &&
            overlaps(Segments[j_], PreviousObjects[i_])) {
          ++events.shapeThreeEnded;
        }
        endObject();
      } else if (nB == 1) {
        const int nA = objectsBefore(j_);
        if (nA == 1) {
          continueObject();
        } else if (nA == 2) {
          if (overlapCount(i_ + 1) == 1) {
            merge(i_ + 1);
          } else {
            ++events.neighbourNotMerged;
            continueObject();
          }
        } else {
          merge(i_ + nA - 1);
        }
      } else if (objectsBefore(j_ + 1) == 1) {
        split(nB);
      } else {
        continueObject();
      }
      ++i_;
    }
    while (j_ <= SegmentCount) {
      newObject(j_);
      ++j_;
    }
    for (int k = 1; k <= SegmentCount; ++k) PreviousObjects[k] = Segments[k];
    PreviousCount = SegmentCount;
    for (int k = 1; k <= SegmentCount; ++k) Segments[k] = ReferenceRecord{};
    CurrentChannel = c_;
  }

  // The caller's count of the finished objects into channels.
  void count(const SettingsVariables& s, ChannelArray<int32_t>& counts) {
    const int last = lastChannel(s);
    CurrentChannel = 1;
    for (int k = 1; k <= FinishedCount; ++k) {
      while (CurrentChannel < last &&
             s.ChannelPositions[CurrentChannel].End < FinishedObjects[k].Start) {
        ++CurrentChannel;
      }
      ++counts[CurrentChannel];
    }
  }

  std::vector<ReferenceRecord> Segments, PreviousObjects, FinishedObjects;  // [1..]
  int SegmentCount = 0, PreviousCount = 0, FinishedCount = 0;
  int32_t ObjectTotal = 0, CurrentChannel = 1, LineCounter = 0;
  ChannelArray<int32_t> MinWidth{}, GapLimit{}, MinLength{}, MaxLength{}, MinBreadth{},
      MaxBreadth{}, MinArea{}, MaxArea{}, AngleSmoothing{};
  ChannelArray<double> AvgLength{}, AvgBreadth{}, AvgArea{};
  int32_t AngleThreshold = 0, AreaFactor = 0;
  ReferenceEvents events;

 private:
  static constexpr int kLimit = kOutlineLimit;

  static bool overlaps(const ReferenceRecord& a, const ReferenceRecord& b) {
    return a.Start < b.End && b.Start < a.End;
  }
  static int32_t angle(int64_t x) {
    return static_cast<int32_t>(std::atan(static_cast<double>(x)) * 57);
  }
  // The new line's entry, while the outline has room.
  void extend(ReferenceRecord& r, int32_t start, int32_t end) {
    if (r.outlineCount() < kLimit) {
      ++r.OutlineLine;
      r.Outline.push_back({static_cast<int16_t>(start), static_cast<int16_t>(end),
                           static_cast<int16_t>(r.OutlineLine)});
    } else {
      ++events.outlineFull;
    }
  }
  // from's entries first..last appended to `to` while it has room.
  static void append(ReferenceRecord& to, const ReferenceRecord& from, int first, int last) {
    for (int e = first; e <= last; ++e) {
      if (to.outlineCount() >= kLimit) break;
      const OutlineEntry& x = from.entry(e);
      to.Outline.push_back(
          {x.Left, x.Right, static_cast<int16_t>(to.OutlineLine - from.OutlineLine + x.Line)});
    }
  }

  int overlapCount(int obj) {
    if (PreviousObjects[obj].Shape == 3) return 0;
    int n = 0;
    while (j_ + n <= SegmentCount && overlaps(Segments[j_ + n], PreviousObjects[obj])) ++n;
    return n;
  }
  int objectsBefore(int seg) {
    int n = 0;
    while (i_ + n <= PreviousCount && PreviousObjects[i_ + n].Start < Segments[seg].End) ++n;
    return n;
  }

  void newObject(int k) {
    ++events.created;
    ReferenceRecord& r = Segments[k];
    const int32_t w = r.End - r.Start;
    r.Lines = 1;
    r.MaxWidth = w;
    r.Area = w;
    r.Colour = 0;
    r.OwnLines = 1;
    r.OwnArea = w;
    r.Group = 0;
    r.LeftAngle = r.RightAngle = 0;
    r.RunArea = 0;
    r.Shape = 0;
    r.MinLeft = r.Start;
    r.MaxRight = r.End;
    r.OutlineLine = 1;
    r.Outline.assign(1, {static_cast<int16_t>(r.Start), static_cast<int16_t>(r.End), 1});
  }

  void continueObject() {
    ++events.continued;
    const ReferenceRecord& p = PreviousObjects[i_];
    const ReferenceRecord seg = Segments[j_];
    ReferenceRecord r = p;
    const int32_t w = seg.End - seg.Start;
    r.Start = seg.Start;
    r.End = seg.End;
    r.Lines = p.Lines + 1;
    r.OwnLines = p.OwnLines + 1;
    r.MaxWidth = std::max(p.MaxWidth, w);
    r.Area = p.Area + w;
    r.OwnArea = p.OwnArea + w;
    r.MinLeft = std::min(p.MinLeft, seg.Start);
    r.MaxRight = std::max(p.MaxRight, seg.End);
    extend(r, seg.Start, seg.End);
    const int32_t aL = angle(int64_t{seg.Start} - p.Start);
    const int32_t aR = angle(int64_t{seg.End} - p.End);
    if (p.Lines == 1) {
      r.LeftAngle = aL;
      r.RightAngle = aR;
    } else {
      const int64_t sm = AngleSmoothing[c_];
      r.LeftAngle = static_cast<int32_t>((aL * sm + (100 - sm) * p.LeftAngle) / 100);
      r.RightAngle = static_cast<int32_t>((aR * sm + (100 - sm) * p.RightAngle) / 100);
    }
    // E: the shape state.
    const int64_t spread = int64_t{r.RightAngle} - r.LeftAngle;
    const int64_t limit = int64_t{MinArea[c_]} * AreaFactor;
    bool holds = false;
    if (p.Shape == 0 || p.Shape == 2) holds = spread > AngleThreshold;
    if (p.Shape == 1) holds = spread < -AngleThreshold;
    r.RunArea = holds ? p.RunArea + w : 0;
    if (holds && r.RunArea > limit) {
      if (p.Shape == 0) {
        r.Shape = 1;
        r.RunArea = 0;
      } else if (p.Shape == 1) {
        r.Shape = 2;
        r.RunArea = 0;
      } else {
        r.Shape = 3;
      }
    }
    Segments[j_] = r;
    if (j_ <= SegmentCount) ++j_;
  }

  bool sizeTest(const ReferenceRecord& p) const {
    const int c = c_;
    return MinLength[c] <= p.Lines && p.Lines < MaxLength[c] && MinBreadth[c] <= p.MaxWidth &&
           p.MaxWidth < MaxBreadth[c] && MinArea[c] <= p.Area && p.Area < MaxArea[c];
  }

  void endObject() {
    ++events.ended;
    ReferenceRecord& p = PreviousObjects[i_];
    const int c = c_;
    if (p.Group == 0) {
      if (sizeTest(p)) accept(p);
    } else if (sizeTest(p) && (MinLength[c] + 2) / 3 < p.OwnLines && MinArea[c] / 4 <= p.OwnArea) {
      accept(p);
    } else {
      release(p, i_ + 1);
    }
  }

  void accept(const ReferenceRecord& p) {
    ++events.accepted;
    const int c = c_;
    ++ObjectTotal;
    ++FinishedCount;
    FinishedObjects[FinishedCount] = p;
    if (trace_) {
      *trace_ << LineCounter << " :" << p.Lines << " :" << p.MaxWidth << " :" << p.Area
              << "   :" << MinLength[c] << " :" << MinBreadth[c] << " :" << MinArea[c]
              << "   :" << MaxLength[c] << " :" << MaxBreadth[c] << " :" << MaxArea[c]
              << "   :" << std::llround(AvgLength[c]) << " :" << std::llround(AvgBreadth[c])
              << " :" << std::llround(AvgArea[c]) << '\n';
    }
    const double n = 3000;
    AvgLength[c] = (n - 1) * AvgLength[c] / n + p.Lines / n;
    AvgBreadth[c] = (n - 1) * AvgBreadth[c] / n + p.MaxWidth / n;
    AvgArea[c] = (n - 1) * AvgArea[c] / n + p.Area / n;
  }

  bool substantial(const ReferenceRecord& p) const {
    const int c = c_;
    return (p.OwnArea >= MinArea[c] / 2 && p.OwnLines > (MinLength[c] + 1) / 2) ||
           (p.Area >= MinArea[c] && p.Lines > MinLength[c] + 1);
  }

  void merge(int e) {
    int k = i_;
    while (k < e) {
      const ReferenceRecord& left = PreviousObjects[k];
      const ReferenceRecord& right = PreviousObjects[k + 1];
      if (substantial(left) && substantial(right) &&
          left.RightAngle - right.LeftAngle < kMergeAngleLimit &&
          SegmentCount + (k - i_) < kMaxSegments) {
        ++events.pairsKeptApart;
        ++k;
      } else {
        absorb(k);
        --e;
      }
    }
    if (e == i_) {
      ++events.mergesIntoOne;
      ReferenceRecord r = PreviousObjects[i_];
      extend(r, Segments[j_].Start, Segments[j_].End);
      Segments[j_] = r;
      if (j_ <= SegmentCount) ++j_;
      return;
    }
    ++events.mergesCut;
    const int x = e - i_;
    const int32_t s0 = Segments[j_].Start;
    const int32_t pw = (Segments[j_].End - Segments[j_].Start) / (x + 1);
    const int32_t g = GapLimit[c_] / 2;
    for (int k2 = SegmentCount; k2 > j_; --k2) Segments[k2 + x] = Segments[k2];
    SegmentCount += x;
    for (int p = 0; p <= x; ++p) {
      const ReferenceRecord& q = PreviousObjects[i_ + p];
      ReferenceRecord r = q;
      r.Start = s0 + p * pw + g;
      r.End = s0 + (p + 1) * pw - g;
      const int32_t w = r.End - r.Start;
      r.Lines = q.Lines + 1;
      r.OwnLines = q.OwnLines + 1;
      r.Area = q.Area + w;
      r.OwnArea = q.OwnArea + w;
      r.LeftAngle = r.RightAngle = 0;
      r.RunArea = 0;
      extend(r, r.Start, r.End);
      Segments[j_ + p] = r;
    }
    Segments[j_].LeftAngle = PreviousObjects[i_].LeftAngle;
    Segments[j_ + x].RightAngle = PreviousObjects[e].RightAngle;
    i_ = e;
    j_ += x;
    if (j_ <= SegmentCount) ++j_;
  }

  void absorb(int k) {
    ++events.absorbed;
    ReferenceRecord& t = PreviousObjects[k];
    ReferenceRecord& r = PreviousObjects[k + 1];
    append(t, r, 1, r.outlineCount());
    if (r.Shape > t.Shape) {
      t.Shape = r.Shape;
      t.RunArea = r.RunArea;
    }
    t.Lines = std::max(t.Lines, r.Lines) + 1;
    t.End = r.End;
    t.MaxWidth = t.End - t.Start;
    t.MaxRight = r.MaxRight;
    if (r.Group > 0) {
      release(r, k + 2);
    } else {
      t.Area += r.Area;
      t.OwnArea += r.OwnArea;
      t.OwnLines = std::max(t.OwnLines, r.OwnLines);
    }
    for (int m = k + 1; m < PreviousCount; ++m) PreviousObjects[m] = PreviousObjects[m + 1];
    --PreviousCount;
  }

  void split(int n) {
    ++events.splits;
    if (n >= 3) ++events.threeWaySplits;
    const ReferenceRecord p = PreviousObjects[i_];
    int32_t group = p.Group;
    if (group <= 0) {
      group = 1;
      for (bool used = true; used; ) {
        used = false;
        for (int k = 1; k <= j_; ++k) used |= Segments[k].Group == group;
        for (int k = i_; k <= PreviousCount; ++k) used |= PreviousObjects[k].Group == group;
        if (used) ++group;
      }
    }
    const int f = j_ + n - 1;
    for (int m = j_; m <= f; ++m) {
      ReferenceRecord r = p;
      r.Start = Segments[m].Start;
      r.End = Segments[m].End;
      r.Area = p.Area / n;
      r.Lines = p.Lines + 1;
      r.MaxWidth = p.MaxWidth;
      r.Colour = 0;
      r.Group = group;
      r.OwnLines = 1;
      r.OwnArea = r.End - r.Start;
      extend(r, r.Start, r.End);
      Segments[m] = r;
    }
    Segments[j_].RightAngle = 0;
    Segments[f].LeftAngle = 0;
    j_ = f + 1;
  }

  // L: x leaves its group; members are Segments[1..j] and the tracked objects
  // from firstTracked on.
  void release(ReferenceRecord& x, int firstTracked) {
    std::vector<ReferenceRecord*> members;
    for (int k = 1; k <= j_ && k <= SegmentCount; ++k) {
      if (Segments[k].Group == x.Group) members.push_back(&Segments[k]);
    }
    for (int k = firstTracked; k <= PreviousCount; ++k) {
      if (PreviousObjects[k].Group == x.Group) members.push_back(&PreviousObjects[k]);
    }
    const int n = static_cast<int>(members.size());
    const int first = std::max(x.outlineCount() - x.OwnLines, 1);
    const int last = std::min(x.outlineCount(), kLimit - 1);
    if (n == 0) ++events.releasedToNone;
    if (n == 1) {
      ++events.releasedToOne;
      ReferenceRecord& m = *members[0];
      m.Group = 0;
      m.Area += x.Area;
      m.OwnArea = m.Area;
      m.OwnLines = m.Lines;
      m.MinLeft = std::min(m.MinLeft, x.MinLeft);
      m.MaxRight = std::max(m.MaxRight, x.MaxRight);
      append(m, x, first, last);
    } else if (n > 1) {
      ++events.releasedToMany;
      int32_t ownArea = members[0]->OwnArea;
      int32_t ownLines = members[0]->OwnLines;
      for (const ReferenceRecord* m : members) {
        ownArea = std::max(ownArea, m->OwnArea);
        ownLines = std::max(ownLines, m->OwnLines);
      }
      for (ReferenceRecord* m : members) {
        m->Area += x.Area / n;
        m->OwnArea = ownArea;
        m->OwnLines = ownLines;
        append(*m, x, first, last);
      }
    }
    x.Group = 0;
  }

  std::ostream* trace_ = nullptr;
  int i_ = 1, j_ = 1, c_ = 1;
};

#endif  // TINDAVEL_TESTS_ANALYSIS_REFERENCE_LINE_PASS_H_
