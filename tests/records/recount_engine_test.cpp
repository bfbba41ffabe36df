// The re-count engine: frames, the track bar, the counting rule (only a jump
// restarts), Autocount, and a recording's settings from its report file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/line_analysis.h"
#include "analysis/size_classification.h"
#include "analysis/viewer_counts.h"
#include "records/damage_reporter.h"
#include "records/recording_opener.h"
#include "records/recording_settings.h"
#include "records/recount_engine.h"
#include "records/word_reader.h"
#include "settings/ini_file.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "tests/records/recount_test_support.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

class Reasons : public DamageReporter {
 public:
  void corruption(int64_t, std::string_view reason) override { list.emplace_back(reason); }
  std::vector<std::string> list;
};

class RecountEngineTest : public TempFolderTest {
 protected:
  void SetUp() override {
    store = std::make_unique<SettingsStore>((dir / "store.ini").string());
  }

  // A fresh engine over `path`, shown (frame 1 read) unless `show` is false.
  std::unique_ptr<RecountEngine> open(const std::string& path, int32_t width, bool show = true) {
    OpenedRecording opened = openRecording(path, readRecordingReport(path, *store), context(), width, &reasons);
    if (opened.engine && show) opened.engine->show();
    return std::move(opened.engine);
  }
  // The tables of this fixture, the trace going to `trace`.
  RecountContext context() {
    RecountContext ctx;
    ctx.detection = &d;
    ctx.settings = &s;
    ctx.counts = &v;
    ctx.controls = &controls;
    ctx.trace = &trace;
    return ctx;
  }

  // Applies the report of `path` to tables of a test's own; false when it
  // has none.
  bool applyReportOf(const std::string& path, SettingsVariables& s2, SettingsModel& c2, DetectionState& d2) {
    const std::optional<RecordingReport> reading = readRecordingReport(path, *store);
    if (reading) applyRecordingSettings(*reading, s2, c2, d2);
    return reading.has_value();
  }

  // Applies a report file's text to the fixture's tables.
  RecordingSettings applyReport(const std::string& text, bool enableMulti = false) {
    return applyRecordingSettings(readRecordingReport(IniFile::fromBytes(text), enableMulti), s, controls, d);
  }

  int64_t total() const {
    int64_t t = 0;
    for (int c = 1; c <= s.NrChannels; ++c) t += v.ViewerCount[c];
    return t;
  }
  ChannelArray<int32_t> counts() const { return v.ViewerCount; }

  // The counts of a fresh count of frames first..last of `path`.
  ChannelArray<int32_t> freshCount(const std::string& path, int32_t width, int32_t first, int32_t last) {
    auto e = open(path, width, false);
    e->countFrames(first, last);
    return v.ViewerCount;
  }

  std::string recording(const std::string& name, int32_t lines, int channels, int32_t spacing = 50,
                        bool text = false) {
    return writeRecording(dir / name, recordWords(drawFish(lines, fishEvery(lines, spacing, channels))),
                          reportFor(channels), text);
  }

  std::unique_ptr<SettingsStore> store;
  DetectionState d;
  SettingsVariables s;
  SettingsModel controls;
  ViewerCounts v;
  std::ostringstream trace;
  Reasons reasons;
};

// --- Frames ---------------------------------------------------------------

TEST_F(RecountEngineTest, ThreeThousandLinesMakeThreeFramesAndTheLastDisablesForward) {
  auto e = open(recording("a", 3000, 1), 1000);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->state().TotalLines, 3000);
  EXPECT_EQ(e->state().FrameCount, 3);
  EXPECT_FALSE(e->state().beginEnabled);
  EXPECT_TRUE(e->state().forwardEnabled);
  e->endbtnClick();
  EXPECT_EQ(e->state().CurrentFrame, 3);
  EXPECT_EQ(e->state().FirstLine, 2001);
  EXPECT_EQ(e->state().ColumnCount, 1000);
  EXPECT_EQ(d.LineCounter, 2000);  // frames 1 and 3 read
  EXPECT_FALSE(e->state().forwardEnabled);
  EXPECT_FALSE(e->state().endEnabled);
  EXPECT_TRUE(e->state().backwardEnabled);
}

TEST_F(RecountEngineTest, ThreeThousandAndOneLinesMakeFourFramesTheLastOfOneColumn) {
  auto e = open(recording("a", 3001, 1), 1000);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->state().FrameCount, 4);
  e->endbtnClick();
  EXPECT_EQ(e->state().CurrentFrame, 4);
  EXPECT_EQ(e->state().FirstLine, 3001);
  EXPECT_EQ(e->state().ColumnCount, 1);
}

TEST_F(RecountEngineTest, LastFrameStopsAtTheLastLine) {
  auto e = open(recording("a", 2500, 2), 1000);
  ASSERT_TRUE(e);
  e->FarwardbtnClick();
  e->FarwardbtnClick();
  EXPECT_EQ(e->state().CurrentFrame, 3);
  EXPECT_EQ(e->state().ColumnCount, 500);
  EXPECT_EQ(d.LineCounter, 2500);
  EXPECT_TRUE(e->reader().state().EndOfData);
}

TEST_F(RecountEngineTest, HeaderOnlyFileShowsOneEmptyFrame) {
  const std::string path = writeRecording(dir / "empty", recordWords({}), reportFor(1));
  auto e = open(path, 1000);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->state().TotalLines, 0);
  EXPECT_EQ(e->state().FrameCount, 1);
  EXPECT_EQ(e->state().ColumnCount, 0);
  EXPECT_FALSE(e->state().forwardEnabled);
}

// --- Track bar --------------------------------------------------------------

TEST_F(RecountEngineTest, TwoHundredFiftyFramesShareAHundredStepsAndFiftyShowsFrame125) {
  auto e = open(recording("a", 2500, 1), 10);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->state().FrameCount, 250);
  EXPECT_EQ(e->state().TrackBar1.Max, 100);
  // Opening armed the guard without moving the track bar (it stood at 1):
  // the first move after it is swallowed.
  EXPECT_TRUE(e->state().TrackGuard);
  e->moveTrackBar(20);
  EXPECT_EQ(e->state().CurrentFrame, 1);
  e->moveTrackBar(50);
  EXPECT_EQ(e->state().CurrentFrame, 125);
  EXPECT_EQ(e->state().FirstLine, 1241);
  EXPECT_EQ(e->state().TrackBar1.SelEnd, 50);
}

TEST_F(RecountEngineTest, FewFramesGetOneStepEachAndButtonsMoveTheTrackBarWithoutReadingTwice) {
  auto e = open(recording("a", 5000, 1), 1000);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->state().TrackBar1.Max, 5);
  e->FarwardbtnClick();
  EXPECT_EQ(e->state().TrackBar1.Position, 2);
  EXPECT_FALSE(e->state().TrackGuard);  // the move consumed the guard
  EXPECT_EQ(d.LineCounter, 2000);       // frames 1 and 2, each read once
  e->endbtnClick();
  EXPECT_EQ(e->state().TrackBar1.Position, 5);
  EXPECT_EQ(d.LineCounter, 3000);
  e->beginbtnClick();
  EXPECT_EQ(e->state().TrackBar1.Position, 1);
  EXPECT_EQ(e->state().CurrentFrame, 1);
}

TEST_F(RecountEngineTest, AButtonThatDoesNotMoveTheTrackBarLeavesTheGuardForTheNextMove) {
  auto e = open(recording("a", 2500, 1), 10);  // 250 frames on 100 steps
  ASSERT_TRUE(e);
  e->FarwardbtnClick();  // frame 2: position 2 * 100 / 250 = 0 -> stays at 1
  EXPECT_EQ(e->state().TrackBar1.Position, 1);
  EXPECT_TRUE(e->state().TrackGuard);
  e->moveTrackBar(40);  // swallowed by the guard
  EXPECT_EQ(e->state().CurrentFrame, 2);
  EXPECT_FALSE(e->state().TrackGuard);
  e->moveTrackBar(41);
  EXPECT_EQ(e->state().CurrentFrame, 102);
}

// --- Counting -------------------------------------------------------------

TEST_F(RecountEngineTest, SteppingForwardCountsEveryFishOnceAcrossFrameBoundaries) {
  const int32_t lines = 10000;
  const std::string path = recording("a", lines, 4, 45);
  const auto fish = fishEvery(lines, 45, 4);
  auto e = open(path, 333);
  ASSERT_TRUE(e);
  int64_t last = total();
  while (e->state().forwardEnabled) {
    e->FarwardbtnClick();
    EXPECT_GE(total(), last) << "forward keeps counting";
    last = total();
  }
  EXPECT_EQ(total(), static_cast<int64_t>(fish.size()));
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(v.ViewerCount[c], static_cast<int32_t>(fish.size() + 4 - c) / 4);
  // Every accepted object wrote one trace line.
  const std::string t = trace.str();
  EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), static_cast<long>(fish.size()));
}

TEST_F(RecountEngineTest, ForwardAddsToTheCountAndBackRestartsIt) {
  const std::string path = recording("a", 4000, 2, 40);
  const ChannelArray<int32_t> frame1 = freshCount(path, 1000, 1, 1);
  const ChannelArray<int32_t> frames12 = freshCount(path, 1000, 1, 2);
  auto e = open(path, 1000);
  ASSERT_TRUE(e);
  EXPECT_EQ(counts(), frame1);
  e->FarwardbtnClick();
  EXPECT_EQ(counts(), frames12);
  EXPECT_GT(total(), frame1[1] + frame1[2]);
  EXPECT_EQ(e->state().TrackBar1.SelStart, 1);
  EXPECT_EQ(e->state().TrackBar1.SelEnd, 2);
  e->backwardbtnClick();
  EXPECT_EQ(counts(), frame1);  // restarted at 0, then frame 1 again
  EXPECT_EQ(e->state().TrackBar1.SelStart, 1);
  EXPECT_EQ(e->state().TrackBar1.SelEnd, 1);
}

TEST_F(RecountEngineTest, AJumpRestartsTheCountAndCarriesNoObjectOver) {
  const std::string path = recording("a", 6000, 3, 37);
  auto e = open(path, 1000);
  ASSERT_TRUE(e);
  e->FarwardbtnClick();
  e->FarwardbtnClick();  // frames 1..3 counted
  e->moveTrackBar(5);    // jump to frame 5
  EXPECT_EQ(e->state().CurrentFrame, 5);
  const ChannelArray<int32_t> afterJump = counts();
  EXPECT_EQ(afterJump, freshCount(path, 1000, 5, 5));
}

TEST_F(RecountEngineTest, AutocountFromFiveToEightEqualsAFreshCountOfThoseFrames) {
  const std::string path = recording("a", 12000, 4, 31);
  const ChannelArray<int32_t> expected = freshCount(path, 1000, 5, 8);
  auto e = open(path, 1000);
  ASSERT_TRUE(e);
  for (int i = 0; i < 4; ++i) e->FarwardbtnClick();  // frame 5, counted since frame 1
  EXPECT_NE(counts(), expected);
  e->AutocountbtnClick(true);
  EXPECT_EQ(e->state().AutoStartFrame, 4);
  for (int i = 0; i < 3; ++i) e->FarwardbtnClick();  // frame 8
  e->AutocountbtnClick(false);
  EXPECT_EQ(e->state().CurrentFrame, 8);
  EXPECT_TRUE(e->state().DrawOn);
  EXPECT_EQ(counts(), expected);
  int64_t t = 0;
  for (int c = 1; c <= 4; ++c) t += expected[c];
  EXPECT_GT(t, 0);
}

TEST_F(RecountEngineTest, AutocountReleasedBeforeItsStartDoesNothing) {
  auto e = open(recording("a", 12000, 1), 1000);
  ASSERT_TRUE(e);
  e->endbtnClick();
  e->AutocountbtnClick(true);
  e->beginbtnClick();
  const ChannelArray<int32_t> before = counts();
  const int32_t linesBefore = d.LineCounter;
  e->AutocountbtnClick(false);
  EXPECT_EQ(counts(), before);
  EXPECT_EQ(d.LineCounter, linesBefore);
  EXPECT_EQ(e->state().CurrentFrame, 1);
}

TEST_F(RecountEngineTest, ResizingShowsTheFrameHoldingTheSameLines) {
  auto e = open(recording("a", 10000, 2), 1000);
  ASSERT_TRUE(e);
  e->endbtnClick();
  e->backwardbtnClick();  // frame 9: lines 8001..9000
  e->setFrameWidth(500);
  EXPECT_EQ(e->state().FrameCount, 20);
  EXPECT_EQ(e->state().CurrentFrame, 17);
  EXPECT_EQ(e->state().FirstLine, 8001);
  EXPECT_EQ(e->state().TrackBar1.Max, 20);
  EXPECT_EQ(e->state().TrackBar1.Position, 17);
  const ChannelArray<int32_t> shown = counts();
  EXPECT_EQ(shown, freshCount((dir / "a.blb").string(), 500, 17, 17));
}

TEST_F(RecountEngineTest, CountAcrossBlocksEqualsALineByLineCountOfTheSameFile) {
  // A recording of more than two read blocks, counted frame after frame by
  // the engine, and line after line through the word reader with the size
  // limits adapted after every frame's worth of lines: block boundaries,
  // records across them and the repositioning between frames must change
  // nothing.
  const int32_t lines = 450000;
  const int32_t width = 997;
  const std::string path = writeRecording(dir / "long", recordWords(drawFish(lines, fishEvery(lines, 10, 4))),
                                          reportFor(4));
  ASSERT_GT(fs::file_size(path), 2u * kReadBlockBytes);

  DetectionState d2;
  SettingsVariables s2;
  SettingsModel c2;
  ViewerCounts v2;
  ASSERT_TRUE(applyReportOf(path, s2, c2, d2));
  for (int c = 1; c <= s2.NrChannels; ++c) stillafiskiflokk(c, d2, s2, 0, false);
  WordReader words;
  ASSERT_TRUE(words.open(path));
  int16_t left = 0;
  int16_t right = 0;
  ASSERT_TRUE(words.readHeader(left, right));
  int32_t read = 0;
  while (words.readLine(d2, s2)) {
    porun(d2, s2);
    countFinishedObjects(d2, s2, v2.ViewerCount);
    if (++read % width == 0) {
      for (int c = 1; c <= s2.NrChannels; ++c) autofiskiflokkur(c, d2, v2, false);
    }
  }
  ASSERT_EQ(read, lines);

  const ChannelArray<int32_t> engine = freshCount(path, width, 1, framesFor(lines, width));
  EXPECT_EQ(engine, v2.ViewerCount);
  EXPECT_EQ(d.LineCounter, lines);
  EXPECT_GT(v2.ViewerCount[4], 1000);
}

TEST_F(RecountEngineTest, SparseCountTakesRunsOfEmptyLinesAsALineByLineCountDoes) {
  // Fish far apart, so that the engine takes most lines as runs of empty
  // lines: the counts, every trace line (with its line number), the line
  // counter and the columns of the frame must be those of a line by line
  // count, and runs that end at a frame's end, at a block's end or on a
  // fish must change nothing.
  const int32_t lines = 1200000;
  const int32_t width = 1000;
  std::vector<Fish> fish = fishEvery(lines, 2377, 4);
  fish.push_back({999 * width + 990, 20, 64, 10});  // across a frame boundary
  const std::string path = writeRecording(dir / "sparse", recordWords(drawFish(lines, fish)), reportFor(4));
  ASSERT_GT(fs::file_size(path), 1u * kReadBlockBytes);

  DetectionState d2;
  SettingsVariables s2;
  SettingsModel c2;
  ViewerCounts v2;
  std::ostringstream trace2;
  ASSERT_TRUE(applyReportOf(path, s2, c2, d2));
  for (int c = 1; c <= s2.NrChannels; ++c) stillafiskiflokk(c, d2, s2, 0, false);
  WordReader words;
  ASSERT_TRUE(words.open(path));
  int16_t left = 0;
  int16_t right = 0;
  ASSERT_TRUE(words.readHeader(left, right));
  int32_t read = 0;
  std::vector<int32_t> lastFrame;  // tracked objects per line of the last frame
  while (words.readLine(d2, s2)) {
    porun(d2, s2, &trace2);
    countFinishedObjects(d2, s2, v2.ViewerCount);
    if (read >= lines - width) lastFrame.push_back(d2.PreviousCount);
    if (++read % width == 0) {
      for (int c = 1; c <= s2.NrChannels; ++c) autofiskiflokkur(c, d2, v2, false);
    }
  }
  ASSERT_EQ(read, lines);

  const ChannelArray<int32_t> engine = freshCount(path, width, 1, framesFor(lines, width));
  EXPECT_EQ(engine, v2.ViewerCount);
  EXPECT_EQ(trace.str(), trace2.str());
  EXPECT_EQ(d.LineCounter, lines);
  EXPECT_GT(v2.ViewerCount[1] + v2.ViewerCount[2] + v2.ViewerCount[3] + v2.ViewerCount[4], 400);
  auto e = open(path, width, false);
  e->countFrames(framesFor(lines, width), framesFor(lines, width));
  ASSERT_EQ(e->state().ColumnCount, width);
  for (int32_t c = 0; c < width; ++c) {
    // The engine restarted at the last frame, the reference did not: only
    // where the reference tracks nothing must both columns be empty.
    if (lastFrame[static_cast<size_t>(c)] == 0) {
      ASSERT_EQ(e->column(c).Count, 0) << "column " << c;
    }
  }
}

// The limits of every channel as the size classification leaves them.
struct Limits {
  ChannelArray<int32_t> MinWidth, GapLimit, MinLength, MaxLength, MinBreadth, MaxBreadth, MinArea, MaxArea,
      AngleSmoothing;
  bool operator==(const Limits&) const = default;
};
Limits limitsOf(const DetectionState& d) {
  return {d.MinWidth,   d.GapLimit,   d.MinLength, d.MaxLength,     d.MinBreadth,
          d.MaxBreadth, d.MinArea,    d.MaxArea,   d.AngleSmoothing};
}

TEST_F(RecountEngineTest, SizeLimitsAdaptAfterEveryFrameInEveryChannel) {
  // Four channels of different size groups and no fish: the running means
  // stay those of the groups, so after each frame every channel's limits
  // are the automatic ones derived from its group.
  std::string report = "[Settings]\nNrChannels=4\n[Eka]\nchannelwidth=1\nSkuffubreidd=1000\n";
  const int groups[] = {0, 3, 5, 8};
  for (int n = 1; n <= 4; ++n) {
    report += "Size Group" + std::to_string(n) + "=" + std::to_string(groups[n - 1]) + "\n";
    report += "Multib" + std::to_string(n) + "=" + std::to_string((n - 1) * 128) + "\n";
    report += "Multie" + std::to_string(n) + "=" + std::to_string(n * 128 - 1) + "\n";
  }
  const std::string path = writeRecording(dir / "quiet", recordWords(drawFish(3000, {})), report);

  DetectionState ref;
  SettingsVariables rs;
  SettingsModel rc;
  ASSERT_TRUE(applyReportOf(path, rs, rc, ref));
  for (int c = 1; c <= 4; ++c) stillafiskiflokk(c, ref, rs, 0, false);
  const Limits applied = limitsOf(ref);
  ViewerCounts none;
  for (int c = 1; c <= 4; ++c) autofiskiflokkur(c, ref, none, false);
  const Limits adapted = limitsOf(ref);
  ASSERT_NE(adapted, applied) << "the groups must show whether the limits were adapted";

  auto e = open(path, 1000);
  ASSERT_TRUE(e);
  EXPECT_EQ(limitsOf(d), adapted) << "after frame 1";
  e->FarwardbtnClick();
  EXPECT_EQ(limitsOf(d), adapted) << "after frame 2, counted on";
  e->moveTrackBar(1);
  EXPECT_EQ(limitsOf(d), adapted) << "after a jump back to frame 1";
}

TEST_F(RecountEngineTest, TextRecordCountsAsItsBinaryTwin) {
  const auto lines = drawFish(5000, fishEvery(5000, 33, 2));
  const std::string bin = writeRecording(dir / "b", recordWords(lines), reportFor(2));
  const std::string txt = writeRecording(dir / "t", recordWords(lines), reportFor(2), true);
  const ChannelArray<int32_t> binary = freshCount(bin, 700, 1, 8);
  const ChannelArray<int32_t> text = freshCount(txt, 700, 1, 8);
  EXPECT_EQ(binary, text);
  EXPECT_GT(binary[1] + binary[2], 0);
  EXPECT_TRUE(reasons.list.empty());
}

TEST_F(RecountEngineTest, DamagedFileIsCountedAsFarAsItGoesAndReported) {
  std::vector<int16_t> words = recordWords(drawFish(3000, fishEvery(3000, 40, 1)));
  words[500] = -7;  // a count word or a pixel: either way damage or nonsense, never a crash
  words.push_back(600);  // a count above 500 with its pairs cut short
  words.push_back(10);
  const std::string path = writeRecording(dir / "bad", words, reportFor(1));
  auto e = open(path, 1000);
  ASSERT_TRUE(e);
  while (e->state().forwardEnabled) e->FarwardbtnClick();
  EXPECT_FALSE(reasons.list.empty());
  EXPECT_GT(total(), 0);
  EXPECT_EQ(e->state().TotalLines, d.LineCounter);
}

TEST_F(RecountEngineTest, TextRecordShorterThanItsHeaderIsReportedOnce) {
  // The text is copied into a binary file for the block reader; the copy of
  // a text without both edges is empty, and its damage is the text's own.
  const fs::path path = dir / "short.bla";
  writeFile(path, "5\n");
  writeFile(dir / "short.mse", reportFor(1));
  auto e = open(path.string(), 1000);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->state().TotalLines, 0);
  EXPECT_EQ(reasons.list, std::vector<std::string>{std::string(damage::kShortHeader)});
}

// --- The recording's settings ---------------------------------------------

TEST_F(RecountEngineTest, ReportSettingsReplaceTheWorkingCopy) {
  ASSERT_TRUE(store->writeBool("Enablemulti", false));
  const std::string report =
      "[Program]\nTank=Kvi 3\nGeneration=Haust\nDateTime=45000,75\nLasting=0.25\n"
      "[Settings]\nNrChannels=2\nLedge=10\nRedge=500\n"
      "[Eka]\nchannelwidth=2\nSkuffubreidd=1400\nMultib1=10\nMultie1=250\nMultib2=260\n"
      "Size Group1=8\nSize Group2=12\nCountname1=North\n";
  const auto r = applyReport(report, store->readBool("Enablemulti", true));
  EXPECT_EQ(r.Caption, "Tank: Kvi 3  Haust     15 Mar 2023");
  EXPECT_EQ(s.NrChannels, 2);
  EXPECT_EQ(s.LeftEdge, 10);
  EXPECT_EQ(s.RightEdge, 500);
  EXPECT_EQ(s.ChannelWidthMm, 1400);
  EXPECT_EQ(controls.Channelwidth.itemIndex(), 2);
  EXPECT_EQ(d.LengthDivisor, 6);
  EXPECT_EQ(d.AngleThreshold, 8);
  EXPECT_EQ(d.AreaFactor, 1);
  EXPECT_EQ(s.ChannelPositions[1].Width, 700);  // 1400 div 2
  EXPECT_EQ(s.ChannelPositions[2].Begin, 260);
  EXPECT_EQ(s.ChannelPositions[2].End, 500);    // RightEdge
  EXPECT_FALSE(controls.Enablemulti.checked());
  EXPECT_DOUBLE_EQ(r.StartTime, 45000.5);
  EXPECT_EQ(s.SizeGroup[1], 8);
  EXPECT_EQ(s.SizeGroup[2], 8);  // the up-down keeps 0..8
  EXPECT_EQ(s.SizeGroup[3], 2);
  EXPECT_EQ(r.CountLabels[1], "North   1 Kg");
  EXPECT_EQ(r.CountLabels[3], "Counter 3    1 gr");
  EXPECT_EQ(r.ChannelNames[2], "Counter 2");
}

TEST_F(RecountEngineTest, ChannelWidthWithoutItemOrMillimetres) {
  // No "channelwidth": item 0 for a scan line under 1500 pixels, item 1 from
  // 1500. No "Skuffubreidd": the item's width stays.
  auto narrow = applyReport("[Settings]\nRedge=1499\n");
  EXPECT_EQ(controls.Channelwidth.itemIndex(), 0);
  EXPECT_EQ(s.ChannelWidthMm, 500);
  EXPECT_EQ(s.ChannelPositions[1].Width, 500);
  EXPECT_EQ(d.LengthDivisor, 4);
  controls.Channelwidth.setItemIndex(-1);
  applyReport("[Settings]\nRedge=1500\n");
  EXPECT_EQ(controls.Channelwidth.itemIndex(), 1);
  EXPECT_EQ(s.ChannelWidthMm, 1000);
  (void)narrow;
}

TEST_F(RecountEngineTest, DamagedReportValuesAreKeptInsideTheTables) {
  applyReport("[Settings]\nNrChannels=9\nLedge=600\nRedge=100\n");
  EXPECT_EQ(s.NrChannels, 4);
  EXPECT_EQ(s.LeftEdge, 0);
  EXPECT_EQ(s.RightEdge, 511);
  applyReport("[Settings]\nNrChannels=-3\n");
  EXPECT_EQ(s.NrChannels, 1);
}

TEST_F(RecountEngineTest, StartTimeReadsEitherDecimalSeparator) {
  struct Row {
    const char* dateTime;
    const char* lasting;
    double start;
  };
  const Row rows[] = {{"12.5", "0", 12.5}, {"12,5", "0", 12.5}, {"1", "0,0416666", 1 - 0.0416666},
                      {"", "", 0},         {"7", "", 7}};
  for (const Row& row : rows) {
    const std::string report =
        std::string("[Program]\nDateTime=") + row.dateTime + "\nLasting=" + row.lasting + "\n";
    const auto r = applyReport(report);
    EXPECT_NEAR(r.StartTime, row.start, 1e-12) << row.dateTime << " / " << row.lasting;
  }
}

TEST_F(RecountEngineTest, ChartPassesMidnight) {
  const auto series = throughputSeries(45000.5, {{0.98, 3}, {0.99, 4}, {0.01, 5}, {0.02, 6}});
  ASSERT_EQ(series.size(), 5u);
  EXPECT_DOUBLE_EQ(series[0].x, 0.5);  // the session's start, at 0
  EXPECT_DOUBLE_EQ(series[0].y, 0);
  EXPECT_DOUBLE_EQ(series[1].x, 0.98);
  EXPECT_DOUBLE_EQ(series[2].x, 0.99);
  EXPECT_DOUBLE_EQ(series[3].x, 1.01);
  EXPECT_DOUBLE_EQ(series[4].x, 1.02);
  EXPECT_DOUBLE_EQ(series[4].y, 6);
  // A huge time before a small one must not take forever.
  const auto odd = throughputSeries(0, {{1e300, 1}, {0.5, 2}});
  EXPECT_GE(odd[2].x, odd[1].x);
}

TEST_F(RecountEngineTest, ChannelTwoIsDrawnFromTheSharedChartSection) {
  const std::string report = reportFor(2, "[ThroughputChart]\nX1=0.8\nY1=12\nX2=0.9\nY2=7,5\n"
                                          "[ThroughputChart1]\nX1=0.85\nY1=3\n");
  const auto r = applyReport(report);
  ASSERT_EQ(r.Series[1].size(), 2u);
  EXPECT_DOUBLE_EQ(r.Series[1][1].x, 0.85);
  ASSERT_EQ(r.Series[2].size(), 3u);
  EXPECT_DOUBLE_EQ(r.Series[2][1].y, 12);
  EXPECT_DOUBLE_EQ(r.Series[2][2].y, 7.5);
  EXPECT_TRUE(r.Series[3].empty());
}

// --- Opening a recording ---------------------------------------------------

TEST_F(RecountEngineTest, MissingReportFileChangesNothing) {
  const std::string path = (dir / "lonely.blb").string();
  writeFile(path, encodeBinary(recordWords({})));
  s.NrChannels = 3;
  const OpenedRecording opened = openRecording(path, readRecordingReport(path, *store), context(), 1000, &reasons);
  EXPECT_EQ(opened.error, RecordingOpenError::kNoReport);
  EXPECT_FALSE(opened.engine);
  EXPECT_EQ(s.NrChannels, 3);
  EXPECT_EQ(companionReportPath(path), (dir / "lonely.mse").string());
}

TEST_F(RecountEngineTest, ReportWithoutItsRecordCannotBeOpenedAndLeavesTheRecordingsSettings) {
  writeFile(dir / "gone.mse", reportFor(3));
  const std::string path = (dir / "gone.blb").string();
  const OpenedRecording opened = openRecording(path, readRecordingReport(path, *store), context(), 1000, &reasons);
  EXPECT_EQ(opened.error, RecordingOpenError::kCannotOpen);
  EXPECT_FALSE(opened.engine);
  EXPECT_EQ(s.NrChannels, 3);  // the caller brings its own settings back
}

TEST_F(RecountEngineTest, TheReadingHandedInIsTheOneCountedWith) {
  const std::string path = recording("a", 3000, 4);
  std::optional<RecordingReport> reading = readRecordingReport(path, *store);
  ASSERT_TRUE(reading);
  reading->report.NrChannels = 1;  // as a viewer with other defaults might read it
  const OpenedRecording opened = openRecording(path, reading, context(), 1000, &reasons);
  ASSERT_TRUE(opened.engine);
  EXPECT_EQ(s.NrChannels, 1);
  EXPECT_EQ(opened.engine->state().CurrentFrame, 1);
  EXPECT_EQ(opened.engine->state().FrameCount, 3);
  EXPECT_EQ(d.LineCounter, 0);  // ready at frame 1, nothing read yet
}

}  // namespace
