// Paints the re-count report (recount_report.h) as a PDF, in the session
// report's style: its page header with the fixed picture, the title, the
// company name and the logo, its type and margins; with page numbers.
#ifndef TINDAVEL_REPORTS_RECOUNT_REPORT_PAINTER_H_
#define TINDAVEL_REPORTS_RECOUNT_REPORT_PAINTER_H_

#include <optional>
#include <string>

#include <QPageSize>

#include "reports/recount_report.h"

struct RecountPdf {
  std::string bytes;  // the PDF file
  int pages = 0;
};

// The report on pages of `paper` (A4 or Letter, portrait); a relative logo
// path is looked for in the working folder. None when the pages cannot be
// painted.
std::optional<RecountPdf> paintRecountReport(const RecountReport& report, QPageSize::PageSizeId paper);

#endif  // TINDAVEL_REPORTS_RECOUNT_REPORT_PAINTER_H_
