// One recording counted again on state of its own, as Autocount counts it
// from frame A to frame B, with what the command's outputs show of it.
// Recordings counted this way share nothing but the settings store, which
// is only read, so many can be counted at once on separate threads.
#ifndef TINDAVEL_TOOLS_RECOUNT_ONE_H_
#define TINDAVEL_TOOLS_RECOUNT_ONE_H_

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "records/damage_reporter.h"
#include "records/recording_settings.h"
#include "records/recount_engine.h"
#include "settings/settings_variables.h"
#include "tools/recount_fish_rows.h"

class SettingsStore;

// What is counted of each recording: frame width and the stretch of frames
// (none: from the first, to the last).
struct RecountRange {
  int32_t frameWidth = kDefaultFrameWidth;
  std::optional<int32_t> from;
  std::optional<int32_t> to;
};

// One recording as counted.
struct Recount {
  std::string error;  // why it could not be counted; empty when it was
  int channels = 0;
  int32_t frameWidth = 0;
  int32_t frames = 0;
  int32_t first = 0;
  int32_t last = 0;
  int64_t lines = 0;       // lines counted
  int64_t fileLines = 0;   // lines in the file
  ChannelArray<int32_t> counts{};                 // [1..channels] re-counts
  ChannelArray<std::optional<int32_t>> live{};    // [1..channels] "Counters"n, when the report holds it
  ChannelArray<std::string> names{};              // [1..channels] channel names as the viewer shows them
  ChannelArray<int32_t> sizeGroups{};             // [1..channels] the groups counted with
  ChannelArray<std::vector<ChartPoint>> liveCurves{};  // [1..channels] the report's throughput series
  std::optional<double> startTime;                // days; none without "DateTime"
  std::vector<Damage> damage;
  FishTally fish;  // the fish counted, as rows and as a tally
};

// Why `file` cannot be read as a recording, if it cannot.
std::optional<std::string> recordFileProblem(const std::string& file);

// Counts `file` on state of its own; `trace` (may be null) gets the trace
// lines. With `fishRows` the tally keeps a fish CSV row per fish counted,
// in that buffer (FishTally::begin).
Recount recountOne(const std::string& file, const RecountRange& range, const SettingsStore& store,
                   std::ostream* trace, std::optional<std::string> fishRows);

// The re-count of channel c less its live count; none without a live count.
std::optional<int64_t> liveDifference(const Recount& r, int c);

#endif  // TINDAVEL_TOOLS_RECOUNT_ONE_H_
