// What the printed session report shows, band by band and page by page.
//
// The report has three layouts, printed one after the other, each starting
// on a new page:
//   QuickRep1  the counting report: a page header band on every page and one
//              detail band per channel;
//   QuickRep3  the weight distribution page (only when the last channel's
//              distribution section holds a class width "G0");
//   QuickRep2  the stored values page (only when "StoredValues" holds "0").
// buildReportBands turns a report file into the texts and values each band
// prints; paginateReport decides which bands go on which page. All the
// arithmetic and formatting of the report lives here, free of Qt, so it is
// tested without drawing anything. The painter only places these strings.
//
// Band heights are in millimetres on an A4 portrait page; the painter draws
// with the same constants, so the plan and the pages agree.
#ifndef TINDAVEL_REPORTS_REPORT_BANDS_H_
#define TINDAVEL_REPORTS_REPORT_BANDS_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ReportFile;

inline constexpr int kReportMaxChannels = 4;  // the layouts and charts hold four
inline constexpr int kWeightClasses = 11;

// Page geometry, millimetres.
inline constexpr double kPageWidthMm = 210.0;
inline constexpr double kPageHeightMm = 297.0;
inline constexpr double kPageMarginMm = 12.0;
inline constexpr double kBodyWidthMm = kPageWidthMm - 2 * kPageMarginMm;
inline constexpr double kBodyHeightMm = kPageHeightMm - 2 * kPageMarginMm;

// QuickRep1.
inline constexpr double kPageHeaderMm = 32.0;    // title, operator, pictures
inline constexpr double kRowMm = 6.5;            // one caption/value row
inline constexpr double kCommentLineMm = 4.5;    // one line of the comment memo
inline constexpr double kChartMm = 62.0;         // throughput and distribution pictures
inline constexpr double kPathRowMm = 9.0;        // file name and the line under it
inline constexpr double kTrailerMm = 6.0;
inline constexpr double kMemoPaddingMm = 2.0;
inline constexpr double kDetailFixedMm =
    7 * kRowMm + 2 * kChartMm + kPathRowMm + kTrailerMm + kMemoPaddingMm;
// The memo grows with its lines (at least one line's room), up to what still
// lets a band fit on a page under the page header; further lines are summed
// up in its last line.
inline constexpr int kMaxCommentLines =
    static_cast<int>((kBodyHeightMm - kPageHeaderMm - kDetailFixedMm) / kCommentLineMm);

// QuickRep3.
inline constexpr double kDistributionChartMm = 110.0;
inline constexpr double kWeightHeadingMm = 10.0;
inline constexpr double kWeightRowMm = 7.0;

// QuickRep2.
inline constexpr double kStoredTitleMm = 14.0;   // "Stored Values"
inline constexpr double kStoredHeadingMm = 8.0;  // "Time    " and the channel names
inline constexpr double kStoredLineMm = 5.0;

inline constexpr const char* kReportTitle = "Counting report";
inline constexpr const char* kDistributionChartTitle = "Weight distribution ";
inline constexpr const char* kStoredTitle = "Stored Values";
inline constexpr const char* kTrailerText = "Counted with Lumen/Norde counter from Tolu";

// The web address the trailer names, set when the program is built
// (TINDAVEL_REPORT_WEB_ADDRESS); empty unless the build names one.
const char* reportWebAddress();
// The trailer: the text, then six blanks and `webAddress` when there is one.
std::string trailerLine(const std::string& webAddress);

// One channel's weight distribution: eleven bars and their class labels.
struct DistributionBars {
  std::string title;                              // the channel's name
  std::array<std::string, kWeightClasses> labels; // "2.5" ... "25.0", ">25.0"
  std::array<int64_t, kWeightClasses> heights{};  // fish per class
};

struct ThroughputPoint {
  double x = 0;  // time of day, fraction of a day
  double y = 0;  // fish per minute
};

// QuickRep1: one detail band, one channel.
struct CountingBand {
  int channel = 1;
  std::string description;    // "Tank"
  std::string countedBy;      // "Personincharge"
  std::string date;           // "DateTime" as "d.m.yyyy h:nn"
  std::string channelName;    // "Countname" n
  std::string sizeSettings;   // SizeGroupNames entry of "Size Group" n
  std::string channelCount;   // "CountersT" n
  std::string total;          // "Total", as it stands
  std::string average;        // rate: "2 fry/min"
  std::string overload;       // "h:nn:ss"
  std::string duration;       // "Lasting" as "h:nn:ss"
  std::vector<std::string> comments;  // the memo's lines, capped at kMaxCommentLines
  std::string throughputTitle;        // the curve's legend: the channel's name
  std::vector<ThroughputPoint> throughput;
  std::string averageWeight;  // "2.5 gr."
  std::string stdDeviation;   // "0.4 gr."
  std::string biomass;        // "960 g", "1 Kg", "2 Tonn"
  std::string numbers;        // "DNr", as it stands
  DistributionBars distribution;
  std::string fileName;       // the report file's full name
};

// QuickRep3: one row per channel.
struct WeightRow {
  std::string channelName;
  std::string averageWeight;  // "2.5 gr"
  std::string stdDeviation;
};

struct ReportBands {
  int nrChannels = 1;  // channels printed, 1 to kReportMaxChannels

  // QuickRep1.
  std::string title = kReportTitle;
  std::string operatorName;  // "operator"
  std::string logoPath;      // "logoimage", as it stands in the file
  std::vector<CountingBand> counting;
  std::string trailer;       // trailerLine of the build's web address

  // QuickRep3.
  bool hasDistributionPage = false;
  std::string distributionTitle = kDistributionChartTitle;
  std::vector<DistributionBars> distributions;  // channels 1..nrChannels, for the chart
  std::vector<WeightRow> weightRows;

  // QuickRep2.
  bool hasStoredPage = false;
  std::string storedHeading;  // "Time    " then each name and four blanks
  std::vector<std::string> storedLines;
};

// The pieces of the rate, weight and distribution rows, apart so each rule
// is tested on its own.
// C / L / 60 / 24 fish per minute, "0" and " fry/min". L not above zero or
// not finite has no sound rate: kNoValue and " fry/min".
std::string formatRate(int64_t count, double lastingDays);
// Tenths of a gram as grams, "0.0", followed by `unit` (" gr." or " gr").
std::string formatTenths(int64_t tenths, const char* unit);
// M = C x A / 10 grams: "960 g", "1 Kg", "2 Tonn".
std::string formatBiomass(int64_t count, int64_t averageTenths);
// The eleven class labels for a class width of `g0` tenths of a gram.
std::array<std::string, kWeightClasses> weightClassLabels(int64_t g0);

// Splits one comment line into the lines it takes in the memo box (the
// painter knows the box's width and font). An empty result counts as one
// empty line.
using CommentWrapper = std::vector<std::string> (*)(const std::string& comment);

// The memo's lines: each comment wrapped, at most kMaxCommentLines in all.
// When the comments need more, the last line says how many comment lines
// of the file are not (wholly) shown. No wrapper: one line per comment.
std::vector<std::string> memoLines(const std::vector<std::string>& comments, CommentWrapper wrap = nullptr);

// Reads everything the report prints from a parsed report file. `fileName`
// is the report file's full name, printed at the foot of each band;
// `wrapComment` lays the comments into the memo (see memoLines).
ReportBands buildReportBands(const ReportFile& report, const std::string& fileName,
                             CommentWrapper wrapComment = nullptr);

// The three layouts.
enum class ReportLayout { Counting, Distribution, Stored };

// One printed page: which layout, and which of its bands.
struct PagePlan {
  ReportLayout layout = ReportLayout::Counting;
  bool titleBand = false;  // Distribution: the chart; Stored: "Stored Values"
  bool headingBand = false;  // Stored: the heading line (repeated on every page)
  std::vector<int> rows;   // Counting: channel indexes; Distribution, Stored: row indexes
};

// The pages in print order: every layout starts a new page; a band that does
// not fit under what is already on a page moves to the next one.
std::vector<PagePlan> paginateReport(const ReportBands& bands);

// Height of a channel's detail band in QuickRep1.
double countingBandHeightMm(const CountingBand& band);

#endif  // TINDAVEL_REPORTS_REPORT_BANDS_H_
