// The program-wide settings variables: the working copy of the settings that
// the analysis, the viewers and the windows read. Read_Registry fills them
// (with the settings window's controls); the record viewers replace several
// of them with a recording's own values and reload the store afterwards.
//
// Tables are numbered from 1 like everywhere in the program: index 0 is unused.
#ifndef TINDAVEL_SETTINGS_SETTINGS_VARIABLES_H_
#define TINDAVEL_SETTINGS_SETTINGS_VARIABLES_H_

#include <array>
#include <cstdint>

inline constexpr int kMaxChannels = 4;

// Position of one channel on the scan line, in pixels.
struct ChannelPosition {
  int32_t Begin = 0;
  int32_t End = 0;
  int32_t Width = 0;  // the "%width" value of the channel table
};

template <typename T>
using ChannelArray = std::array<T, kMaxChannels + 1>;  // [1..4]; [0] unused

struct SettingsVariables {
  int32_t LeftEdge = 0;                  // first pixel of the used part of the scan line
  int32_t RightEdge = 511;               // last pixel of the used part of the scan line
  int32_t GrandTotal = 0;                // total count of the main window's "Total" field
  ChannelArray<int32_t> SizeGroup{};     // size group of each channel, 0..8
  bool DebugMode = false;                // debug mode; never stored
  int32_t ChannelWidthMm = 1000;         // counter channel width in mm: 500, 1000 or 1400
  int32_t NrChannels = 0;                // channels in use, 1..4 once loaded
  int32_t LanguageNumber = 1;            // 1 English, 2 Icelandic, 3 Norwegian, 4 Spanish
  ChannelArray<ChannelPosition> ChannelPositions{};
  ChannelArray<int32_t> ChannelCounter{};   // count of each channel
  ChannelArray<int32_t> ChannelCounterT{};  // second count, cleared at a session start
};

// The camera's scan rate, wherever a line number becomes a time.
inline constexpr int kLinesPerSecond = 1116;

// Pixels on the sensor's scan line: recordings hold pixels 0..511.
inline constexpr int32_t kSensorLineWidth = 512;

// Camera geometry. The program's start-up sets LineWidth to the sensor's
// line (kSensorLineWidth); nothing assigns LinesPerBuffer, which stays 0.
struct CameraGeometry {
  int32_t LineWidth = 0;       // pixels per scan line
  int32_t LinesPerBuffer = 0;  // scan lines per image buffer
};

// The line-rate measurement: image buffers counted since a start time. The
// main window keeps it; the settings window shows the rate it gives.
struct LineRateCount {
  int32_t BufferCount = 0;        // buffers counted for the line-rate figure
  double BufferCountStart = 0.0;  // when the count started, days since 30 Dec 1899
};

// Counting-session state of the main window. In this edition no operation
// starts a session, but the size classification and the viewers read it.
struct SessionState {
  bool SessionActive = false;             // a counting session is in progress
  bool RunFlag = false;                   // start/stop state of counting
  ChannelArray<int32_t> IntervalCount{};  // fish per channel in the current 10-second interval
};

#endif  // TINDAVEL_SETTINGS_SETTINGS_VARIABLES_H_
