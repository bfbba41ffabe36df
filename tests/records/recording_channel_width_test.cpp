// The channel width that the record viewer and the debug viewer take from a
// recording's report, with the Channelwidth items captioned in words as a
// language fill may caption them: the width and the detection constants
// follow the item index, never the caption.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "analysis/detection_state.h"
#include "records/debug_viewer_engine.h"
#include "records/recording_settings.h"
#include "reports/report_file.h"
#include "settings/ini_file.h"
#include "settings/settings_model.h"
#include "settings/settings_variables.h"

namespace {

TEST(RecordingChannelWidthTest, TheItemIndexDecidesInBothViewers) {
  SettingsVariables s;
  SettingsModel controls;
  DetectionState d;
  int item = 0;
  for (const char* word : {"mjótt", "miðlungs", "breitt"}) controls.Channelwidth.setItemText(item++, word);
  // Each viewer starts from a 1400 mm working copy, so that a width kept shows.
  auto startWide = [&] {
    controls.Channelwidth.setItemIndex(2);
    s.ChannelWidthMm = 1400;
    setDetectionConstants(d, s.ChannelWidthMm);
  };
  auto expectWidth = [&](int32_t mm) {
    EXPECT_EQ(s.ChannelWidthMm, mm);
    EXPECT_EQ(d.LengthDivisor, mm == 1400 ? 6 : 4);
    EXPECT_EQ(d.AngleThreshold, mm == 1400 ? 8 : 10);
  };

  // The record viewer: no item chosen gives item 0 on a scan line under 1500
  // pixels; "Skuffubreidd" replaces the item's width. The debug viewer: its
  // default item is 1, no item chosen keeps the width in force, and it never
  // reads "Skuffubreidd".
  struct Row { const char* eka; int32_t recordMm, debugMm; };
  for (const Row& row : {Row{"channelwidth=0", 500, 500}, Row{"channelwidth=1", 1000, 1000},
                         Row{"channelwidth=2", 1400, 1400}, Row{"channelwidth=7", 1400, 1400},
                         Row{"", 500, 1000}, Row{"channelwidth=-1", 500, 1400},
                         Row{"channelwidth=0\nSkuffubreidd=1400", 1400, 500},
                         Row{"channelwidth=2\nSkuffubreidd=1200", 1200, 1400}}) {
    SCOPED_TRACE(row.eka);
    const IniFile ini = IniFile::fromBytes(std::string("[Settings]\nNrChannels=1\n[Eka]\n") + row.eka + "\n");
    startWide();
    applyRecordingSettings(readRecordingReport(ini, false), s, controls, d);
    expectWidth(row.recordMm);
    startWide();
    applyDebugViewerSettings(readRecordingReport(ini, false), s, controls, d);
    expectWidth(row.debugMm);
  }
}

}  // namespace
