#include "reports/report_painter.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include <QChart>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextLayout>

#include "reports/jpeg_logo.h"
#include "reports/page_painter.h"
#include "settings/output_file.h"
#include "settings/text_encoding.h"
#include "reports/report_charts.h"

namespace {

// The comment memo: where its lines start and how wide they are, and its type.
constexpr double kMemoTextLeftMm = 34.0;
constexpr double kMemoTextWidthMm = kBodyWidthMm - 36.0;
constexpr double kMemoPoints = 9.0;
// The columns of the weight table on the distribution page; the channel
// names have the room left of the first.
constexpr double kWeightAverageMm = 92.0;
constexpr double kWeightDeviationMm = 140.0;
constexpr double kWeightColumnMm = 46.0;

// QuickRep1's page header: fixed picture, title, operator, logo.
double paintPageHeader(PagePainter& pp, const ReportDocument& doc, double y) {
  pp.picture(0, y, 28, 26, doc.pictures.fixedPicture, Qt::AlignLeft);
  pp.font(22, true);
  pp.text(30, y, kBodyWidthMm - 80, 14, doc.bands.title, Qt::AlignHCenter);
  pp.font(12);
  pp.wrappedText(30, y + 15, kBodyWidthMm - 80, 11, doc.bands.operatorName, 2, Qt::ElideRight, Qt::AlignHCenter);
  pp.picture(kBodyWidthMm - 48, y, 48, 26, doc.pictures.logo, Qt::AlignRight);
  pp.hline(0, y + kPageHeaderMm - 3, kBodyWidthMm);
  return y + kPageHeaderMm;
}

// A caption and its value on one row.
void pair(PagePainter& pp, double x, double y, double captionW, double valueW, const char* caption,
          const std::string& value, bool bold = false, bool italic = false) {
  pp.font(9);
  pp.text(x, y, captionW, kRowMm, caption);
  pp.font(9, bold, italic);
  pp.text(x + captionW, y, valueW, kRowMm, value);
}

// One channel's detail band of QuickRep1.
double paintCountingBand(PagePainter& pp, const ReportDocument& doc, int index, double y) {
  const CountingBand& b = doc.bands.counting[static_cast<size_t>(index)];
  constexpr double kRight = 104;  // start of the right-hand column
  pair(pp, 0, y, 32, kBodyWidthMm - 32, "Description:", b.description);  // the row is its own
  y += kRowMm;
  pair(pp, 0, y, 32, 70, "Counted by:", b.countedBy);
  pair(pp, kRight, y, 14, 68, " Date:", b.date, true, true);
  y += kRowMm;
  pp.font(10, true);
  pp.text(0, y, 100, kRowMm, b.channelName);
  pair(pp, kRight, y, 28, 54, "Size settings:", b.sizeSettings);
  y += kRowMm;
  pair(pp, 0, y, 32, 70, "Channel Count:", b.channelCount, true);
  pair(pp, kRight, y, 28, 54, "Total  Count:", b.total, true);
  y += kRowMm;
  pair(pp, 0, y, 18, 42, "Average:", b.average);
  pair(pp, 62, y, 20, 40, "Overload:", b.overload);
  pair(pp, 124, y, 20, 42, "Duration:", b.duration);
  y += kRowMm;

  pp.font(9);
  pp.text(0, y, 32, kRowMm, "Comments:");
  const double memoH = static_cast<double>(std::max<size_t>(1, b.comments.size())) * kCommentLineMm + kMemoPaddingMm;
  pp.frame(32, y + 1, kBodyWidthMm - 32, memoH - 1);
  pp.font(kMemoPoints);
  for (size_t i = 0; i < b.comments.size(); ++i) {
    pp.text(kMemoTextLeftMm, y + 1 + static_cast<double>(i) * kCommentLineMm, kMemoTextWidthMm, kCommentLineMm,
            b.comments[i]);
  }
  y += memoH;

  const size_t n = static_cast<size_t>(index);
  // Pictures keep a millimetre clear above them.
  if (n < doc.pictures.throughput.size()) {
    pp.picture(0, y + 1, kBodyWidthMm, kChartMm - 1, doc.pictures.throughput[n]);
  }
  y += kChartMm;
  pair(pp, 0, y, 32, 50, "Average Weight:", b.averageWeight, true);
  pair(pp, kRight, y, 28, 54, "Std deviation:", b.stdDeviation, true);
  y += kRowMm;
  pair(pp, 0, y, 32, 50, "Total biomass:", b.biomass, true);
  pair(pp, kRight, y, 28, 54, "Numbers", b.numbers, true);
  y += kRowMm;
  if (n < doc.pictures.channelDistribution.size()) {
    pp.picture(0, y + 1, kBodyWidthMm, kChartMm - 1, doc.pictures.channelDistribution[n]);
  }
  y += kChartMm;
  // The file name is read whole: on two lines, in smaller type, if it must.
  pp.font(9);
  pp.text(0, y, 36, kPathRowMm - 2, "Path and file name:");
  pp.font(9, true);
  pp.wrappedText(36, y, kBodyWidthMm - 36, kPathRowMm - 2, b.fileName, 2, Qt::ElideMiddle);
  pp.hline(0, y + kPathRowMm - 1.5, kBodyWidthMm);
  y += kPathRowMm;
  pp.font(7);
  pp.text(0, y, kBodyWidthMm, kTrailerMm, doc.bands.trailer);
  return y + kTrailerMm;
}

double paintDistributionTitle(PagePainter& pp, const ReportDocument& doc, double y) {
  pp.picture(0, y, kBodyWidthMm, kDistributionChartMm, doc.pictures.distribution);
  y += kDistributionChartMm;
  pp.font(10, true);
  pp.text(kWeightAverageMm, y, kWeightColumnMm, kWeightHeadingMm, "Average Weight");
  pp.text(kWeightDeviationMm, y, kWeightColumnMm, kWeightHeadingMm, "Standard deviation");
  return y + kWeightHeadingMm;
}

double paintWeightRow(PagePainter& pp, const WeightRow& row, double y) {
  pp.font(10);
  pp.text(0, y, kWeightAverageMm - 2, kWeightRowMm, row.channelName);
  pp.text(kWeightAverageMm, y, kWeightColumnMm, kWeightRowMm, row.averageWeight);
  pp.text(kWeightDeviationMm, y, kWeightColumnMm, kWeightRowMm, row.stdDeviation);
  return y + kWeightRowMm;
}

void paintPage(PagePainter& pp, const ReportDocument& doc, const PagePlan& page) {
  double y = 0;
  switch (page.layout) {
    case ReportLayout::Counting:
      y = paintPageHeader(pp, doc, y);
      for (int row : page.rows) y = paintCountingBand(pp, doc, row, y);
      break;
    case ReportLayout::Distribution:
      if (page.titleBand) y = paintDistributionTitle(pp, doc, y);
      for (int row : page.rows) y = paintWeightRow(pp, doc.bands.weightRows[static_cast<size_t>(row)], y);
      break;
    case ReportLayout::Stored:
      if (page.titleBand) {
        pp.font(18, true);
        pp.text(0, y, kBodyWidthMm, kStoredTitleMm, kStoredTitle);
        y += kStoredTitleMm;
      }
      if (page.headingBand) {
        pp.font(9, true, false, true);
        pp.wrappedText(0, y, kBodyWidthMm, kStoredHeadingMm, doc.bands.storedHeading, 2, Qt::ElideRight);
        y += kStoredHeadingMm;
      }
      pp.font(9, false, false, true);
      for (int row : page.rows) {
        pp.text(0, y, kBodyWidthMm, kStoredLineMm, doc.bands.storedLines[static_cast<size_t>(row)]);
        y += kStoredLineMm;
      }
      break;
  }
}

QImage chartImage(std::unique_ptr<QChart> chart, QSize size) { return renderChart(*chart, size); }

QImage findLogo(const std::string& logoPath, const std::string& reportFolder) {
  if (logoPath.empty()) return {};
  QImage logo = loadLogoImage(logoPath);
  const std::filesystem::path path(logoPath);
  if (logo.isNull() && path.is_relative() && !reportFolder.empty()) {
    logo = loadLogoImage((std::filesystem::path(reportFolder) / path).string());
  }
  return logo;
}

}  // namespace

CommentWrapper memoCommentWrapper() {
  return [](const std::string& comment) {
    // Measured at print resolution, a little narrower than the memo, so the
    // lines fit whatever printer draws them.
    QImage device(1, 1, QImage::Format_RGB32);
    constexpr int kDotsPerMetre = 23622;  // 600 dpi
    device.setDotsPerMeterX(kDotsPerMetre);
    device.setDotsPerMeterY(kDotsPerMetre);
    const double width = kMemoTextWidthMm * 0.98 * kDotsPerMetre / 1000.0;
    std::vector<std::string> lines;
    for (const QString& line : wrapLines(QString::fromStdString(comment), reportFont(kMemoPoints), &device, width)) {
      lines.push_back(line.toStdString());
    }
    return lines;
  };
}

QImage makeFixedPicture() {
  QImage image(240, 240, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 90, 140));
  p.drawRoundedRect(QRectF(8, 8, 224, 224), 36, 36);
  // Four channels side by side, one fish shape swimming through them.
  p.setBrush(QColor(225, 235, 245));
  for (int i = 0; i < 4; ++i) p.drawRect(QRectF(34 + i * 46, 40, 34, 160));
  p.setBrush(QColor(40, 90, 140));
  QPainterPath fish;
  fish.addEllipse(QRectF(84, 100, 62, 34));
  fish.moveTo(144, 117);
  fish.lineTo(170, 100);
  fish.lineTo(170, 134);
  fish.closeSubpath();
  p.drawPath(fish);
  return image;
}

ReportDocument makeReportDocument(ReportBands bands, const std::string& reportFolder) {
  ReportDocument doc;
  doc.bands = std::move(bands);
  doc.pages = paginateReport(doc.bands);
  doc.pictures.fixedPicture = makeFixedPicture();
  doc.pictures.logo = findLogo(doc.bands.logoPath, reportFolder);
  for (const CountingBand& b : doc.bands.counting) {
    doc.pictures.throughput.push_back(
        chartImage(makeThroughputChart(b.throughputTitle, b.throughput), kBandChartPixels));
    doc.pictures.channelDistribution.push_back(
        chartImage(makeChannelDistributionChart(b.distribution), kBandChartPixels));
  }
  if (doc.bands.hasDistributionPage) {
    doc.pictures.distribution = chartImage(
        makeDistributionChart(doc.bands.distributionTitle, doc.bands.distributions), kDistributionChartPixels);
  }
  return doc;
}

void setupReportPage(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                                   QPageLayout::Millimeter));
}

bool paintReport(QPagedPaintDevice& device, const ReportDocument& document) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  PagePainter pp(painter, device);
  const QPageRanges ranges = device.pageRanges();
  bool first = true;
  int number = 0;
  for (const PagePlan& page : document.pages) {
    ++number;
    if (!ranges.isEmpty() && !ranges.contains(number)) continue;
    if (!first && !device.newPage()) return false;
    first = false;
    paintPage(pp, document, page);
  }
  return painter.end();
}

bool writeReportPdf(const ReportDocument& document, const std::string& path, std::string* error,
                    std::span<const std::string> inputs) {
  // The target is checked and its temporary file made before the pages are
  // drawn; the PDF is made in memory (a few hundred KB a page at most) and
  // written through the one checked way of writing an output.
  OutputFile out;
  if (!out.open(path, inputs)) {
    if (error) *error = out.error();
    return false;
  }
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&pdf);
    writer.setResolution(600);
    writer.setCreator("Tindavel");
    writer.setTitle(QString::fromUtf8(kReportTitle));
    setupReportPage(writer);
    if (!paintReport(writer, document)) {
      if (error) *error = "cannot write " + printableName(path) + ": the pages could not be drawn";
      return false;
    }
  }  // the writer finishes the PDF as it goes
  out.write(std::string_view(pdf.data().constData(), static_cast<size_t>(pdf.data().size())));
  if (!out.commit()) {
    if (error) *error = out.error();
    return false;
  }
  return true;
}
