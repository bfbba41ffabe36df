// tindavel-cli debugcount FILE [--window-width W] [--json | --csv]
//
// Steps a recording to its end as the debug viewer's "Next" does, window
// after window, on the program's state after its first-time initialisation:
// the settings are the debug viewer's reading of the companion report file
// (without one, the record's own edges and one channel), and the manual
// counts come from the ".tal" file beside the record when there is one, each
// window with the line the window shows for it. One engine
// (records/debug_viewer_engine.h) serves the window and this command.
//
// JSON keys (stable): file, channels, window_width, windows, lines, counts,
// total, manual_total, per_window (list of {window, first_line, lines,
// automatic, manual}; manual null without a ".tal" line for the window),
// damage.
// CSV: a header row, then one row per window. Every form writes a window's
// row as the window ends; the text form puts its summary after the rows.
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "app/first_time_initialisation.h"
#include "records/damage_reporter.h"
#include "records/debug_viewer_engine.h"
#include "records/recording_settings.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "settings/regular_file.h"
#include "settings/text_encoding.h"
#include "tools/cli_command.h"
#include "tools/cli_numbers.h"
#include "tools/json_text.h"

namespace {

constexpr const char* kUsage = "usage: tindavel-cli debugcount FILE [--window-width W] [--json | --csv]";

enum class Output { kText, kJson, kCsv };

struct Options {
  std::string file;
  int32_t windowWidth = kDefaultFrameWidth;
  Output output = Output::kText;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "tindavel-cli debugcount: %s\n", message.c_str());
  return 2;
}

std::optional<std::string> parseArgs(const std::vector<std::string>& args, Options& o) {
  bool formatChosen = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json" || a == "--csv") {
      const Output chosen = a == "--json" ? Output::kJson : Output::kCsv;
      if (formatChosen && o.output != chosen) return std::string("--json and --csv exclude each other");
      o.output = chosen;
      formatChosen = true;
    } else if (a == "--window-width") {
      if (i + 1 >= args.size()) return a + " needs a value";
      const std::string& v = args[++i];
      const std::optional<int32_t> n = parsePositive(v, 9);
      // An error text, returned at once: no loop builds it up.
      // NOLINTNEXTLINE(performance-inefficient-string-concatenation)
      if (!n) return a + " needs a whole number of 1 or more, not '" + v + "'";
      if (*n > kMaxFrameWidth) return a + " is at most " + std::to_string(kMaxFrameWidth);
      o.windowWidth = *n;
    } else if (a.size() > 1 && a[0] == '-') {
      return "unknown option '" + a + "'";
    } else if (o.file.empty()) {
      o.file = a;
    } else {
      return std::string("more than one record file given");
    }
  }
  if (o.file.empty()) return std::string("no record file given");
  return std::nullopt;
}

std::string manualText(const std::optional<int32_t>& manual, const char* none) {
  return manual ? std::to_string(*manual) : std::string(none);
}

int runDebugcount(const std::vector<std::string>& args) {
  Options o;
  if (const std::optional<std::string> error = parseArgs(args, o)) return fail(*error + "; " + kUsage);
  {
    std::ifstream probe;
    const FileProblem problem = openRegularFile(o.file, probe);
    if (problem != FileProblem::kNone) {
      return fail("cannot read the record file " + printableName(o.file) + ": " + fileProblemReason(o.file, problem));
    }
  }

  // The debug viewer works on the program's settings, its size groups among
  // them, and on the detection constants the program set from them at
  // start. As recount does, the command takes the settings as an empty store
  // gives them, so a run does not depend on the user's store.
  SettingsStore store;
  store.setReadOnly(true);
  store.reload();
  const auto detection = std::make_unique<DetectionState>();
  SettingsVariables settings;
  SettingsModel controls;
  SessionState session;
  ViewerCounts viewerCounts;
  firstTimeInitialisation(settings, controls, store, *detection, session, nullptr);
  DebugViewerContext ctx;
  ctx.detection = detection.get();
  ctx.settings = &settings;
  ctx.counts = &viewerCounts;
  ctx.controls = &controls;
  ctx.session = &session;
  const auto engine = std::make_unique<DebugViewerEngine>(ctx);
  engine->setPictureSize(o.windowWidth, 600);

  CollectingDamageReporter damage;
  if (!engine->openFile(o.file, readRecordingReport(o.file, store), &damage)) {
    return fail("cannot read the record file " + printableName(o.file));
  }
  // Each window's row is written as the window ends, so memory stays the
  // same however many windows the recording makes; the totals follow the
  // rows.
  const int channels = settings.NrChannels;
  if (o.output == Output::kJson) {
    std::printf("{\"file\": %s, \"channels\": %d, \"window_width\": %d, \"per_window\": [",
                jsonString(o.file).c_str(), channels, engine->windowWidth());
  } else if (o.output == Output::kCsv) {
    std::printf("window,first_line,lines,automatic,manual\n");
  }
  int64_t windows = 0;
  bool anyManual = false;
  while (engine->state().nextEnabled && !std::ferror(stdout)) {  // no reader left: no use going on
    engine->nextClick();
    const DebugWindowSummary& w = engine->lastWindow();
    ++windows;
    anyManual = anyManual || w.Manual.has_value();
    const auto first = static_cast<long long>(w.FirstLine);
    switch (o.output) {
      case Output::kJson:
        std::printf("%s{\"window\": %d, \"first_line\": %lld, \"lines\": %d, \"automatic\": %d, \"manual\": %s}",
                    windows > 1 ? ", " : "", w.Number, first, w.Lines, w.Automatic, manualText(w.Manual, "null").c_str());
        break;
      case Output::kCsv:
        std::printf("%d,%lld,%d,%d,%s\n", w.Number, first, w.Lines, w.Automatic, manualText(w.Manual, "").c_str());
        break;
      case Output::kText:
        std::printf("window %d (lines %lld-%lld): %d", w.Number, first, first + w.Lines - 1, w.Automatic);
        if (w.Manual) std::printf("   manual %d", *w.Manual);
        std::printf("\n");
        break;
    }
  }
  const long long lines = static_cast<long long>(engine->linesRead());
  // The window's manual total (Edit5): the ".tal" lines the windows showed.
  const long long manualTotal = static_cast<long long>(engine->state().ManualTotal);

  if (o.output == Output::kJson) {
    std::string out = "], \"windows\": " + std::to_string(windows) + ", \"lines\": " + std::to_string(lines) +
                      ", \"counts\": [";
    for (int c = 1; c <= channels; ++c) {
      if (c > 1) out += ", ";
      out += std::to_string(viewerCounts.ViewerCount[c]);
    }
    out += "], \"total\": " + std::to_string(detection->ObjectTotal) +
           ", \"manual_total\": " + (anyManual ? std::to_string(manualTotal) : std::string("null")) +
           ", \"damage\": " + damageJson(damage.reports) + "}\n";
    std::fputs(out.c_str(), stdout);
    return 0;
  }

  for (const Damage& d : damage.reports) {
    std::fprintf(stderr, "tindavel-cli debugcount: %s: line %lld: %s\n", printableName(o.file).c_str(),
                 static_cast<long long>(d.line), d.reason.c_str());
  }
  if (o.output == Output::kCsv) return 0;

  std::printf("%s: %d channel%s, %lld windows of %d columns, %lld lines read\n", printableName(o.file).c_str(),
              channels, channels == 1 ? "" : "s", static_cast<long long>(windows), engine->windowWidth(), lines);
  std::printf("counts:");
  for (int c = 1; c <= channels; ++c) std::printf(" %d", viewerCounts.ViewerCount[c]);
  std::printf("   Total: %d", detection->ObjectTotal);
  if (anyManual) std::printf("   manual: %lld", manualTotal);
  std::printf("\n");
  return 0;
}

const bool registered = registerCliCommand(
    {"debugcount", "step a recording to its end as the debug viewer's Next does", runDebugcount, kUsage});

}  // namespace
