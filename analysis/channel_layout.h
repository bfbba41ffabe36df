// The channel layout: which stretch of the scan line belongs to which channel.
// Channel k covers ChannelPositions[k].Begin..End; pixels between two channels
// and left of channel 1 belong to the channel on their right, pixels right of
// the last channel to the last channel.
#ifndef TINDAVEL_ANALYSIS_CHANNEL_LAYOUT_H_
#define TINDAVEL_ANALYSIS_CHANNEL_LAYOUT_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_variables.h"

// The channels in use: NrChannels clamped to 1..4, so that every channel walk
// stays inside the table whatever the settings hold.
inline int lastChannel(const SettingsVariables& s) {
  return s.NrChannels < 1 ? 1 : s.NrChannels > kMaxChannels ? kMaxChannels : s.NrChannels;
}

// The channel of pixel x, walking up from channel `from` (the channel of the
// previous position on the same line, or 1): the first k with
// ChannelPositions[k].End >= x, never past the last channel.
int channelOf(const SettingsVariables& s, int64_t x, int from = 1);

// One dark divider between two channels.
struct Divider {
  int32_t Left = 0;   // first pixel
  int32_t Right = 0;  // last pixel
};

// Dividers[1..Count], left to right; [0] holds 0, 0. Nothing in this program
// finds dividers yet: the list is the input of setjauppmulti.
struct DividerList {
  std::array<Divider, kMaxChannels> Dividers{};
  int32_t Count = 0;
};

// Rebuilds Begin, End and Width of channels 1..NrChannels from the dividers
// and the edges: channel k ends at divider k's Left, channel k+1 begins at its
// Right; Width = ChannelWidthMm * (End - Begin) div (RightEdge - LeftEdge).
// With RightEdge equal to LeftEdge every Width is 0.
void setjauppmulti(SettingsVariables& s, const DividerList& dividers);

// True when the widths of channels 1..NrChannels differ by less than a fifth
// of the narrowest. A layout whose narrowest channel has a width of 0 or less
// is never equal (a channel without width cannot be "about as wide").
bool ChannelsAreEqual(const SettingsVariables& s);

// The rows of the "Channel positions" grid: a header row ("Channel nr",
// "Width [mm]", "Begin ", "End"), then one row per channel 1..NrChannels
// (NrChannels clamped to 0..4): number, Width, Begin, End in decimal.
std::vector<std::array<std::string, 4>> lesaimultitoflu(const SettingsVariables& s);

#endif  // TINDAVEL_ANALYSIS_CHANNEL_LAYOUT_H_
