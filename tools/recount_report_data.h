// A recording as counted, as the printed re-count report shows it
// (reports/recount_report.h): its counts beside the live ones, its fish per
// minute beside the report's throughput curve, and its tally of breadths
// and weight estimates gathered into a few bars.
#ifndef TINDAVEL_TOOLS_RECOUNT_REPORT_DATA_H_
#define TINDAVEL_TOOLS_RECOUNT_REPORT_DATA_H_

#include <string>

#include "reports/recount_report.h"
#include "tools/recount_one.h"

// The most bars a histogram of the report has.
inline constexpr int kReportHistogramBars = 8;

RecountRecording reportRecording(const std::string& file, const Recount& r);

// Each channel's classes (counts[c][k]: fish of channel c in class k)
// gathered into the same bars, at most kReportHistogramBars of equal numbers
// of classes, from the first class holding a fish of any channel to the last;
// `label(k)` names the lower bound of class k. No fish: no bars.
RecountHistogram gatherHistogram(const std::vector<std::vector<int32_t>>& counts, std::string (*label)(int k));

#endif  // TINDAVEL_TOOLS_RECOUNT_REPORT_DATA_H_
