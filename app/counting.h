// The counting side of the main window, without widgets: which per-channel
// controls show for a channel count, the report lines of a counting session,
// and the throughput chart's values.
#ifndef TINDAVEL_APP_COUNTING_H_
#define TINDAVEL_APP_COUNTING_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "settings/settings_model.h"
#include "settings/settings_variables.h"

// Counting-session state that the main window keeps: the line-rate count,
// and the report lines of the current session.
struct CountingState : LineRateCount {
  // The report lines of the current session, in order; absent until the
  // first session start (no session, no list).
  std::optional<std::vector<std::string>> ReportLines;
};

inline constexpr int kThroughputFactor = 6;        // fish per 10 s -> fish per minute
inline constexpr double kChartSpanDays = 1.0 / 48;  // the chart shows the last 30 minutes
inline constexpr int kStoreGapBlanks = 5;          // blanks before each count of a Store line
inline constexpr int kTargetGapBlanks = 12;        // blanks between time and count of a target line

// Which per-channel controls show for `nrChannels` channels, with or without
// multi-channel counting. Arrays are indexed by channel 1..4; [0] is unused.
struct ChannelControlsShown {
  ChannelArray<bool> nameField{};   // settings window: name edit and its keyboard button
  ChannelArray<bool> groupBox{};    // main window: channel group box with its count
  ChannelArray<bool> chartLine{};   // "Counter n" line active
  ChannelArray<bool> sizeGroupTab{};
  bool summaShown = false;          // Summa shown (Total hidden), else the reverse
  bool subTotalCaption = false;     // sum box reads "Sub Total" in yellow, else "Total" in lime
};
ChannelControlsShown channelControlsShown(int32_t nrChannels, bool multi);

// The channel count clamped into 1..4, so that tables indexed by channel are
// never read past their end even before the settings are loaded.
int32_t channelsInUse(int32_t nrChannels);

// Sum of ChannelCounter[1..NrChannels], in 64 bits so no sum overflows.
int64_t channelCountSum(const SettingsVariables& settings);

// A Store line: the time "hh:mm:ss", then for each channel in use five
// blanks and its count.
std::string storeLine(const std::string& timeOfDay, const SettingsVariables& settings);

// A target-timer line: the time, twelve blanks, the count of channel 1.
std::string targetLine(const std::string& timeOfDay, int32_t count);

// The "Max capacity" point: (gauge maximum x 60) / lines per buffer x 1116,
// or nothing when lines per buffer is 0 or negative.
std::optional<double> capacityPoint(int32_t gaugeMaximum, int32_t linesPerBuffer);

// Counting-session start on the program-wide counts: clears the total and
// the counts of the channels in use and starts an empty list of report lines.
void startSessionCounts(SettingsVariables& settings, SessionState& session, CountingState& counting);

#endif  // TINDAVEL_APP_COUNTING_H_
