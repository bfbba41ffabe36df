// The channel-width items: what each item index means, and what an index or
// a width in millimetres that is none of the items gives.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <tuple>

#include "settings/channel_width.h"
#include "settings/settings_model.h"

namespace {

using Constants = std::tuple<int32_t, int32_t, int32_t>;  // LengthDivisor, AngleThreshold, AreaFactor
constexpr Constants kWide{6, 8, 1};
constexpr Constants kNarrow{4, 10, 2};

Constants constantsOf(const ChannelWidthConstants& c) { return {c.LengthDivisor, c.AngleThreshold, c.AreaFactor}; }

TEST(ChannelWidthTest, EachItemByItsIndex) {
  struct Row { int index; ChannelWidth width; int32_t mm; const char* caption; Constants constants; };
  const SettingsModel designed;
  ASSERT_EQ(designed.Channelwidth.items().size(), 3U);
  EXPECT_EQ(designed.Channelwidth.itemIndex(), 0);  // the window's designed "500"
  for (const Row& row : {Row{0, ChannelWidth::k500, 500, "500", kNarrow},
                         Row{1, ChannelWidth::k1000, 1000, "1000", kNarrow},
                         Row{2, ChannelWidth::k1400, 1400, "1400", kWide}}) {
    SCOPED_TRACE(row.index);
    EXPECT_EQ(channelWidthAt(row.index), row.width);
    EXPECT_EQ(channelWidthMm(row.index), row.mm);
    EXPECT_EQ(designed.Channelwidth.items()[static_cast<size_t>(row.index)], row.caption);
    EXPECT_EQ(constantsOf(channelWidthConstants(row.index)), row.constants);
    EXPECT_EQ(constantsOf(channelWidthConstantsForMm(row.mm)), row.constants);
  }
}

TEST(ChannelWidthTest, NoneOfTheItems) {
  // An index outside the items: the default width, 1000 mm.
  for (int index : {-1, -2, 3, 7, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(index);
    EXPECT_FALSE(channelWidthAt(index).has_value());
    EXPECT_EQ(channelWidthMm(index), 1000);
    EXPECT_EQ(constantsOf(channelWidthConstants(index)), kNarrow);
  }
  // A report's "Skuffubreidd" may carry any number; only 1400 is wide.
  for (int32_t mm : {-1, 0, 1, 1399, 1401, 2800, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(constantsOf(channelWidthConstantsForMm(mm)), kNarrow) << mm;
  }
}

}  // namespace
