#include <utility>
#include <vector>

#include "analysis/segment_preparation.h"
#include "detection_fixture.h"

namespace {

class PreparationTest : public DetectionTest {
 protected:
  PreparationTest() {
    d.MinWidth[1] = 3;
    d.GapLimit[1] = 5;
  }

  // Prepares raw (Start, End) runs and returns the kept segments.
  std::vector<std::pair<int, int>> prepare(const std::vector<std::pair<int, int>>& raw) {
    for (size_t k = 0; k < raw.size(); ++k) {
      d.Segments[k + 1].Start = raw[k].first;
      d.Segments[k + 1].End = raw[k].second;
    }
    d.SegmentCount = static_cast<int>(raw.size());
    prepareSegments(d, s);
    std::vector<std::pair<int, int>> kept;
    for (int k = 1; k <= d.SegmentCount; ++k) {
      kept.emplace_back(d.Segments[k].Start, d.Segments[k].End);
    }
    return kept;
  }

  using Kept = std::vector<std::pair<int, int>>;
};

TEST_F(PreparationTest, NarrowSegmentNearTheLastIsJoinedAfterAWideGapDropped) {
  // [20,22] is 2 wide (not more than MinWidth 3): joined 4 pixels after
  // [10,16], dropped 30 pixels after it.
  EXPECT_EQ(prepare({{10, 16}, {20, 22}}), (Kept{{10, 22}}));
  EXPECT_EQ(prepare({{10, 16}, {46, 48}}), (Kept{{10, 16}}));
}

TEST_F(PreparationTest, GapLimitIsTheFirstGapThatSeparates) {
  EXPECT_EQ(prepare({{10, 16}, {20, 30}}), (Kept{{10, 30}})) << "gap 4 is bridged";
  EXPECT_EQ(prepare({{10, 16}, {21, 30}}), (Kept{{10, 16}, {21, 30}})) << "gap 5 is not";
}

TEST_F(PreparationTest, WidthEqualToMinWidthIsNoise) {
  EXPECT_EQ(prepare({{10, 13}}), Kept{});
  EXPECT_EQ(prepare({{10, 14}}), (Kept{{10, 14}}));
  EXPECT_EQ(prepare({{10, 13}, {14, 30}}), (Kept{{14, 30}}))
      << "a dropped run is no anchor for joining";
}

TEST_F(PreparationTest, EachChannelUsesItsOwnLimits) {
  s.NrChannels = 2;
  s.ChannelPositions[1] = {0, 100, 500};
  s.ChannelPositions[2] = {110, 511, 500};
  d.MinWidth[2] = 10;
  d.GapLimit[2] = 0;
  EXPECT_EQ(prepare({{50, 55}, {150, 155}, {200, 215}}), (Kept{{50, 55}, {200, 215}}));
  // A run that starts beyond every channel is prepared with the last one's.
  EXPECT_EQ(prepare({{600, 605}, {700, 720}}), (Kept{{700, 720}}));
  EXPECT_EQ(d.CurrentChannel, 2);
}

TEST_F(PreparationTest, ChannelWalkStopsAtNrChannels) {
  s.NrChannels = 1;
  s.ChannelPositions[2] = {0, 0, 0};  // left-overs of a wider layout
  d.MinWidth[2] = 1000;
  EXPECT_EQ(prepare({{600, 605}}), (Kept{{600, 605}}));
  EXPECT_EQ(d.CurrentChannel, 1);
}

TEST_F(PreparationTest, EmptyAndHostileCounts) {
  EXPECT_EQ(prepare({}), Kept{});
  d.SegmentCount = -7;
  prepareSegments(d, s);
  EXPECT_EQ(d.SegmentCount, 0);
  d.SegmentCount = 1 << 30;
  prepareSegments(d, s);
  EXPECT_LE(d.SegmentCount, kMaxSegments);
}

TEST_F(PreparationTest, PixelsBeyondSixteenBitsAreClamped) {
  // Clamped to the ends of the range, these runs have no width left.
  EXPECT_EQ(prepare({{-2000000000, -1999999000}, {2000000000, 2100000000}}), Kept{});
  SegmentPreparer preparer(d, s);
  preparer.add(-5000000000LL, 10);
  preparer.add(40, 5000000000LL);
  ASSERT_EQ(preparer.finish(), 2);
  EXPECT_EQ(d.Segments[1].Start, kMinPixel);
  EXPECT_EQ(d.Segments[2].End, kMaxPixel);
}

TEST_F(PreparationTest, StreamLongerThanTheTableKeepsWhatFits) {
  SegmentPreparer preparer(d, s);
  // 3000 runs: the noise among them disappears and the joined ones merge.
  for (int k = 0; k < 1000; ++k) {
    preparer.add(30 * k, 30 * k + 10);       // kept
    preparer.add(30 * k + 12, 30 * k + 13);  // joined (gap 2)
    preparer.add(30 * k + 25, 30 * k + 26);  // noise after a wide gap
  }
  EXPECT_EQ(preparer.finish(), kMaxSegments);
  EXPECT_EQ(d.Segments[1].End, 13);
  EXPECT_EQ(d.Segments[kMaxSegments].Start, 30 * (kMaxSegments - 1));
  EXPECT_EQ(d.Segments[kMaxSegments].End, 30 * (kMaxSegments - 1) + 13);

  SegmentPreparer sparse(d, s);
  for (int k = 0; k < 2000; ++k) {
    sparse.add(16 * k, 16 * k + (k % 4 == 0 ? 8 : 2));  // three of four are noise
  }
  EXPECT_EQ(sparse.finish(), 500) << "2000 runs, 500 of them real";
  EXPECT_EQ(d.Segments[500].Start, 16 * 1996);
}

}  // namespace
