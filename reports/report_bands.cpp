#include "reports/report_bands.h"

#include <algorithm>
#include <cmath>

#include "analysis/size_groups.h"
#include "reports/report_file.h"
#include "reports/report_format.h"
#include "reports/report_values.h"

namespace {

constexpr const char* kHeadingStart = "Time    ";
constexpr const char* kHeadingGap = "    ";
constexpr const char* kTrailerGap = "      ";

// A size group outside the table names no group; print no value rather than
// whatever lies beside the table.
std::string printedSizeGroup(int32_t group) {
  const std::optional<std::string_view> name = sizeGroupName(group);
  return name ? std::string(*name) : std::string(kNoValue);
}

// "AW" and "Std": a text that is not a whole number prints no value, and the
// biomass made from it neither, rather than a figure made up from 0.
std::string tenthsOrNoValue(const std::optional<int32_t>& tenths, const char* unit) {
  return tenths ? formatTenths(*tenths, unit) : std::string(kNoValue) + unit;
}

DistributionBars distributionOf(const ReportDistribution& d, const std::string& title) {
  DistributionBars bars;
  bars.title = title;
  bars.labels = weightClassLabels(d.G0.value_or(kDefaultG0));
  for (int k = 1; k <= kWeightClasses; ++k) {
    bars.heights[static_cast<size_t>(k - 1)] = d.G[static_cast<size_t>(k)].value_or(0);
  }
  return bars;
}

}  // namespace

#ifndef TINDAVEL_REPORT_WEB_ADDRESS
#define TINDAVEL_REPORT_WEB_ADDRESS ""
#endif

const char* reportWebAddress() { return TINDAVEL_REPORT_WEB_ADDRESS; }

std::string trailerLine(const std::string& webAddress) {
  if (webAddress.empty()) return kTrailerText;
  return std::string(kTrailerText) + kTrailerGap + webAddress;
}

std::vector<std::string> memoLines(const std::vector<std::string>& comments, CommentWrapper wrap) {
  constexpr size_t kMax = static_cast<size_t>(kMaxCommentLines);
  std::vector<std::vector<std::string>> pieces;
  size_t total = 0;
  for (const std::string& comment : comments) {
    std::vector<std::string> lines = wrap ? wrap(comment) : std::vector<std::string>{comment};
    if (lines.empty()) lines.emplace_back();
    total += lines.size();
    pieces.push_back(std::move(lines));
    if (total > kMax) break;  // the rest cannot be shown anyway
  }
  std::vector<std::string> memo;
  if (total <= kMax) {
    for (std::vector<std::string>& lines : pieces) memo.insert(memo.end(), lines.begin(), lines.end());
    return memo;
  }
  // The memo holds what fits on the page, whole comments first and then the
  // start of the next one; the rest is counted in its last line so the
  // reader knows the file says more.
  size_t whole = 0;
  for (const std::vector<std::string>& lines : pieces) {
    if (memo.size() + lines.size() > kMax - 1) {
      memo.insert(memo.end(), lines.begin(), lines.begin() + static_cast<long>(kMax - 1 - memo.size()));
      break;
    }
    memo.insert(memo.end(), lines.begin(), lines.end());
    ++whole;
  }
  memo.push_back("... (" + std::to_string(comments.size() - whole) + " more lines in the report file)");
  return memo;
}

std::string formatRate(int64_t count, double lastingDays) {
  if (!std::isfinite(lastingDays) || lastingDays <= 0) return std::string(kNoValue) + " fry/min";
  return formatFixed(static_cast<double>(count) / lastingDays / 60 / 24, 0) + " fry/min";
}

std::string formatTenths(int64_t tenths, const char* unit) {
  return formatFixed(static_cast<double>(tenths) / 10, 1) + unit;
}

std::string formatBiomass(int64_t count, int64_t averageTenths) {
  // In doubles: a count of millions times a weight in tenths overflows the
  // 32 bits the counts are kept in.
  const double grams = static_cast<double>(count) * static_cast<double>(averageTenths) / 10;
  if (grams < 1000) return formatFixed(grams, 0) + " g";
  if (grams < 1000000) return formatFixed(grams / 1000, 0) + " Kg";
  return formatFixed(grams / 1000000, 0) + " Tonn";
}

std::array<std::string, kWeightClasses> weightClassLabels(int64_t g0) {
  const double width = static_cast<double>(g0) / 10;
  std::array<std::string, kWeightClasses> labels;
  for (int k = 1; k < kWeightClasses; ++k) labels[static_cast<size_t>(k - 1)] = formatFixed(k * width, 1);
  labels[kWeightClasses - 1] = ">" + formatFixed(10 * width, 1);
  return labels;
}

ReportBands buildReportBands(const ReportFile& report, const std::string& fileName,
                             CommentWrapper wrapComment) {
  ReportBands bands;
  // The layouts hold four channels; a count below one still prints the one
  // channel a report always has.
  bands.nrChannels = std::clamp<int32_t>(report.NrChannels.value_or(kDefaultNrChannels), 1, kReportMaxChannels);
  bands.operatorName = report.operatorName.value_or("");
  bands.logoPath = report.logoimage.value_or("");
  bands.trailer = trailerLine(reportWebAddress());

  const std::vector<std::string> comments = memoLines(commentLines(report), wrapComment);
  const std::string date = formatReportDate(report.DateTime.value_or(0));
  const std::string overload = formatTimeOfDay(report.Overload.value_or(0));
  const std::string duration = formatTimeOfDay(report.Lasting.value_or(0));
  const double lastingForRate = report.Lasting.value_or(kDefaultLastingForRate);

  bands.storedHeading = kHeadingStart;
  for (int n = 1; n <= bands.nrChannels; ++n) {
    const ReportChannel& channel = report.channels[static_cast<size_t>(n)];
    const ReportDistribution& dist = report.distributions[static_cast<size_t>(n)];
    const std::string name = channel.Countname.value_or("");
    const int64_t count = channel.Counters.value_or(0);
    const std::optional<int32_t> aw = integerTextValue(dist.AW);
    const std::optional<int32_t> sd = integerTextValue(dist.Std);

    CountingBand b;
    b.channel = n;
    b.description = report.Tank.value_or("");
    b.countedBy = report.Personincharge.value_or("");
    b.date = date;
    b.channelName = name;
    b.sizeSettings = printedSizeGroup(channel.SizeGroup.value_or(kDefaultReportViewerSizeGroup));
    b.channelCount = std::to_string(channel.CountersT.value_or(0));
    b.total = report.Total.value_or("");
    b.average = formatRate(count, lastingForRate);
    b.overload = overload;
    b.duration = duration;
    b.comments = comments;
    b.throughputTitle = name;
    for (const ThroughputChartPoint& p : throughputCurve(report, n)) b.throughput.push_back({p.x, p.y});
    b.averageWeight = tenthsOrNoValue(aw, " gr.");
    b.stdDeviation = tenthsOrNoValue(sd, " gr.");
    b.biomass = aw ? formatBiomass(count, *aw) : std::string(kNoValue);
    b.numbers = dist.DNr.value_or("0");
    b.distribution = distributionOf(dist, name);
    b.fileName = fileName;
    bands.counting.push_back(std::move(b));

    bands.distributions.push_back(distributionOf(dist, name));
    bands.weightRows.push_back({name, tenthsOrNoValue(aw, " gr"), tenthsOrNoValue(sd, " gr")});
    bands.storedHeading += name + kHeadingGap;
  }
  // The note of the last channel printed decides, as it always has.
  bands.hasDistributionPage = report.distributions[static_cast<size_t>(bands.nrChannels)].hasG0Key;
  // The lines run from "0" to the first gap, so there are some exactly when
  // the section holds "0".
  bands.storedLines = report.storedValues;
  bands.hasStoredPage = !bands.storedLines.empty();
  return bands;
}

double countingBandHeightMm(const CountingBand& band) {
  const size_t lines = std::max<size_t>(1, band.comments.size());
  return kDetailFixedMm + static_cast<double>(lines) * kCommentLineMm;
}

std::vector<PagePlan> paginateReport(const ReportBands& bands) {
  std::vector<PagePlan> pages;
  double used = 0;
  auto startPage = [&](ReportLayout layout, double headMm) -> PagePlan& {
    pages.push_back(PagePlan{layout, false, false, {}});
    used = headMm;
    return pages.back();
  };
  // A band goes on the current page if it fits, or if the page holds no
  // band yet (a band taller than a page is cut rather than looping forever).
  auto fits = [&](double h) { return used + h <= kBodyHeightMm + 1e-9 || pages.back().rows.empty(); };

  startPage(ReportLayout::Counting, kPageHeaderMm);
  for (size_t i = 0; i < bands.counting.size(); ++i) {
    const double h = countingBandHeightMm(bands.counting[i]);
    if (!fits(h)) startPage(ReportLayout::Counting, kPageHeaderMm);
    pages.back().rows.push_back(static_cast<int>(i));
    used += h;
  }
  if (bands.hasDistributionPage) {
    startPage(ReportLayout::Distribution, kDistributionChartMm + kWeightHeadingMm).titleBand = true;
    for (size_t i = 0; i < bands.weightRows.size(); ++i) {
      if (!fits(kWeightRowMm)) startPage(ReportLayout::Distribution, 0);
      pages.back().rows.push_back(static_cast<int>(i));
      used += kWeightRowMm;
    }
  }
  if (bands.hasStoredPage) {
    PagePlan& first = startPage(ReportLayout::Stored, kStoredTitleMm + kStoredHeadingMm);
    first.titleBand = true;
    first.headingBand = true;
    for (size_t i = 0; i < bands.storedLines.size(); ++i) {
      if (!fits(kStoredLineMm)) startPage(ReportLayout::Stored, kStoredHeadingMm).headingBand = true;
      pages.back().rows.push_back(static_cast<int>(i));
      used += kStoredLineMm;
    }
  }
  return pages;
}
