// tindavel-cli report FILE.mse --pdf OUT.pdf
//
// Writes the pages the report preview shows to a PDF file, so a session
// report can be archived or sent without a printer. Prints one JSON object:
//   {"report": "...", "pdf": "...", "channels": 2, "pages": 4,
//    "distribution_page": true, "stored_page": true}
// Exit status 0 when the PDF is written, 2 for bad arguments, an unreadable
// report or a PDF that cannot be written.
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>

#include "reports/report_viewer.h"
#include "settings/settings_variables.h"
#include "tools/cli_args.h"
#include "tools/cli_command.h"
#include "tools/json_text.h"
#include "tools/window_commands.h"

namespace {

constexpr const char* kUsage = "usage: tindavel-cli report FILE.mse --pdf OUT.pdf";

int usage() {
  std::fprintf(stderr, "%s\n", kUsage);
  return 2;
}

int runReport(const std::vector<std::string>& args) {
  std::string report, pdf;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--pdf") {
      if (!takeOptionValue(args, i, pdf)) return usage();
    } else if (!args[i].empty() && args[i][0] != '-' && report.empty()) {
      report = args[i];
    } else {
      return usage();
    }
  }
  if (report.empty() || pdf.empty()) return usage();

  // The charts are drawn by Qt's graphics items, which need an application
  // object; nothing is shown, so no display is needed either.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tindavel-cli";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  // The command works on its own copy of the settings: the report's channel
  // count has no business beyond this run.
  SettingsVariables settings;
  std::string error;
  std::optional<ReportDocument> document = loadReportDocument(report, settings, &error);
  if (!document) {
    std::fprintf(stderr, "tindavel-cli report: %s\n", error.c_str());
    return 2;
  }
  const std::string inputs[] = {report};
  if (!writeReportPdf(*document, pdf, &error, inputs)) {
    std::fprintf(stderr, "tindavel-cli report: %s\n", error.c_str());
    return 2;
  }
  std::printf("{\"report\": %s, \"pdf\": %s, \"channels\": %d, \"pages\": %zu, "
              "\"distribution_page\": %s, \"stored_page\": %s}\n",
              jsonString(report).c_str(), jsonString(pdf).c_str(), document->bands.nrChannels,
              document->pages.size(), document->bands.hasDistributionPage ? "true" : "false",
              document->bands.hasStoredPage ? "true" : "false");
  return 0;
}

const bool registered = registerCliCommand({kReportCommand.name, kReportCommand.summary, runReport, kUsage});

}  // namespace
