// The re-count path as the record viewer and `tindavel-cli recount` take it,
// for one record file made of fuzz input: the recording's settings applied,
// the file opened (a text record through its binary copy), every frame
// counted with the size limits adapted after each, then a few moves of the
// frame logic; and the same bytes read once more by the bare reader.
//
// Input: one options byte, then the record file's bytes.
//   bits 0-1  channels - 1
//   bits 2-3  frame width: 1, 7, 250 or 1000 columns
//   bit  4    Enablemulti
//   bits 5-7  size group of channel 1 (channel n takes the next n - 1)
#ifndef TINDAVEL_TESTS_FUZZ_RECOUNT_FUZZ_H_
#define TINDAVEL_TESTS_FUZZ_RECOUNT_FUZZ_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/damage_reporter.h"
#include "records/recording_opener.h"
#include "records/recording_settings.h"
#include "records/recount_engine.h"
#include "settings/ini_file.h"
#include "settings/settings_model.h"
#include "settings/settings_variables.h"
#include "tests/fuzz/fuzz_support.h"

namespace fuzz {

struct RecountOptions {
  int channels = 1;
  int32_t frameWidth = kDefaultFrameWidth;
  bool enableMulti = false;
  int sizeGroup = 0;
};

inline RecountOptions recountOptions(uint8_t byte) {
  static constexpr std::array<int32_t, 4> kWidths = {1, 7, 250, 1000};
  return {1 + (byte & 3), kWidths[(byte >> 2) & 3], (byte & 0x10) != 0, byte >> 5};
}

// The report beside the recording: the channels share the scan line 0..511.
inline RecordingReport recountReport(const RecountOptions& o) {
  IniFile ini;
  ini.setValue("Settings", "NrChannels", std::to_string(o.channels));
  ini.setValue("Settings", "Ledge", "0");
  ini.setValue("Settings", "Redge", "511");
  ini.setValue("Eka", "channelwidth", "1");
  for (int n = 1; n <= o.channels; ++n) {
    ini.setValue("Eka", "Size Group" + std::to_string(n), std::to_string((o.sizeGroup + n - 1) % 9));
    ini.setValue("Eka", "Multib" + std::to_string(n), std::to_string((n - 1) * 512 / o.channels));
    ini.setValue("Eka", "Multie" + std::to_string(n), std::to_string(n * 512 / o.channels - 1));
  }
  return readRecordingReport(ini, o.enableMulti);
}

// The tables one opened recording is counted on, new for each file.
struct RecountTables {
  SettingsVariables settings;
  SettingsModel controls;
  ViewerCounts counts;
  NullStream trace;
  CollectingDamageReporter damage;
};

// Opens the record file at `path` on `t` and a fresh detection state, with
// the one engine of the process: renewed for each file by the opener, as
// for a viewer that opens file after file, so its 3.6 MB of buffers are
// allocated once. The engine stays valid until the next call.
inline RecountEngine& openForRecount(const std::string& path, const RecountOptions& o, RecountTables& t) {
  RecountContext ctx;
  ctx.detection = &freshDetection();
  ctx.settings = &t.settings;
  ctx.counts = &t.counts;
  ctx.controls = &t.controls;
  ctx.trace = &t.trace;
  ctx.linesPerBuffer = 1000;
  static std::unique_ptr<RecountEngine> kept;
  OpenedRecording opened = openRecording(path, recountReport(o), ctx, o.frameWidth, &t.damage, std::move(kept));
  check(opened.engine != nullptr, "a record file that exists opens");
  kept = std::move(opened.engine);
  return *kept;
}

inline void recountOne(const uint8_t* data, size_t size, const std::string& fileName) {
  if (size < 1) return;
  const RecountOptions o = recountOptions(data[0]);
  const std::string_view record(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string path = writeScratchFile(fileName, record);

  RecountTables t;
  const SettingsVariables& settings = t.settings;
  const ViewerCounts& counts = t.counts;
  const CollectingDamageReporter& damage = t.damage;
  RecountEngine& engine = openForRecount(path, o, t);
  const RecordViewerState& st = engine.state();
  check(st.TotalLines >= 0 && st.FrameCount >= 1, "lines and frames in range");

  engine.countFrames(1, st.FrameCount);
  check(engine.linesAnalysed() == st.TotalLines, "an Autocount over every frame reads every line once");
  for (int c = 1; c <= settings.NrChannels; ++c) check(counts.ViewerCount[c] >= 0, "counts not negative");
  for (const Damage& d : damage.reports) check(d.line >= 0 && d.line <= st.TotalLines + 1, "damage on a line of the file");

  // The frame logic after the count: jumps, steps and a new division.
  engine.backwardbtnClick();
  engine.moveTrackBar(1);
  engine.FarwardbtnClick();
  engine.setFrameWidth(o.frameWidth == 1 ? 3 : o.frameWidth / 2);
  engine.endbtnClick();
  check(st.ColumnCount >= 0 && st.ColumnCount <= engine.frameWidth(), "a frame holds at most its columns");
}

}  // namespace fuzz

#endif  // TINDAVEL_TESTS_FUZZ_RECOUNT_FUZZ_H_
