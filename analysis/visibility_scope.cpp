#include "analysis/visibility_scope.h"

#include <algorithm>
#include <charconv>

int scopeChannels(const SettingsVariables& settings) { return std::clamp(settings.NrChannels, 1, kMaxChannels); }

int32_t channelDivider(const SettingsVariables& settings, int k) {
  const auto& p = settings.ChannelPositions;
  // In 64 bits: the sum of two 32-bit positions may not fit 32, its half does.
  const int64_t sum = int64_t{p[static_cast<std::size_t>(k)].End} + p[static_cast<std::size_t>(k) + 1].Begin;
  return static_cast<int32_t>(sum / 2);
}

std::vector<int32_t> scopeBars(const SettingsVariables& settings) {
  const int channels = scopeChannels(settings);
  std::vector<int32_t> bars;
  bars.reserve(static_cast<std::size_t>(channels) + 1);
  bars.push_back(settings.LeftEdge);
  for (int k = 1; k < channels; ++k) bars.push_back(channelDivider(settings, k));
  bars.push_back(settings.RightEdge);
  return bars;
}

std::vector<int32_t> edgeBars(int32_t left, int32_t right) { return {left, right}; }

int32_t scopeFieldValue(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);  // from_chars takes "-" only
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

std::optional<std::string> edgeError(int32_t left, int32_t right, int32_t lineWidth) {
  if (right < left) return std::string(kEdgeOrderMessage);
  if (left < 0) return std::string(kLeftEdgeMessage);
  if (right >= lineWidth) return std::string(kRightEdgePrefix) + std::to_string(lineWidth);
  return std::nullopt;
}

std::optional<std::string> storeEdges(SettingsVariables& settings, int32_t left, int32_t right,
                                      int32_t lineWidth) {
  std::optional<std::string> error = edgeError(left, right, lineWidth);
  if (!error) {
    settings.RightEdge = right;
    settings.LeftEdge = left;
  }
  return error;
}

AxisRange shownRange(int32_t lineWidth) { return {0, lineWidth}; }

AxisRange wholeLineRange(int32_t lineWidth) { return {0, int64_t{lineWidth} - 1}; }

AxisRange zoomRange(int32_t x) { return {int64_t{x} - kScopeZoomHalfWidth, int64_t{x} + kScopeZoomHalfWidth}; }

std::optional<std::size_t> leftEdgeBar(std::size_t barCount) {
  if (barCount == 0) return std::nullopt;
  return 0;
}

std::optional<std::size_t> rightEdgeBar(const SettingsVariables& settings, std::size_t barCount) {
  if (barCount == 0) return std::nullopt;
  return std::min(static_cast<std::size_t>(scopeChannels(settings)), barCount - 1);
}

std::vector<std::pair<double, double>> barOutline(const std::vector<int32_t>& bars, double halfWidth,
                                                  double height) {
  std::vector<int32_t> sorted = bars;
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::pair<double, double>> blocks;  // [from, to] of each block
  for (int32_t x : sorted) {
    const double from = x - halfWidth;
    const double to = x + halfWidth;
    if (!blocks.empty() && from <= blocks.back().second) {
      blocks.back().second = std::max(blocks.back().second, to);
    } else {
      blocks.emplace_back(from, to);
    }
  }
  std::vector<std::pair<double, double>> points;
  points.reserve(blocks.size() * 4);
  for (const auto& [from, to] : blocks) {
    points.emplace_back(from, 0.0);
    points.emplace_back(from, height);
    points.emplace_back(to, height);
    points.emplace_back(to, 0.0);
  }
  return points;
}
