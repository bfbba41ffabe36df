// Size classification: turns a channel's size group into its detection
// parameters (stillafiskiflokk), and re-derives them from the running means of
// the fish accepted (autofiskiflokkur, automatic size sensing). Both also feed
// the main window's size label, capacity gauge, weight labels and progress
// bars, through SizeDisplay.
#ifndef TINDAVEL_ANALYSIS_SIZE_CLASSIFICATION_H_
#define TINDAVEL_ANALYSIS_SIZE_CLASSIFICATION_H_

#include <cstdint>
#include <string_view>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "settings/settings_variables.h"

// The main window's displays that the size classification sets. Channels and
// bars are numbered 1..4. A window implements it; tests record the calls.
class SizeDisplay {
 public:
  virtual ~SizeDisplay() = default;
  virtual void showSizeGroupName(int channel, std::string_view name) = 0;  // sizelbl1..4
  virtual void setGaugeMaximum(int32_t maximum) = 0;                       // Gauge1
  virtual void showWeightEstimate(int channel, std::string_view text) = 0; // estimlbl1..4
  virtual void setProgressPosition(int bar, int32_t position) = 0;         // ProgressBar1..4
  virtual void setProgressVisible(int bar, bool visible) = 0;              // ProgressBar1..4
};

// The channel width used for the pixel scale when the settings hold none
// (0 or -1: a report file without "Skuffubreidd"): the default item's.
inline constexpr int32_t kDefaultChannelWidthMm = kFallbackChannelWidthMm;

// A size of `mm` millimetres in pixels:
// trunc((RightEdge - LeftEdge) * mm * 500 / (ChannelWidthMm * 511)), exact
// (integer arithmetic, so whole results are never truncated one too low).
// A ChannelWidthMm of 0 or less is taken as kDefaultChannelWidthMm. The
// result is clamped to the range of 32-bit integers.
int32_t pixelScale(const SettingsVariables& s, int32_t mm);

// Applies size group s.SizeGroup[ch] to channel ch (1..4; another ch does
// nothing). `linesPerBuffer` scales the gauge; with `enableMulti` (the main
// window's "Enablemulti") the gauge maximum is shared among the channels.
// A size group outside 0..9 is read as sizeGroupIndex says.
void stillafiskiflokk(int ch, DetectionState& d, const SettingsVariables& s,
                      int32_t linesPerBuffer, bool enableMulti,
                      SizeDisplay* display = nullptr);

// Derives channel ch's (1..4) limits from its running means, never below the
// group's floors, and refreshes its weight display from `counts`; the
// progress bars are visible only while `sessionActive`.
void autofiskiflokkur(int ch, DetectionState& d, const ViewerCounts& counts,
                      bool sessionActive, SizeDisplay* display = nullptr);

#endif  // TINDAVEL_ANALYSIS_SIZE_CLASSIFICATION_H_
