// Report files (".mse"): one counting session, as the counter in the field
// writes it and the report viewer and the record viewers read it. INI text;
// names match without regard to case; an absent key gives the reader's
// default and an absent section reads as all keys absent (settings/ini_file.h
// has the line rules).
//
//   section              key                 type          default (reader)
//   "Program"            "logoimage"         text          ""
//                        "Nocommentlines"    integer       -1 (none numbered)
//                        "comment"0..N-1     text          ""
//                        "Generation"        text          ""  (the one comment when
//                                                               Nocommentlines is absent)
//                        "Personincharge"    text          ""
//                        "Total"             text          ""  (printed as it stands)
//                        "Overload"          duration      0
//                        "Lasting"           duration      0; 1 day for the rate (report viewer)
//                        "operator"          text          ""
//                        "Tank"              text          ""
//                        "DateTime"          date-time     0   (end of the session)
//   "Settings"           "NrChannels"        integer       1
//                        "Ledge", "Redge"    integer       0, 511 (record viewers)
//   (the "Eka" defaults below marked for the record viewer are those of the
//   record viewer; the debug recording viewer has some of its own)
//   "Eka"                "Counters"n         integer       0
//                        "CountersT"n        integer       0
//                        "Countname"n        text          "" (report viewer), "Counter n" (record viewer)
//                        "Size Group"n       integer       0 (report viewer), 2 (record viewer)
//                        "channelwidth"      integer       -1 (item index: 0 "500", 1 "1000", 2 "1400")
//                        "Skuffubreidd"      integer       -1 (channel width in mm)
//                        "%width"n           integer       channel width mm div NrChannels
//                        "Multib"n, "Multie"n integer      LeftEdge, RightEdge
//   "Distribution"n      "G0"                integer       10 (class width, tenths of a gram);
//                                                          its presence decides the distribution page
//                        "G1".."G11"         integer       0 (fish per weight class)
//                        "AW", "Std"         integer text  "0" (tenths of a gram)
//                        "DNr"               text          "0"
//   "ThroughputChart"n   "X"i, "Y"i          float         0; points i = 1.. until the first missing "X"i
//   "ThroughputChart"    as above: the curve of every channel without a section of its own
//   "StoredValues"       "0", "1", ...       text          lines until the first missing number
//
// n is a channel number written in decimal without a blank ("Size Group2",
// "%width3"). Example file:
//
//   [Program]
//   Tank=T7
//   Lasting=0.5
//   DateTime=45000.75
//   [Settings]
//   NrChannels=2
//   [Eka]
//   Counters1=120
//   Countname1=North
//   [ThroughputChart]
//   X1=0.5
//   Y1=12
//   [StoredValues]
//   0=14:05:09     120     87
//
// ReportFile holds every key as read, WITHOUT defaults: std::nullopt means
// the key is absent or (for integers and floats) its text is not a number of
// the type, which every reader treats alike. Each reader applies its own
// defaults from the table above with value_or at the point of use, so one
// parsed file serves the report viewer and the record viewers. Floats are
// parsed with the rule chosen at read time (ReportReadOptions).
#ifndef TINDAVEL_REPORTS_REPORT_FILE_H_
#define TINDAVEL_REPORTS_REPORT_FILE_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniFile;

// Channels a report file describes (keys n = 1..kReportChannels are read).
inline constexpr int kReportChannels = 4;
// Weight classes "G1".."G11" of a distribution section.
inline constexpr int kReportWeightClasses = 11;
// At most this many "comment" keys are read, whatever "Nocommentlines" says:
// a damaged count must not make a reader produce millions of empty lines.
inline constexpr int kReportCommentLimit = 10000;

// Section names.
inline constexpr std::string_view kProgramSection = "Program";
inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kEkaSection = "Eka";
inline constexpr std::string_view kDistributionSection = "Distribution";   // + n
inline constexpr std::string_view kThroughputSection = "ThroughputChart";  // [+ n]
inline constexpr std::string_view kStoredValuesSection = "StoredValues";

// Defaults the readers apply (see the table above).
inline constexpr int32_t kDefaultNocommentlines = -1;
inline constexpr int32_t kDefaultNrChannels = 1;
inline constexpr int32_t kDefaultLedge = 0;
inline constexpr int32_t kDefaultRedge = 511;
inline constexpr int32_t kDefaultChannelwidthItem = -1;
inline constexpr int32_t kDefaultSkuffubreidd = -1;
inline constexpr int32_t kDefaultG0 = 10;
inline constexpr int32_t kDefaultReportViewerSizeGroup = 0;
inline constexpr int32_t kDefaultRecordViewerSizeGroup = 2;
inline constexpr double kDefaultLastingForRate = 1.0;  // report viewer's rate: one day

// "Counters" + 2 -> "Counters2"; also for section names ("Distribution" + 1).
std::string numberedName(std::string_view stem, int n);

// One point of a throughput curve.
struct ThroughputChartPoint {
  double x = 0;  // time of day, fraction of a day
  double y = 0;  // fish per minute
  bool operator==(const ThroughputChartPoint&) const = default;
};
using ThroughputCurve = std::vector<ThroughputChartPoint>;

// Keys of "Eka" for one channel.
struct ReportChannel {
  std::optional<int32_t> Counters;   // "Counters"n: count of the channel
  std::optional<int32_t> CountersT;  // "CountersT"n: second count, printed as "Channel Count"
  std::optional<std::string> Countname;  // "Countname"n: the channel's name
  std::optional<int32_t> SizeGroup;  // "Size Group"n: index into the size group names
  std::optional<int32_t> Width;      // "%width"n: the channel's width in mm
  std::optional<int32_t> Multib;     // "Multib"n: first pixel of the channel
  std::optional<int32_t> Multie;     // "Multie"n: last pixel of the channel
  bool operator==(const ReportChannel&) const = default;
};

// Section "Distribution"n.
struct ReportDistribution {
  // True when the section holds a "G0" key, whatever its text: this note
  // decides whether the report prints its distribution page. Set by the
  // reader; the writer writes "G0" when G0 holds a value.
  bool hasG0Key = false;
  std::optional<int32_t> G0;  // width of one weight class, tenths of a gram
  std::array<std::optional<int32_t>, kReportWeightClasses + 1> G{};  // [1..11] fish per class; [0] unused
  std::optional<std::string> AW;   // average weight, tenths of a gram (integer text)
  std::optional<std::string> Std;  // standard deviation, tenths of a gram (integer text)
  std::optional<std::string> DNr;  // number of fish weighed, printed as it stands
  bool operator==(const ReportDistribution&) const = default;
};

struct ReportFile {
  // "Program"
  std::optional<std::string> logoimage;     // path of the operator's logo picture
  std::optional<int32_t> Nocommentlines;    // number of "comment" keys
  std::vector<std::string> comments;        // "comment"0..Nocommentlines-1 (absent ones read "")
  std::optional<std::string> Generation;    // the one comment when Nocommentlines is absent
  std::optional<std::string> Personincharge;
  std::optional<std::string> Total;         // total count as text
  std::optional<double> Overload;           // duration, days
  std::optional<double> Lasting;            // duration of the session, days
  std::optional<std::string> operatorName;  // "operator": the operator or company
  std::optional<std::string> Tank;          // the counted group (tank)
  std::optional<double> DateTime;           // end of the session, day count

  // "Settings"
  std::optional<int32_t> NrChannels;
  std::optional<int32_t> Ledge;  // LeftEdge of the session
  std::optional<int32_t> Redge;  // RightEdge of the session

  // "Eka"
  std::optional<int32_t> channelwidth;  // channel width choice (item index)
  std::optional<int32_t> Skuffubreidd;  // channel width in mm
  std::array<ReportChannel, kReportChannels + 1> channels{};  // [1..4]; [0] unused

  std::array<ReportDistribution, kReportChannels + 1> distributions{};  // [1..4]; [0] unused

  // "ThroughputChart" (nullopt: no such section) and "ThroughputChart"n.
  std::optional<ThroughputCurve> sharedThroughput;
  std::array<std::optional<ThroughputCurve>, kReportChannels + 1> channelThroughput{};  // [1..4]

  std::vector<std::string> storedValues;  // "StoredValues" "0", "1", ... until the first gap

  bool operator==(const ReportFile&) const = default;
};

// How floats are read: the report viewer's rule (with the system's decimal
// separator) or the record viewers' stringtofloat (reports/report_values.h).
enum class FloatRule { kReportViewer, kRecordViewer };

struct ReportReadOptions {
  FloatRule floats = FloatRule::kReportViewer;
  char decimalSeparator = '.';  // kReportViewer only
};

// Parses every key of the table. Never fails: a file that is no report reads
// as all keys absent. Integers follow parseReportInteger for every reader.
// Throughput points: for i = 1.. while "X"i exists; an "X" or "Y" that is
// not a number (or an absent "Y") reads as 0, as both viewers do.
ReportFile readReportFile(const IniFile& ini, const ReportReadOptions& options = {});

// True when the file holds at least one of the sections above. A file that
// holds none (random bytes, some other program's file) still reads, as
// all keys absent, but is worth a word to whoever chose it.
bool holdsReportSections(const IniFile& ini);

// The comment lines the printed report shows: "comment"0 to
// "Nocommentlines"-1 when Nocommentlines is present (none when it is 0 or
// less), else "Generation" as the one line (an empty line if that is absent
// too). A "Nocommentlines" of -1 (its default) or one that is not a whole
// number counts as absent.
std::vector<std::string> commentLines(const ReportFile& report);

// The throughput curve of channel n (1..kReportChannels): the channel's own
// section if the file has one, else the shared "ThroughputChart" section,
// else no points. Both viewers choose this way.
const ThroughputCurve& throughputCurve(const ReportFile& report, int n);

#endif  // TINDAVEL_REPORTS_REPORT_FILE_H_
