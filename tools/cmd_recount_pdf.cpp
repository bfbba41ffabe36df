// tindavel-cli recount FILE... --pdf OUT.pdf [--paper a4|letter] [...]
//
// The recount command as tindavel-cli-windows runs it: tindavel-cli hands a
// run with --pdf over whole (tools/cli_hand_over.h), since printing needs
// Qt. It counts and writes everything the plain command does (the same
// code, tools/recount_batch.h), and then the printed re-count report
// (reports/recount_report.h): a summary page when there is more than one
// recording, then a page per recording, in the order the files were given.
// The header carries the company name and the logo from the settings.
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QHashFunctions>

#include "reports/recount_report_painter.h"
#include "settings/output_file.h"
#include "settings/registry.h"
#include "settings/settings_store.h"
#include "tools/cli_command.h"
#include "tools/recount_batch.h"
#include "tools/recount_report_data.h"
#include "tools/window_commands.h"

namespace {

// Keeps what the report shows of each recording as it is written.
class ReportCollector final : public RecountBatchListener {
 public:
  explicit ReportCollector(RecountReport& report) : report_(report) {}
  void recordingCounted(const std::string& file, const Recount& r) override {
    report_.recordings.push_back(reportRecording(file, r));
  }

 private:
  RecountReport& report_;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "tindavel-cli recount: %s\n", message.c_str());
  return 2;
}

int runRecountReport(const std::vector<std::string>& args) {
  RecountOptions o;
  if (const std::optional<std::string> error = parseRecountArgs(args, o)) {
    return fail(*error + "\n" + kRecountUsage);
  }
  OutputFile pdf;
  if (!o.pdf.empty() && !pdf.open(o.pdf, o.files)) return fail(pdf.error());

  RecountReport report;
  {
    // The header's company name and logo, from the settings as the program
    // loads them; the store is only read.
    SettingsStore store(defaultStorePath());
    store.setReadOnly(true);
    SettingsVariables variables;
    SettingsModel controls;
    Read_Registry(variables, controls, store);
    report.companyName = controls.editoperator.text();
    report.logoPath = controls.logoimagepath.text();
  }
  ReportCollector collector(report);
  const int status = runRecountBatch(o, &collector);
  if (o.pdf.empty()) return status;

  // The charts are drawn by Qt's graphics items, which need an application
  // object; nothing is shown, so no display is needed either.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's PDF writer lays out its fonts in the order of a hash, which a
  // random seed would change from run to run; a fixed seed makes the same
  // recordings give the same bytes whatever --jobs was.
  QHashSeed::setDeterministicGlobalSeed();
  static int argc = 1;
  static char name[] = "tindavel-cli";
  static char* argv[] = {name, nullptr};
  const QApplication app(argc, argv);
  const std::optional<RecountPdf> painted =
      paintRecountReport(report, o.paper == PaperSize::kLetter ? QPageSize::Letter : QPageSize::A4);
  if (!painted) return fail("cannot paint the report " + o.pdf);
  if (!pdf.write(painted->bytes) || !pdf.commit()) return fail(pdf.error());
  return status;
}

const bool registered =
    registerCliCommand({kRecountReportCommand.name, kRecountReportCommand.summary, runRecountReport});

}  // namespace
