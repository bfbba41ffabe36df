#include "tools/recount_batch.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>

#include "analysis/size_groups.h"
#include "reports/day_count.h"
#include "records/recording_settings.h"
#include "settings/output_file.h"
#include "settings/settings_store.h"
#include "tools/cli_args.h"
#include "tools/cli_numbers.h"
#include "tools/csv_text.h"
#include "tools/json_text.h"
#include "tools/progress_line.h"
#include "tools/recount_jobs.h"

const char* const kRecountUsage =
    "usage: tindavel-cli recount FILE [--frame-width W] [--from A] [--to B] [--trace TRACEFILE] [--json]\n"
    "       tindavel-cli recount FILE... [--csv | --json] [--fish OUT.csv] [--pdf OUT.pdf [--paper a4|letter]]\n"
    "                                    [--jobs N] [--frame-width W] [--from A] [--to B]";

namespace {

// The columns of --csv, one row per recording and channel.
const std::vector<std::string> kCsvHeader = {"file",       "start_time", "channel_name", "size_group",
                                             "live_count", "recount",    "difference",   "lines",
                                             "damage_kinds", "error"};
// How --csv writes a recording's start time ("Program"/"DateTime" less
// "Lasting"), in a form spreadsheets read as a date.
constexpr const char* kCsvTimePattern = "yyyy-mm-dd hh:nn:ss";
// The most threads --jobs takes.
constexpr int kMaxJobs = 256;

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
    const std::optional<int64_t> diff = liveDifference(r, c);
    out += csvRow({file, start, r.names[c], std::string(SizeGroupNames[sizeGroupIndex(r.sizeGroups[c])]),
                   r.live[c] ? std::to_string(*r.live[c]) : "", std::to_string(r.counts[c]),
                   diff ? std::to_string(*diff) : "", std::to_string(r.lines), kinds, ""});
  }
  return out;
}

int64_t totalOf(const Recount& r) {
  int64_t total = 0;
  for (int c = 1; c <= r.channels; ++c) total += r.counts[c];
  return total;
}

std::string summaryJson(const std::string& file, const Recount& r, double seconds) {
  const double rate = seconds > 0 ? static_cast<double>(r.lines) / seconds : 0;
  std::string out = "{\"file\": " + jsonString(file) + ", \"channels\": " + std::to_string(r.channels) +
                    ", \"frame_width\": " + std::to_string(r.frameWidth) + ", \"frames\": " + std::to_string(r.frames) +
                    ", \"first_frame\": " + std::to_string(r.first) + ", \"last_frame\": " + std::to_string(r.last) +
                    ", \"lines\": " + std::to_string(r.lines);
  std::string counts, live, differences;
  for (int c = 1; c <= r.channels; ++c) {
    const char* comma = c > 1 ? ", " : "";
    counts += comma + std::to_string(r.counts[c]);
    live += comma + numberOrNull(r.live[c]);
    differences += comma + numberOrNull(liveDifference(r, c));
  }
  out += ", \"counts\": [" + counts + "], \"live_counts\": [" + live + "], \"differences\": [" + differences;
  char figures[96];
  (void)std::snprintf(figures, sizeof figures, "], \"total\": %lld, \"seconds\": %.6f, \"lines_per_second\": %.0f",
                      static_cast<long long>(totalOf(r)), seconds, rate);
  out += figures;
  out += ", \"damage\": ";
  out += damageJson(r.damage) + "}\n";
  return out;
}

void printSummary(const std::string& file, const Recount& r, double seconds) {
  const int64_t total = totalOf(r);
  const double rate = seconds > 0 ? static_cast<double>(r.lines) / seconds : 0;
  std::printf("%s: %d channel%s, frames %d to %d of %d (%d columns each), %lld lines counted\n", file.c_str(),
              r.channels, r.channels == 1 ? "" : "s", r.first, r.last, r.frames, r.frameWidth,
              static_cast<long long>(r.lines));
  // The re-count and the live count side by side; "-" where the report
  // holds no live count.
  auto cell = [](const std::optional<int64_t>& n, bool sign) {
    if (!n) return std::string("-");
    std::string text = std::to_string(*n);
    if (sign && *n > 0) text.insert(text.begin(), '+');
    return text;
  };
  std::printf("%-8s %10s %10s %10s\n", "channel", "re-count", "live", "difference");
  int64_t liveTotal = 0;
  bool allLive = true;
  for (int c = 1; c <= r.channels; ++c) {
    std::printf("%-8d %10d %10s %10s\n", c, r.counts[c], cell(r.live[c], false).c_str(),
                cell(liveDifference(r, c), true).c_str());
    allLive = allLive && r.live[c].has_value();
    liveTotal += r.live[c].value_or(0);
  }
  const std::optional<int64_t> liveSum = allLive ? std::optional<int64_t>(liveTotal) : std::nullopt;
  std::printf("%-8s %10lld %10s %10s\n", "total", static_cast<long long>(total), cell(liveSum, false).c_str(),
              cell(liveSum ? std::optional<int64_t>(total - *liveSum) : std::nullopt, true).c_str());
  std::printf("%.3f s, %.1f million lines per second\n", seconds, rate / 1e6);
}

// The recordings of one run: counted on the pool's threads, written in order
// on the calling one.
class Batch final : public OrderedWork {
 public:
  Batch(const RecountOptions& o, const SettingsStore& store, std::ostream* trace, OutputFile* fish,
        RecountBatchListener* listener)
      : o_(o), store_(store), trace_(trace), fish_(fish), listener_(listener), slots_(o.files.size()),
        progress_(o.files.size() > 1), started_(std::chrono::steady_clock::now()) {}

  void run(size_t i) override {
    const auto began = std::chrono::steady_clock::now();
    Slot slot;
    slot.r = recountOne(o_.files[i], o_.range, store_, trace_, fish_ ? std::optional(takeRowBuffer()) : std::nullopt);
    slot.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    linesDone_ += slot.r.lines;
    ++filesDone_;
    slots_[i] = std::move(slot);
  }

  void deliver(size_t i) override {
    const std::string& file = o_.files[i];
    const Slot& slot = *slots_[i];
    const Recount& r = slot.r;
    progress_.clear();
    if (!r.error.empty()) {
      std::fprintf(stderr, "tindavel-cli recount: %s\n", r.error.c_str());
      allCounted_ = false;
    }
    // The JSON carries its damage itself.
    if (!o_.json) printDamage(file, r.damage);
    if (o_.csv) {
      std::fputs(csvRows(file, r).c_str(), stdout);
    } else if (r.error.empty()) {
      if (o_.json) {
        std::fputs(summaryJson(file, r, slot.seconds).c_str(), stdout);
      } else {
        printSummary(file, r, slot.seconds);
      }
    }
    // Recording by recording, so a long run shows its progress in a pipe.
    (void)std::fflush(stdout);
    if (fish_) (void)fish_->write(r.fish.rows());
    if (listener_) listener_->recordingCounted(file, r);
    if (fish_) giveBackRowBuffer(slots_[i]->r.fish.takeRows());
    slots_[i].reset();
    idle(i + 1);
  }

  void idle(size_t /*waiting*/) override {
    progress_.show(filesDone_, o_.files.size(), linesDone_,
                   std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count());
  }

  void finish() { progress_.clear(); }
  bool allCounted() const { return allCounted_; }

 private:
  struct Slot {
    Recount r;
    double seconds = 0;
  };

  // The fish rows' buffers, one for each recording counted and not yet
  // written: kept with their capacity from one recording to the next.
  std::string takeRowBuffer() {
    const std::lock_guard<std::mutex> hold(rowBuffersLock_);
    if (rowBuffers_.empty()) return {};
    std::string buffer = std::move(rowBuffers_.back());
    rowBuffers_.pop_back();
    return buffer;
  }
  void giveBackRowBuffer(std::string buffer) {
    const std::lock_guard<std::mutex> hold(rowBuffersLock_);
    rowBuffers_.push_back(std::move(buffer));
  }

  const RecountOptions& o_;
  const SettingsStore& store_;
  std::ostream* trace_;
  OutputFile* fish_;
  RecountBatchListener* listener_;
  std::vector<std::optional<Slot>> slots_;  // [file]: counted, not yet written
  ProgressLine progress_;
  std::chrono::steady_clock::time_point started_;
  std::atomic<int64_t> linesDone_{0};
  std::atomic<size_t> filesDone_{0};
  bool allCounted_ = true;
  std::mutex rowBuffersLock_;
  std::vector<std::string> rowBuffers_;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "tindavel-cli recount: %s\n", message.c_str());
  return 2;
}

}  // namespace

std::optional<std::string> parseRecountArgs(const std::vector<std::string>& args, RecountOptions& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string v;
    if (a == "--json") {
      o.json = true;
    } else if (a == "--csv") {
      o.csv = true;
    } else if (a == "--frame-width" || a == "--from" || a == "--to" || a == "--jobs") {
      if (!takeOptionValue(args, i, v)) return a + " needs a value";
      const std::optional<int32_t> n = parsePositive(v, 9);
      // An error text, returned at once: no loop builds it up.
      // NOLINTNEXTLINE(performance-inefficient-string-concatenation)
      if (!n) return a + " needs a whole number of 1 or more, not '" + v + "'";
      if (a == "--frame-width") {
        if (*n > kMaxFrameWidth) return "--frame-width is at most " + std::to_string(kMaxFrameWidth);
        o.range.frameWidth = *n;
      } else if (a == "--from") {
        o.range.from = *n;
      } else if (a == "--to") {
        o.range.to = *n;
      } else {
        if (*n > kMaxJobs) return "--jobs is at most " + std::to_string(kMaxJobs);
        o.jobs = *n;
      }
    } else if (a == "--trace") {
      if (!takeOptionValue(args, i, o.trace) || o.trace.empty()) return "--trace needs a file name";
    } else if (a == "--fish") {
      if (!takeOptionValue(args, i, o.fish) || o.fish.empty()) return "--fish needs a file name";
    } else if (a == "--pdf") {
      if (!takeOptionValue(args, i, o.pdf) || o.pdf.empty()) return "--pdf needs a file name";
    } else if (a == "--paper") {
      if (!takeOptionValue(args, i, v)) return "--paper needs a value";
      if (v == "a4" || v == "A4") {
        o.paper = PaperSize::kA4;
      } else if (v == "letter") {
        o.paper = PaperSize::kLetter;
      } else {
        return "--paper is a4 or letter, not '" + v + "'";
      }
    } else if (isOption(a)) {
      return "unknown option '" + a + "'";
    } else {
      o.files.push_back(a);
    }
  }
  if (o.files.empty()) return "no record file given";
  if (o.json && o.csv) return "--json and --csv exclude each other";
  if (o.files.size() > 1 && !o.csv && o.fish.empty() && o.pdf.empty()) {
    return "more than one record file given (--csv, --fish or --pdf counts many)";
  }
  if (o.files.size() > 1 && !o.trace.empty()) return "--trace is for one recording";
  if (o.csv && !o.trace.empty()) return "--trace is for one recording, not --csv";
  return std::nullopt;
}

int runRecountBatch(const RecountOptions& o, RecountBatchListener* listener) {
  // The settings store is only read: "Enablemulti" comes from it.
  SettingsStore store;
  store.setReadOnly(true);
  store.reload();

  // The trace (one recording only) is opened once the recording is known to
  // be readable (a FIFO with no reader would hold the run before its first
  // check), and takes the place of an old one only when the count succeeds.
  OutputFile trace;
  if (!o.trace.empty()) {
    const std::string& file = o.files.front();
    if (const std::optional<std::string> problem = recordFileProblem(file)) return fail(*problem);
    const std::string inputs[] = {file, companionReportPath(file)};
    if (!trace.open(o.trace, inputs)) return fail(trace.error());
  }
  std::unique_ptr<OutputFile> fish;
  if (!o.fish.empty()) {
    fish = std::make_unique<OutputFile>();
    if (!fish->open(o.fish, o.files)) return fail(fish->error());
    (void)fish->write(csvRow(kFishCsvHeader));
  }
  if (o.csv) std::fputs(csvRow(kCsvHeader).c_str(), stdout);

  Batch batch(o, store, trace.isOpen() ? &trace.stream() : nullptr, fish.get(), listener);
  runInOrder(o.files.size(), o.jobs > 0 ? o.jobs : availableCores(), batch);
  batch.finish();

  bool written = true;
  if (trace.isOpen() && batch.allCounted() && !trace.commit()) written = fail(trace.error()) == 0;
  if (fish && !fish->commit()) written = fail(fish->error()) == 0;
  return batch.allCounted() && written ? 0 : 2;
}
