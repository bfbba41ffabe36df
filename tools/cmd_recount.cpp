// tindavel-cli recount FILE [--frame-width W] [--from A] [--to B]
//                           [--trace TRACEFILE] [--json]
//
// Counts a recording again exactly as the record viewer's Autocount does from
// frame A to frame B: the settings come from the companion report file, the
// count restarts at frame A as a jump does, and the size limits adapt after
// every frame. One engine (records/recount_engine.h) serves both.
//
// JSON keys (stable): file, channels, frame_width, frames, first_frame,
// last_frame, lines, counts, total, seconds, lines_per_second, damage.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/damage_reporter.h"
#include "records/recording_opener.h"
#include "records/recording_settings.h"
#include "records/recount_engine.h"
#include "settings/settings_controls.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "tools/cli_command.h"
#include "tools/cli_numbers.h"
#include "tools/json_text.h"

namespace {

constexpr const char* kUsage =
    "usage: tindavel-cli recount FILE [--frame-width W] [--from A] [--to B] [--trace TRACEFILE] [--json]";

struct Options {
  std::string file;
  int32_t frameWidth = kDefaultFrameWidth;
  std::optional<int32_t> from;
  std::optional<int32_t> to;
  std::string trace;
  bool json = false;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "tindavel-cli recount: %s\n", message.c_str());
  return 2;
}

// Parses the words after "recount"; an error text when they are bad.
std::optional<std::string> parseArgs(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto valueOf = [&](std::string& out) -> bool {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--json") {
      o.json = true;
    } else if (a == "--frame-width" || a == "--from" || a == "--to") {
      if (!valueOf(v)) return a + " needs a value";
      const std::optional<int32_t> n = parsePositive(v, 9);
      // An error text, returned at once: no loop builds it up.
      // NOLINTNEXTLINE(performance-inefficient-string-concatenation)
      if (!n) return a + " needs a whole number of 1 or more, not '" + v + "'";
      if (a == "--frame-width") {
        if (*n > kMaxFrameWidth) return "--frame-width is at most " + std::to_string(kMaxFrameWidth);
        o.frameWidth = *n;
      } else if (a == "--from") {
        o.from = *n;
      } else {
        o.to = *n;
      }
    } else if (a == "--trace") {
      if (!valueOf(o.trace) || o.trace.empty()) return "--trace needs a file name";
    } else if (a.size() > 1 && a[0] == '-') {
      return "unknown option '" + a + "'";
    } else if (o.file.empty()) {
      o.file = a;
    } else {
      return "more than one record file given";
    }
  }
  if (o.file.empty()) return "no record file given";
  return std::nullopt;
}

int runRecount(const std::vector<std::string>& args) {
  Options o;
  if (const std::optional<std::string> error = parseArgs(args, o)) return fail(*error + "\n" + kUsage);

  // The settings store is only read: "Enablemulti" comes from it.
  SettingsStore store;
  store.setReadOnly(true);
  store.reload();

  std::ofstream traceFile;
  if (!o.trace.empty()) {
    traceFile.open(o.trace, std::ios::out | std::ios::trunc);
    if (!traceFile) return fail("cannot create the trace file " + o.trace);
  }

  // The command counts on state of its own: no session, no camera, no size
  // displays. The detection tables are large, so they live on the heap.
  const auto detection = std::make_unique<DetectionState>();
  SettingsVariables settings;
  SettingsControls controls;
  ViewerCounts viewerCounts;
  RecountContext ctx;
  ctx.detection = detection.get();
  ctx.settings = &settings;
  ctx.counts = &viewerCounts;
  ctx.controls = &controls;
  ctx.trace = traceFile.is_open() ? &traceFile : nullptr;

  const auto started = std::chrono::steady_clock::now();
  {
    std::ifstream probe(o.file, std::ios::binary);
    if (!probe) return fail("cannot read the record file " + o.file);
  }
  CollectingDamageReporter damage;
  const OpenedRecording opened =
      openRecording(o.file, readRecordingReport(o.file, store), ctx, o.frameWidth, &damage);
  if (opened.error == RecordingOpenError::kNoReport) {
    return fail(std::string(kMissingReportMessage) + ": " + companionReportPath(o.file));
  }
  if (!opened.engine) return fail("cannot read the record file " + o.file);
  RecountEngine& engine = *opened.engine;

  const int32_t frames = engine.state().FrameCount;
  const int32_t first = o.from.value_or(1);
  const int32_t last = o.to.value_or(frames);
  if (first > frames) return fail("--from " + std::to_string(first) + " is past the last frame " + std::to_string(frames));
  if (last > frames) return fail("--to " + std::to_string(last) + " is past the last frame " + std::to_string(frames));
  if (first > last) return fail("--from " + std::to_string(first) + " is after --to " + std::to_string(last));

  engine.countFrames(first, last);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (traceFile.is_open()) {
    traceFile.flush();
    if (!traceFile) return fail("cannot write the trace file " + o.trace);
  }

  const int channels = settings.NrChannels;
  const int64_t lines = engine.linesAnalysed();
  int64_t total = 0;
  for (int c = 1; c <= channels; ++c) total += viewerCounts.ViewerCount[c];
  const double rate = seconds > 0 ? static_cast<double>(lines) / seconds : 0;

  if (o.json) {
    std::string out = "{\"file\": " + jsonString(o.file) + ", \"channels\": " + std::to_string(channels) +
                      ", \"frame_width\": " + std::to_string(engine.frameWidth()) +
                      ", \"frames\": " + std::to_string(frames) + ", \"first_frame\": " + std::to_string(first) +
                      ", \"last_frame\": " + std::to_string(last) + ", \"lines\": " + std::to_string(lines) +
                      ", \"counts\": [";
    for (int c = 1; c <= channels; ++c) {
      if (c > 1) out += ", ";
      out += std::to_string(viewerCounts.ViewerCount[c]);
    }
    char figures[96];
    (void)std::snprintf(figures, sizeof figures, "], \"total\": %lld, \"seconds\": %.6f, \"lines_per_second\": %.0f",
                        static_cast<long long>(total), seconds, rate);
    out += figures;
    out += ", \"damage\": ";
    out += damageJson(damage.reports) + "}\n";
    std::fputs(out.c_str(), stdout);
  } else {
    for (const Damage& d : damage.reports) {
      std::fprintf(stderr, "tindavel-cli recount: %s: line %lld: %s\n", o.file.c_str(),
                   static_cast<long long>(d.line), d.reason.c_str());
    }
    std::printf("%s: %d channel%s, frames %d to %d of %d (%d columns each), %lld lines counted\n",
                o.file.c_str(), channels, channels == 1 ? "" : "s", first, last, frames, engine.frameWidth(),
                static_cast<long long>(lines));
    std::printf("counts:");
    for (int c = 1; c <= channels; ++c) std::printf(" %d", viewerCounts.ViewerCount[c]);
    std::printf("   total: %lld\n", static_cast<long long>(total));
    std::printf("%.3f s, %.1f million lines per second\n", seconds, rate / 1e6);
  }
  return 0;
}

const bool registered = registerCliCommand(
    {"recount", "count a recording again as the record viewer's Autocount does", runRecount});

}  // namespace
