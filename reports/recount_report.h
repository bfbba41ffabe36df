// What the printed re-count report shows: a summary page of all recordings
// (when there is more than one), then a page per recording. Everything here
// is text and numbers made ready without Qt; the painter
// (recount_report_painter.h) only places it.
//
// Summary page
//   header      the fixed picture, "Re-count report", the company name and
//               the logo from the settings
//   table       a row per recording: file, start, live count, re-count and
//               difference of all its channels
//   totals      a row per day and channel: live count, re-count, difference
//   chart       live count against re-count, a point per recording, the
//               diagonal drawn
// Recording page
//   header      as above
//   recording   file, start, duration, damage found
//   table       per channel: name, size group, live count, re-count, difference
//   chart       fish per minute over the time of day: the report's
//               throughput curve and the re-count's, per channel
//   histograms  breadth (mm) and weight estimate (g) per channel
// Every page ends with "Page n of m".
#ifndef TINDAVEL_REPORTS_RECOUNT_REPORT_H_
#define TINDAVEL_REPORTS_RECOUNT_REPORT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reports/report_bands.h"

inline constexpr const char* kRecountReportTitle = "Re-count report";

// A histogram of a recording: the same bars for every channel, so that
// the channels stand side by side under one row of labels.
struct RecountHistogram {
  std::vector<std::string> labels;            // the lower bound of each bar
  std::vector<std::vector<int64_t>> heights;  // [channel index][bar]: fish per bar
};

struct RecountChannel {
  std::string name;
  std::string sizeGroup;
  std::optional<int64_t> live;  // the report's "Counters"n; none when it holds none
  int64_t recount = 0;
  std::vector<ThroughputPoint> liveCurve;     // the report's, fish per minute over the time of day
  std::vector<ThroughputPoint> recountCurve;  // the re-count's, one point a minute
};

struct RecountRecording {
  std::string file;
  std::optional<double> startTime;  // day count of the first line; none without "DateTime"
  double seconds = 0;               // the file's lines at 1116 a second
  std::string error;                // why it could not be counted; empty when it was
  std::vector<std::string> damage;  // "line N: reason"
  std::vector<RecountChannel> channels;
  RecountHistogram breadthMm;
  RecountHistogram weightGrams;
};

struct RecountReport {
  std::string companyName;  // the settings' company name
  std::string logoPath;     // the settings' logo picture
  std::vector<RecountRecording> recordings;
};

// The texts of the tables.
std::string recountStartText(const std::optional<double>& startTime);   // "d.m.yyyy h:nn:ss", "-" without
std::string recountDurationText(double seconds);                        // "h:mm:ss"
std::string recountCountText(const std::optional<int64_t>& count);      // "-" without
std::string recountDifferenceText(const std::optional<int64_t>& live, int64_t recount);  // "+3", "0", "-2", "-"

// The sums of a recording's channels (live: none when a channel has none).
std::optional<int64_t> liveTotal(const RecountRecording& r);
int64_t recountTotal(const RecountRecording& r);

// A row of the totals per day and channel: the recordings that start on
// that day, channel by channel (by number), in day order. Recordings
// without a start time are summed under the day "-"; ones that could not
// be counted are left out.
struct DayTotal {
  std::string day;  // "d.m.yyyy"
  int channel = 0;  // 1..4
  std::string channelName;  // the name of the first recording's channel
  std::optional<int64_t> live;  // none when a recording of the day has none
  int64_t recount = 0;
};
std::vector<DayTotal> totalsPerDay(const RecountReport& report);

#endif  // TINDAVEL_REPORTS_RECOUNT_REPORT_H_
