// Fuzz target: a report file (".mse") through the report model, read by one
// of the readers' rules, laid into the printed report's bands and pages, and
// written back where the writer says it can be (it then reads back equal).
// The rule is the input's length modulo 3: each input is read once (the
// writer's own check reads it back twice more, and the target compares what
// it read), and mutations that insert or drop a byte try the same text under
// the other rules.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reports/report_bands.h"
#include "reports/report_file.h"
#include "reports/report_writer.h"
#include "settings/ini_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// A stand-in for the painter's wrapping: 40 bytes a memo line.
std::vector<std::string> wrapAt40(const std::string& comment) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < comment.size(); i += 40) lines.push_back(comment.substr(i, 40));
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const IniFile ini = IniFile::fromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  const ReportReadOptions readers[] = {
      {FloatRule::kReportViewer, '.'}, {FloatRule::kReportViewer, ','}, {FloatRule::kRecordViewer, '.'}};
  {
    const ReportReadOptions& options = readers[size % 3];
    const ReportFile report = readReportFile(ini, options);
    fuzz::check(report.comments.size() <= static_cast<size_t>(kReportCommentLimit), "comments bounded");
    for (int n = 1; n <= kReportChannels; ++n) (void)throughputCurve(report, n);

    const ReportBands bands = buildReportBands(report, "fuzz.mse", options.decimalSeparator == ',' ? wrapAt40 : nullptr);
    const std::vector<PagePlan> pages = paginateReport(bands);
    fuzz::check(!pages.empty(), "a report prints at least one page");

    // The writer's own check writes the file and reads it back by both
    // rules; what it read under this input's rule must be the report itself,
    // whatever the check compared.
    const ReportWriteOptions write{options.decimalSeparator};
    ReportReadBack back;
    if (reportWriteProblems(report, write, back).empty()) {
      fuzz::check(back.by(options.floats) == report, "a report the writer accepts reads back equal");
    }
  }
  return 0;
}
