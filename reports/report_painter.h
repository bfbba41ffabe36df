// Draws the session report's pages with QPainter on any paged device: the
// printer behind the print preview, or a PDF writer. Both get the very same
// pages, from the same plan (report_bands.h).
#ifndef TINDAVEL_REPORTS_REPORT_PAINTER_H_
#define TINDAVEL_REPORTS_REPORT_PAINTER_H_

#include <span>
#include <string>
#include <vector>

#include <QImage>

#include "reports/report_bands.h"

class QPagedPaintDevice;

// The pictures the pages carry; a null image leaves its place empty.
struct ReportPictures {
  QImage fixedPicture;                    // QRImage1, the header's left picture
  QImage logo;                            // QRImage5, the operator's logo
  QImage distribution;                    // QRImage2, Chart1 of all channels
  std::vector<QImage> channelDistribution;  // QRImage3 of each channel band
  std::vector<QImage> throughput;           // QRImage4 of each channel band
};

// A report ready to print: what the bands say, on which pages, with which
// pictures.
struct ReportDocument {
  ReportBands bands;
  std::vector<PagePlan> pages;
  ReportPictures pictures;
};

// Builds the document: plans the pages and draws the charts. The logo comes
// from `bands.logoPath`; a relative path is looked for in the working folder
// and then beside the report file (`reportFolder`).
ReportDocument makeReportDocument(ReportBands bands, const std::string& reportFolder);

// Lays a comment line into the memo of a channel's band: the lines it takes
// at the memo's width and type (for buildReportBands).
CommentWrapper memoCommentWrapper();

// The header's fixed picture: a neutral emblem of four channels.
QImage makeFixedPicture();

// A4 portrait with the report's margins.
void setupReportPage(QPagedPaintDevice& device);

// Paints the pages of the document: every page, or those of the device's
// page ranges when it has any (the range chosen in a print dialog). Returns
// false when the device cannot be painted on.
bool paintReport(QPagedPaintDevice& device, const ReportDocument& document);

// Writes the pages to a PDF file, as an output file of settings/output_file.h
// (never over one of `inputs`, the old file kept on any failure); on failure
// returns false and says why in `error`.
bool writeReportPdf(const ReportDocument& document, const std::string& path, std::string* error,
                    std::span<const std::string> inputs = {});

#endif  // TINDAVEL_REPORTS_REPORT_PAINTER_H_
