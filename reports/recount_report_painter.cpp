#include "reports/recount_report_painter.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <QBuffer>
#include <QChart>
#include <QPageLayout>
#include <QPdfWriter>

#include "reports/day_count.h"
#include "reports/jpeg_logo.h"
#include "reports/page_painter.h"
#include "reports/report_charts.h"
#include "reports/report_painter.h"

namespace {

// Heights on the page, millimetres.
constexpr double kSectionTitleMm = 9.0;
constexpr double kTableHeadMm = 6.5;
constexpr double kTableRowMm = 5.5;
constexpr double kSummaryChartMm = 105.0;
constexpr double kFooterMm = 7.0;
constexpr double kThroughputChartMm = 68.0;
constexpr double kMaxHistogramMm = 100.0;
constexpr int kDamageLinesShown = 3;
// Chart images: 96-dpi pixels per millimetre of their place, and how much
// finer they are drawn.
constexpr double kChartPixelsPerMm = 4.8;
constexpr double kChartScale = 2.5;

// The page body of the paper: the page less the session report's margins.
struct Body {
  double width;
  double height;
};

Body bodyOf(QPageSize::PageSizeId paper) {
  const QSizeF size = QPageSize(paper).size(QPageSize::Millimeter);
  return {size.width() - 2 * kPageMarginMm, size.height() - 2 * kPageMarginMm};
}

QImage chartPicture(std::unique_ptr<QChart> chart, double wMm, double hMm) {
  const QSize size(static_cast<int>(wMm * kChartPixelsPerMm), static_cast<int>(hMm * kChartPixelsPerMm));
  return renderChart(*chart, size, kChartScale);
}

QColor channelColour(size_t k) {
  static const QColor kChannelColours[] = {QColor(32, 96, 160), QColor(200, 90, 20), QColor(40, 140, 60),
                                           QColor(150, 50, 140)};
  return kChannelColours[k % std::size(kChannelColours)];
}

// Whether the channels' names would crowd a legend's one row, with
// `entriesPerChannel` entries a channel (the throughput chart's "NAME live"
// and "NAME re-count") in a row of about `rowCharacters` characters; then
// the channels go by the numbers the table gives them.
bool legendNeedsNumbers(const RecountRecording& rec, size_t entriesPerChannel, size_t rowCharacters) {
  constexpr size_t kEntryExtra = 10;  // a marker, the gap and " re-count" or the like
  size_t characters = 0;
  for (const RecountChannel& c : rec.channels) characters += entriesPerChannel * (c.name.size() + kEntryExtra);
  return characters > rowCharacters;
}

std::unique_ptr<QChart> histogram(const RecountRecording& rec, const std::string& title, const std::string& unit,
                                  const RecountHistogram& bars) {
  constexpr size_t kHalfRowCharacters = 45;  // the legend under a chart half the page wide
  const bool numbered = legendNeedsNumbers(rec, 1, kHalfRowCharacters);
  std::vector<NamedBars> sets;
  for (size_t k = 0; k < rec.channels.size() && k < bars.heights.size(); ++k) {
    const std::string number = std::to_string(k + 1);
    sets.push_back({numbered ? number : number + "  " + rec.channels[k].name, bars.heights[k], channelColour(k)});
  }
  return makeHistogramChart(title, unit, bars.labels, sets);
}

// One summary page: which rows of which table it holds, and whether the
// chart closes it.
struct SummaryPage {
  int recordingsFrom = 0, recordingsTo = 0;  // rows [from, to) of the recordings table
  int totalsFrom = 0, totalsTo = 0;          // rows [from, to) of the totals table
  bool recordingsTitle = false;
  bool totalsTitle = false;
  bool chart = false;
};

std::vector<SummaryPage> planSummary(size_t recordings, size_t totals, const Body& body) {
  std::vector<SummaryPage> pages(1);
  const double bottom = body.height - kFooterMm;
  double y = kPageHeaderMm;
  auto room = [&](double h) {
    if (y + h <= bottom) return;
    pages.emplace_back();
    y = kPageHeaderMm;
  };
  // A table: its title and heading go with its first row, the heading
  // again on each page it runs on to.
  auto table = [&](size_t rows, bool SummaryPage::*title, int SummaryPage::*from, int SummaryPage::*to) {
    room(kSectionTitleMm + kTableHeadMm + kTableRowMm);
    pages.back().*title = true;
    pages.back().*from = 0;
    y += kSectionTitleMm + kTableHeadMm;
    for (size_t i = 0; i < rows; ++i) {
      const size_t before = pages.size();
      room(kTableRowMm);
      if (pages.size() != before) {
        pages.back().*from = static_cast<int>(i);
        y += kTableHeadMm;
      }
      y += kTableRowMm;
      pages.back().*to = static_cast<int>(i) + 1;
    }
    y += 3;
  };
  table(recordings, &SummaryPage::recordingsTitle, &SummaryPage::recordingsFrom, &SummaryPage::recordingsTo);
  table(totals, &SummaryPage::totalsTitle, &SummaryPage::totalsFrom, &SummaryPage::totalsTo);
  room(kSummaryChartMm);
  pages.back().chart = true;
  return pages;
}

class ReportPainter {
 public:
  ReportPainter(const RecountReport& report, QPainter& painter, QPagedPaintDevice& device, Body body)
      : r_(report), pp_(painter, device), body_(body) {
    fixed_ = makeFixedPicture();
    if (!report.logoPath.empty()) logo_ = loadLogoImage(report.logoPath);
  }

  double header() {
    pp_.picture(0, 0, 28, 26, fixed_, Qt::AlignLeft);
    pp_.font(22, true);
    pp_.text(30, 0, body_.width - 80, 14, kRecountReportTitle, Qt::AlignHCenter);
    pp_.font(12);
    pp_.wrappedText(30, 15, body_.width - 80, 11, r_.companyName, 2, Qt::ElideRight, Qt::AlignHCenter);
    pp_.picture(body_.width - 48, 0, 48, 26, logo_, Qt::AlignRight);
    pp_.hline(0, kPageHeaderMm - 3, body_.width);
    return kPageHeaderMm;
  }

  void footer(int page, int pages) {
    pp_.hline(0, body_.height - kFooterMm + 1, body_.width);
    pp_.font(8);
    pp_.text(0, body_.height - kFooterMm + 1.5, body_.width, kFooterMm - 2,
             "Page " + std::to_string(page) + " of " + std::to_string(pages), Qt::AlignRight);
    pp_.text(0, body_.height - kFooterMm + 1.5, body_.width - 30, kFooterMm - 2, kRecountReportTitle);
  }

  double sectionTitle(double y, const std::string& title) {
    pp_.font(12, true);
    pp_.text(0, y, body_.width, kSectionTitleMm, title);
    return y + kSectionTitleMm;
  }

  // A table row: the first column takes what the others leave.
  double row(double y, const std::vector<std::string>& cells, const std::vector<double>& widths, bool head,
             double height) {
    pp_.font(9, head);
    double x = 0;
    double first = body_.width;
    for (size_t k = 1; k < widths.size(); ++k) first -= widths[k];
    for (size_t k = 0; k < cells.size(); ++k) {
      const double w = k == 0 ? first : widths[k];
      // A long path keeps its end, where the file's own name is.
      pp_.text(x, y, w - 1.5, height, cells[k], k == 0 ? Qt::AlignLeft : Qt::AlignRight,
               k == 0 ? Qt::ElideLeft : Qt::ElideRight);
      x += w;
    }
    if (head) pp_.hline(0, y + height, body_.width);
    return y + height;
  }

  void summaryPage(const SummaryPage& page, const std::vector<DayTotal>& totals) {
    double y = header();
    const std::vector<double> widths = {0, 36, 22, 22, 24};
    if (page.recordingsTo > page.recordingsFrom) {
      if (page.recordingsTitle) y = sectionTitle(y, "Recordings");
      y = row(y, {"File", "Start", "Live count", "Re-count", "Difference"}, widths, true, kTableHeadMm);
      for (int i = page.recordingsFrom; i < page.recordingsTo; ++i) {
        const RecountRecording& rec = r_.recordings[static_cast<size_t>(i)];
        if (!rec.error.empty()) {
          y = row(y, {rec.file, recountStartText(rec.startTime), "-", "-", "not counted"}, widths, false,
                  kTableRowMm);
          continue;
        }
        const std::optional<int64_t> live = liveTotal(rec);
        const int64_t recount = recountTotal(rec);
        y = row(y,
                {rec.file, recountStartText(rec.startTime), recountCountText(live), std::to_string(recount),
                 recountDifferenceText(live, recount)},
                widths, false, kTableRowMm);
      }
      y += 3;
    }
    if (page.totalsTo > page.totalsFrom) {
      if (page.totalsTitle) y = sectionTitle(y, "Totals per day and channel");
      const std::vector<double> totalWidths = {0, 28, 22, 22, 24};
      y = row(y, {"Channel", "Day", "Live count", "Re-count", "Difference"}, totalWidths, true,
              kTableHeadMm);
      for (int i = page.totalsFrom; i < page.totalsTo; ++i) {
        const DayTotal& t = totals[static_cast<size_t>(i)];
        y = row(y,
                {std::to_string(t.channel) + "  " + t.channelName, t.day, recountCountText(t.live),
                 std::to_string(t.recount), recountDifferenceText(t.live, t.recount)},
                totalWidths, false, kTableRowMm);
      }
      y += 3;
    }
    if (page.chart) {
      std::vector<CountPair> pairs;
      for (const RecountRecording& rec : r_.recordings) {
        const std::optional<int64_t> live = liveTotal(rec);
        if (rec.error.empty() && live) {
          pairs.push_back({static_cast<double>(*live), static_cast<double>(recountTotal(rec))});
        }
      }
      pp_.picture(0, y + 1, body_.width, kSummaryChartMm - 1,
                  chartPicture(makeLiveAgainstRecountChart(pairs), body_.width, kSummaryChartMm));
    }
  }

  void recordingPage(const RecountRecording& rec) {
    double y = header();
    pp_.font(9);
    pp_.text(0, y, 30, 2 * kTableRowMm, "Recording:");  // beside the name's one or two lines
    pp_.font(9, true);
    pp_.wrappedText(30, y, body_.width - 30, 2 * kTableRowMm, rec.file, 2, Qt::ElideMiddle);
    y += 2 * kTableRowMm;
    pp_.font(9);
    pp_.text(0, y, 30, kTableRowMm, "Start:");
    pp_.text(30, y, 50, kTableRowMm, recountStartText(rec.startTime));
    pp_.text(90, y, 26, kTableRowMm, "Duration:");
    pp_.text(116, y, 40, kTableRowMm, recountDurationText(rec.seconds));
    y += kTableRowMm;
    pp_.text(0, y, 30, kTableRowMm, "Damage found:");
    if (rec.damage.empty()) pp_.text(30, y, body_.width - 30, kTableRowMm, "none");
    for (size_t k = 0; k < rec.damage.size() && k < kDamageLinesShown; ++k) {
      std::string line = rec.damage[k];
      if (k + 1 == kDamageLinesShown && rec.damage.size() > kDamageLinesShown) {
        line += "  (and " + std::to_string(rec.damage.size() - kDamageLinesShown) + " more)";
      }
      pp_.text(30, y, body_.width - 30, kTableRowMm, line);
      y += kTableRowMm;
    }
    if (rec.damage.empty()) y += kTableRowMm;
    y += 2;
    if (!rec.error.empty()) {
      pp_.font(10, true);
      pp_.wrappedText(0, y, body_.width, 3 * kTableRowMm, "Not counted: " + rec.error, 3, Qt::ElideMiddle);
      return;
    }

    const std::vector<double> widths = {0, 26, 22, 22, 24};
    y = row(y, {"Channel", "Size group", "Live count", "Re-count", "Difference"}, widths, true, kTableHeadMm);
    for (size_t k = 0; k < rec.channels.size(); ++k) {
      const RecountChannel& c = rec.channels[k];
      y = row(y,
              {std::to_string(k + 1) + "  " + c.name, c.sizeGroup, recountCountText(c.live),
               std::to_string(c.recount), recountDifferenceText(c.live, c.recount)},
              widths, false, kTableRowMm);
    }
    y += 2;

    // A colour per channel: the live curve solid, the re-count dashed. Two
    // entries a channel fill the legend's one row quickly, so long names give
    // way to the channel numbers of the table above.
    std::vector<NamedCurve> curves;
    constexpr size_t kRowCharacters = 90;  // the legend under a chart the page wide
    const bool numbered = legendNeedsNumbers(rec, 2, kRowCharacters);
    for (size_t k = 0; k < rec.channels.size(); ++k) {
      const RecountChannel& c = rec.channels[k];
      const QColor colour = channelColour(k);
      const std::string name = numbered ? std::to_string(k + 1) : c.name;
      curves.push_back({name + " live", c.liveCurve, colour, false});
      curves.push_back({name + " re-count", c.recountCurve, colour, true});
    }
    pp_.picture(0, y, body_.width, kThroughputChartMm - 1,
                chartPicture(makeThroughputCurvesChart(curves), body_.width, kThroughputChartMm));
    y += kThroughputChartMm;

    // The histograms: every channel's bars side by side in the channel's
    // colour, breadth on the left and weight estimate on the right, in all
    // the height left.
    const double h = std::min(kMaxHistogramMm, body_.height - kFooterMm - y);
    const double w = body_.width / 2;
    pp_.picture(0, y, w - 1, h - 1,
                chartPicture(histogram(rec, "Breadth", "mm", rec.breadthMm), w, h));
    pp_.picture(w, y, w - 1, h - 1,
                chartPicture(histogram(rec, "Weight estimate", "g", rec.weightGrams), w, h));
  }

 private:
  const RecountReport& r_;
  PagePainter pp_;
  Body body_;
  QImage fixed_;
  QImage logo_;
};

// QPdfWriter stamps the file with the moment it is written. A re-count
// report is made from its recordings alone, so it takes their time instead:
// the start of the latest recording (1 January 2000 when none has one), and
// the same recordings give the same bytes.
void stampWithRecordings(std::string& pdf, const RecountReport& report) {
  std::optional<double> latest;
  for (const RecountRecording& r : report.recordings) {
    if (r.startTime && (!latest || *r.startTime > *latest)) latest = r.startTime;
  }
  std::string stamp = latest ? formatDayCount("yyyymmddhhnnss", *latest) : "";
  if (stamp.size() != 14) stamp = "20000101000000";
  const std::string key = "/CreationDate (D:";
  const size_t at = pdf.find(key);
  if (at == std::string::npos || at + key.size() + stamp.size() > pdf.size()) return;
  pdf.replace(at + key.size(), stamp.size(), stamp);
}

}  // namespace

std::optional<RecountPdf> paintRecountReport(const RecountReport& report, QPageSize::PageSizeId paper) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return std::nullopt;
  const Body body = bodyOf(paper);
  const std::vector<DayTotal> totals = totalsPerDay(report);
  std::vector<SummaryPage> summary;
  if (report.recordings.size() > 1) summary = planSummary(report.recordings.size(), totals.size(), body);
  const int pages = static_cast<int>(summary.size() + report.recordings.size());
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setCreator("Tindavel");
    writer.setTitle(kRecountReportTitle);
    writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Portrait,
                                     QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                                     QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) return std::nullopt;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    ReportPainter rp(report, painter, writer, body);
    int page = 0;
    auto next = [&] {
      if (page > 0 && !writer.newPage()) return false;
      ++page;
      return true;
    };
    for (const SummaryPage& s : summary) {
      if (!next()) return std::nullopt;
      rp.summaryPage(s, totals);
      rp.footer(page, pages);
    }
    for (const RecountRecording& rec : report.recordings) {
      if (!next()) return std::nullopt;
      rp.recordingPage(rec);
      rp.footer(page, pages);
    }
    if (!painter.end()) return std::nullopt;
  }
  RecountPdf pdf{bytes.toStdString(), pages};
  stampWithRecordings(pdf.bytes, report);
  return pdf;
}
