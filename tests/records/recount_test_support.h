// Recordings for the re-count tests: fish drawn as lens-shaped dark runs,
// written as record files with a report file beside them.
#ifndef TINDAVEL_TESTS_RECORDS_RECOUNT_TEST_SUPPORT_H_
#define TINDAVEL_TESTS_RECORDS_RECOUNT_TEST_SUPPORT_H_

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/record_encoder.h"
#include "records/record_format.h"
#include "records/recording_opener.h"
#include "records/recording_settings.h"
#include "records/recount_engine.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"

namespace recount_test {

// A fish: `length` lines from `firstLine` (from 1), centred on pixel
// `centre`, at most `breadth` pixels wide in its middle line.
struct Fish {
  int32_t firstLine;
  int32_t length;
  int32_t centre;
  int32_t breadth;
};

// The line records of a recording of `lines` lines with the given fish
// (fish on one line must not overlap; they are sorted left to right here).
inline std::vector<std::vector<SegmentPair>> drawFish(int32_t lines, const std::vector<Fish>& fish) {
  std::vector<std::vector<SegmentPair>> out(static_cast<size_t>(lines));
  for (const Fish& f : fish) {
    for (int32_t i = 0; i < f.length; ++i) {
      const int32_t line = f.firstLine + i;
      if (line < 1 || line > lines) continue;
      const double t = (i + 0.5) / f.length;
      const auto half = static_cast<int32_t>(std::lround(f.breadth / 2.0 * std::sin(t * M_PI))) + 1;
      out[static_cast<size_t>(line - 1)].push_back({f.centre - half, f.centre + half});
    }
  }
  for (auto& l : out) {
    std::sort(l.begin(), l.end(), [](const SegmentPair& a, const SegmentPair& b) { return a.Start < b.Start; });
  }
  return out;
}

// Fish of 20 lines and 10 pixels every `spacing` lines, cycling over
// `channels` channels of the 0..511 scan line (channel n centred in its
// quarter or share), starting at line `offset`.
inline std::vector<Fish> fishEvery(int32_t lines, int32_t spacing, int channels, int32_t offset = 5) {
  std::vector<Fish> fish;
  int k = 0;
  for (int32_t line = offset; line + 20 <= lines; line += spacing, ++k) {
    const int ch = k % channels;
    const int32_t share = 512 / channels;
    fish.push_back({line, 20, ch * share + share / 2, 10});
  }
  return fish;
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<int16_t> recordWords(const std::vector<std::vector<SegmentPair>>& lines) {
  std::vector<int16_t> words;
  appendHeader(words, 0, 511);
  for (const auto& l : lines) appendLineRecord(words, l);
  return words;
}

// A report of `channels` equal channels on the 0..511 scan line, 1000 mm,
// size group 2 (" 1 gr").
inline std::string reportFor(int channels, const std::string& extra = "") {
  std::string r = "[Program]\nTank=T7\nGeneration=Spring\nDateTime=45000.75\nLasting=0.25\n";
  r += "[Settings]\nNrChannels=" + std::to_string(channels) + "\nLedge=0\nRedge=511\n";
  r += "[Eka]\nchannelwidth=1\nSkuffubreidd=1000\n";
  const int share = 512 / channels;
  for (int n = 1; n <= channels; ++n) {
    r += "Multib" + std::to_string(n) + "=" + std::to_string((n - 1) * share) + "\n";
    r += "Multie" + std::to_string(n) + "=" + std::to_string(n == channels ? 511 : n * share - 1) + "\n";
    r += "Size Group" + std::to_string(n) + "=2\n";
    r += "Countname" + std::to_string(n) + "=Ch" + std::to_string(n) + "\n";
  }
  return r + extra;
}

// Writes `stem`.blb (or .bla when `text`) and `stem`.mse; returns the record
// file's path.
inline std::string writeRecording(const std::filesystem::path& stem, const std::vector<int16_t>& words,
                                  const std::string& report, bool text = false) {
  std::filesystem::path record = stem;
  record += text ? ".bla" : ".blb";
  writeFile(record, text ? encodeText(words) : encodeBinary(words));
  std::filesystem::path mse = stem;
  mse += ".mse";
  writeFile(mse, report);
  return record.string();
}

// The counts of frames first..last (last 0: the file's last frame) of the
// recording at `path` in frames `width` columns wide, as an Autocount over
// them leaves them, counted by an engine of its own on state of its own.
// Empty when the recording or its report cannot be read. `nrChannels`, when
// given, receives the recording's channel count.
inline ChannelArray<int32_t> countOnOwnState(const std::string& path, const SettingsStore& store,
                                             int32_t width, int32_t first, int32_t last = 0,
                                             int* nrChannels = nullptr) {
  DetectionState d;
  SettingsVariables s;
  SettingsModel c;
  ViewerCounts v;
  RecountContext ctx;
  ctx.detection = &d;
  ctx.settings = &s;
  ctx.counts = &v;
  ctx.controls = &c;
  const OpenedRecording opened = openRecording(path, readRecordingReport(path, store), ctx, width, nullptr);
  if (!opened.engine) return {};
  if (nrChannels) *nrChannels = s.NrChannels;
  opened.engine->countFrames(first, last == 0 ? opened.engine->state().FrameCount : last);
  return v.ViewerCount;
}

}  // namespace recount_test

#endif  // TINDAVEL_TESTS_RECORDS_RECOUNT_TEST_SUPPORT_H_
