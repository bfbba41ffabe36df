// The report's charts, drawn with Qt Charts straight into images for the
// printed pages. Nothing goes through the clipboard: what the operator copied
// stays where it is.
#ifndef TINDAVEL_REPORTS_REPORT_CHARTS_H_
#define TINDAVEL_REPORTS_REPORT_CHARTS_H_

#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QSize>

#include "reports/report_bands.h"

class QChart;
class QImage;

// Chart layouts in 96-dpi pixels, in the proportions of their places on the
// page: a channel band's pictures (kBodyWidthMm x kChartMm) and the
// distribution page's chart (kBodyWidthMm x kDistributionChartMm).
inline constexpr QSize kBandChartPixels(900, 300);
inline constexpr QSize kDistributionChartPixels(850, 503);

// Chart1 of the distribution page: one set of bars per channel shown, the
// classes along the bottom. Channels beyond the report's own are not in it.
std::unique_ptr<QChart> makeDistributionChart(const std::string& title,
                                              const std::vector<DistributionBars>& channels);
// Chart2 of a channel's band: that channel's eleven bars.
std::unique_ptr<QChart> makeChannelDistributionChart(const DistributionBars& channel);
// Chart3 of a channel's band: the throughput curve, fish per minute over the
// time of day.
std::unique_ptr<QChart> makeThroughputChart(const std::string& title,
                                            const std::vector<ThroughputPoint>& points);

// The re-count report's charts.
struct NamedCurve {
  std::string name;
  std::vector<ThroughputPoint> points;
  QColor colour;        // invalid: the chart theme's next colour
  bool dashed = false;  // drawn dashed (a re-count beside its live curve)
};
// Several throughput curves over one time-of-day axis (Chart3's look).
std::unique_ptr<QChart> makeThroughputCurvesChart(const std::vector<NamedCurve>& curves);
// One set of bars in a histogram: a channel's fish per bar.
struct NamedBars {
  std::string name;
  std::vector<int64_t> heights;
  QColor colour;
};
// Bars of counts under their labels, the sets side by side in each place
// and named in a legend; `unit` names the axis below.
std::unique_ptr<QChart> makeHistogramChart(const std::string& title, const std::string& unit,
                                           const std::vector<std::string>& labels,
                                           const std::vector<NamedBars>& sets);
struct CountPair {
  double live = 0;
  double recount = 0;
};
// A point per pair, live count along and re-count up, over the diagonal
// where the two agree: a counter that drifts shows as points off it.
std::unique_ptr<QChart> makeLiveAgainstRecountChart(const std::vector<CountPair>& pairs);

// Draws a chart into an image of `logicalSize` (the size the chart lays
// itself out in, in pixels at 96 dpi) at `scale` times the pixels, so it
// stays sharp on paper.
QImage renderChart(QChart& chart, QSize logicalSize, double scale = 3.0);

#endif  // TINDAVEL_REPORTS_REPORT_CHARTS_H_
