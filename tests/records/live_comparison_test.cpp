// The live count beside the re-count: differences only after a whole count,
// the re-count curve against the engine's own counts, and times to frames.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <numeric>
#include <string>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/live_comparison.h"
#include "records/recording_opener.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "tests/records/recount_test_support.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

class LiveComparisonTest : public TempFolderTest {
 protected:
  void SetUp() override {
    store = std::make_unique<SettingsStore>((dir / "store.ini").string());
  }

  // A two-channel recording whose report holds a live count for channel 1
  // only.
  std::string recording(int32_t lines, const std::string& live = "Counters1=7\n") {
    return writeRecording(dir / "rec", recordWords(drawFish(lines, fishEvery(lines, 300, 2))), reportFor(2, live));
  }

  // Opens `path` on this test's state with the comparison following it.
  RecountEngine& open(const std::string& path, int32_t width) {
    ctx.detection = d.get();
    ctx.settings = &s;
    ctx.counts = &v;
    ctx.controls = &controls;
    ctx.listener = &comparison;
    const std::optional<RecordingReport> reading = readRecordingReport(path, *store);
    opened = openRecording(path, reading, ctx, width, nullptr);
    EXPECT_TRUE(opened.engine);
    ChannelArray<std::optional<int32_t>> live{};
    for (int c = 1; c <= kMaxChannels; ++c) live[c] = reading->report.channels[c].Counters;
    comparison.setRecording(opened.engine->state().TotalLines, opened.recording.StartTime, s.NrChannels, live);
    return *opened.engine;
  }

  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<DetectionState> d = std::make_unique<DetectionState>();
  SettingsVariables s;
  SettingsModel controls;
  ViewerCounts v;
  RecountContext ctx;
  LiveComparison comparison;
  OpenedRecording opened;
};

TEST_F(LiveComparisonTest, DifferenceOnlyAfterAWholeCountWithoutARestart) {
  RecountEngine& engine = open(recording(10000), 1000);
  const int32_t last = engine.state().FrameCount;
  ASSERT_EQ(last, 10);
  EXPECT_EQ(comparison.liveCount(1), 7);
  EXPECT_EQ(comparison.liveCount(2), std::nullopt);  // no "Counters2": nothing to compare
  EXPECT_EQ(comparison.liveCount(3), std::nullopt);  // no such channel
  EXPECT_FALSE(comparison.wholeRecording());

  struct Stretch {
    int32_t first, last;
    bool whole;
  };
  for (const Stretch& st : {Stretch{2, last, false}, Stretch{1, last - 1, false}, Stretch{1, last, true},
                            Stretch{last, last, false}}) {
    engine.countFrames(st.first, st.last);
    EXPECT_EQ(comparison.wholeRecording(), st.whole) << st.first << ".." << st.last;
    const std::optional<int64_t> difference = comparison.difference(1, v.ViewerCount[1]);
    if (st.whole) {
      ASSERT_GT(v.ViewerCount[1], 7);
      EXPECT_EQ(difference, int64_t{v.ViewerCount[1]} - 7);
    } else {
      EXPECT_EQ(difference, std::nullopt);
    }
    EXPECT_EQ(comparison.difference(2, v.ViewerCount[2]), std::nullopt);
  }
  // A jump back to a later frame after the whole count restarts it there.
  engine.countFrames(1, last);
  engine.jumpToFrame(5);
  EXPECT_FALSE(comparison.wholeRecording());
}

// Frames of 1080 columns end on every minute's last line (62 frames a
// minute), so the engine's count of frames 1..62m is the fish of the first
// m minutes: the curve's points must add up to it.
TEST_F(LiveComparisonTest, CurvePointsAreTheEnginesCountsPerMinute) {
  constexpr int32_t kWidth = 1080;
  ASSERT_EQ(kLinesPerMinute % kWidth, 0);
  const int32_t lines = static_cast<int32_t>(kLinesPerMinute * 3 + kLinesPerMinute / 2);
  const std::string path = recording(lines);
  RecountEngine& engine = open(path, kWidth);
  engine.countFrames(1, engine.state().FrameCount);
  ASSERT_TRUE(comparison.wholeRecording());
  for (int c = 1; c <= 2; ++c) {
    const std::vector<ChartPoint> curve = comparison.recountCurve(c);
    ASSERT_EQ(curve.size(), 5u) << c;  // the start and four minutes, the last a half
    EXPECT_EQ(curve[0], (ChartPoint{comparison.timeOfLine(1), 0}));
    EXPECT_DOUBLE_EQ(curve[2].x, comparison.timeOfLine(2 * kLinesPerMinute));
    EXPECT_DOUBLE_EQ(curve[4].x, comparison.timeOfLine(lines));
    double cumulative = 0;
    for (int m = 1; m <= 3; ++m) {
      cumulative += curve[static_cast<size_t>(m)].y;
      const ChannelArray<int32_t> counted = countOnOwnState(path, *store, kWidth, 1, 62 * m);
      EXPECT_EQ(cumulative, counted[c]) << "channel " << c << ", minute " << m;
    }
    EXPECT_EQ(cumulative + curve[4].y, v.ViewerCount[c]) << c;
    EXPECT_GT(curve[1].y, 0) << c;
  }
  // Counted from the third minute on, the curve starts there.
  engine.countFrames(62 * 2 + 1, engine.state().FrameCount);
  const std::vector<ChartPoint> part = comparison.recountCurve(1);
  ASSERT_EQ(part.size(), 3u);
  EXPECT_DOUBLE_EQ(part[0].x, comparison.timeOfLine(2 * kLinesPerMinute + 1));
}

TEST_F(LiveComparisonTest, TimeToFrame) {
  RecountEngine& engine = open(recording(10000), 1000);
  ASSERT_EQ(engine.state().FrameCount, 10);
  const double lineDays = 1.0 / kLinesPerSecond / 86400;
  // reportFor: DateTime 45000.75 less Lasting 0.25: the recording starts at noon.
  EXPECT_DOUBLE_EQ(comparison.firstTime(), 0.5);
  struct Case {
    const char* name;
    double x;
    std::optional<int32_t> frame;
  };
  const Case cases[] = {
      {"the start", comparison.firstTime(), 1},
      {"line 1000, the end of frame 1", comparison.timeOfLine(1000), 1},
      {"line 1001", comparison.timeOfLine(1001), 2},
      {"the middle", comparison.timeOfLine(5500) + lineDays / 2, 6},
      {"the last line", comparison.lastTime(), 10},
      {"before the start", comparison.firstTime() - lineDays, std::nullopt},
      {"after the end", comparison.lastTime() + lineDays, std::nullopt},
      {"a day later", comparison.timeOfLine(5500) + 1, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(comparison.frameAt(c.x, 1000), c.frame) << c.name;
}

}  // namespace
