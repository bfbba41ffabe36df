#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/number_format.h"
#include "analysis/size_classification.h"
#include "analysis/size_groups.h"
#include "analysis/viewer_counts.h"

namespace {

// Records what the size classification shows.
struct RecordingDisplay : SizeDisplay {
  void showSizeGroupName(int channel, std::string_view name) override {
    names[channel] = std::string(name);
  }
  void setGaugeMaximum(int32_t maximum) override { gauge.push_back(maximum); }
  void showWeightEstimate(int channel, std::string_view text) override {
    estimates[channel] = std::string(text);
  }
  void setProgressPosition(int bar, int32_t position) override { positions[bar] = position; }
  void setProgressVisible(int bar, bool visible) override { visibleBars[bar] = visible; }

  std::map<int, std::string> names;
  std::vector<int32_t> gauge;
  std::map<int, std::string> estimates;
  std::map<int, int32_t> positions;
  std::map<int, bool> visibleBars;
};

class SizeTest : public ::testing::Test {
 protected:
  SizeTest() : state(std::make_unique<DetectionState>()), d(*state) {
    s.LeftEdge = 0;
    s.RightEdge = 511;
    s.ChannelWidthMm = 1000;
    s.NrChannels = 4;
    setDetectionConstants(d, s.ChannelWidthMm);
  }

  SettingsVariables s;
  std::unique_ptr<DetectionState> state;
  DetectionState& d;
  ViewerCounts counts;
  RecordingDisplay display;
};

TEST_F(SizeTest, GroupTwoWorkedExample) {
  s.SizeGroup[1] = 2;
  stillafiskiflokk(1, d, s, 0, false, &display);
  EXPECT_EQ(display.names[1], " 1 gr");
  EXPECT_EQ(d.MinWidth[1], 2);
  EXPECT_EQ(d.GapLimit[1], 1);
  EXPECT_EQ(d.AvgBreadth[1], 7);
  EXPECT_EQ(d.MinBreadth[1], 1);
  EXPECT_EQ(d.MinLength[1], 3);
  EXPECT_EQ(d.MinArea[1], 6);
  EXPECT_EQ(d.MaxLength[1], 150);
  EXPECT_EQ(d.MaxBreadth[1], 20);
  EXPECT_EQ(d.MaxArea[1], 3000);
  EXPECT_DOUBLE_EQ(d.AvgArea[1], 52.5);
  EXPECT_EQ(d.MinBreadthFloor[1], 1);
  EXPECT_EQ(d.MinLengthFloor[1], 2);
  EXPECT_EQ(d.AngleSmoothing[1], 33);
  ASSERT_EQ(display.gauge.size(), 1u);
  EXPECT_EQ(display.gauge[0], 0) << "LinesPerBuffer 0 gives a gauge maximum of 0";
}

TEST_F(SizeTest, PixelScaleIsExactWhereTheMathematicsIsExact) {
  s.ChannelWidthMm = 500;
  EXPECT_EQ(pixelScale(s, 63), 63) << "511 x 63 / 500 x 500 / 511";
  // Every whole result must come out whole, for every size group breadth.
  for (int width : {500, 1000, 1400}) {
    s.ChannelWidthMm = width;
    for (int right = 1; right <= 2048; ++right) {
      s.RightEdge = right;
      for (const SizeGroupRow& row : kSizeGroups) {
        const long long numerator = 500LL * right * row.BreadthMm;
        const long long denominator = 511LL * width;
        ASSERT_EQ(pixelScale(s, row.BreadthMm), numerator / denominator)
            << "width " << width << " right " << right << " mm " << row.BreadthMm;
      }
    }
  }
}

TEST_F(SizeTest, MissingChannelWidthGivesTheLimitsOfTheDefaultWidth) {
  for (int width : {0, -1, -1400}) {
    s.ChannelWidthMm = width;
    SettingsVariables standard = s;
    standard.ChannelWidthMm = kDefaultChannelWidthMm;
    for (int mm = 0; mm <= 200; mm += 7) EXPECT_EQ(pixelScale(s, mm), pixelScale(standard, mm));
    s.SizeGroup[1] = 5;
    stillafiskiflokk(1, d, s, 0, false);
    EXPECT_GT(d.MinBreadth[1], 0);
    EXPECT_GT(d.MaxBreadth[1], d.MinBreadth[1]);
    EXPECT_GT(d.MaxArea[1], d.MinArea[1]);
  }
}

TEST_F(SizeTest, HugeEdgesSaturateInsteadOfOverflowing) {
  s.LeftEdge = INT32_MIN;
  s.RightEdge = INT32_MAX;
  s.ChannelWidthMm = 1;
  s.SizeGroup[1] = 9;
  stillafiskiflokk(1, d, s, INT32_MAX, true);
  EXPECT_EQ(d.AvgBreadth[1], INT32_MAX);
  EXPECT_EQ(d.MaxBreadth[1], INT32_MAX);
  EXPECT_EQ(d.MaxArea[1], INT32_MAX);
  d.AvgLength[1] = 1e300;
  d.AvgBreadth[1] = NAN;
  autofiskiflokkur(1, d, counts, false);
  EXPECT_EQ(d.MinLength[1], INT32_MAX);
  EXPECT_EQ(d.MinBreadth[1], d.MinBreadthFloor[1]) << "no mean: the floor";
}

TEST_F(SizeTest, FractionsAreDroppedNotRounded) {
  s.SizeGroup[1] = 3;  // length floor 3
  stillafiskiflokk(1, d, s, 0, false);
  d.AvgLength[1] = 11.9;
  d.MinLengthFloor[1] = 2;
  autofiskiflokkur(1, d, counts, false);
  EXPECT_EQ(d.MinLength[1], 2);
  d.AvgLength[1] = 11.9;
  d.MinLengthFloor[1] = 3;
  autofiskiflokkur(1, d, counts, false);
  EXPECT_EQ(d.MinLength[1], 3) << "raised to the group's floor";
}

TEST_F(SizeTest, AutomaticLimitsFollowTheMeans) {
  s.SizeGroup[2] = 6;
  stillafiskiflokk(2, d, s, 0, false);
  d.AvgLength[2] = 80;   // MinLength 20
  d.AvgBreadth[2] = 41;  // MinBreadth 10
  autofiskiflokkur(2, d, counts, false);
  EXPECT_EQ(d.MinLength[2], 20);
  EXPECT_EQ(d.MinBreadth[2], 10);
  EXPECT_EQ(d.MaxLength[2], 1000);
  EXPECT_EQ(d.MaxBreadth[2], 200);
  EXPECT_EQ(d.MinArea[2], 400);
  EXPECT_EQ(d.MaxArea[2], 200000);
  EXPECT_EQ(d.MinWidth[2], 7) << "MinArea 351 to 700";
  EXPECT_EQ(d.GapLimit[2], 6);
  EXPECT_EQ(d.AngleSmoothing[2], 33);
}

// The segment limits by MinArea, near both ends of every band. MinArea is
// 2 x MinBreadth x MinLength, always even unless raised to 11.
TEST_F(SizeTest, SegmentLimitBands) {
  struct Row {
    int minArea;
    int minWidth, gapLimit, smoothing;
  };
  const Row rows[] = {{12, 4, 4, 45},     {16, 4, 4, 45},     {18, 4, 4, 42},
                      {34, 4, 4, 42},     {36, 4, 4, 34},     {70, 4, 4, 34},
                      {72, 4, 4, 30},     {150, 4, 4, 30},    {152, 6, 5, 33},
                      {350, 6, 5, 33},    {352, 7, 6, 33},    {700, 7, 6, 33},
                      {702, 8, 7, 30},    {1500, 8, 7, 30},   {1502, 20, 18, 28},
                      {10000, 20, 18, 28}};
  for (const Row& row : rows) {
    d.MinBreadthFloor[1] = 1;
    d.AvgBreadth[1] = 4;  // MinBreadth 1
    d.MinLengthFloor[1] = 1;
    d.AvgLength[1] = row.minArea / 2 * d.LengthDivisor;
    autofiskiflokkur(1, d, counts, false);
    ASSERT_EQ(d.MinArea[1], row.minArea);
    EXPECT_EQ(d.MinWidth[1], row.minWidth) << row.minArea;
    EXPECT_EQ(d.GapLimit[1], row.gapLimit) << row.minArea;
    EXPECT_EQ(d.AngleSmoothing[1], row.smoothing) << row.minArea;
  }
}

TEST_F(SizeTest, MinAreaIsRaisedToElevenAndHugeFishKeepTheirLimits) {
  d.AvgLength[1] = 0;
  d.AvgBreadth[1] = 0;
  d.MinLengthFloor[1] = 1;
  d.MinBreadthFloor[1] = 1;
  autofiskiflokkur(1, d, counts, false);
  EXPECT_EQ(d.MinArea[1], 11);
  EXPECT_EQ(d.AngleSmoothing[1], 45);

  d.AvgLength[1] = 400;  // MinLength 100
  d.AvgBreadth[1] = 400; // MinBreadth 100: MinArea 20000
  d.MinWidth[1] = 2;
  d.GapLimit[1] = 9;
  d.AngleSmoothing[1] = 77;
  autofiskiflokkur(1, d, counts, false);
  EXPECT_EQ(d.MinArea[1], 20000);
  EXPECT_EQ(d.MinWidth[1], 4) << "unchanged but at least 4";
  EXPECT_EQ(d.GapLimit[1], 9);
  EXPECT_EQ(d.AngleSmoothing[1], 77);
}

TEST_F(SizeTest, SizeGroupOutsideTheTable) {
  s.SizeGroup[1] = 12;
  s.SizeGroup[2] = -3;
  stillafiskiflokk(1, d, s, 0, false, &display);
  stillafiskiflokk(2, d, s, 0, false, &display);
  EXPECT_EQ(display.names[1], "3 Kg");
  EXPECT_EQ(display.names[2], "0.1 gr");
  EXPECT_EQ(d.MinWidth[1], 12);
  EXPECT_EQ(d.MinWidth[2], 1);
  EXPECT_EQ(sizeGroupIndex(9), 9);
  EXPECT_EQ(SizeGroupNames[sizeGroupIndex(10)], "3 Kg");
}

TEST_F(SizeTest, ChannelOutsideOneToFourChangesNothing) {
  d.MinWidth[0] = 77;
  stillafiskiflokk(0, d, s, 0, false, &display);
  stillafiskiflokk(5, d, s, 0, false, &display);
  autofiskiflokkur(-1, d, counts, false, &display);
  EXPECT_EQ(d.MinWidth[0], 77);
  EXPECT_TRUE(display.names.empty());
  EXPECT_TRUE(display.gauge.empty());
}

TEST_F(SizeTest, GaugeMaximumIsSharedAmongChannelsWithEnablemulti) {
  s.SizeGroup[1] = 0;  // factor 400
  s.NrChannels = 3;
  stillafiskiflokk(1, d, s, 2232, false, &display);
  stillafiskiflokk(1, d, s, 2232, true, &display);
  ASSERT_EQ(display.gauge.size(), 2u);
  EXPECT_EQ(display.gauge[0], 800);
  EXPECT_EQ(display.gauge[1], 266);
}

// Groups 0 and 1 at 1400 mm have breadth limits that admit nothing; the
// counter behaves so, and a re-count must agree with it.
TEST_F(SizeTest, SmallGroupsAtWideChannelsAdmitNothing) {
  s.ChannelWidthMm = 1400;
  setDetectionConstants(d, s.ChannelWidthMm);
  for (int group : {0, 1}) {
    s.SizeGroup[1] = group;
    stillafiskiflokk(1, d, s, 0, false);
    EXPECT_GE(d.MinBreadth[1], d.MaxBreadth[1]) << group;
  }
}

// ---- Weight display ----

TEST_F(SizeTest, ChannelWithoutWeighedFishShowsSampleCounts) {
  counts.WeightSamples = {0, 0, 5, 31, 200};
  autofiskiflokkur(1, d, counts, true, &display);
  EXPECT_TRUE(display.estimates.empty());
  EXPECT_EQ(display.positions, (std::map<int, int32_t>{{1, 0}, {2, 5}, {3, 31}, {4, 200}}));
  EXPECT_EQ(display.visibleBars, (std::map<int, bool>{{1, true}, {2, true}, {3, true}, {4, false}}));
}

TEST_F(SizeTest, MeanWeightFormats) {
  struct Row {
    long double sum;
    int samples;
    const char* shown;
  };
  const Row rows[] = {{9.96L, 1, "10.0 gr"}, {99.6L, 10, "10.0 gr"}, {10.0L, 1, "10 gr"},
                      {10.5L, 1, "11 gr"},   {0.25L, 1, "0.3 gr"},   {2469.5L, 2, "1235 gr"}};
  for (const Row& row : rows) {
    counts.WeightSum[2] = row.sum;
    counts.WeightSamples[2] = row.samples;
    autofiskiflokkur(2, d, counts, false, &display);
    EXPECT_EQ(display.estimates[2], row.shown) << static_cast<double>(row.sum);
  }
  EXPECT_TRUE(display.positions.empty());
  for (int bar = 1; bar <= 4; ++bar) EXPECT_FALSE(display.visibleBars[bar]) << "no session";
}

TEST_F(SizeTest, ProgressBarsShowWhileTooFewFishAreWeighed) {
  counts.WeightSamples = {0, 29, 99, 100, 30};
  counts.WeightSum[1] = 100;
  autofiskiflokkur(1, d, counts, true, &display);
  EXPECT_EQ(display.visibleBars, (std::map<int, bool>{{1, true}, {2, true}, {3, false}, {4, true}}));
  counts.WeightSamples[1] = 30;
  autofiskiflokkur(1, d, counts, true, &display);
  EXPECT_FALSE(display.visibleBars[1]);
}

TEST(NumberFormat, RoundsHalfAwayFromZero) {
  EXPECT_EQ(formatFixed(52.5, 0), "53");
  EXPECT_EQ(formatFixed(-52.5, 0), "-53");
  EXPECT_EQ(formatFixed(0.5, 0), "1");
  EXPECT_EQ(formatFixed(2.5, 0), "3");
  EXPECT_EQ(formatFixed(-0.4, 0), "0");
  EXPECT_EQ(formatFixed(9.96, 1), "10.0");
  EXPECT_EQ(formatFixed(9.94, 1), "9.9");
  EXPECT_EQ(formatFixed(1e300, 0).size(), 301u);
  EXPECT_EQ(formatFixed(INFINITY, 0), "INF");
}

}  // namespace
