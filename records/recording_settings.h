// A recording's own settings, taken from its companion report file (the
// record file's name with ".mse"): the viewer counts a recording with the
// edges, channels, channel width and size groups the counter used when it was
// made, and shows the session's caption, channel names and throughput curves.
//
// nyjarstillingar comes in two steps. Reading the report (and the store's
// Enablemulti) changes nothing; applying the reading replaces the working
// copy of the settings (variables, the settings window's Channelwidth and
// Enablemulti, the main window's size-group up-downs). The record viewer
// saves the working copy before and reloads it after. A recording is opened
// for counting with the reading (records/recording_opener.h), which applies it.
//
// Report values are read in this order (section, key, default):
//    1  Program  DateTime      ""     -> the date text, "dd MMM yyyy"
//    2  Program  Tank          ""
//    3  Program  Generation    ""
//    4  caption = "Tank: " + tank + "  " + generation + "     " + date text
//    5  Settings NrChannels    1      -> NrChannels (kept to 1..4)
//    6  Settings Ledge         0      -> LeftEdge
//    7  Settings Redge         511    -> RightEdge (both reset to 0/511 unless Left < Right)
//    8  Eka      channelwidth  -1     -> Channelwidth item; none chosen: item 1 when
//                                        RightEdge - LeftEdge >= 1500, else item 0;
//                                        ChannelWidthMm = the item's number
//    9  Eka      Skuffubreidd  -1     -> ChannelWidthMm when present and above 0;
//                                        then the detection constants
//   10  Eka      %width<n>     ChannelWidthMm div NrChannels  -> ChannelPositions[n].Width
//   11  Eka      Multib<n>     LeftEdge                       -> ChannelPositions[n].Begin
//   12  Eka      Multie<n>     RightEdge                      -> ChannelPositions[n].End
//   13  store    Enablemulti   false  -> the settings window's Enablemulti
//   14  Program  Lasting       "0"
//   15  Program  DateTime      "0"    -> StartTime = DateTime - Lasting
//   16  Eka      Size Group1..4  2    -> SizeGroup[1..4] (0..8)
//   17  Eka      Countname1..4  "Counter n" -> count edit label: name + "   " + group name
//   18                                -> ChannelNames[1..4]
//   19  ThroughputChart<n> (or ThroughputChart) X<i>, Y<i> -> the chart series of channel n
#ifndef TINDAVEL_RECORDS_RECORDING_SETTINGS_H_
#define TINDAVEL_RECORDS_RECORDING_SETTINGS_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reports/report_file.h"
#include "settings/settings_variables.h"

class IniFile;
class SettingsModel;
class SettingsStore;
struct DetectionState;

// The message shown when a record file has no report file beside it.
inline constexpr std::string_view kMissingReportMessage = "Cant find corresponding reportfile (.mse)";

// What to tell when readRecordingReport(recordPath, ...) read nothing:
// kMissingReportMessage when there is no report file, else that the report
// file cannot be read and why ("... : it is a folder.").
std::string noReportMessage(const std::string& recordPath);

// One point of a chart series: x in days (a time of day, plus 1 after
// midnight), y in fish per minute.
struct ChartPoint {
  double x = 0;
  double y = 0;
  bool operator==(const ChartPoint&) const = default;
};

// What the viewer shows of the session besides the frames.
struct RecordingSettings {
  std::string Caption;                          // the window's caption
  ChannelArray<std::string> ChannelNames{};     // [1..4]
  ChannelArray<std::string> CountLabels{};      // [1..4] labels of LabeledEdit1..4
  double StartTime = 0;                         // date-time of the first line, days
  ChannelArray<std::vector<ChartPoint>> Series{};  // [1..NrChannels] throughput series
};

// The report file that belongs to a record file: the same path with the
// extension replaced by ".mse" (".MSE" is tried too when ".mse" is missing).
std::string companionReportPath(const std::string& recordPath);

// What a recording is counted with, as read beside it: the report file as
// the record viewers read it (floats by their rule) and the store's
// "Enablemulti" (row 13). Each viewer applies it with its own defaults.
struct RecordingReport {
  ReportFile report;
  bool enableMulti = false;     // the store's "Enablemulti"
  bool reportSections = true;   // false: the file holds no section of a report
};

// The reading of a parsed report file, with `enableMulti` as the store's.
RecordingReport readRecordingReport(const IniFile& report, bool enableMulti);
// The reading of the companion report file of `recordPath` (both record
// viewers read it so), with `enableMulti` as the store's; nullopt when there
// is none or it cannot be read (noReportMessage says which). Changes nothing.
std::optional<RecordingReport> readRecordingReport(const std::string& recordPath, bool enableMulti);
// The same with the store's "Enablemulti".
std::optional<RecordingReport> readRecordingReport(const std::string& recordPath,
                                                   const SettingsStore& store);

// Applies a reading as above.
RecordingSettings applyRecordingSettings(const RecordingReport& reading, SettingsVariables& s,
                                         SettingsModel& controls, DetectionState& d);

// The points of one channel's series from a report curve: the start point
// (time of day of `startTime`, 0), then each point with x moved past
// midnight when it falls below the x before it (which starts at 0).
std::vector<ChartPoint> throughputSeries(double startTime, const ThroughputCurve& curve);

#endif  // TINDAVEL_RECORDS_RECORDING_SETTINGS_H_
