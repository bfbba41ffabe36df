#include <gtest/gtest.h>

#include "analysis/channel_layout.h"

namespace {

SettingsVariables withWidths(std::initializer_list<int> widths) {
  SettingsVariables s;
  s.NrChannels = static_cast<int>(widths.size());
  int k = 0;
  for (int w : widths) s.ChannelPositions[++k].Width = w;
  return s;
}

TEST(ChannelLayout, ChannelsAreEqualWithinAFifthOfTheNarrowest) {
  EXPECT_FALSE(ChannelsAreEqual(withWidths({25, 25, 30}))) << "5 / 25 is not below 0.2";
  EXPECT_TRUE(ChannelsAreEqual(withWidths({25, 25, 29})));
  EXPECT_TRUE(ChannelsAreEqual(withWidths({29, 25, 28, 26})));
  EXPECT_FALSE(ChannelsAreEqual(withWidths({30, 25, 29, 24})));
  EXPECT_TRUE(ChannelsAreEqual(withWidths({7}))) << "one channel";
}

TEST(ChannelLayout, ChannelWithoutWidthIsNeverEqual) {
  EXPECT_FALSE(ChannelsAreEqual(withWidths({0, 0})));
  EXPECT_FALSE(ChannelsAreEqual(withWidths({25, 0, 25})));
  EXPECT_FALSE(ChannelsAreEqual(withWidths({25, -25})));
  SettingsVariables s = withWidths({25, 25});
  s.NrChannels = 9;  // walks stay inside the table
  s.ChannelPositions[3].Width = 25;
  s.ChannelPositions[4].Width = 25;
  EXPECT_TRUE(ChannelsAreEqual(s));
}

TEST(ChannelLayout, SetjauppmultiFromOneDivider) {
  SettingsVariables s;
  s.LeftEdge = 0;
  s.RightEdge = 511;
  s.ChannelWidthMm = 1000;
  s.NrChannels = 2;
  DividerList dividers;
  dividers.Count = 1;
  dividers.Dividers[1] = {250, 260};
  setjauppmulti(s, dividers);
  EXPECT_EQ(s.ChannelPositions[1].Begin, 0);
  EXPECT_EQ(s.ChannelPositions[1].End, 250);
  EXPECT_EQ(s.ChannelPositions[1].Width, 489);
  EXPECT_EQ(s.ChannelPositions[2].Begin, 260);
  EXPECT_EQ(s.ChannelPositions[2].End, 511);
  EXPECT_EQ(s.ChannelPositions[2].Width, 491);
}

TEST(ChannelLayout, SetjauppmultiWithCoincidingEdges) {
  SettingsVariables s;
  s.LeftEdge = 300;
  s.RightEdge = 300;
  s.NrChannels = 1;
  setjauppmulti(s, DividerList{});
  EXPECT_EQ(s.ChannelPositions[1].Width, 0);
}

TEST(ChannelLayout, ChannelOfAPosition) {
  SettingsVariables s;
  s.NrChannels = 3;
  s.ChannelPositions[1] = {10, 100, 0};
  s.ChannelPositions[2] = {120, 200, 0};
  s.ChannelPositions[3] = {220, 300, 0};
  EXPECT_EQ(channelOf(s, 0), 1) << "left of channel 1";
  EXPECT_EQ(channelOf(s, 100), 1);
  EXPECT_EQ(channelOf(s, 101), 2) << "between channels: the one to the right";
  EXPECT_EQ(channelOf(s, 300), 3);
  EXPECT_EQ(channelOf(s, 5000), 3) << "beyond the last";
  EXPECT_EQ(channelOf(s, 50, 2), 2) << "the walk never goes back";
  s.NrChannels = 1;
  EXPECT_EQ(channelOf(s, 5000), 1) << "one channel: everything counts in it";
  s.NrChannels = 0;
  EXPECT_EQ(lastChannel(s), 1);
  s.NrChannels = 40;
  EXPECT_EQ(lastChannel(s), kMaxChannels);
}

TEST(ChannelLayout, GridRows) {
  SettingsVariables s;
  s.NrChannels = 2;
  s.ChannelPositions[1] = {0, 250, 489};
  s.ChannelPositions[2] = {260, 511, 491};
  const auto rows = lesaimultitoflu(s);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::array<std::string, 4>{"Channel nr", "Width [mm]", "Begin ", "End"}));
  EXPECT_EQ(rows[2], (std::array<std::string, 4>{"2", "491", "260", "511"}));
  s.NrChannels = -2;
  EXPECT_EQ(lesaimultitoflu(s).size(), 1u);
}

}  // namespace
