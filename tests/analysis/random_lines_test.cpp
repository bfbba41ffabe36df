// Thousands of random lines, sane and hostile, through preparation, the line
// pass, the counting and the automatic limits. Whatever comes in, the tables
// stay within their places and every accepted object passed the size test of
// a channel in use.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/channel_layout.h"
#include "analysis/detection_state.h"
#include "analysis/line_analysis.h"
#include "analysis/segment_preparation.h"
#include "analysis/size_classification.h"
#include "analysis/viewer_counts.h"

namespace {

using RawRun = std::pair<int64_t, int64_t>;

struct Fish {
  double centre;
  double halfBreadth;
  int length;
  int age = 0;
  int forkFrom;  // lines from which the fish shows as two runs, until forkTo
  int forkTo;
};

class RandomLines {
 public:
  explicit RandomLines(unsigned seed) : rng_(seed) {}

  int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }

  // A plausible line: fish as widening and narrowing runs, some forked, some
  // overlapping each other (which the camera shows as one run).
  std::vector<RawRun> fishLine(const SettingsVariables& s) {
    if (fish_.size() < 12 && chance(0.08)) {
      Fish f;
      f.centre = uniform(s.LeftEdge, std::max(s.LeftEdge, s.RightEdge));
      f.halfBreadth = uniform(1, 25);
      f.length = uniform(1, 120);
      f.forkFrom = chance(0.3) ? uniform(0, f.length) : f.length;
      f.forkTo = f.forkFrom + uniform(1, 20);
      fish_.push_back(f);
    }
    std::vector<RawRun> runs;
    for (Fish& f : fish_) {
      const double h = f.halfBreadth * std::sin(M_PI * (f.age + 0.5) / f.length) + 0.5;
      const int64_t a = std::llround(f.centre - h);
      const int64_t b = std::llround(f.centre + h);
      if (f.age >= f.forkFrom && f.age < f.forkTo && b - a > 6) {
        runs.push_back({a, (a + b) / 2 - 2});
        runs.push_back({(a + b) / 2 + 2, b});
      } else {
        runs.push_back({a, b});
      }
      f.centre += uniform(-1, 1);
      ++f.age;
    }
    std::erase_if(fish_, [](const Fish& f) { return f.age >= f.length; });
    std::sort(runs.begin(), runs.end());
    std::vector<RawRun> joined;
    for (const RawRun& r : runs) {
      if (!joined.empty() && r.first <= joined.back().second) {
        joined.back().second = std::max(joined.back().second, r.second);
      } else {
        joined.push_back(r);
      }
    }
    return joined;
  }

  // Anything at all: many runs, huge and negative pixels, no width, any order.
  // A kind of line lasts a few lines, so objects live long enough to merge.
  std::vector<RawRun> hostileLine() {
    if (--hostileLeft_ <= 0) {
      hostileLeft_ = uniform(1, 8);
      hostileStyle_ = uniform(0, 4);
      hostileCount_ = uniform(0, 3) == 0 ? uniform(400, 700) : uniform(0, 60);
    }
    std::vector<RawRun> runs(hostileCount_);
    for (size_t k = 0; k < runs.size(); ++k) {
      switch (hostileStyle_) {
        case 0:  // dense valid runs
          runs[k] = {int64_t(4 * k), int64_t(4 * k + uniform(0, 3))};
          break;
        case 1:  // zero widths
          runs[k] = {int64_t(3 * k), int64_t(3 * k)};
          break;
        case 2:  // 32-bit extremes
          runs[k] = {uniform(INT32_MIN, INT32_MAX), uniform(INT32_MIN, INT32_MAX)};
          break;
        case 3:  // around the 16-bit limits
          runs[k] = {uniform(-40000, 40000), uniform(-40000, 40000)};
          break;
        default:  // runs over pairs of the dense runs, and more beside them
          runs[k] = k < runs.size() / 2 ? RawRun{8 * k, 8 * k + 7}
                                        : RawRun{20000 + 4 * k, 20000 + 4 * k + 2};
          break;
      }
    }
    return runs;
  }

  SettingsVariables settings(bool sane) {
    SettingsVariables s;
    s.NrChannels = sane ? uniform(1, 4) : uniform(-2, 7);
    s.LeftEdge = sane ? uniform(0, 50) : uniform(-100000, 100000);
    s.RightEdge = sane ? uniform(300, 2000) : uniform(-100000, 100000);
    const int widths[] = {-1, 0, 500, 1000, 1400};
    s.ChannelWidthMm = chance(0.9) ? widths[uniform(0, 4)] : uniform(-5, 5000);
    int begin = s.LeftEdge;
    const int n = std::clamp(s.NrChannels, 1, kMaxChannels);
    for (int k = 1; k <= kMaxChannels; ++k) {
      if (sane) {
        const int end = k == n ? s.RightEdge : begin + (s.RightEdge - s.LeftEdge) / n - 5;
        s.ChannelPositions[k] = {begin, end, 0};
        begin = end + 10;
      } else {
        s.ChannelPositions[k] = {uniform(-5000, 5000), uniform(-5000, 5000), 0};
      }
      s.SizeGroup[k] = sane ? uniform(0, 8) : uniform(-3, 12);
    }
    return s;
  }

  void resetFish() { fish_.clear(); }

 private:
  std::mt19937 rng_;
  std::vector<Fish> fish_;
  int hostileLeft_ = 0;
  int hostileStyle_ = 0;
  int hostileCount_ = 0;
};

// The parameters of a channel as the trace writes them.
std::array<long long, 6> limitsOf(const DetectionState& d, int c) {
  return {d.MinLength[c], d.MinBreadth[c], d.MinArea[c],
          d.MaxLength[c], d.MaxBreadth[c], d.MaxArea[c]};
}

class RandomLinesTest : public ::testing::Test {
 protected:
  RandomLinesTest() : state(std::make_unique<DetectionState>()), d(*state) {}

  void feed(const std::vector<RawRun>& runs, bool prepare) {
    if (prepare && runs.size() > kMaxSegments) {
      SegmentPreparer preparer(d, s);
      for (const RawRun& r : runs) preparer.add(r.first, r.second);
      preparer.finish();
    } else {
      const int n = static_cast<int>(std::min<size_t>(runs.size(), kMaxSegments));
      for (int k = 1; k <= n; ++k) {
        d.Segments[k].Start = static_cast<int32_t>(runs[k - 1].first);
        d.Segments[k].End = static_cast<int32_t>(runs[k - 1].second);
      }
      d.SegmentCount = runs.size() > kMaxSegments && rng.chance(0.5) ? INT32_MAX : n;
      if (prepare) prepareSegments(d, s);
    }
    const int trackedBefore = d.PreviousCount;
    const int totalBefore = d.ObjectTotal;
    std::ostringstream trace;
    ++d.LineCounter;
    porun(d, s, &trace);
    checkLine(trackedBefore, totalBefore, trace.str());
  }

  void checkLine(int trackedBefore, int totalBefore, const std::string& trace) {
    ASSERT_GE(d.SegmentCount, 0);
    ASSERT_LE(d.SegmentCount, kMaxSegments);
    ASSERT_EQ(d.PreviousCount, d.SegmentCount);
    ASSERT_GE(d.FinishedCount, 0);
    ASSERT_LE(d.FinishedCount, trackedBefore) << "only objects that existed can end";
    ASSERT_EQ(d.ObjectTotal, totalBefore + d.FinishedCount);
    handedOut += d.FinishedCount;

    const int last = lastChannel(s);
    std::istringstream lines(trace);
    std::string text;
    int f = 0;
    while (std::getline(lines, text)) {
      ++f;
      ASSERT_LE(f, d.FinishedCount);
      ASSERT_EQ(std::count(text.begin(), text.end(), ':'), 12) << text;
      long long v[13];
      std::string numbers = text;
      std::replace(numbers.begin(), numbers.end(), ':', ' ');
      std::istringstream fields(numbers);
      for (long long& value : v) fields >> value;
      ASSERT_FALSE(fields.fail()) << text;
      const ObjectRecord& p = d.FinishedObjects[f];
      ASSERT_EQ(v[0], d.LineCounter);
      ASSERT_EQ(v[1], p.Lines);
      ASSERT_EQ(v[2], p.MaxWidth);
      ASSERT_EQ(v[3], p.Area);
      // The size test of the channel it was measured in.
      ASSERT_TRUE(v[4] <= v[1] && v[1] < v[7]) << text;
      ASSERT_TRUE(v[5] <= v[2] && v[2] < v[8]) << text;
      ASSERT_TRUE(v[6] <= v[3] && v[3] < v[9]) << text;
      bool channelFound = false;
      for (int c = 1; c <= last; ++c) {
        channelFound |= limitsOf(d, c) == std::array<long long, 6>{v[4], v[5], v[6],
                                                                   v[7], v[8], v[9]};
      }
      ASSERT_TRUE(channelFound) << "limits of no channel in use: " << text;
    }
    ASSERT_EQ(f, d.FinishedCount) << "one trace line per accepted object";

    ChannelArray<int32_t> counts{};
    countFinishedObjects(d, s, counts);
    int counted = 0;
    for (int c = 1; c <= last; ++c) counted += counts[c];
    ASSERT_EQ(counted, d.FinishedCount);
    ASSERT_EQ(counts[0], 0);
    ASSERT_GE(d.CurrentChannel, 1);
    ASSERT_LE(d.CurrentChannel, last);

    for (int k = 1; k <= d.PreviousCount; ++k) {
      const ObjectRecord& r = d.PreviousObjects[k];
      ASSERT_GE(r.Lines, 1);
      ASSERT_GE(r.OutlineCount, 1);
      ASSERT_LE(r.OutlineCount, kOutlineLimit);
      ASSERT_GE(r.Group, 0);
      ASSERT_GE(r.Shape, 0);
      ASSERT_LE(r.Shape, 3);
      ASSERT_GE(r.Start, kMinPixel);
      ASSERT_LE(r.End, kMaxPixel);
    }
  }

  // Every record and every outline of the state sits in exactly one place of
  // one table.
  void checkTablesShareNoRecord() {
    std::set<const ObjectRecord*> seen;
    std::set<const OutlineEntry*> outlines;
    auto note = [&](const RecordTable& table, int places) {
      for (int k = 1; k <= places; ++k) {
        seen.insert(&table[k]);
        outlines.insert(table.outline(k));
      }
    };
    note(d.Segments, kMaxSegments);
    note(d.PreviousObjects, kMaxTracked);
    note(d.FinishedObjects, kMaxFinished);
    ASSERT_EQ(seen.size(), size_t{kMaxSegments + kMaxTracked + kMaxFinished});
    ASSERT_EQ(outlines.size(), size_t{kMaxSegments + kMaxTracked + kMaxFinished});
    ASSERT_EQ(outlines.count(nullptr), 0u);
  }

  void applySizeGroups(bool sane) {
    setDetectionConstants(d, s.ChannelWidthMm);
    for (int c = 1; c <= kMaxChannels; ++c) stillafiskiflokk(c, d, s, 0, false);
    if (!sane && rng.chance(0.5)) {
      // Limits no size group gives.
      const int c = rng.uniform(1, kMaxChannels);
      d.MinWidth[c] = rng.uniform(-5, 0);
      d.GapLimit[c] = rng.chance(0.5) ? rng.uniform(-100, 0) : INT32_MAX;
      d.MinArea[c] = rng.uniform(0, 2);
      d.MinLength[c] = rng.uniform(0, 1);
      d.MinBreadth[c] = 0;
      d.AngleSmoothing[c] = rng.uniform(-50, 150);
    }
  }

  RandomLines rng{20261208};
  SettingsVariables s;
  std::unique_ptr<DetectionState> state;
  DetectionState& d;
  long long handedOut = 0;
};

TEST_F(RandomLinesTest, InvariantsHoldForSaneAndHostileLines) {
  ViewerCounts viewer;
  int lineCount = 0;
  for (int scenario = 0; scenario < 60; ++scenario) {
    const bool sane = scenario % 3 != 2;
    s = rng.settings(sane);
    rng.resetFish();
    if (rng.chance(0.7)) d.clearLines();  // a jump; otherwise objects carry over
    applySizeGroups(sane);
    for (int n = 0; n < 600; ++n, ++lineCount) {
      std::vector<RawRun> runs;
      if (sane || rng.chance(0.5)) {
        runs = rng.fishLine(s);
      } else {
        runs = rng.hostileLine();
      }
      ASSERT_NO_FATAL_FAILURE(feed(runs, sane || rng.chance(0.7)));
      if (n % 100 == 99) {
        for (int c = 1; c <= lastChannel(s); ++c) autofiskiflokkur(c, d, viewer, true);
        ASSERT_NO_FATAL_FAILURE(checkTablesShareNoRecord());
      }
    }
  }
  EXPECT_EQ(d.ObjectTotal, handedOut);
  EXPECT_GT(handedOut, 500) << "the sane scenarios must count fish, or the test proves little";
  EXPECT_EQ(lineCount, 36000);
}

// Long dark runs (a blocked sensor) for hours: sums stop at their limit.
TEST_F(RandomLinesTest, EndlessDarkRunSaturates) {
  s = rng.settings(true);
  applySizeGroups(true);
  d.clearLines();
  for (int n = 0; n < 40000; ++n) {
    d.Segments[1] = {};
    d.Segments[1].Start = kMinPixel;
    d.Segments[1].End = kMaxPixel;
    d.SegmentCount = 1;
    porun(d, s);
  }
  EXPECT_EQ(d.PreviousObjects[1].Area, INT32_MAX);
  EXPECT_EQ(d.PreviousObjects[1].Lines, 40000);
  EXPECT_EQ(d.PreviousObjects[1].OutlineCount, kOutlineLimit);
}

}  // namespace
