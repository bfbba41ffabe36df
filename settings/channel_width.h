// The counter channel width: the items of the settings window's choice
// `Channelwidth` ("Counter Channel Width [mm]"), each with what belongs to it.
//
//   width  item index  millimetres  caption key  LengthDivisor AngleThreshold AreaFactor
//   k500       0           500         "500"           4             10            2
//   k1000      1          1000         "1000"          4             10            2
//   k1400      2          1400         "1400"          6              8            1
//
// The item index is what the store keeps ("channelwidth") and what a report
// carries; the millimetres become ChannelWidthMm. The caption key is the
// item's designed caption, the text a language fill would replace: a width is
// always taken from its item index, never read back from a caption.
//
// No item chosen ("channelwidth" stored as -1 or less): the default width
// k1000, so a load never depends on what was loaded before. A width in
// millimetres that is none of the items (a report's "Skuffubreidd" may carry
// any number) takes the narrow channels' constants.
#ifndef TINDAVEL_SETTINGS_CHANNEL_WIDTH_H_
#define TINDAVEL_SETTINGS_CHANNEL_WIDTH_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The detection constants that depend on the counter channel width.
struct ChannelWidthConstants {
  int32_t LengthDivisor;   // MinLength = AvgLength / LengthDivisor
  int32_t AngleThreshold;  // degrees of edge spread that advance the shape state
  int32_t AreaFactor;      // the shape state needs MinArea * AreaFactor per phase
};
inline constexpr ChannelWidthConstants kWideChannelConstants{6, 8, 1};
inline constexpr ChannelWidthConstants kNarrowChannelConstants{4, 10, 2};

enum class ChannelWidth { k500, k1000, k1400 };

struct ChannelWidthItem {
  ChannelWidth width;
  int index;                        // item of `Channelwidth`; stored as "channelwidth"
  int32_t millimetres;              // ChannelWidthMm
  std::string_view captionKey;      // the designed caption
  ChannelWidthConstants constants;  // set by setDetectionConstants
};

// In item order: kChannelWidthItems[i].index == i.
inline constexpr std::array<ChannelWidthItem, 3> kChannelWidthItems{{
    {ChannelWidth::k500, 0, 500, "500", kNarrowChannelConstants},
    {ChannelWidth::k1000, 1, 1000, "1000", kNarrowChannelConstants},
    {ChannelWidth::k1400, 2, 1400, "1400", kWideChannelConstants},
}};
inline constexpr int kChannelWidthCount = static_cast<int>(kChannelWidthItems.size());
static_assert(
    [] {
      for (int i = 0; i < kChannelWidthCount; ++i) {
        const ChannelWidthItem& item = kChannelWidthItems[static_cast<std::size_t>(i)];
        if (item.index != i || static_cast<int>(item.width) != i) return false;
      }
      return true;
    }(),
    "the rows are in item order and in the enum's order");

// The store's default item, and the width when no item is chosen.
inline constexpr ChannelWidth kDefaultChannelWidth = ChannelWidth::k1000;

constexpr const ChannelWidthItem& channelWidthItem(ChannelWidth width) {
  return kChannelWidthItems[static_cast<std::size_t>(width)];
}

// The width of item `index`; none for an index outside the items.
constexpr std::optional<ChannelWidth> channelWidthAt(int index) {
  if (index < 0 || index >= kChannelWidthCount) return std::nullopt;
  return kChannelWidthItems[static_cast<std::size_t>(index)].width;
}

// The item `index` chosen, or the default width when it is none of the items.
constexpr const ChannelWidthItem& chosenChannelWidth(int index) {
  return channelWidthItem(channelWidthAt(index).value_or(kDefaultChannelWidth));
}

// ChannelWidthMm when no item is chosen.
inline constexpr int32_t kFallbackChannelWidthMm = channelWidthItem(kDefaultChannelWidth).millimetres;

// ChannelWidthMm of item `index`: 500, 1000, 1400; kFallbackChannelWidthMm for none.
constexpr int32_t channelWidthMm(int index) { return chosenChannelWidth(index).millimetres; }

// The detection constants of item `index`; the default width's for none.
constexpr ChannelWidthConstants channelWidthConstants(int index) { return chosenChannelWidth(index).constants; }

// The detection constants of a width in millimetres: those of the item of
// that width, the narrow channels' for any other number.
constexpr ChannelWidthConstants channelWidthConstantsForMm(int32_t millimetres) {
  for (const ChannelWidthItem& item : kChannelWidthItems) {
    if (item.millimetres == millimetres) return item.constants;
  }
  return kNarrowChannelConstants;
}

// The designed captions of the items, in item order.
inline std::vector<std::string> channelWidthCaptionKeys() {
  std::vector<std::string> keys;
  keys.reserve(kChannelWidthItems.size());
  for (const ChannelWidthItem& item : kChannelWidthItems) keys.emplace_back(item.captionKey);
  return keys;
}

#endif  // TINDAVEL_SETTINGS_CHANNEL_WIDTH_H_
