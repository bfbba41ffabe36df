// End-to-end re-count of a 60-minute, 4-channel recording: what
// `tindavel-cli recount` does (open the record file, count its lines, read and
// analyse every line, frame by frame, adapting the size limits after each
// frame), and the same stretch as the record viewer's Autocount runs it in
// the window (offscreen, nothing drawn during the run).
//
// The recording is TINDAVEL_BENCH_RECORDING (a .blb with its .mse, e.g. from
// `tindavel-cli simulate --minutes 60 --channels 4`), or else one written
// here into the temporary folder: fish of 14 to 30 lines and 8 to 16 pixels,
// about 36 a minute in each channel.
//
// BM_RecountDense counts a crowd the same way: TINDAVEL_BENCH_DENSE_RECORDING,
// or else what `tindavel-cli simulate --crowd --minutes 6 --channels 4
// --size-group 7 --seed 7` writes (100 fish per 1000 lines, 30 % of them
// forked for a while, touching neighbours), written here into the temporary
// folder.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QToolButton>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/record_encoder.h"
#include "records/record_viewer_window.h"
#include "records/recording_opener.h"
#include "records/recording_settings.h"
#include "records/recount_engine.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "tests/records/scripted_record_viewer_dialogs.h"
#include "tools/recording_simulator.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t kLines = 60 * 60 * kLinesPerSecond;  // 60 minutes
constexpr int kChannels = 4;

// Writes the synthetic recording once; returns the path of its .blb.
std::string recordingPath() {
  if (const char* given = std::getenv("TINDAVEL_BENCH_RECORDING")) return given;
  const fs::path stem = fs::temp_directory_path() / "tindavel-recount-bench";
  std::string blb = stem.string() + ".blb";
  if (fs::exists(blb)) return blb;
  std::mt19937_64 random(1116);
  struct Fish {
    int32_t first, length, centre, half;
  };
  std::vector<std::vector<Fish>> byChannel(kChannels);
  for (int ch = 0; ch < kChannels; ++ch) {
    // A fish every 1860 lines on average (36 a minute), never overlapping.
    for (int32_t line = 1 + static_cast<int32_t>(random() % 500); line < kLines - 40;) {
      const auto length = static_cast<int32_t>(14 + random() % 17);
      const auto half = static_cast<int32_t>(4 + random() % 5);
      const auto centre = static_cast<int32_t>(ch * 128 + 30 + random() % 68);
      byChannel[static_cast<size_t>(ch)].push_back({line, length, centre, half});
      line += length + 20 + static_cast<int32_t>(random() % 3600);
    }
  }
  RecordFileWriter writer;
  if (!writer.open(blb, RecordKind::Binary)) std::abort();
  writer.header(0, 511);
  std::vector<size_t> next(kChannels, 0);
  std::vector<SegmentPair> segments;
  for (int32_t line = 1; line <= kLines; ++line) {
    segments.clear();
    for (int ch = 0; ch < kChannels; ++ch) {
      const auto& list = byChannel[static_cast<size_t>(ch)];
      size_t& k = next[static_cast<size_t>(ch)];
      while (k < list.size() && list[k].first + list[k].length <= line) ++k;
      if (k < list.size() && list[k].first <= line) {
        const Fish& f = list[k];
        const double t = (line - f.first + 0.5) / f.length;
        const auto w = static_cast<int32_t>(std::lround(f.half * std::sin(t * M_PI))) + 1;
        segments.push_back({f.centre - w, f.centre + w});
      }
      if (random() % 400 == 0) segments.push_back({ch * 128 + 2, ch * 128 + 3});  // a speck
    }
    std::sort(segments.begin(), segments.end(),
              [](const SegmentPair& a, const SegmentPair& b) { return a.Start < b.Start; });
    writer.line(segments);
  }
  if (!writer.close()) std::abort();
  std::ofstream mse(stem.string() + ".mse", std::ios::trunc);
  mse << "[Program]\nTank=Bench\nDateTime=45000.75\nLasting=0.0416666\n[Settings]\nNrChannels=4\n"
         "Ledge=0\nRedge=511\n[Eka]\nchannelwidth=1\nSkuffubreidd=1000\n";
  for (int n = 1; n <= kChannels; ++n) {
    mse << "Multib" << n << "=" << (n - 1) * 128 << "\nMultie" << n << "=" << n * 128 - 1 << "\nSize Group" << n
        << "=4\n";
  }
  return blb;
}

// The crowded recording; the path of its .blb.
std::string denseRecordingPath() {
  if (const char* given = std::getenv("TINDAVEL_BENCH_DENSE_RECORDING")) return given;
  const fs::path stem = fs::temp_directory_path() / "tindavel-recount-bench-crowd";
  std::string blb = stem.string() + ".blb";
  if (fs::exists(blb)) return blb;
  SimulationOptions o;
  o.out = stem.string();
  o.minutes = 6;
  o.channels = 4;
  o.sizeGroup = 7;
  o.seed = 7;
  o.crowd = true;
  o.fishPerMinute = kCrowdFishPerMinute;
  SimulationResult result;
  std::string error;
  if (!simulateSession(o, result, error)) std::abort();
  return blb;
}

// State of a benchmark's own, as the command line keeps it. The detection
// tables are large, so they live on the heap.
struct CountingState {
  std::unique_ptr<DetectionState> detection = std::make_unique<DetectionState>();
  SettingsVariables settings;
  SettingsModel controls;
  ViewerCounts counts;
  SessionState session;
  CameraGeometry camera;
};

// tindavel-cli recount FILE: open, count the lines, count every frame.
void recountCommandLine(benchmark::State& state, const std::string& path) {
  SettingsStore store((fs::temp_directory_path() / "tindavel-bench-store.ini").string());
  store.setReadOnly(true);
  CountingState own;
  RecountContext ctx;
  ctx.detection = own.detection.get();
  ctx.settings = &own.settings;
  ctx.counts = &own.counts;
  ctx.controls = &own.controls;
  int64_t lines = 0;
  for (auto _ : state) {
    OpenedRecording opened =
        openRecording(path, readRecordingReport(path, store), ctx, kDefaultFrameWidth, nullptr);
    if (opened.error == RecordingOpenError::kNoReport) {
      state.SkipWithError("no report file beside the recording");
      return;
    }
    if (!opened.engine) {
      state.SkipWithError("cannot open the recording");
      return;
    }
    opened.engine->countFrames(1, opened.engine->state().FrameCount);
    lines = opened.engine->linesAnalysed();
    benchmark::DoNotOptimize(own.counts.ViewerCount);
  }
  state.SetItemsProcessed(state.iterations() * lines);
  int64_t total = 0;
  for (int c = 1; c <= own.settings.NrChannels; ++c) total += own.counts.ViewerCount[c];
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["fish"] = static_cast<double>(total);
}

void BM_RecountCommandLine(benchmark::State& state) { recountCommandLine(state, recordingPath()); }
void BM_RecountDense(benchmark::State& state) { recountCommandLine(state, denseRecordingPath()); }

// The window's Autocount over the same frames: down on frame 1, up on the
// last frame. The window's frame width is set to the command line's.
void BM_AutocountInWindow(benchmark::State& state) {
  const std::string path = recordingPath();
  SettingsStore store((fs::temp_directory_path() / "tindavel-bench-store.ini").string());
  store.setReadOnly(true);
  CountingState own;
  Read_Registry(own.settings, own.controls, store);
  ScriptedRecordViewerDialogs dialogs;
  dialogs.answers.push_back(path);
  RecordViewerEnvironment env;
  env.detection = own.detection.get();
  env.settings = &own.settings;
  env.counts = &own.counts;
  env.controls = &own.controls;
  env.store = &store;
  env.session = &own.session;
  env.camera = &own.camera;
  env.dialogs = &dialogs;
  env.tracePath = (fs::temp_directory_path() / "tindavel-bench-trace.txt").string();
  TfrmRecord window(env);
  window.OpenBlbFile();
  window.engine().setFrameWidth(kDefaultFrameWidth);
  QToolButton* autocount = window.button("autocountbtn");
  int64_t lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    window.beginbtnClick();
    autocount->click();  // down on frame 1
    window.endbtnClick();
    const int64_t before = window.engine().linesAnalysed();
    state.ResumeTiming();
    autocount->click();  // up on the last frame: counts frames 1 to the last
    lines = window.engine().linesAnalysed() - before;
  }
  state.SetItemsProcessed(state.iterations() * lines);
  state.counters["lines"] = static_cast<double>(lines);
  window.close();
}

}  // namespace

BENCHMARK(BM_RecountCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RecountDense)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AutocountInWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
