// The engine against a plain model of the same rules (reference_line_pass.h),
// line by line over random crowded streams: every prepared segment, every
// field of every tracked and finished object (outlines included), the counts,
// the running means and the trace must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/line_analysis.h"
#include "analysis/segment_preparation.h"
#include "analysis/size_classification.h"
#include "analysis/viewer_counts.h"
#include "reference_line_pass.h"

namespace {

using RawRun = std::pair<int, int>;

// Dark runs that wander, widen and narrow, fork, join, die and are born, on
// a short line so that they meet often.
class WanderingRuns {
 public:
  struct Blob {
    int start, end;
    int driftLeft, driftRight;  // pixels per line, changed now and then
  };

  WanderingRuns(unsigned seed, int width, double deathChance)
      : rng_(seed), width_(width), deathChance_(deathChance) {}

  int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }

  std::vector<RawRun> next() {
    if (blobs_.size() < 14 && chance(0.06)) {
      const int start = uniform(0, width_ - 10);
      blobs_.push_back({start, start + uniform(2, 12), 0, 0});
    }
    std::vector<Blob> out;
    for (Blob b : blobs_) {
      if (chance(deathChance_)) continue;
      if (chance(0.08)) {  // a new phase: opening, closing, drifting or still
        const int kind = uniform(0, 3);
        b.driftLeft = kind == 0 ? -1 : kind == 1 ? 1 : kind == 2 ? uniform(-2, 2) : 0;
        b.driftRight = kind == 0 ? 1 : kind == 1 ? -1 : kind == 2 ? b.driftLeft : 0;
      }
      b.start += b.driftLeft + (chance(0.2) ? uniform(-1, 1) : 0);
      b.end += b.driftRight + (chance(0.2) ? uniform(-1, 1) : 0);
      b.start = std::clamp(b.start, 0, width_ - 2);
      b.end = std::clamp(b.end, b.start + 1, width_);
      if (b.end - b.start > 60) b.driftRight = -1;
      if (b.end - b.start < 3 && b.driftLeft > b.driftRight) b.driftLeft = b.driftRight = 0;
      if (b.end - b.start > 8 && chance(0.04)) {  // a fork
        const int cut = uniform(b.start + 3, b.end - 4);
        const int hole = uniform(1, 3);
        out.push_back({b.start, cut, b.driftLeft, 0});
        out.push_back({cut + hole, b.end, 0, b.driftRight});
        continue;
      }
      out.push_back(b);
    }
    std::sort(out.begin(), out.end(),
              [](const Blob& a, const Blob& b) { return a.start < b.start; });
    // Runs that overlap show as one; neighbours sometimes close the gap.
    blobs_.clear();
    for (const Blob& b : out) {
      if (!blobs_.empty() && (b.start <= blobs_.back().end ||
                              (b.start - blobs_.back().end < 4 && chance(0.05)))) {
        blobs_.back().end = std::max(blobs_.back().end, b.end);
      } else {
        blobs_.push_back(b);
      }
    }
    std::vector<RawRun> runs;
    for (const Blob& b : blobs_) {
      // Some runs reach the camera in pieces that the preparation joins again.
      if (b.end - b.start > 6 && chance(0.1)) {
        const int cut = (b.start + b.end) / 2;
        runs.push_back({b.start, cut});
        runs.push_back({cut + 1, b.end});
      } else {
        runs.push_back({b.start, b.end});
      }
      if (chance(0.03)) runs.push_back({b.end + 5, b.end + 6});  // a speck
    }
    std::sort(runs.begin(), runs.end());
    return runs;
  }

 private:
  std::mt19937 rng_;
  int width_;
  double deathChance_;
  std::vector<Blob> blobs_;
};

// Record k of `table` against the model's record.
::testing::AssertionResult same(const RecordTable& table, int k, const ReferenceRecord& b) {
  const ObjectRecord& a = table[k];
  const std::pair<const char*, std::pair<int32_t, int32_t>> fields[] = {
      {"Lines", {a.Lines, b.Lines}},
      {"Start", {a.Start, b.Start}},
      {"End", {a.End, b.End}},
      {"MaxWidth", {a.MaxWidth, b.MaxWidth}},
      {"MinLeft", {a.MinLeft, b.MinLeft}},
      {"MaxRight", {a.MaxRight, b.MaxRight}},
      {"Area", {a.Area, b.Area}},
      {"Colour", {a.Colour, b.Colour}},
      {"OwnLines", {a.OwnLines, b.OwnLines}},
      {"OwnArea", {a.OwnArea, b.OwnArea}},
      {"Group", {a.Group, b.Group}},
      {"LeftAngle", {a.LeftAngle, b.LeftAngle}},
      {"RightAngle", {a.RightAngle, b.RightAngle}},
      {"RunArea", {a.RunArea, b.RunArea}},
      {"Shape", {a.Shape, b.Shape}},
      {"OutlineCount", {a.OutlineCount, b.outlineCount()}},
      {"OutlineLine", {a.OutlineLine, b.OutlineLine}},
  };
  for (const auto& [name, values] : fields) {
    if (values.first != values.second) {
      return ::testing::AssertionFailure()
             << name << ": engine " << values.first << ", model " << values.second;
    }
  }
  for (int e = 1; e <= a.OutlineCount; ++e) {
    const OutlineEntry& x = table.outline(k)[e];
    const OutlineEntry& y = b.entry(e);
    if (x.Left != y.Left || x.Right != y.Right || x.Line != y.Line) {
      return ::testing::AssertionFailure()
             << "outline entry " << e << ": engine " << x.Left << "," << x.Right << "," << x.Line
             << ", model " << y.Left << "," << y.Right << "," << y.Line;
    }
  }
  return ::testing::AssertionSuccess();
}

class ReferenceModelTest : public ::testing::Test {
 protected:
  ReferenceModelTest() : state(std::make_unique<DetectionState>()), d(*state) {}

  void configure(std::mt19937& rng) {
    auto uniform = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    s = SettingsVariables{};
    s.NrChannels = uniform(1, 4);
    s.LeftEdge = 0;
    s.RightEdge = 400;
    const int widths[] = {500, 1000, 1400};
    s.ChannelWidthMm = widths[uniform(0, 2)];
    int begin = 0;
    for (int k = 1; k <= s.NrChannels; ++k) {
      const int end = k == s.NrChannels ? s.RightEdge : begin + 400 / s.NrChannels - 6;
      s.ChannelPositions[k] = {begin, end, 0};
      begin = end + 12;
      s.SizeGroup[k] = uniform(0, 9);
    }
    setDetectionConstants(d, s.ChannelWidthMm);
    for (int c = 1; c <= kMaxChannels; ++c) stillafiskiflokk(c, d, s, 0, false);
    if (uniform(0, 2) > 0) {
      // Small limits: more objects are substantial, accepted and shaped.
      for (int c = 1; c <= kMaxChannels; ++c) {
        d.MinWidth[c] = uniform(0, 2);
        d.GapLimit[c] = uniform(0, 5);
        d.MinLength[c] = uniform(1, 6);
        d.MaxLength[c] = uniform(20, 400);
        d.MinBreadth[c] = uniform(0, 3);
        d.MaxBreadth[c] = uniform(15, 80);
        d.MinArea[c] = uniform(2, 40);
        d.MaxArea[c] = uniform(200, 20000);
        d.AngleSmoothing[c] = uniform(20, 100);
      }
      d.AreaFactor = uniform(1, 2);
      d.AngleThreshold = uniform(5, 20);
    }
    model.takeParameters(d);
  }

  void feed(const std::vector<RawRun>& runs) {
    const int n = static_cast<int>(std::min<size_t>(runs.size(), kMaxSegments));
    for (int k = 1; k <= n; ++k) {
      d.Segments[k].Start = model.Segments[k].Start = runs[k - 1].first;
      d.Segments[k].End = model.Segments[k].End = runs[k - 1].second;
    }
    d.SegmentCount = model.SegmentCount = n;
    prepareSegments(d, s);
    model.prepare(s);
    ASSERT_EQ(d.SegmentCount, model.SegmentCount);
    ASSERT_EQ(d.CurrentChannel, model.CurrentChannel);
    for (int k = 1; k <= d.SegmentCount; ++k) {
      ASSERT_EQ(d.Segments[k].Start, model.Segments[k].Start) << "segment " << k;
      ASSERT_EQ(d.Segments[k].End, model.Segments[k].End) << "segment " << k;
    }

    d.LineCounter = ++model.LineCounter;
    std::ostringstream engineTrace, modelTrace;
    porun(d, s, &engineTrace);
    model.porun(s, &modelTrace);
    ASSERT_EQ(engineTrace.str(), modelTrace.str());
    ASSERT_EQ(d.CurrentChannel, model.CurrentChannel);
    ASSERT_EQ(d.PreviousCount, model.PreviousCount);
    ASSERT_EQ(d.SegmentCount, model.SegmentCount);
    ASSERT_EQ(d.FinishedCount, model.FinishedCount);
    ASSERT_EQ(d.ObjectTotal, model.ObjectTotal);
    for (int k = 1; k <= d.PreviousCount; ++k) {
      ASSERT_TRUE(same(d.PreviousObjects, k, model.PreviousObjects[k])) << "tracked " << k;
    }
    for (int k = 1; k <= d.FinishedCount; ++k) {
      ASSERT_TRUE(same(d.FinishedObjects, k, model.FinishedObjects[k])) << "finished " << k;
    }
    for (int c = 1; c <= kMaxChannels; ++c) {
      ASSERT_EQ(d.AvgLength[c], model.AvgLength[c]) << c;
      ASSERT_EQ(d.AvgBreadth[c], model.AvgBreadth[c]) << c;
      ASSERT_EQ(d.AvgArea[c], model.AvgArea[c]) << c;
    }
    ChannelArray<int32_t> engineCounts{}, modelCounts{};
    countFinishedObjects(d, s, engineCounts);
    model.count(s, modelCounts);
    ASSERT_EQ(engineCounts, modelCounts);
    ASSERT_EQ(d.CurrentChannel, model.CurrentChannel);
  }

  // With `shapes` off no edge spread advances the shape state and no run is
  // too narrow to keep (the automatic limits stay off), so objects last as
  // long as their runs.
  void run(unsigned seed, int scenarios, int linesPerScenario, double deathChance,
           bool shapes = true) {
    std::mt19937 rng(seed);
    ViewerCounts viewer;
    for (int scenario = 0; scenario < scenarios; ++scenario) {
      SCOPED_TRACE("scenario " + std::to_string(scenario));
      configure(rng);
      if (!shapes) {
        d.AngleThreshold = 1000;
        for (int c = 1; c <= kMaxChannels; ++c) d.MinWidth[c] = 0;
        model.takeParameters(d);
      }
      WanderingRuns runs(rng(), std::uniform_int_distribution<int>(60, 400)(rng), deathChance);
      for (int line = 0; line < linesPerScenario; ++line) {
        ASSERT_NO_FATAL_FAILURE(feed(runs.next())) << "line " << line;
        if (shapes && line % 250 == 249 && runs.chance(0.5)) {
          for (int c = 1; c <= s.NrChannels; ++c) autofiskiflokkur(c, d, viewer, false);
          model.takeParameters(d);
        }
      }
      feed({});
    }
  }

  SettingsVariables s;
  std::unique_ptr<DetectionState> state;
  DetectionState& d;
  ReferenceLinePass model;
};

TEST_F(ReferenceModelTest, CrowdedStreamsAgreeWithTheModel) {
  ASSERT_NO_FATAL_FAILURE(run(77031, 40, 1500, 0.01));
  const ReferenceEvents& e = model.events;
  // The streams must reach every rule, or the agreement proves little.
  EXPECT_GT(e.accepted, 1000);
  EXPECT_GT(e.splits, 500);
  EXPECT_GT(e.threeWaySplits, 5);
  EXPECT_GT(e.mergesIntoOne, 200);
  EXPECT_GT(e.mergesCut, 50);
  EXPECT_GT(e.pairsKeptApart, 50);
  EXPECT_GT(e.absorbed, 200);
  EXPECT_GT(e.releasedToOne, 100);
  EXPECT_GT(e.releasedToMany, 5);
  EXPECT_GT(e.releasedToNone, 20);
  EXPECT_GT(e.shapeThreeEnded, 20);
  EXPECT_GT(e.neighbourNotMerged, 20);
}

// Objects that live for thousands of lines: full outlines meet splits,
// merges and releases.
TEST_F(ReferenceModelTest, LongLivedObjectsAgreeWithTheModel) {
  ASSERT_NO_FATAL_FAILURE(run(5209, 3, 5000, 0.0002, false));
  EXPECT_GT(model.events.outlineFull, 1000);
}

}  // namespace
