// The count the counter made live beside the viewer's re-count of the same
// recording: the live counts from the report, the differences once the
// re-count has covered the whole recording, the re-count's fish per minute
// as a chart curve, and the frame that holds a time of the chart.
//
//   times     line L of the recording is at the time of day of its start
//             (StartTime = DateTime - Lasting) plus L / kLinesPerSecond
//             seconds, in days as the chart's x values (+1 past midnight)
//   minutes   minute m holds lines m x kLinesPerMinute + 1 .. (m + 1) x
//             kLinesPerMinute; its point stands at the time of the last
//             of its lines counted so far, with the fish counted on them
//   whole     the count ran from line 1 to the last line without a restart;
//             only then is a difference re-count - live count given
//
// It follows the engine as its RecountListener; the minute table is made
// when a recording is set, so following the count allocates nothing.
#ifndef TINDAVEL_RECORDS_LIVE_COMPARISON_H_
#define TINDAVEL_RECORDS_LIVE_COMPARISON_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "records/recording_settings.h"
#include "records/recount_engine.h"
#include "settings/settings_variables.h"

inline constexpr int64_t kLinesPerMinute = int64_t{kLinesPerSecond} * 60;

class LiveComparison : public RecountListener {
 public:
  // A recording of `totalLines` lines whose first line is at `startTime`
  // (days), counted in `channels` channels, with the live counts of its
  // report ([c] empty where the report holds none). Forgets any count.
  void setRecording(int64_t totalLines, double startTime, int channels,
                    const ChannelArray<std::optional<int32_t>>& live);

  void countRestarted(int64_t firstLine) override;
  void fishCounted(const ObjectRecord& fish, int channel, int32_t frame, int64_t line) override;
  void linesCounted(int64_t lastLine) override;

  // The live count of channel c, when the report holds one.
  std::optional<int32_t> liveCount(int c) const;
  // True when the count has covered every line from the first without a
  // restart.
  bool wholeRecording() const;
  // recount - live count of channel c, when the count is whole and the
  // report holds a live count.
  std::optional<int64_t> difference(int c, int32_t recount) const;

  // Fish counted in channel c in each minute the count has reached, from the
  // minute of its first line ([0] is that minute).
  std::vector<int32_t> minuteCounts(int c) const;
  // The re-count curve of channel c: (time of the count's first line, 0),
  // then one point per minute reached (see the top of this file).
  std::vector<ChartPoint> recountCurve(int c) const;

  // The chart time (days, a time of day) of line `line`.
  double timeOfLine(int64_t line) const;
  // The first and the last chart time of the recording.
  double firstTime() const { return timeOfLine(0); }
  double lastTime() const { return timeOfLine(totalLines_); }
  // The frame of `frameWidth` columns that holds chart time `x`; none when x
  // lies outside the recording (or there is none).
  std::optional<int32_t> frameAt(double x, int32_t frameWidth) const;

 private:
  int64_t totalLines_ = 0;
  double startOfDay_ = 0;  // chart time of line 0
  int channels_ = 0;
  ChannelArray<std::optional<int32_t>> live_{};
  std::vector<ChannelArray<int32_t>> minutes_;  // [minute of the recording] fish per channel
  int64_t runFirst_ = 0;  // first line of the count; 0: nothing counted
  int64_t runLast_ = 0;   // last line counted
};

#endif  // TINDAVEL_RECORDS_LIVE_COMPARISON_H_
