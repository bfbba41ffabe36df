// tindavel-cli recount FILE [--frame-width W] [--from A] [--to B]
//                           [--trace TRACEFILE] [--json]
// tindavel-cli recount FILE... --csv [--frame-width W] [--from A] [--to B]
//
// Counts a recording again exactly as the record viewer's Autocount does from
// frame A to frame B: the settings come from the companion report file, the
// count restarts at frame A as a jump does, and the size limits adapt after
// every frame. One engine (records/recount_engine.h) serves both. Beside each
// channel's re-count stands the count the counter made live, as its report
// keeps it ("Eka"/"Counters"n), and the difference re-count minus live count.
//
// JSON keys (stable): file, channels, frame_width, frames, first_frame,
// last_frame, lines, counts, live_counts, differences, total, seconds,
// lines_per_second, damage. A live count the report does not hold (and its
// difference) is null: a missing key is no count of 0.
//
// --csv counts every recording given on state of its own, as if it were the
// only one, and writes one row per recording and channel under a header row
// (csvHeader below). A recording that cannot be counted gets one row with the
// reason in "error"; the others are still counted, and the exit status is 2
// at the end.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/size_groups.h"
#include "analysis/viewer_counts.h"
#include "records/damage_reporter.h"
#include "records/recording_opener.h"
#include "records/recording_settings.h"
#include "records/recount_engine.h"
#include "reports/day_count.h"
#include "settings/settings_controls.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "settings/regular_file.h"
#include "tools/cli_command.h"
#include "tools/cli_numbers.h"
#include "tools/csv_text.h"
#include "tools/json_text.h"

namespace {

constexpr const char* kUsage =
    "usage: tindavel-cli recount FILE [--frame-width W] [--from A] [--to B] [--trace TRACEFILE] [--json]\n"
    "       tindavel-cli recount FILE... --csv [--frame-width W] [--from A] [--to B]";

// The columns of --csv, one row per recording and channel.
const std::vector<std::string> kCsvHeader = {"file",       "start_time", "channel_name", "size_group",
                                             "live_count", "recount",    "difference",   "lines",
                                             "damage_kinds", "error"};
// How --csv writes a recording's start time ("Program"/"DateTime" less
// "Lasting"), in a form spreadsheets read as a date.
constexpr const char* kCsvTimePattern = "yyyy-mm-dd hh:nn:ss";

struct Options {
  std::vector<std::string> files;
  int32_t frameWidth = kDefaultFrameWidth;
  std::optional<int32_t> from;
  std::optional<int32_t> to;
  std::string trace;
  bool json = false;
  bool csv = false;
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
    } else if (a == "--csv") {
      o.csv = true;
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
    } else {
      o.files.push_back(a);
    }
  }
  if (o.files.empty()) return "no record file given";
  if (o.json && o.csv) return "--json and --csv exclude each other";
  if (o.files.size() > 1 && !o.csv) return "more than one record file given (--csv counts many)";
  if (o.csv && !o.trace.empty()) return "--trace is for one recording, not --csv";
  return std::nullopt;
}

// One recording as counted.
struct Recount {
  std::string error;  // why it could not be counted; empty when it was
  int channels = 0;
  int32_t frameWidth = 0;
  int32_t frames = 0;
  int32_t first = 0;
  int32_t last = 0;
  int64_t lines = 0;
  ChannelArray<int32_t> counts{};                 // [1..channels] re-counts
  ChannelArray<std::optional<int32_t>> live{};    // [1..channels] "Counters"n, when the report holds it
  ChannelArray<std::string> names{};              // [1..channels] channel names as the viewer shows them
  ChannelArray<int32_t> sizeGroups{};             // [1..channels] the groups counted with
  std::optional<double> startTime;                // days; none without "DateTime"
  std::vector<Damage> damage;
};

// Counts `file` on state of its own. The settings store is only read.
Recount recountOne(const std::string& file, const Options& o, const SettingsStore& store,
                   std::ostream* trace) {
  Recount r;
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
  ctx.trace = trace;

  {
    std::ifstream probe;
    const FileProblem problem = openRegularFile(file, probe);
    if (problem != FileProblem::kNone) {
      r.error = "cannot read the record file " + file + ": " + std::string(fileProblemText(problem));
      return r;
    }
  }
  CollectingDamageReporter damage;
  const std::optional<RecordingReport> reading = readRecordingReport(file, store);
  const OpenedRecording opened = openRecording(file, reading, ctx, o.frameWidth, &damage);
  if (opened.error == RecordingOpenError::kNoReport) {
    const std::string message = noReportMessage(file);
    r.error = message == kMissingReportMessage ? message + ": " + companionReportPath(file) : message;
    return r;
  }
  if (!opened.engine) {
    r.error = "cannot read the record file " + file;
    return r;
  }
  RecountEngine& engine = *opened.engine;

  r.frames = engine.state().FrameCount;
  r.first = o.from.value_or(1);
  r.last = o.to.value_or(r.frames);
  if (r.first > r.frames) {
    r.error = "--from " + std::to_string(r.first) + " is past the last frame " + std::to_string(r.frames);
  } else if (r.last > r.frames) {
    r.error = "--to " + std::to_string(r.last) + " is past the last frame " + std::to_string(r.frames);
  } else if (r.first > r.last) {
    r.error = "--from " + std::to_string(r.first) + " is after --to " + std::to_string(r.last);
  }
  if (!r.error.empty()) return r;

  engine.countFrames(r.first, r.last);
  r.channels = settings.NrChannels;
  r.frameWidth = engine.frameWidth();
  r.lines = engine.linesAnalysed();
  for (int c = 1; c <= r.channels; ++c) {
    r.counts[c] = viewerCounts.ViewerCount[c];
    r.live[c] = reading->report.channels[c].Counters;
    r.names[c] = opened.recording.ChannelNames[c];
    r.sizeGroups[c] = settings.SizeGroup[c];
  }
  if (reading->report.DateTime) r.startTime = opened.recording.StartTime;
  r.damage = std::move(damage.reports);
  return r;
}

std::optional<int64_t> difference(const Recount& r, int c) {
  if (!r.live[c]) return std::nullopt;
  return int64_t{r.counts[c]} - *r.live[c];
}

std::string numberOrNull(const std::optional<int64_t>& n) { return n ? std::to_string(*n) : "null"; }

// One line of the damage on standard error for each kind found in `file`.
void printDamage(const std::string& file, const std::vector<Damage>& reports) {
  for (const Damage& d : reports) {
    std::fprintf(stderr, "tindavel-cli recount: %s: line %lld: %s\n", file.c_str(), static_cast<long long>(d.line),
                 d.reason.c_str());
  }
}

std::string csvRows(const std::string& file, const Recount& r) {
  if (!r.error.empty()) {
    std::vector<std::string> row(kCsvHeader.size());
    row.front() = file;
    row.back() = r.error;
    return csvRow(row);
  }
  const std::string start = r.startTime ? formatDayCount(kCsvTimePattern, *r.startTime) : "";
  std::string kinds;
  for (const Damage& d : r.damage) kinds += (kinds.empty() ? "" : "; ") + d.reason;
  std::string out;
  for (int c = 1; c <= r.channels; ++c) {
    const std::optional<int64_t> diff = difference(r, c);
    out += csvRow({file, start, r.names[c], std::string(SizeGroupNames[sizeGroupIndex(r.sizeGroups[c])]),
                   r.live[c] ? std::to_string(*r.live[c]) : "", std::to_string(r.counts[c]),
                   diff ? std::to_string(*diff) : "", std::to_string(r.lines), kinds, ""});
  }
  return out;
}

int runBatch(const Options& o, const SettingsStore& store) {
  std::string out = csvRow(kCsvHeader);
  std::fputs(out.c_str(), stdout);
  bool allCounted = true;
  for (const std::string& file : o.files) {
    const Recount r = recountOne(file, o, store, nullptr);
    if (!r.error.empty()) {
      std::fprintf(stderr, "tindavel-cli recount: %s\n", r.error.c_str());
      allCounted = false;
    }
    printDamage(file, r.damage);
    // Row by row, so a long batch shows its progress in a pipe.
    std::fputs(csvRows(file, r).c_str(), stdout);
    (void)std::fflush(stdout);
  }
  return allCounted ? 0 : 2;
}

int runRecount(const std::vector<std::string>& args) {
  Options o;
  if (const std::optional<std::string> error = parseArgs(args, o)) return fail(*error + "\n" + kUsage);

  // The settings store is only read: "Enablemulti" comes from it.
  SettingsStore store;
  store.setReadOnly(true);
  store.reload();
  if (o.csv) return runBatch(o, store);

  std::ofstream traceFile;
  if (!o.trace.empty()) {
    traceFile.open(o.trace, std::ios::out | std::ios::trunc);
    if (!traceFile) return fail("cannot create the trace file " + o.trace);
  }

  const std::string& file = o.files.front();
  const auto started = std::chrono::steady_clock::now();
  const Recount r = recountOne(file, o, store, traceFile.is_open() ? &traceFile : nullptr);
  if (!r.error.empty()) return fail(r.error);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (traceFile.is_open()) {
    traceFile.flush();
    if (!traceFile) return fail("cannot write the trace file " + o.trace);
  }

  int64_t total = 0;
  for (int c = 1; c <= r.channels; ++c) total += r.counts[c];
  const double rate = seconds > 0 ? static_cast<double>(r.lines) / seconds : 0;

  if (o.json) {
    std::string out = "{\"file\": " + jsonString(file) + ", \"channels\": " + std::to_string(r.channels) +
                      ", \"frame_width\": " + std::to_string(r.frameWidth) +
                      ", \"frames\": " + std::to_string(r.frames) + ", \"first_frame\": " + std::to_string(r.first) +
                      ", \"last_frame\": " + std::to_string(r.last) + ", \"lines\": " + std::to_string(r.lines);
    std::string counts, live, differences;
    for (int c = 1; c <= r.channels; ++c) {
      const char* comma = c > 1 ? ", " : "";
      counts += comma + std::to_string(r.counts[c]);
      live += comma + numberOrNull(r.live[c]);
      differences += comma + numberOrNull(difference(r, c));
    }
    out += ", \"counts\": [" + counts + "], \"live_counts\": [" + live + "], \"differences\": [" + differences;
    char figures[96];
    (void)std::snprintf(figures, sizeof figures, "], \"total\": %lld, \"seconds\": %.6f, \"lines_per_second\": %.0f",
                        static_cast<long long>(total), seconds, rate);
    out += figures;
    out += ", \"damage\": ";
    out += damageJson(r.damage) + "}\n";
    std::fputs(out.c_str(), stdout);
    return 0;
  }

  printDamage(file, r.damage);
  std::printf("%s: %d channel%s, frames %d to %d of %d (%d columns each), %lld lines counted\n", file.c_str(),
              r.channels, r.channels == 1 ? "" : "s", r.first, r.last, r.frames, r.frameWidth,
              static_cast<long long>(r.lines));
  // The re-count and the live count side by side; "-" where the report
  // holds no live count.
  auto cell = [](const std::optional<int64_t>& n, bool sign) {
    if (!n) return std::string("-");
    return (sign && *n > 0 ? "+" : "") + std::to_string(*n);
  };
  std::printf("%-8s %10s %10s %10s\n", "channel", "re-count", "live", "difference");
  int64_t liveTotal = 0;
  bool allLive = true;
  for (int c = 1; c <= r.channels; ++c) {
    std::printf("%-8d %10d %10s %10s\n", c, r.counts[c], cell(r.live[c], false).c_str(),
                cell(difference(r, c), true).c_str());
    allLive = allLive && r.live[c].has_value();
    liveTotal += r.live[c].value_or(0);
  }
  const std::optional<int64_t> liveSum = allLive ? std::optional<int64_t>(liveTotal) : std::nullopt;
  std::printf("%-8s %10lld %10s %10s\n", "total", static_cast<long long>(total), cell(liveSum, false).c_str(),
              cell(liveSum ? std::optional<int64_t>(total - *liveSum) : std::nullopt, true).c_str());
  std::printf("%.3f s, %.1f million lines per second\n", seconds, rate / 1e6);
  return 0;
}

const bool registered = registerCliCommand(
    {"recount", "count a recording again as the record viewer's Autocount does", runRecount, kUsage});

}  // namespace
