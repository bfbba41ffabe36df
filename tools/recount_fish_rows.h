// The fish a re-count counts, one by one: as rows of the fish CSV
// (`recount --fish`) and as a tally per channel for the printed re-count
// report (fish per minute, breadths, weight estimates).
//
// The rows come from the engine's fish sink (records/recount_engine.h),
// which is told of each object as it is counted in its channel: the record
// the acceptance step copied, the one the trace line describes. So the rows
// of a recording and channel sum exactly to that channel's re-count.
//
//   file               the record file as --csv names it
//   channel            1..4
//   channel_name       as the record viewer shows it
//   size_group         the group's name, as --csv writes it
//   frame, line        where the fish ended; line from 1 at the start of the file
//   time               start time + line / 1116 s, ISO 8601 to the millisecond
//                      (empty when the report has no "DateTime")
//   length_lines, breadth_px, area   the fish's Lines, MaxWidth and Area
//   breadth_mm         breadth_px x ChannelWidthMm / (RightEdge - LeftEdge), 1 decimal
//   weight_estimate_g  (area / (RightEdge - LeftEdge) x ChannelWidthMm)^1.5 / 1200,
//                      3 decimals (the debug viewer's formula, on the fish's own area)
#ifndef TINDAVEL_TOOLS_RECOUNT_FISH_ROWS_H_
#define TINDAVEL_TOOLS_RECOUNT_FISH_ROWS_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/recount_engine.h"
#include "settings/settings_variables.h"

inline const std::vector<std::string> kFishCsvHeader = {
    "file",   "channel",      "channel_name", "size_group", "frame",      "line",
    "time",   "length_lines", "breadth_px",   "area",       "breadth_mm", "weight_estimate_g"};

// Breadths are tallied in whole millimetres up to this; broader fish go in
// the last class.
inline constexpr int kBreadthTallyMm = 2000;
// Weight estimates are tallied in classes a tenth of a decade wide from
// kWeightTallyFloorGrams up; class 0 holds everything lighter.
inline constexpr int kWeightTallyClasses = 90;
inline constexpr int kWeightClassesPerDecade = 10;
inline constexpr double kWeightTallyFloorGrams = 0.001;
// The tally's fish per minute: lines of one minute.
inline constexpr int64_t kLinesPerMinute = int64_t{kLinesPerSecond} * 60;

// The lower bound, grams, of weight class k (k >= 1).
double weightClassFloor(int k);

// What the rows and the tally know of the recording.
struct FishScale {
  std::string file;                        // as the rows name it
  int channels = 0;
  ChannelArray<std::string> channelNames{};  // [1..channels]
  ChannelArray<std::string> sizeGroups{};    // [1..channels] names
  int32_t leftEdge = 0;
  int32_t rightEdge = 0;
  int32_t channelWidthMm = 0;
  std::optional<double> startTime;  // day count of the first line
};

struct FishChannelTally {
  std::vector<int32_t> perMinute;  // [minute of the file, from 0]
  std::vector<int32_t> breadthMm;  // [whole millimetres], sized when the first fish comes
  std::array<int32_t, kWeightTallyClasses> weight{};
};

class FishRowText;

class FishTally final : public RecountListener {
 public:
  // Starts a recording: forgets what was counted. With `rowBuffer` the
  // rows are kept, written into that buffer after clearing it: a buffer
  // handed on from recording to recording keeps its capacity, so a season
  // of fish rows is not grown (and its fresh pages touched) again each time.
  void begin(const FishScale& scale, std::optional<std::string> rowBuffer);
  void fishCounted(const ObjectRecord& fish, int channel, int32_t frame, int64_t line) override;

  // The CSV rows so far (no header), CR LF ended.
  const std::string& rows() const { return rows_; }
  // The rows' buffer, for the next recording's begin().
  std::string takeRows() { return std::move(rows_); }
  const FishChannelTally& channel(int c) const { return channels_[static_cast<size_t>(c)]; }

 private:
  void appendTime(FishRowText& row, int64_t line);

  FishScale scale_;
  bool keepRows_ = false;
  std::string rows_;
  ChannelArray<std::string> prefix_{};  // file, channel, name and group of each channel's rows
  ChannelArray<FishChannelTally> channels_{};
  int64_t startMs_ = 0;              // the start time, milliseconds since the day count's epoch
  int64_t cachedSecond_ = INT64_MIN;  // the second whose text is cached
  std::string cachedSecondText_;     // "yyyy-mm-ddThh:mm:ss" of it
};

#endif  // TINDAVEL_TOOLS_RECOUNT_FISH_ROWS_H_
