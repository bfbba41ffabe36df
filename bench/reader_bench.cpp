// The block reader alone on a recording (TINDAVEL_BENCH_RECORDING, a .blb;
// by default the hour that bench_recount writes into the temporary folder,
// or /tmp/rv-hour.blb): the line count (one walk over the count words, as a
// file is opened), and every line read through the segment preparation as
// the re-count reads them, with the reading of the file from the page cache
// included. Figures are lines per second (items_per_second).
//
// BM_ReadFile reads the file's blocks and nothing else: what the reader's
// own work is measured against. BM_ReadLinesInRuns reads as the re-count
// does: runs of empty lines at once.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/size_classification.h"
#include "records/block_reader.h"
#include "records/record_format.h"
#include "records/recount_engine.h"
#include "settings/settings_variables.h"

namespace {

namespace fs = std::filesystem;

std::string recordingPath() {
  if (const char* given = std::getenv("TINDAVEL_BENCH_RECORDING")) return given;
  const fs::path own = fs::temp_directory_path() / "tindavel-recount-bench.blb";
  if (fs::exists(own)) return own.string();
  return "/tmp/rv-hour.blb";
}

// Four channels over 0..511 in size group 4, as the bench recordings have.
SettingsVariables fourChannels() {
  SettingsVariables s;
  s.LeftEdge = 0;
  s.RightEdge = 511;
  s.ChannelWidthMm = 1000;
  s.NrChannels = 4;
  for (int c = 1; c <= 4; ++c) {
    s.ChannelPositions[c] = {(c - 1) * 128, c * 128 - 1, 250};
    s.SizeGroup[c] = 4;
  }
  return s;
}

bool openOrSkip(BlockReader& reader, const std::string& path, benchmark::State& state) {
  if (reader.open(path)) return true;
  state.SkipWithError(("cannot open " + path).c_str());
  return false;
}

void BM_ReadFile(benchmark::State& state) {
  const std::string path = recordingPath();
  std::vector<char> block(kReadBlockBytes);
  int64_t bytes = 0;
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      state.SkipWithError(("cannot open " + path).c_str());
      return;
    }
    bytes = 0;
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
      bytes += in.gcount();
      benchmark::DoNotOptimize(block.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_LineCount(benchmark::State& state) {
  BlockReader reader;
  if (!openOrSkip(reader, recordingPath(), state)) return;
  int64_t lines = 0;
  for (auto _ : state) {
    lines = reader.fjoldilinaiskra();
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * lines);
  state.counters["lines"] = static_cast<double>(lines);
}

void BM_ReadLines(benchmark::State& state) {
  BlockReader reader;
  if (!openOrSkip(reader, recordingPath(), state)) return;
  const SettingsVariables s = fourChannels();
  auto detection = std::make_unique<DetectionState>();
  DetectionState& d = *detection;
  setDetectionConstants(d, s.ChannelWidthMm);
  for (int c = 1; c <= 4; ++c) stillafiskiflokk(c, d, s, 0, false);
  int64_t lines = 0;
  int64_t segments = 0;
  for (auto _ : state) {
    reader.restartbuffer();
    lines = 0;
    segments = 0;
    while (reader.readLine(d, s)) {
      ++lines;
      segments += d.SegmentCount;
    }
    benchmark::DoNotOptimize(segments);
  }
  state.SetItemsProcessed(state.iterations() * lines);
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["segments_per_line"] = static_cast<double>(segments) / static_cast<double>(lines);
}

// As the re-count reads: a run of empty lines at once while nothing is
// tracked (readEmptyLines), every other line through readLine.
void BM_ReadLinesInRuns(benchmark::State& state) {
  BlockReader reader;
  if (!openOrSkip(reader, recordingPath(), state)) return;
  const SettingsVariables s = fourChannels();
  auto detection = std::make_unique<DetectionState>();
  DetectionState& d = *detection;
  setDetectionConstants(d, s.ChannelWidthMm);
  for (int c = 1; c <= 4; ++c) stillafiskiflokk(c, d, s, 0, false);
  int64_t lines = 0;
  int64_t segments = 0;
  for (auto _ : state) {
    reader.restartbuffer();
    lines = 0;
    segments = 0;
    for (;;) {
      const int32_t empty = reader.readEmptyLines(d, kDefaultFrameWidth);
      if (empty > 0) {
        lines += empty;
        continue;
      }
      if (!reader.readLine(d, s)) break;
      ++lines;
      segments += d.SegmentCount;
    }
    benchmark::DoNotOptimize(segments);
  }
  state.SetItemsProcessed(state.iterations() * lines);
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["segments_per_line"] = static_cast<double>(segments) / static_cast<double>(lines);
}

}  // namespace

BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineCount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLinesInRuns)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
