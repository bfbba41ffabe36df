// The visibility scope's rules, apart from its window (analysis/scope_window.h):
// where the marker bars stand on the scan line, the check of the edges the
// operator typed in, and the ranges the x axis zooms to. No Qt.
//
// The markers, in the order the window adds them:
//
//   bar 0              LeftEdge
//   bar k (k = 1..N-1) the divider between channel k and k+1:
//                      (ChannelPositions[k].End + ChannelPositions[k+1].Begin) / 2
//   bar N              RightEdge
//
// with N = NrChannels clamped to 1..4. After an edit of either edge field only
// the two edge bars remain until the next show.
#ifndef TINDAVEL_ANALYSIS_VISIBILITY_SCOPE_H_
#define TINDAVEL_ANALYSIS_VISIBILITY_SCOPE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/settings_variables.h"

inline constexpr int32_t kScopeBarHeight = 255;       // a marker reaches full light strength
inline constexpr int32_t kScopeZoomHalfWidth = 50;    // pixels either side of a zoomed marker
inline constexpr double kScopeBarWidthShare = 0.01;   // a bar's width, as a share of the x axis

inline constexpr const char* kEdgeOrderMessage = "Left Edge must be less than Right Edge";
inline constexpr const char* kLeftEdgeMessage = "Left Edge must be bigger than 0 ";
inline constexpr const char* kRightEdgePrefix = "Right Edge must be less than   ";  // then LineWidth

// NrChannels as the scope counts channels: clamped to 1..4.
int scopeChannels(const SettingsVariables& settings);

// The divider between channel k and channel k + 1 (k = 1..3): the middle of
// k's end and k+1's begin, in integer division truncating toward zero.
int32_t channelDivider(const SettingsVariables& settings, int k);

// The markers a show puts up, bar 0 to bar N (see above).
std::vector<int32_t> scopeBars(const SettingsVariables& settings);

// The markers after an edit: the two fields' values, left then right.
std::vector<int32_t> edgeBars(int32_t left, int32_t right);

// An edge field's number: its text as a decimal integer (blanks around it and
// a sign allowed); 0 while it holds none, e.g. empty or a lone "-".
int32_t scopeFieldValue(std::string_view text);

// The check on closing the scope, in its order; nullopt when the pair may be
// stored. Right >= lineWidth gives the right-edge text followed by lineWidth.
std::optional<std::string> edgeError(int32_t left, int32_t right, int32_t lineWidth);

// Closing: when the pair passes the check, RightEdge and LeftEdge take it and
// nullopt comes back; otherwise the settings stay and the message comes back.
std::optional<std::string> storeEdges(SettingsVariables& settings, int32_t left, int32_t right,
                                      int32_t lineWidth);

// An x-axis range, both ends included.
struct AxisRange {
  int64_t min = 0;
  int64_t max = 0;
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// The range a show sets: 0..LineWidth.
AxisRange shownRange(int32_t lineWidth);
// "Zoom out": the whole line, 0..LineWidth - 1.
AxisRange wholeLineRange(int32_t lineWidth);
// Zoom onto a marker at x: x - 50 .. x + 50.
AxisRange zoomRange(int32_t x);

// The marker the left-edge zoom centres on: bar 0; nothing while there are no bars.
std::optional<std::size_t> leftEdgeBar(std::size_t barCount);
// The marker the right-edge zoom centres on: bar N, or the last bar when
// fewer are up (after an edit only the two edge bars are); nothing while
// there are no bars.
std::optional<std::size_t> rightEdgeBar(const SettingsVariables& settings, std::size_t barCount);

// The outline of bars of the given height, each halfWidth either side of its
// x, as the points of one line along the baseline (y = 0): up, across and down
// at every bar, left to right. Bars that touch or overlap become one block, so
// a filled area under the line shows every bar, two at one x included.
std::vector<std::pair<double, double>> barOutline(const std::vector<int32_t>& bars, double halfWidth,
                                                  double height);

#endif  // TINDAVEL_ANALYSIS_VISIBILITY_SCOPE_H_
