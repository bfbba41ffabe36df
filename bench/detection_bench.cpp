// Throughput of the detection: a synthetic recording of prepared lines goes
// through segment preparation, the line pass and the counting, line by line,
// as the record viewer feeds them. The counter delivers 1116 lines a second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/line_analysis.h"
#include "analysis/segment_preparation.h"
#include "analysis/size_classification.h"

namespace {

constexpr int kLines = 200000;  // about three minutes of recording

struct Recording {
  std::vector<std::pair<int32_t, int32_t>> runs;  // every line's runs, one after the other
  std::vector<int32_t> firstRun;                  // line k's runs start here; one extra at the end
};

struct Fish {
  double centre;
  double halfBreadth;
  int length;
  int age;
  int forkFrom;
  int forkTo;
};

// Four channels of 120 pixels on a 512-pixel line. Fish of 10 to 100 g (15 to
// 50 lines, 10 to 30 pixels broad) swim through each channel; `perLine` is
// the chance that a fish enters a channel on a line. Some fish show as two
// runs for a while (a split and a merge back), and fish that swim side by
// side touch and merge. A forked fish splits, and merges again when its two
// runs join.
Recording makeRecording(double perLine) {
  std::mt19937 rng(1116);
  std::uniform_real_distribution<double> unit(0, 1);
  Recording rec;
  std::vector<Fish> fish;
  for (int line = 0; line < kLines; ++line) {
    for (int c = 0; c < 4; ++c) {
      if (unit(rng) < perLine) {
        Fish f;
        f.centre = 10 + 125 * c + 15 + unit(rng) * 90;
        f.halfBreadth = 5 + unit(rng) * 10;
        f.length = 15 + static_cast<int>(unit(rng) * 35);
        f.age = 0;
        f.forkFrom = unit(rng) < 0.3 ? f.length / 3 : f.length;
        f.forkTo = f.forkFrom + f.length / 4;
        fish.push_back(f);
      }
    }
    std::vector<std::pair<int32_t, int32_t>> runs;
    for (Fish& f : fish) {
      const double h = f.halfBreadth * std::sin(M_PI * (f.age + 0.5) / f.length) + 0.5;
      const int a = static_cast<int>(f.centre - h);
      const int b = static_cast<int>(f.centre + h);
      if (f.age >= f.forkFrom && f.age < f.forkTo && b - a > 8) {
        runs.emplace_back(a, (a + b) / 2 - 3);
        runs.emplace_back((a + b) / 2 + 3, b);
      } else {
        runs.emplace_back(a, b);
      }
      if (unit(rng) < 0.3) runs.emplace_back(b + 2, b + 3);  // a speck beside the fish
      ++f.age;
    }
    std::erase_if(fish, [](const Fish& f) { return f.age >= f.length; });
    std::sort(runs.begin(), runs.end());
    rec.firstRun.push_back(static_cast<int32_t>(rec.runs.size()));
    for (const auto& r : runs) {
      if (!rec.runs.empty() && rec.runs.size() > static_cast<size_t>(rec.firstRun.back()) &&
          r.first <= rec.runs.back().second) {
        rec.runs.back().second = std::max(rec.runs.back().second, r.second);  // one dark run
      } else {
        rec.runs.push_back(r);
      }
    }
  }
  rec.firstRun.push_back(static_cast<int32_t>(rec.runs.size()));
  return rec;
}

SettingsVariables fourChannels() {
  SettingsVariables s;
  s.LeftEdge = 0;
  s.RightEdge = 511;
  s.ChannelWidthMm = 1000;
  s.NrChannels = 4;
  for (int c = 1; c <= 4; ++c) {
    s.ChannelPositions[c] = {10 + 125 * (c - 1), 10 + 125 * (c - 1) + 120, 230};
    s.SizeGroup[c] = 5;
  }
  s.ChannelPositions[4].End = s.RightEdge;
  return s;
}

void BM_PrepareAndDetect(benchmark::State& bench) {
  const Recording rec = makeRecording(static_cast<double>(bench.range(0)) / 1000.0);
  const SettingsVariables s = fourChannels();
  auto state = std::make_unique<DetectionState>();
  DetectionState& d = *state;
  setDetectionConstants(d, s.ChannelWidthMm);
  for (int c = 1; c <= 4; ++c) stillafiskiflokk(c, d, s, 0, false);
  ChannelArray<int32_t> counts{};
  int64_t lines = 0;
  int64_t segments = 0;
  for (auto _ : bench) {
    for (int line = 0; line < kLines; ++line) {
      const int32_t first = rec.firstRun[line];
      const int32_t n = rec.firstRun[line + 1] - first;
      for (int32_t k = 0; k < n; ++k) {
        d.Segments[k + 1].Start = rec.runs[first + k].first;
        d.Segments[k + 1].End = rec.runs[first + k].second;
      }
      d.SegmentCount = n;
      prepareSegments(d, s);
      segments += d.SegmentCount;
      porun(d, s);
      countFinishedObjects(d, s, counts);
    }
    // The record viewer adapts the limits after every frame of 1000 lines;
    // once per pass is enough to keep them moving here.
    for (int c = 1; c <= 4; ++c) autofiskiflokkur(c, d, ViewerCounts{}, false);
    lines += kLines;
  }
  benchmark::DoNotOptimize(counts);
  bench.SetItemsProcessed(lines);
  bench.counters["segments_per_line"] =
      benchmark::Counter(static_cast<double>(segments) / static_cast<double>(lines));
  bench.counters["fish_per_1000_lines"] = benchmark::Counter(
      1000.0 * (counts[1] + counts[2] + counts[3] + counts[4]) / static_cast<double>(lines));
}

// Argument: chance per 1000 lines and channel that a fish enters. 2 and 5 give
// about 10 and 24 fish per frame of 1000 lines; 20 and 60 are crowds far
// beyond what a counter channel lets through.
BENCHMARK(BM_PrepareAndDetect)->Arg(2)->Arg(5)->Arg(20)->Arg(60)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
