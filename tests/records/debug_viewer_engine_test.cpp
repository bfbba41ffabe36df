// The debug viewer's frame logic: the file choice, the header, the colours of
// tracked objects, the weight estimate, the skip, the manual counts and the
// agreement of its counts with the record viewer's.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/debug_viewer_engine.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "tests/records/recount_test_support.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

// Lines of one constant segment per object, for `length` lines from line 1.
std::vector<std::vector<SegmentPair>> bars(int32_t lines, int32_t length, const std::vector<SegmentPair>& objects) {
  std::vector<std::vector<SegmentPair>> out(static_cast<size_t>(lines));
  for (int32_t i = 0; i < length && i < lines; ++i) out[static_cast<size_t>(i)] = objects;
  return out;
}

class DebugViewerEngineTest : public TempFolderTest {
 protected:
  void SetUp() override {
    // The program's settings as a fresh store gives them.
    SettingsStore store((dir / "store.ini").string());
    store.setReadOnly(true);
    Read_Registry(s, controls, store);
    ctx.detection = d.get();
    ctx.settings = &s;
    ctx.counts = &v;
    ctx.controls = &controls;
    engine = std::make_unique<DebugViewerEngine>(ctx);
    engine->setPictureSize(1000, 600);
  }

  bool open(const std::string& path) {
    return engine->openFile(path, readRecordingReport(path, false), nullptr);
  }
  // Presses "Next" until it is disabled; returns the windows stepped.
  int stepToEnd() {
    int windows = 0;
    while (engine->state().nextEnabled && windows < 100000) {
      engine->nextClick();
      ++windows;
    }
    return windows;
  }

  std::unique_ptr<DetectionState> d = std::make_unique<DetectionState>();
  SettingsVariables s;
  SettingsModel controls;
  ViewerCounts v;
  DebugViewerContext ctx;
  std::unique_ptr<DebugViewerEngine> engine;
};

TEST_F(DebugViewerEngineTest, CapitalBlaIsReadAsBinary) {
  const std::vector<int16_t> words = recordWords(bars(10, 5, {{100, 130}}));
  const fs::path upper = dir / "x.BLA";
  writeFile(upper, encodeText(words));
  ASSERT_TRUE(open(upper.string()));
  EXPECT_FALSE(engine->state().IsTextFile);
  // The text's first two bytes "0 " taken as one little-endian word.
  EXPECT_EQ(s.LeftEdge, int32_t{'0'} | (int32_t{' '} << 8));

  const fs::path lower = dir / "x.bla";
  writeFile(lower, encodeText(words));
  ASSERT_TRUE(open(lower.string()));
  EXPECT_TRUE(engine->state().IsTextFile);
  EXPECT_EQ(s.LeftEdge, 0);
  EXPECT_EQ(s.RightEdge, 511);
}

TEST_F(DebugViewerEngineTest, ExtraWordsOnTheTextHeaderLineAreIgnored) {
  const std::vector<int16_t> words = recordWords(drawFish(3000, fishEvery(3000, 37, 1)));
  std::string text = encodeText(words);
  text.insert(text.find('\n'), " 77 more words");
  const fs::path textPath = dir / "t.bla";
  writeFile(textPath, text);
  const fs::path binaryPath = dir / "b.blb";
  writeFile(binaryPath, encodeBinary(words));

  ASSERT_TRUE(open(textPath.string()));
  EXPECT_EQ(s.LeftEdge, 0);
  EXPECT_EQ(s.RightEdge, 511);
  EXPECT_EQ(s.ChannelPositions[1].Begin, 0);
  EXPECT_EQ(s.ChannelPositions[1].End, 511);
  stepToEnd();
  const int32_t textCount = v.ViewerCount[1];
  EXPECT_GT(textCount, 0);

  ASSERT_TRUE(open(binaryPath.string()));
  stepToEnd();
  EXPECT_EQ(v.ViewerCount[1], textCount);
}

TEST_F(DebugViewerEngineTest, AnObjectOfFortyLinesIsDrawnInOneColour) {
  const fs::path path = dir / "one.blb";
  writeFile(path, encodeBinary(recordWords(bars(100, 40, {{200, 230}}))));
  ASSERT_TRUE(open(path.string()));
  engine->nextClick();
  int columns = 0;
  for (int32_t c = 0; c < engine->state().ColumnCount; ++c) {
    const DebugColumn& col = engine->column(c);
    if (col.Count == 0) continue;
    ASSERT_EQ(col.Count, 1) << c;
    EXPECT_EQ(col.Objects[0].Colour, 1) << c;
    ++columns;
  }
  EXPECT_EQ(columns, 40);
  EXPECT_EQ(objectPen(1), 0x008000u);
}

TEST_F(DebugViewerEngineTest, TwoObjectsSideBySideGetColoursOneAndTwo) {
  // The left object ends after 40 lines; the right one keeps its colour.
  std::vector<std::vector<SegmentPair>> lines = bars(100, 60, {{300, 330}});
  for (int i = 0; i < 40; ++i) lines[static_cast<size_t>(i)].insert(lines[static_cast<size_t>(i)].begin(), {100, 130});
  const fs::path path = dir / "two.blb";
  writeFile(path, encodeBinary(recordWords(lines)));
  ASSERT_TRUE(open(path.string()));
  engine->nextClick();
  for (int32_t c = 0; c < 40; ++c) {
    const DebugColumn& col = engine->column(c);
    ASSERT_EQ(col.Count, 2) << c;
    EXPECT_EQ(col.Objects[0].Colour, 1) << c;
    EXPECT_EQ(col.Objects[1].Colour, 2) << c;
  }
  for (int32_t c = 40; c < 60; ++c) {
    const DebugColumn& col = engine->column(c);
    ASSERT_EQ(col.Count, 1) << c;
    EXPECT_EQ(col.Objects[0].Colour, 2) << c;
  }
  EXPECT_EQ(objectPen(2), 0x0000FFu);
}

TEST(DebugViewerColours, NumbersAboveTenStillGetAColour) {
  EXPECT_EQ(objectPen(10), 0xC0C0C0u);
  EXPECT_EQ(objectPen(11), objectPen(1));
  EXPECT_EQ(objectPen(23), objectPen(3));
  EXPECT_EQ(objectPen(0), 0x000000u);
}

TEST(DebugViewerEstimate, WeightTextOfAMeanArea) {
  EXPECT_EQ(estimateText(2000, 0, 511, 500), "72 gr");
  // w = 0.5: (area / 511 x 500)^1.5 = 600.
  EXPECT_EQ(estimateText(std::pow(600.0, 2.0 / 3.0) * 511 / 500, 0, 511, 500), "0.5 gr");
}

TEST_F(DebugViewerEngineTest, TheActiveChannelShowsItsCountAndEstimate) {
  const std::string path = writeRecording(dir / "c", recordWords(drawFish(4000, fishEvery(4000, 37, 2))),
                                          reportFor(2));
  ASSERT_TRUE(open(path));
  stepToEnd();
  engine->ActiveCClick(1);
  EXPECT_EQ(engine->state().count, std::to_string(v.ViewerCount[2]));
  EXPECT_EQ(engine->state().estimt, estimateText(d->AvgArea[2], s.LeftEdge, s.RightEdge, s.ChannelWidthMm));
  EXPECT_NE(engine->state().estimt, "0.0 gr");
}

TEST_F(DebugViewerEngineTest, TheSkipStopsAfterItsLinesOrAtTheEnd) {
  const fs::path longPath = dir / "long.blb";
  writeFile(longPath, encodeBinary(recordWords(std::vector<std::vector<SegmentPair>>(kSkipLines + 1500))));
  ASSERT_TRUE(open(longPath.string()));
  EXPECT_EQ(engine->SpeedButton1Click(), kSkipLines);
  EXPECT_EQ(d->LineCounter, kSkipLines);
  engine->nextClick();
  EXPECT_EQ(engine->lastWindow().FirstLine, kSkipLines + 1);
  engine->nextClick();
  EXPECT_EQ(engine->lastWindow().Lines, 500);
  EXPECT_FALSE(engine->state().nextEnabled);

  // The last line is empty: the skip still stops at the end.
  const fs::path shortPath = dir / "short.blb";
  writeFile(shortPath, encodeBinary(recordWords(std::vector<std::vector<SegmentPair>>(700))));
  ASSERT_TRUE(open(shortPath.string()));
  EXPECT_EQ(engine->SpeedButton1Click(), 700);
  EXPECT_EQ(d->LineCounter, 700);
}

TEST_F(DebugViewerEngineTest, AWindowStopsAtTheEndOfTheData) {
  const fs::path path = dir / "end.blb";
  writeFile(path, encodeBinary(recordWords(bars(1500, 40, {{200, 230}}))));
  ASSERT_TRUE(open(path.string()));
  engine->nextClick();
  EXPECT_TRUE(engine->state().nextEnabled);
  engine->nextClick();
  EXPECT_EQ(engine->lastWindow().Lines, 500);
  EXPECT_EQ(engine->state().ColumnCount, 500);
  EXPECT_EQ(engine->column(700).Count, 0);
  EXPECT_FALSE(engine->state().nextEnabled);
  EXPECT_FALSE(engine->isOpen());
  EXPECT_EQ(d->LineCounter, 1500);
}

TEST_F(DebugViewerEngineTest, TheManualCountFileGivesEachWindowItsLine) {
  const std::string path = writeRecording(dir / "m", recordWords(drawFish(3500, fishEvery(3500, 37, 1))),
                                          reportFor(1));
  writeFile(dir / "m.tal", "4 0\n5 0\n6 0\n7 0\n");
  ASSERT_TRUE(open(path));
  EXPECT_EQ(engine->state().Edit3, "4");
  engine->nextClick();
  EXPECT_EQ(engine->lastWindow().Manual, 5);  // the line the window shows
  EXPECT_EQ(engine->lastWindow().Automatic, d->ObjectTotal);
  EXPECT_EQ(engine->state().Edit3, "5");
  EXPECT_EQ(engine->state().Edit5, "5");
  engine->nextClick();
  EXPECT_EQ(engine->lastWindow().Manual, 6);
  EXPECT_EQ(engine->state().Edit5, "11");
}

TEST_F(DebugViewerEngineTest, AShortOrMissingManualCountFileNeverStopsTheStepping) {
  const std::string path = writeRecording(dir / "s", recordWords(drawFish(3500, fishEvery(3500, 37, 1))),
                                          reportFor(1));
  writeFile(dir / "s.tal", "4 0\n");
  ASSERT_TRUE(open(path));
  engine->nextClick();
  EXPECT_FALSE(engine->lastWindow().Manual.has_value());
  EXPECT_EQ(engine->state().Edit3, "");  // not line 1 again
  engine->nextClick();
  EXPECT_FALSE(engine->lastWindow().Manual.has_value());
  EXPECT_EQ(stepToEnd(), 2);

  fs::remove(dir / "s.tal");
  ASSERT_TRUE(open(path));
  EXPECT_EQ(stepToEnd(), 4);
  EXPECT_FALSE(engine->lastWindow().Manual.has_value());
}

TEST_F(DebugViewerEngineTest, ThreeClicksThenEnter) {
  const fs::path path = dir / "k.blb";
  writeFile(path, encodeBinary(recordWords(bars(3000, 40, {{200, 230}}))));
  ASSERT_TRUE(open(path.string()));
  EXPECT_FALSE(engine->PaintBox1MouseDown().has_value());  // not in manual mode
  engine->setManual(true);
  engine->nextClick();
  s.SizeGroup[1] = 3;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(engine->PaintBox1MouseDown(), 5);
  EXPECT_EQ(engine->state().Edit3, "3");
  EXPECT_EQ(engine->state().Edit5, "3");
  engine->Edit3KeyDown(65);  // not Enter
  EXPECT_EQ(engine->state().Windows, 1);
  engine->Edit3KeyDown(13);
  EXPECT_EQ(engine->state().Windows, 2);
  EXPECT_EQ(engine->state().Edit3, "0");
  EXPECT_EQ(engine->state().Edit5, "3");
}

TEST_F(DebugViewerEngineTest, MarkersOnlyInDebugModeOutsideManualCounting) {
  const std::string path = writeRecording(dir / "d", recordWords(drawFish(1000, fishEvery(1000, 37, 1))),
                                          reportFor(1));
  s.DebugMode = true;
  ASSERT_TRUE(open(path));
  engine->nextClick();
  ASSERT_GT(engine->lastWindow().Automatic, 0);
  EXPECT_EQ(engine->markerCount(), engine->lastWindow().Automatic);
  const DebugMarker& m = engine->marker(0);
  EXPECT_EQ(markerText(m, DebugView::PosiWidth), std::to_string(m.Start) + " " + std::to_string(m.End));
  EXPECT_EQ(m.Offset, m.Start <= 15 ? 15 : -15);

  ASSERT_TRUE(open(path));
  engine->setManual(true);
  engine->nextClick();
  EXPECT_EQ(engine->markerCount(), 0);
}

TEST(DebugViewerFiles, ManualCountFileNameAndScale) {
  EXPECT_EQ(fs::path(manualCountPath("/a/b/rec.blb")), fs::path("/a/b/rec.tal"));
  EXPECT_EQ(debugY(511, 0, 511, 650), 600);
  EXPECT_EQ(debugY(100, 100, 611, 650), 0);
}

// Both viewers over the same lines with the same settings count the same.
TEST_F(DebugViewerEngineTest, PerChannelTotalsEqualTheRecordViewers) {
  const std::string path = writeRecording(dir / "r", recordWords(drawFish(25000, fishEvery(25000, 23, 4))),
                                          reportFor(4, "%width1=250\n%width2=250\n%width3=250\n%width4=250\n"));
  ASSERT_TRUE(open(path));
  stepToEnd();
  const SettingsStore store((dir / "store.ini").string());
  const ChannelArray<int32_t> recount = countOnOwnState(path, store, 1000, 1);
  int32_t sum = 0;
  for (int c = 1; c <= 4; ++c) {
    EXPECT_EQ(v.ViewerCount[c], recount[c]) << c;
    sum += v.ViewerCount[c];
  }
  EXPECT_GT(sum, 0);
  EXPECT_EQ(engine->state().Total, std::to_string(d->ObjectTotal));

  // Fast forward counts what stepping counts, in one click.
  ASSERT_TRUE(open(path));
  engine->setFastForward(true);
  engine->nextClick();
  EXPECT_FALSE(engine->state().nextEnabled);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(v.ViewerCount[c], recount[c]) << c;
}

TEST_F(DebugViewerEngineTest, ThisViewersReportDefaults) {
  const std::string path = writeRecording(dir / "p", recordWords(bars(10, 5, {{100, 130}})),
                                          "[Settings]\nNrChannels=2\n");
  ASSERT_TRUE(open(path));
  EXPECT_EQ(s.NrChannels, 2);
  EXPECT_EQ(s.ChannelWidthMm, 1000);
  EXPECT_EQ(s.ChannelPositions[2].Begin, 510);
  EXPECT_EQ(s.ChannelPositions[2].End, 1000);
  EXPECT_EQ(s.ChannelPositions[2].Width, 25);
  EXPECT_EQ(v.AspectLimit[2], kStartAspectLimit);
  EXPECT_EQ(s.RightEdge, 511);
}

// A 1400 mm recording counts with the wide channel's constants whatever
// width the user's settings hold.
TEST_F(DebugViewerEngineTest, TheRecordingsOwnWidthChoosesTheDetectionConstants) {
  const std::string path = writeRecording(dir / "w", recordWords(bars(10, 5, {{100, 130}})), "[Eka]\nchannelwidth=2\n");
  setDetectionConstants(*d, 1000);
  ASSERT_TRUE(open(path));
  EXPECT_EQ(s.ChannelWidthMm, 1400);
  EXPECT_EQ(d->LengthDivisor, kWideChannelConstants.LengthDivisor);
  EXPECT_EQ(d->AngleThreshold, kWideChannelConstants.AngleThreshold);
  EXPECT_EQ(d->AreaFactor, kWideChannelConstants.AreaFactor);
}

TEST_F(DebugViewerEngineTest, FormCloseAppliesTheSizeGroupsAgainAndClosesTheFile) {
  const std::string path = writeRecording(dir / "f", recordWords(drawFish(5000, fishEvery(5000, 37, 1))),
                                          reportFor(1));
  ASSERT_TRUE(open(path));
  const int32_t startMinLength = d->MinLength[1];
  engine->nextClick();
  d->MinLength[1] = startMinLength + 999;  // limits the window left behind
  engine->FormClose();
  EXPECT_EQ(d->MinLength[1], startMinLength);
  EXPECT_EQ(d->PreviousCount, 0);
  EXPECT_FALSE(engine->isOpen());
  EXPECT_FALSE(engine->state().nextEnabled);
}

}  // namespace
