#include "analysis/channel_layout.h"

#include <algorithm>
#include <cstdlib>

int channelOf(const SettingsVariables& s, int64_t x, int from) {
  const int last = lastChannel(s);
  int k = std::clamp(from, 1, last);
  while (k < last && s.ChannelPositions[k].End < x) ++k;
  return k;
}

void setjauppmulti(SettingsVariables& s, const DividerList& dividers) {
  const int n = lastChannel(s);
  s.ChannelPositions[1].Begin = s.LeftEdge;
  s.ChannelPositions[n].End = s.RightEdge;
  for (int k = 1; k < n; ++k) {
    s.ChannelPositions[k].End = dividers.Dividers[k].Left;
    s.ChannelPositions[k + 1].Begin = dividers.Dividers[k].Right;
  }
  const int64_t span = int64_t{s.RightEdge} - s.LeftEdge;
  for (int k = 1; k <= n; ++k) {
    ChannelPosition& p = s.ChannelPositions[k];
    // The edges coincide only in a broken setting; no channel has width then.
    const int64_t width =
        span == 0 ? 0 : int64_t{s.ChannelWidthMm} * (int64_t{p.End} - p.Begin) / span;
    p.Width = static_cast<int32_t>(std::clamp<int64_t>(width, INT32_MIN, INT32_MAX));
  }
}

bool ChannelsAreEqual(const SettingsVariables& s) {
  const int n = lastChannel(s);
  int64_t widest = s.ChannelPositions[1].Width;
  int64_t narrowest = widest;
  for (int k = 2; k <= n; ++k) {
    widest = std::max<int64_t>(widest, s.ChannelPositions[k].Width);
    narrowest = std::min<int64_t>(narrowest, s.ChannelPositions[k].Width);
  }
  if (narrowest <= 0) return false;
  // The largest difference of any pair is that of the widest and narrowest.
  return static_cast<double>(widest - narrowest) / static_cast<double>(narrowest) < 0.2;
}

std::vector<std::array<std::string, 4>> lesaimultitoflu(const SettingsVariables& s) {
  const int n = std::clamp(s.NrChannels, 0, kMaxChannels);
  std::vector<std::array<std::string, 4>> rows;
  rows.reserve(n + 1);
  rows.push_back({"Channel nr", "Width [mm]", "Begin ", "End"});
  for (int r = 1; r <= n; ++r) {
    const ChannelPosition& p = s.ChannelPositions[r];
    rows.push_back({std::to_string(r), std::to_string(p.Width), std::to_string(p.Begin),
                    std::to_string(p.End)});
  }
  return rows;
}
