// The visibility scope's rules: the marker bars, the edge check, the field
// reading, the zoom ranges and the bars' outline.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "analysis/visibility_scope.h"

namespace {

SettingsVariables layout(int32_t left, int32_t right, int32_t channels) {
  SettingsVariables s;
  s.LeftEdge = left;
  s.RightEdge = right;
  s.NrChannels = channels;
  // Channel n from n*100 + 10 to n*100 + 91.
  for (int n = 1; n <= kMaxChannels; ++n) s.ChannelPositions[n] = {n * 100 + 10, n * 100 + 91, 25};
  return s;
}

struct BarsRow {
  int32_t channels;
  std::vector<int32_t> bars;
};

class ScopeBarsTest : public ::testing::TestWithParam<BarsRow> {};

TEST_P(ScopeBarsTest, LeftEdgeThenTheDividersThenTheRightEdge) {
  const SettingsVariables s = layout(5, 480, GetParam().channels);
  EXPECT_EQ(scopeBars(s), GetParam().bars);
}

// Divider k: (k*100 + 91 + (k+1)*100 + 10) / 2 = k*100 + 100 (201 / 2 truncated).
INSTANTIATE_TEST_SUITE_P(Channels, ScopeBarsTest,
                         ::testing::Values(BarsRow{1, {5, 480}}, BarsRow{2, {5, 200, 480}},
                                           BarsRow{3, {5, 200, 300, 480}}, BarsRow{4, {5, 200, 300, 400, 480}},
                                           BarsRow{0, {5, 480}},                    // below 1: one channel
                                           BarsRow{9, {5, 200, 300, 400, 480}}));  // above 4: four

TEST(ScopeDividerTest, TruncatesTowardZeroAndDoesNotOverflow) {
  SettingsVariables s;
  s.ChannelPositions[1].End = -7;
  s.ChannelPositions[2].Begin = 2;
  EXPECT_EQ(channelDivider(s, 1), -2);  // -5 / 2, not floor's -3
  s.ChannelPositions[2].End = INT32_MAX;
  s.ChannelPositions[3].Begin = INT32_MAX;
  EXPECT_EQ(channelDivider(s, 2), INT32_MAX);
}

struct EdgeRow {
  int32_t left;
  int32_t right;
  std::optional<std::string> error;
};

class ScopeEdgeTest : public ::testing::TestWithParam<EdgeRow> {};

TEST_P(ScopeEdgeTest, CheckStoresOnlyAPairThatPasses) {
  const EdgeRow& row = GetParam();
  SettingsVariables s = layout(20, 400, 2);
  EXPECT_EQ(edgeError(row.left, row.right, 512), row.error);
  EXPECT_EQ(storeEdges(s, row.left, row.right, 512), row.error);
  EXPECT_EQ(s.LeftEdge, row.error ? 20 : row.left);
  EXPECT_EQ(s.RightEdge, row.error ? 400 : row.right);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, ScopeEdgeTest,
    ::testing::Values(EdgeRow{100, 100, std::nullopt}, EdgeRow{0, 511, std::nullopt},
                      EdgeRow{0, 512, "Right Edge must be less than   512"},
                      EdgeRow{300, 299, "Left Edge must be less than Right Edge"},
                      EdgeRow{-1, 200, "Left Edge must be bigger than 0 "},
                      EdgeRow{-5, -9, "Left Edge must be less than Right Edge"},  // order is checked first
                      EdgeRow{-5, 600, "Left Edge must be bigger than 0 "}));     // then the left edge

TEST(ScopeEdgeTest, RightEdgeMessageEndsInTheLineWidth) {
  EXPECT_EQ(edgeError(0, 1024, 1024), "Right Edge must be less than   1024");
  EXPECT_EQ(edgeError(0, 0, 0), "Right Edge must be less than   0");
}

struct FieldRow {
  const char* text;
  int32_t value;
};

class ScopeFieldTest : public ::testing::TestWithParam<FieldRow> {};

TEST_P(ScopeFieldTest, ReadsTheNumberOrZero) { EXPECT_EQ(scopeFieldValue(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, ScopeFieldTest,
                         ::testing::Values(FieldRow{"", 0}, FieldRow{"-", 0}, FieldRow{"+", 0}, FieldRow{"12", 12},
                                           FieldRow{" 300 ", 300}, FieldRow{"-42", -42}, FieldRow{"+7", 7},
                                           FieldRow{"100000", 100000}, FieldRow{"1x", 0}));

TEST(ScopeZoomTest, Ranges) {
  EXPECT_EQ(shownRange(512), (AxisRange{0, 512}));
  EXPECT_EQ(wholeLineRange(512), (AxisRange{0, 511}));
  EXPECT_EQ(zoomRange(30), (AxisRange{-20, 80}));
  EXPECT_EQ(zoomRange(INT32_MAX), (AxisRange{int64_t{INT32_MAX} - 50, int64_t{INT32_MAX} + 50}));
}

TEST(ScopeZoomTest, BarsTheZoomsCentreOn) {
  const SettingsVariables three = layout(5, 480, 3);
  EXPECT_EQ(leftEdgeBar(4), 0u);
  EXPECT_EQ(rightEdgeBar(three, 4), 3u);  // bar NrChannels
  EXPECT_EQ(rightEdgeBar(three, 2), 1u);  // after an edit: the last of the two
  EXPECT_EQ(rightEdgeBar(layout(5, 480, 7), 5), 4u);
  EXPECT_EQ(leftEdgeBar(0), std::nullopt);
  EXPECT_EQ(rightEdgeBar(three, 0), std::nullopt);
}

TEST(ScopeOutlineTest, OneBlockPerBarLeftToRightAndOverlapsMerge) {
  using Points = std::vector<std::pair<double, double>>;
  EXPECT_EQ(barOutline({}, 2, 255), Points{});
  EXPECT_EQ(barOutline({40, 10}, 2, 255),
            (Points{{8, 0}, {8, 255}, {12, 255}, {12, 0}, {38, 0}, {38, 255}, {42, 255}, {42, 0}}));
  // Two bars at one x, and one touching them: one block, so none cancels out.
  EXPECT_EQ(barOutline({10, 10, 14}, 2, 255), (Points{{8, 0}, {8, 255}, {16, 255}, {16, 0}}));
}

}  // namespace
