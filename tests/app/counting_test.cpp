#include <gtest/gtest.h>

#include <string>

#include "app/counting.h"

TEST(ChannelControls, ThreeChannelsMultiShowTwoAndThree) {
  const ChannelControlsShown s = channelControlsShown(3, true);
  for (int n : {1, 2, 3}) {
    EXPECT_TRUE(s.groupBox[n]) << n;
    EXPECT_TRUE(s.chartLine[n]) << n;
    EXPECT_TRUE(s.sizeGroupTab[n]) << n;
    EXPECT_TRUE(s.nameField[n]) << n;
  }
  EXPECT_FALSE(s.groupBox[4]);
  EXPECT_FALSE(s.chartLine[4]);
  EXPECT_FALSE(s.sizeGroupTab[4]);
  EXPECT_FALSE(s.nameField[4]);
  EXPECT_TRUE(s.summaShown);
  EXPECT_TRUE(s.subTotalCaption);
}

TEST(ChannelControls, FourChannelsWithoutMultiShowChannelOneButAllNames) {
  const ChannelControlsShown s = channelControlsShown(4, false);
  EXPECT_TRUE(s.groupBox[1] && s.chartLine[1] && s.sizeGroupTab[1]);
  for (int n : {2, 3, 4}) {
    EXPECT_FALSE(s.groupBox[n] || s.chartLine[n] || s.sizeGroupTab[n]) << n;
    EXPECT_TRUE(s.nameField[n]) << n;
  }
  EXPECT_FALSE(s.summaShown);
  EXPECT_FALSE(s.subTotalCaption);
}

TEST(ChannelControls, ChannelOneAlwaysShowsEvenUnloaded) {
  for (int nr : {0, 1, 2, 4}) {
    for (bool multi : {false, true}) {
      const ChannelControlsShown s = channelControlsShown(nr, multi);
      EXPECT_TRUE(s.groupBox[1] && s.chartLine[1] && s.sizeGroupTab[1]);
      // No channel beyond the count ever shows.
      for (int n = nr + 1; n <= kMaxChannels; ++n) EXPECT_FALSE(s.groupBox[n] && n > 1) << nr << " " << n;
    }
  }
}

TEST(ChannelWidth, Only1400MmUsesTheWideConstants) {
  const ChannelWidthConstants wide = channelWidthConstants(kChannelWidth1400Item);
  EXPECT_EQ(wide.LengthDivisor, 6);
  EXPECT_EQ(wide.AngleThreshold, 8);
  EXPECT_EQ(wide.AreaFactor, 1);
  for (int item : {-1, 0, 1, 3}) {
    const ChannelWidthConstants narrow = channelWidthConstants(item);
    EXPECT_EQ(narrow.LengthDivisor, 4);
    EXPECT_EQ(narrow.AngleThreshold, 10);
    EXPECT_EQ(narrow.AreaFactor, 2);
  }
}

TEST(StoreLine, ThreeChannelsAfterTheTime) {
  SettingsVariables s;
  s.NrChannels = 3;
  s.ChannelCounter = {99, 0, 5, 12, 77};
  const std::string line = storeLine("09:05:01", s);
  EXPECT_EQ(line, "09:05:01     0     5     12");
  EXPECT_EQ(line.substr(0, 8), "09:05:01");
}

TEST(StoreLine, ChannelCountOutOfRangeStaysInTheTable) {
  SettingsVariables s;
  s.NrChannels = 9;  // never read past channel 4
  s.ChannelCounter = {0, 1, 2, 3, 4};
  EXPECT_EQ(storeLine("t", s), "t     1     2     3     4");
  s.NrChannels = 0;
  EXPECT_EQ(storeLine("t", s), "t     1");
}

TEST(TargetLine, TimeTwelveBlanksCount) { EXPECT_EQ(targetLine("10:00:00", 42), "10:00:00            42"); }

TEST(Capacity, PointOrNothing) {
  ASSERT_TRUE(capacityPoint(10, 500).has_value());
  EXPECT_NEAR(*capacityPoint(10, 500), 1339.2, 1e-9);
  EXPECT_FALSE(capacityPoint(10, 0).has_value());
  EXPECT_FALSE(capacityPoint(10, -3).has_value());
}

TEST(ChannelSum, SumsTheChannelsInUseWithoutOverflow) {
  SettingsVariables s;
  s.NrChannels = 3;
  s.ChannelCounter = {0, 1, 2, 3, 1000};
  EXPECT_EQ(channelCountSum(s), 6);
  s.ChannelCounter = {0, 2147483647, 2147483647, 0, 0};
  EXPECT_EQ(channelCountSum(s), int64_t{2} * 2147483647);
}

TEST(SessionStart, ClearsChannelsInUseAndStartsAnEmptyList) {
  SettingsVariables s;
  SessionState session;
  CountingState counting;
  s.NrChannels = 2;
  s.GrandTotal = 50;
  s.ChannelCounter = {0, 1, 2, 3, 4};
  s.ChannelCounterT = {0, 5, 6, 7, 8};
  counting.ReportLines = std::vector<std::string>{"old line"};
  startSessionCounts(s, session, counting);
  EXPECT_TRUE(session.SessionActive);
  EXPECT_EQ(s.GrandTotal, 0);
  EXPECT_EQ(s.ChannelCounter, (ChannelArray<int32_t>{0, 0, 0, 3, 4}));
  EXPECT_EQ(s.ChannelCounterT, (ChannelArray<int32_t>{0, 0, 0, 7, 8}));
  ASSERT_TRUE(counting.ReportLines.has_value());
  EXPECT_TRUE(counting.ReportLines->empty());
}
