#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/line_analysis.h"
#include "detection_fixture.h"

namespace {

using LineTest = DetectionTest;

// ---- Ending objects ----

TEST_F(LineTest, EmptyLineEndsEveryObjectAndAcceptsThoseThatPass) {
  d.MinLength[1] = 3;
  lines(2, 300, 310);       // object B starts later, lasts 2 lines only
  line({{100, 120}, {300, 310}});
  line({{100, 120}, {300, 310}});
  line({{100, 120}});       // A: 3 lines; B ends here after 4 lines
  ASSERT_EQ(d.FinishedCount, 1);
  EXPECT_EQ(d.FinishedObjects[1].Start, 300);
  EXPECT_EQ(d.FinishedObjects[1].Lines, 4);
  line({});
  EXPECT_EQ(d.PreviousCount, 0);
  ASSERT_EQ(d.FinishedCount, 1);
  EXPECT_EQ(d.FinishedObjects[1].Lines, 3);
  EXPECT_EQ(d.FinishedObjects[1].Area, 60);
  EXPECT_EQ(d.ObjectTotal, 2);
  line({});
  EXPECT_EQ(d.FinishedCount, 0) << "the finished table holds the last line only";
}

TEST_F(LineTest, EmptyLineDropsObjectsThatFailTheSizeTest) {
  d.MinLength[1] = 5;
  lines(4, 100, 120);
  line({});
  EXPECT_EQ(d.FinishedCount, 0);
  EXPECT_EQ(d.PreviousCount, 0);
  EXPECT_EQ(d.ObjectTotal, 0);
}

TEST_F(LineTest, TouchingSegmentsDoNotContinueAnObject) {
  lines(3, 100, 120);
  line({{90, 100}, {120, 130}});  // touch on the left and on the right
  ASSERT_EQ(d.FinishedCount, 1) << "nothing overlapped the object, so it ended";
  EXPECT_EQ(d.FinishedObjects[1].Lines, 3);
  ASSERT_EQ(d.PreviousCount, 2);
  EXPECT_EQ(d.PreviousObjects[1].Lines, 1);
  EXPECT_EQ(d.PreviousObjects[2].Lines, 1);
  line({{99, 101}});  // one pixel of overlap is enough
  EXPECT_EQ(d.PreviousObjects[1].Lines, 2);
}

TEST_F(LineTest, OneLineObjectNeedsMinLengthOfOne) {
  line({{10, 20}});
  line({});
  EXPECT_EQ(d.FinishedCount, 1);
  d.MinLength[1] = 2;
  line({{10, 20}});
  line({});
  EXPECT_EQ(d.FinishedCount, 0);
  d.MinLength[1] = 0;
  line({{10, 20}});
  line({});
  EXPECT_EQ(d.FinishedCount, 1);
}

// Each limit is half-open: the minimum passes, the maximum does not.
// Limits: length 3..6, breadth 10..20, area 30..80.
TEST_F(LineTest, SizeLimitsAreHalfOpen) {
  struct Row {
    const char* name;
    int lines;
    int width;
    bool accepted;
  };
  const Row rows[] = {
      {"length at minimum", 3, 12, true},   {"length at maximum", 6, 12, false},
      {"length below minimum", 2, 19, false}, {"breadth at minimum", 4, 10, true},
      {"breadth at maximum", 3, 20, false}, {"breadth below minimum", 5, 9, false},
      {"area at minimum", 3, 10, true},     {"area at maximum", 4, 20, false},
      {"area just below maximum", 4, 19, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    d.MinLength[1] = 3;
    d.MaxLength[1] = 6;
    d.MinBreadth[1] = 10;
    d.MaxBreadth[1] = 21;
    d.MinArea[1] = 30;
    d.MaxArea[1] = 80;
    if (std::string(row.name).find("breadth") != std::string::npos) d.MaxBreadth[1] = 20;
    lines(row.lines, 100, 100 + row.width);
    line({});
    EXPECT_EQ(d.FinishedCount, row.accepted ? 1 : 0)
        << "lines " << row.lines << " width " << row.width;
  }
}

// ---- Splits ----

TEST_F(LineTest, ForkGivesTwoPiecesOfOneGroupAndAreaGoesBackToSurvivor) {
  lines(3, 100, 120);
  line({{100, 108}, {112, 120}});
  ASSERT_EQ(d.PreviousCount, 2);
  const ObjectRecord& left = d.PreviousObjects[1];
  const ObjectRecord& right = d.PreviousObjects[2];
  EXPECT_GT(left.Group, 0);
  EXPECT_EQ(left.Group, right.Group);
  EXPECT_EQ(left.Area + right.Area, 60) << "the pieces share the area before the fork";
  EXPECT_EQ(left.Lines, 4);
  EXPECT_EQ(left.OwnLines, 1);
  EXPECT_EQ(left.OwnArea, 8);
  EXPECT_EQ(left.RightAngle, 0) << "inner edges are new";
  EXPECT_EQ(right.LeftAngle, 0);
  const int leftArea = left.Area;
  const int rightArea = right.Area;

  // The left piece ends at once: too little of its own, so it is released.
  line({{112, 120}});
  EXPECT_EQ(d.FinishedCount, 0);
  ASSERT_EQ(d.PreviousCount, 1);
  const ObjectRecord& survivor = d.PreviousObjects[1];
  EXPECT_EQ(survivor.Group, 0) << "the last member leaves the group";
  EXPECT_EQ(survivor.Area, rightArea + leftArea + 8);
  EXPECT_EQ(survivor.MinLeft, 100);
  EXPECT_EQ(survivor.Lines, 5);
  EXPECT_EQ(survivor.OwnLines, 5);
  line({});
  EXPECT_EQ(d.FinishedCount, 1);
  EXPECT_EQ(d.ObjectTotal, 1) << "one fish, not two";
}

TEST_F(LineTest, ForkPiecesThatGrowOnTheirOwnAreBothCounted) {
  d.MinLength[1] = 4;
  lines(5, 100, 140);
  for (int n = 0; n < 6; ++n) line({{100, 115}, {125, 140}});
  line({});
  EXPECT_EQ(d.FinishedCount, 2);
}

TEST_F(LineTest, ThreeWayForkPiecesShareTheAreaEvenly) {
  lines(2, 100, 160);  // area 120
  line({{100, 110}, {120, 130}, {140, 160}});
  ASSERT_EQ(d.PreviousCount, 3);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(d.PreviousObjects[k].Area, 40);
    EXPECT_EQ(d.PreviousObjects[k].Group, d.PreviousObjects[1].Group);
    EXPECT_EQ(d.PreviousObjects[k].OutlineCount, 3) << "each piece keeps the outline";
  }
}

TEST_F(LineTest, PieceLeavingAGroupOfThreeSharesItsAreaWithBoth) {
  lines(2, 100, 160);
  line({{100, 110}, {120, 130}, {140, 160}});  // 40 each
  line({{100, 110}, {140, 160}});               // the middle piece ends too small
  EXPECT_EQ(d.FinishedCount, 0);
  ASSERT_EQ(d.PreviousCount, 2);
  const ObjectRecord& left = d.PreviousObjects[1];
  const ObjectRecord& right = d.PreviousObjects[2];
  EXPECT_EQ(left.Area, 40 + 10 + 20);
  EXPECT_EQ(right.Area, 40 + 20 + 20);
  EXPECT_EQ(left.Group, right.Group) << "two members left: they stay a group";
  EXPECT_GT(left.Group, 0);
  EXPECT_EQ(left.OwnLines, 2) << "the largest of the members";
  EXPECT_EQ(right.OwnLines, 3);
  EXPECT_EQ(left.OwnArea, 20);
  EXPECT_EQ(right.OwnArea, 40);
}

// The counter's own arithmetic, kept so that a re-count agrees with it: the
// last piece of a fork, absorbed into its sibling, finds no other member to
// give its area to, and the area is lost.
TEST_F(LineTest, AbsorbedGroupMemberWithNoOtherMemberLeavesItsAreaBehind) {
  d.MinArea[1] = 1000;  // no piece is substantial: the merge absorbs
  lines(3, 100, 120);
  line({{100, 108}, {112, 120}});  // 30 each
  line({{100, 120}});
  ASSERT_EQ(d.PreviousCount, 1);
  EXPECT_EQ(d.PreviousObjects[1].Area, 30);
  EXPECT_GT(d.PreviousObjects[1].Group, 0);
  EXPECT_EQ(d.PreviousObjects[1].End, 120);
}

// A released piece hands on its outline entries from the one before the split
// to its last, but never entry 2000 (the counter's table ends before it).
TEST_F(LineTest, ReleasedPieceHandsOnItsEntriesSinceTheSplitButNotEntry2000) {
  d.MinLength[1] = 10;  // a piece needs more than 4 lines of its own
  ObjectRecord& x = d.PreviousObjects[1];
  x = {};
  x.Lines = 2000;
  x.Start = 100;
  x.End = 110;
  x.MaxWidth = 10;
  x.MinLeft = 90;
  x.MaxRight = 120;
  x.Area = 500;
  x.OwnLines = 3;
  x.OwnArea = 30;
  x.Group = 5;
  x.OutlineCount = kOutlineLimit;
  x.OutlineLine = kOutlineLimit;
  OutlineEntry* xOutline = d.PreviousObjects.outline(1);
  for (int e = 1; e <= kOutlineLimit; ++e) xOutline[e] = {100, 110, static_cast<int16_t>(e)};
  xOutline[1997].Left = 97;
  xOutline[1999].Left = 99;
  xOutline[2000].Left = 42;
  ObjectRecord& m = d.PreviousObjects[2];
  m = {};
  m.Lines = 5;
  m.Start = 300;
  m.End = 310;
  m.MinLeft = 300;
  m.MaxRight = 310;
  m.Area = 50;
  m.OwnLines = 3;
  m.Group = 5;
  m.OutlineCount = 5;
  m.OutlineLine = 5;
  for (int e = 1; e <= 5; ++e) d.PreviousObjects.outline(2)[e] = {300, 310, static_cast<int16_t>(e)};
  d.PreviousCount = 2;

  line({{300, 310}});  // x ends with too few lines of its own; m goes on
  EXPECT_EQ(d.FinishedCount, 0);
  ASSERT_EQ(d.PreviousCount, 1);
  const ObjectRecord& r = d.PreviousObjects[1];
  EXPECT_EQ(r.Group, 0);
  EXPECT_EQ(r.Area, 50 + 500 + 10);
  EXPECT_EQ(r.MinLeft, 90);
  EXPECT_EQ(r.MaxRight, 310);
  ASSERT_EQ(r.OutlineCount, 5 + 3 + 1) << "entries 1997 to 1999, then the new line";
  const OutlineEntry* outline = d.PreviousObjects.outline(1);
  EXPECT_EQ(outline[6].Left, 97);
  EXPECT_EQ(outline[6].Line, 5 - 2000 + 1997);
  EXPECT_EQ(outline[8].Left, 99);
  EXPECT_EQ(outline[9].Left, 300);
  EXPECT_EQ(outline[9].Line, 6);
}

TEST_F(LineTest, SeparateForksGetDifferentGroups) {
  lines(2, 100, 120);
  line({{100, 108}, {112, 120}});
  const int firstGroup = d.PreviousObjects[1].Group;
  line({{100, 108}, {112, 120}, {300, 320}});
  line({{100, 108}, {112, 120}, {300, 308}, {312, 320}});
  ASSERT_EQ(d.PreviousCount, 4);
  EXPECT_EQ(d.PreviousObjects[3].Group, d.PreviousObjects[4].Group);
  EXPECT_NE(d.PreviousObjects[3].Group, firstGroup);
  EXPECT_GT(d.PreviousObjects[3].Group, 0);
}

// ---- Merges ----

TEST_F(LineTest, MergeOfTwoFishCutsTheSegmentInEqualPiecesWithTheGapKept) {
  d.GapLimit[1] = 4;
  for (int n = 0; n < 3; ++n) line({{100, 110}, {120, 130}});
  line({{100, 130}});
  ASSERT_EQ(d.PreviousCount, 2) << "both were substantial: kept apart";
  const ObjectRecord& a = d.PreviousObjects[1];
  const ObjectRecord& b = d.PreviousObjects[2];
  EXPECT_EQ(a.End - a.Start, b.End - b.Start) << "equal pieces";
  EXPECT_EQ(a.Start, 100 + 2);
  EXPECT_EQ(b.End, 130 - 2);
  EXPECT_EQ(b.Start - a.End, 4) << "GapLimit div 2 free on each side of the cut";
  EXPECT_EQ(a.Lines, 4);
  EXPECT_EQ(b.Lines, 4);
  EXPECT_EQ(a.Area, 30 + (a.End - a.Start));
  line({});
  EXPECT_EQ(d.FinishedCount, 2);
}

TEST_F(LineTest, MergeWithASmallNeighbourAbsorbsIt) {
  d.MinArea[1] = 100;  // neither object is substantial yet
  for (int n = 0; n < 3; ++n) line({{100, 110}, {120, 126}});
  line({{100, 130}});
  ASSERT_EQ(d.PreviousCount, 1);
  const ObjectRecord& r = d.PreviousObjects[1];
  // The survivor keeps its own record, spanning both absorbed objects as they
  // were on the line before.
  EXPECT_EQ(r.Start, 100);
  EXPECT_EQ(r.End, 126);
  EXPECT_EQ(r.MaxWidth, 26);
  EXPECT_EQ(r.Lines, 4);
  EXPECT_EQ(r.Area, 30 + 18);
  EXPECT_EQ(r.OutlineCount, 3 + 3 + 1);
  line({{100, 130}});
  EXPECT_EQ(d.PreviousObjects[1].Lines, 5);
}

TEST_F(LineTest, AbsorbIntoAnOutlineWithANegativeCountWritesNothing) {
  d.MinArea[1] = 100;
  for (int n = 0; n < 3; ++n) line({{100, 110}, {120, 126}});
  d.PreviousObjects[1].OutlineCount = -40;  // a hostile caller's record
  line({{100, 130}});  // the neighbour is absorbed: its entries have no place
  ASSERT_EQ(d.PreviousCount, 1);
  EXPECT_EQ(d.PreviousObjects[1].OutlineCount, -40);
  EXPECT_EQ(d.PreviousObjects[1].Lines, 4);
}

TEST_F(LineTest, MergeOfThreeObjects) {
  for (int n = 0; n < 3; ++n) line({{100, 110}, {120, 130}, {140, 150}});
  line({{100, 151}});
  ASSERT_EQ(d.PreviousCount, 3);
  EXPECT_EQ(d.PreviousObjects[1].Start, 100);
  EXPECT_EQ(d.PreviousObjects[2].Start, 117);
  EXPECT_EQ(d.PreviousObjects[3].End, 151);
}

TEST_F(LineTest, WideOpeningNeighboursAreAbsorbed) {
  // Edges that spread fast: the right edge of the left object and the left
  // edge of the right one point at each other by more than 115 degrees.
  line({{100, 110}, {130, 140}});
  line({{100, 114}, {126, 140}});
  ASSERT_GE(d.PreviousObjects[1].RightAngle - d.PreviousObjects[2].LeftAngle, 115);
  line({{100, 140}});
  EXPECT_EQ(d.PreviousCount, 1);
}

// The merge test for the second object counts its segments as the first
// object's are counted: an object with Shape 3 overlaps none.
TEST_F(LineTest, NeighbourInShapeThreeDoesNotMerge) {
  line({{100, 110}, {120, 130}});
  d.PreviousObjects[2].Shape = 3;
  line({{100, 130}});
  ASSERT_EQ(d.FinishedCount, 1) << "the Shape 3 object ends";
  EXPECT_EQ(d.FinishedObjects[1].Start, 120);
  ASSERT_EQ(d.PreviousCount, 1);
  EXPECT_EQ(d.PreviousObjects[1].Lines, 2) << "the first object continues";
  EXPECT_EQ(d.PreviousObjects[1].End, 130);
}

TEST_F(LineTest, NeighbourOverlappingTwoSegmentsIsNotMerged) {
  line({{100, 110}, {120, 140}});
  line({{100, 125}, {130, 140}});
  ASSERT_EQ(d.PreviousCount, 2);
  EXPECT_EQ(d.PreviousObjects[1].Lines, 2);
  EXPECT_EQ(d.PreviousObjects[1].End, 125);
  EXPECT_EQ(d.PreviousObjects[2].Lines, 2);
  EXPECT_EQ(d.PreviousObjects[2].Start, 130);
}

// ---- Shape state ----

TEST_F(LineTest, OpenCloseOpenEndsOnTheNextLine) {
  d.MinArea[1] = 6;  // limit 12 per phase with AreaFactor 2
  line({{100, 110}});
  line({{98, 112}});  // opens: run 14 > 12
  EXPECT_EQ(d.PreviousObjects[1].Shape, 1);
  line({{100, 110}});  // closes: run 10
  line({{102, 108}});  // run 16 > 12
  EXPECT_EQ(d.PreviousObjects[1].Shape, 2);
  line({{100, 110}});
  line({{98, 112}});  // opens again: run 24 > 12
  EXPECT_EQ(d.PreviousObjects[1].Shape, 3);
  EXPECT_EQ(d.ObjectTotal, 0);
  line({{98, 112}});
  ASSERT_EQ(d.FinishedCount, 1) << "ended although a segment lies under it";
  EXPECT_EQ(d.FinishedObjects[1].Lines, 6);
  ASSERT_EQ(d.PreviousCount, 1);
  EXPECT_EQ(d.PreviousObjects[1].Lines, 1) << "the dark run starts a new object";
  EXPECT_EQ(d.PreviousObjects[1].Shape, 0);
}

TEST_F(LineTest, BrokenRunRestartsTheShapeRunArea) {
  d.MinArea[1] = 50;
  line({{100, 110}});
  line({{98, 112}});
  EXPECT_EQ(d.PreviousObjects[1].RunArea, 14);
  line({{98, 112}});  // straight edges: the run is broken
  EXPECT_EQ(d.PreviousObjects[1].RunArea, 0);
  EXPECT_EQ(d.PreviousObjects[1].Shape, 0);
}

// ---- Angles ----

TEST_F(LineTest, EdgeAngleMatchesArctanTimes57) {
  for (int x = -70000; x <= 70000; x += (std::abs(x) < 300 ? 1 : 97)) {
    ASSERT_EQ(edgeAngle(x), static_cast<int>(std::atan(static_cast<double>(x)) * 57)) << x;
  }
  EXPECT_EQ(edgeAngle(INT64_MAX), 89);
  EXPECT_EQ(edgeAngle(-INT64_MAX), -89);
}

TEST_F(LineTest, AnglesAreSmoothedFromTheSecondStep) {
  d.AngleSmoothing[1] = 33;
  line({{100, 110}});
  line({{98, 110}});  // first step: taken whole
  EXPECT_EQ(d.PreviousObjects[1].LeftAngle, edgeAngle(-2));
  line({{98, 110}});  // no shift: (0 * 33 + 67 * -63) div 100
  EXPECT_EQ(d.PreviousObjects[1].LeftAngle, (67 * edgeAngle(-2)) / 100);
  EXPECT_EQ(d.PreviousObjects[1].LeftAngle, -42) << "truncated toward zero";
}

// ---- Outline ----

TEST_F(LineTest, OutlineStopsAt2000EntriesAndTheObjectIsStillCounted) {
  lines(2100, 100, 110);
  line({});
  ASSERT_EQ(d.FinishedCount, 1);
  const ObjectRecord& r = d.FinishedObjects[1];
  EXPECT_EQ(r.Lines, 2100);
  EXPECT_EQ(r.Area, 21000);
  EXPECT_EQ(r.OutlineCount, kOutlineLimit);
  EXPECT_EQ(r.OutlineLine, kOutlineLimit);
  EXPECT_EQ(d.FinishedObjects.outline(1)[kOutlineLimit].Line, kOutlineLimit);
  EXPECT_EQ(d.FinishedObjects.outline(1)[1].Left, 100);
}

// ---- Channels ----

TEST_F(LineTest, ObjectRightOfTheLastChannelIsCountedInIt) {
  s.NrChannels = 2;
  s.ChannelPositions[1] = {0, 200, 500};
  s.ChannelPositions[2] = {210, 400, 500};
  s.ChannelPositions[3] = {0, 0, 0};  // unused entries must not be walked into
  line({{50, 60}, {205, 208}, {300, 310}, {450, 460}, {600, 610}});
  line({});
  ASSERT_EQ(d.FinishedCount, 5);
  ChannelArray<int32_t> counts{};
  countFinishedObjects(d, s, counts);
  EXPECT_EQ(counts[1], 1);
  EXPECT_EQ(counts[2], 4) << "the gap goes right, beyond the end goes to the last";
  EXPECT_EQ(counts[3] + counts[4] + counts[0], 0);
  EXPECT_EQ(d.CurrentChannel, 2);
}

TEST_F(LineTest, EachChannelAppliesItsOwnLimits) {
  s.NrChannels = 2;
  s.ChannelPositions[1] = {0, 200, 500};
  s.ChannelPositions[2] = {201, 511, 500};
  d.MinLength[2] = 5;
  lines(3, 100, 110);
  line({});
  EXPECT_EQ(d.FinishedCount, 1);
  lines(3, 300, 310);
  line({});
  EXPECT_EQ(d.FinishedCount, 0);
}

// ---- Trace ----

TEST_F(LineTest, TraceLineHasTheFieldsInOrderWithMeansRounded) {
  d.LineCounter = 1234;
  d.MinLength[1] = 3;
  d.MinBreadth[1] = 1;
  d.MinArea[1] = 6;
  d.MaxLength[1] = 150;
  d.MaxBreadth[1] = 20;
  d.MaxArea[1] = 3000;
  d.AvgLength[1] = 15;
  d.AvgBreadth[1] = 7;
  d.AvgArea[1] = 52.5;
  std::ostringstream trace;
  lines(4, 100, 110);
  line({}, &trace);
  EXPECT_EQ(trace.str(), "1234 :4 :10 :40   :3 :1 :6   :150 :20 :3000   :15 :7 :53\n");
  d.AvgArea[1] = -52.5;
  d.AvgBreadth[1] = -0.4;
  lines(4, 100, 110);
  EXPECT_EQ(traceLine(d, d.PreviousObjects[1], 1),
            "1234 :4 :10 :40   :3 :1 :6   :150 :20 :3000   :15 :0 :-53");
}

TEST_F(LineTest, NoTraceWhileClosedAndOneLinePerAcceptedObject) {
  std::ostringstream trace;
  line({{10, 20}, {30, 40}});
  line({}, nullptr);
  EXPECT_EQ(d.FinishedCount, 2);
  line({{10, 20}, {30, 40}, {50, 52}});
  d.MinBreadth[1] = 5;
  line({}, &trace);
  EXPECT_EQ(d.FinishedCount, 2);
  const std::string text = trace.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

// ---- Tables ----

TEST_F(LineTest, SegmentsAreClearedAndCountKept) {
  line({{10, 20}, {30, 40}});
  EXPECT_EQ(d.SegmentCount, 2);
  EXPECT_EQ(d.Segments[1].Start, 0);
  EXPECT_EQ(d.Segments[2].Lines, 0);
  EXPECT_EQ(d.Segments[2].OutlineCount, 0);
}

TEST_F(LineTest, HostileCountsAreClamped) {
  d.SegmentCount = 100000;
  d.PreviousCount = -5;
  for (int k = 1; k <= kMaxSegments; ++k) {
    d.Segments[k].Start = 4 * k;
    d.Segments[k].End = 4 * k + 2;
  }
  porun(d, s);
  EXPECT_EQ(d.PreviousCount, kMaxSegments);
  d.SegmentCount = -1;
  porun(d, s);
  EXPECT_EQ(d.PreviousCount, 0);
  EXPECT_EQ(d.FinishedCount, kMaxSegments) << "every object that ends fits";
  EXPECT_EQ(d.ObjectTotal, kMaxSegments);
}

TEST_F(LineTest, MergesThatWouldOverfillTheTableAbsorbInstead) {
  // 250 pairs of fish, each pair running into one segment, and 150 more
  // segments beside them: keeping every pair apart needs 650 places.
  for (int n = 0; n < 3; ++n) {
    d.SegmentCount = 500;
    for (int k = 1; k <= 500; ++k) {
      d.Segments[k].Start = 20 * k;
      d.Segments[k].End = 20 * k + 5;
    }
    porun(d, s);
  }
  d.SegmentCount = 500;
  for (int k = 1; k <= 250; ++k) {
    d.Segments[k].Start = 40 * k - 20;
    d.Segments[k].End = 40 * k + 5;
  }
  for (int k = 251; k <= 400; ++k) {
    d.Segments[k].Start = 20000 + 20 * k;
    d.Segments[k].End = 20000 + 20 * k + 5;
  }
  d.SegmentCount = 400;
  porun(d, s);
  EXPECT_EQ(d.PreviousCount, kMaxSegments) << "the table is filled, never overfilled";
  EXPECT_EQ(d.FinishedCount, 0) << "no object lost: absorbed ones live on in their neighbour";
  // The first 100 pairs were kept apart, the rest absorbed.
  EXPECT_EQ(d.PreviousObjects[1].MaxWidth, 5) << "a piece: one fish of the pair";
  EXPECT_EQ(d.PreviousObjects[2].Start, d.PreviousObjects[1].End);
  EXPECT_EQ(d.PreviousObjects[200].End, 40 * 100 - 20 + 2 * 12) << "pieces of 25 div 2";
  EXPECT_EQ(d.PreviousObjects[201].Start, 40 * 101 - 20);
  EXPECT_EQ(d.PreviousObjects[201].MaxWidth, 25) << "the pair as one object";
}

}  // namespace
