// The recording writer: names, the header-only file, recordings read back by
// the block reader, the buffer limit, sampling, and the two mended faults (a
// failing file is reported once; preparing again keeps the earlier recording).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "analysis/detection_state.h"
#include "records/block_reader.h"
#include "records/recording_writer.h"
#include "settings/settings_variables.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using Line = std::vector<SegmentPair>;
using namespace std::chrono;

class CollectingMessages : public RecordingMessages {
 public:
  void recordingFailed(const std::string& message) override { messages.push_back(message); }
  std::vector<std::string> messages;
};

void touch(const fs::path& path) { std::ofstream(path) << "x"; }

class RecordingWriterTest : public TempFolderTest {
 protected:
  void SetUp() override {
    request.reportpath = dir.string() + "/";
    request.today = year{2026} / December / 8;
    s.LeftEdge = 0;
    s.RightEdge = 511;
  }
  void setLine(const Line& line) {
    d.SegmentCount = static_cast<int32_t>(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
      d.Segments[static_cast<int>(i + 1)].Start = line[i].Start;
      d.Segments[static_cast<int>(i + 1)].End = line[i].End;
    }
  }
  void record(RecordingWriter& w, const Line& line) {
    setLine(line);
    w.skraiskra(d);
  }
  // Appends empty lines until the buffer holds `words` words.
  void fillTo(RecordingWriter& w, int32_t words) {
    setLine({});
    while (w.RecordWords() < words) w.skraiskra(d);
    ASSERT_EQ(w.RecordWords(), words);
  }
  std::vector<Line> readBack(const std::string& path) {
    BlockReader reader;
    EXPECT_TRUE(reader.open(path));
    std::vector<Line> lines;
    DetectionState e;
    while (reader.readRawLine(e)) {
      Line l;
      for (int i = 1; i <= e.SegmentCount; ++i) l.push_back({e.Segments[i].Start, e.Segments[i].End});
      lines.push_back(l);
    }
    return lines;
  }

  RecordingRequest request;
  SettingsVariables s;
  DetectionState d;
  CollectingMessages messages;
};

// ---------------------------------------------------------------- names

TEST_F(RecordingWriterTest, NameIsFolderDateTankAndNumber) {
  RecordingWriter w;
  request.EditTank = "T7";
  EXPECT_EQ(w.NafnAMaelingu(request), request.reportpath + "20261208_T7_0.mse");
  request.EditTank = "";
  EXPECT_EQ(w.NafnAMaelingu(request), request.reportpath + "20261208_0.mse");
  request.today = year{2027} / January / 3;
  EXPECT_EQ(w.NafnAMaelingu(request), request.reportpath + "20270103_0.mse");
}

TEST_F(RecordingWriterTest, NumberOneWhenNumberZeroExists) {
  RecordingWriter w;
  touch(dir / "20261208_0.mse");
  EXPECT_EQ(w.NafnAMaelingu(request), request.reportpath + "20261208_1.mse");
  touch(dir / "20261208_1.mse");
  touch(dir / "20261208_2.mse");
  EXPECT_EQ(w.NafnAMaelingu(request), request.reportpath + "20261208_3.mse");
}

TEST_F(RecordingWriterTest, RecordWithoutReportAlsoTakesItsNumber) {
  // A session that never ended left its recording without a report: the next
  // recording of the day must not truncate it.
  RecordingWriter w;
  touch(dir / "20261208_0.blb");
  EXPECT_EQ(w.NafnAMaelingu(request), request.reportpath + "20261208_1.mse");
}

TEST_F(RecordingWriterTest, TankContributesItsFirst15Characters) {
  RecordingWriter w;
  request.EditTank = "ABCDEFGHIJKLMNOPQRST";  // 20 characters
  EXPECT_EQ(w.NafnAMaelingu(request), request.reportpath + "20261208_ABCDEFGHIJKLMNO_0.mse");
  // Characters, not bytes: no letter is cut in half.
  request.EditTank = "Þórshöfn-kvíar-nr-12";
  EXPECT_EQ(w.NafnAMaelingu(request), request.reportpath + "20261208_Þórshöfn-kvíar-_0.mse");
  request.EditTank = "../../etc";
  EXPECT_EQ(w.NafnAMaelingu(request), request.reportpath + "20261208_.._.._etc_0.mse");
}

// ---------------------------------------------------------------- files

TEST_F(RecordingWriterTest, HeaderOnlyFileIsTheBytesOfTheExample) {
  RecordingWriter w(&messages);
  w.UndirbuaUpptoku(request, s);
  EXPECT_EQ(w.recordPath(), request.reportpath + "20261208_0.blb");
  EXPECT_EQ(w.RecordWords(), 2);
  EXPECT_EQ(fs::file_size(w.recordPath()), 0u);  // the header waits in the buffer
  w.HaettaSkraninguISkra();
  EXPECT_EQ(fileContents(w.recordPath()), std::string("\x00\x00\xFF\x01", 4));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(RecordingWriterTest, ContinuousRecordingReadsBack) {
  RecordingWriter w(&messages);
  request.Recordmethod = kRecordContinuous;
  s.LeftEdge = 70000;  // stored as its low 16 bits
  w.UndirbuaUpptoku(request, s);
  EXPECT_TRUE(w.SamplingOn());
  EXPECT_FALSE(w.rectimer().Enabled);
  std::vector<Line> lines;
  for (int k = 0; k < 3000; ++k) {
    Line l;
    for (int j = 0; j < k % 5; ++j) l.push_back({j * 100 + k % 50, j * 100 + 60});
    lines.push_back(l);
    record(w, l);
  }
  w.HaettaSkraninguISkra();
  EXPECT_FALSE(w.isOpen());
  EXPECT_EQ(readBack(w.recordPath()), lines);
  const std::string bytes = fileContents(w.recordPath());
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x70\x11\xFF\x01", 4));
}

TEST_F(RecordingWriterTest, LineAt989999IsAppendedAndAt990000Flushes) {
  RecordingWriter w(&messages);
  request.Recordmethod = kRecordContinuous;
  w.UndirbuaUpptoku(request, s);
  fillTo(w, kRecordFlushLimit);  // 989,999 words
  record(w, {{1, 2}, {3, 4}});
  EXPECT_EQ(w.RecordWords(), kRecordFlushLimit + 5);  // appended, above the limit
  EXPECT_EQ(fs::file_size(w.recordPath()), 0u);
  record(w, {{5, 6}});  // flushes; not recorded itself
  EXPECT_EQ(w.RecordWords(), 0);
  EXPECT_EQ(fs::file_size(w.recordPath()), 2u * (kRecordFlushLimit + 5));
  record(w, {{7, 8}});
  w.HaettaSkraninguISkra();
  const std::vector<Line> lines = readBack(w.recordPath());
  ASSERT_EQ(lines.size(), static_cast<size_t>(kRecordFlushLimit - 2 + 2));
  EXPECT_EQ(lines[lines.size() - 2], (Line{{1, 2}, {3, 4}}));
  EXPECT_EQ(lines.back(), (Line{{7, 8}}));
}

TEST_F(RecordingWriterTest, AtExactly990000TheNextLineFlushesAndIsDropped) {
  RecordingWriter w(&messages);
  request.Recordmethod = kRecordContinuous;
  w.UndirbuaUpptoku(request, s);
  fillTo(w, kRecordFlushLimit + 1);
  record(w, {{5, 6}});
  EXPECT_EQ(w.RecordWords(), 0);
  EXPECT_EQ(fs::file_size(w.recordPath()), 2u * (kRecordFlushLimit + 1));
}

TEST_F(RecordingWriterTest, NoneModeDropsLinesAtAFullBufferUntilTheStop) {
  RecordingWriter w(&messages);
  w.UndirbuaUpptoku(request, s);
  EXPECT_FALSE(w.SamplingOn());
  fillTo(w, kRecordFlushLimit + 1);
  record(w, {{5, 6}});
  EXPECT_EQ(w.RecordWords(), kRecordFlushLimit + 1);
  EXPECT_EQ(fs::file_size(w.recordPath()), 0u);
  w.HaettaSkraninguISkra();
  EXPECT_EQ(fs::file_size(w.recordPath()), 2u * (kRecordFlushLimit + 1));
}

// ---------------------------------------------------------------- sampling

TEST_F(RecordingWriterTest, SamplingAlternatesAndMarksEverySampleEnd) {
  RecordingWriter w(&messages);
  request.Recordmethod = kRecordSampling;
  s.LeftEdge = 12;
  s.RightEdge = 499;
  w.UndirbuaUpptoku(request, s);
  EXPECT_TRUE(w.rectimer().Enabled);
  EXPECT_EQ(w.rectimer().IntervalMs, kFirstTickMs);
  EXPECT_FALSE(w.SamplingOn());
  w.rectimerTimer(s);  // the first sample begins
  EXPECT_TRUE(w.SamplingOn());
  EXPECT_EQ(w.rectimer().IntervalMs, kSampleMs);
  record(w, {{20, 30}});
  w.rectimerTimer(s);  // the sample ends
  EXPECT_FALSE(w.SamplingOn());
  EXPECT_EQ(w.rectimer().IntervalMs, kPauseMs);
  w.rectimerTimer(s);
  EXPECT_TRUE(w.SamplingOn());
  record(w, {{40, 50}});
  w.HaettaSkraninguISkra();
  EXPECT_FALSE(w.rectimer().Enabled);
  EXPECT_FALSE(w.SamplingOn());
  const std::vector<Line> expected = {{{20, 30}}, {}, {{12, 499}}, {}, {{40, 50}}};
  EXPECT_EQ(readBack(w.recordPath()), expected);
}

TEST_F(RecordingWriterTest, FullBufferFlushesDuringASampleOnly) {
  RecordingWriter w(&messages);
  request.Recordmethod = kRecordSampling;
  w.UndirbuaUpptoku(request, s);
  fillTo(w, kRecordFlushLimit + 1);
  record(w, {{1, 2}});  // pause: dropped, nothing written
  EXPECT_EQ(w.RecordWords(), kRecordFlushLimit + 1);
  w.rectimerTimer(s);
  record(w, {{1, 2}});  // during a sample: flushed, dropped
  EXPECT_EQ(w.RecordWords(), 0);
  EXPECT_EQ(fs::file_size(w.recordPath()), 2u * (kRecordFlushLimit + 1));
}

TEST_F(RecordingWriterTest, MarkersNeverOverrunTheBuffer) {
  RecordingWriter w(&messages);
  request.Recordmethod = kRecordSampling;
  w.UndirbuaUpptoku(request, s);
  fillTo(w, kRecordFlushLimit + 1);
  // Weeks of samples without a single line: 3,000 markers, more than the
  // room above the limit holds.
  for (int k = 0; k < 6000; ++k) w.rectimerTimer(s);
  EXPECT_LE(w.RecordWords(), kRecordBufferWords);
  w.HaettaSkraninguISkra();
  const std::vector<Line> lines = readBack(w.recordPath());
  EXPECT_EQ(lines.size(), static_cast<size_t>(kRecordFlushLimit - 1 + 3 * 3000));
}

// ---------------------------------------------------------------- mended faults

TEST_F(RecordingWriterTest, FileThatCannotBeCreatedIsReportedOnce) {
  RecordingWriter w(&messages);
  request.reportpath = (dir / "missing folder").string() + "/";
  request.Recordmethod = kRecordContinuous;
  w.UndirbuaUpptoku(request, s);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].find("20261208_0.blb"), std::string::npos);
  for (int k = 0; k < 3; ++k) {
    fillTo(w, kRecordFlushLimit + 1);
    record(w, {});
  }
  w.HaettaSkraninguISkra();
  EXPECT_EQ(messages.messages.size(), 1u);
  // A new recording that fails again is told again.
  w.UndirbuaUpptoku(request, s);
  EXPECT_EQ(messages.messages.size(), 2u);
}

// A writer whose record file lies on a full disk.
class FullDiskWriter : public RecordingWriter {
 public:
  using RecordingWriter::RecordingWriter;

 protected:
  std::FILE* createFile(const std::string&) override { return std::fopen("/dev/full", "wb"); }
};

TEST_F(RecordingWriterTest, FailedWriteIsReportedOnce) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  FullDiskWriter w(&messages);
  request.Recordmethod = kRecordContinuous;
  w.UndirbuaUpptoku(request, s);
  EXPECT_TRUE(messages.messages.empty());
  fillTo(w, kRecordFlushLimit + 1);
  record(w, {});
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].find("disk full"), std::string::npos);
  fillTo(w, kRecordFlushLimit + 1);
  record(w, {});
  w.HaettaSkraninguISkra();
  EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(RecordingWriterTest, PreparingAgainKeepsTheEarlierRecording) {
  RecordingWriter w(&messages);
  request.Recordmethod = kRecordContinuous;
  w.UndirbuaUpptoku(request, s);
  const std::string first = w.recordPath();
  record(w, {{1, 5}});
  record(w, {{2, 6}});
  w.UndirbuaUpptoku(request, s);
  EXPECT_NE(w.recordPath(), first);
  EXPECT_EQ(w.RecordWords(), 2);
  EXPECT_EQ(readBack(first), (std::vector<Line>{{{1, 5}}, {{2, 6}}}));
  record(w, {{3, 7}});
  w.HaettaSkraninguISkra();
  EXPECT_EQ(readBack(w.recordPath()), (std::vector<Line>{{{3, 7}}}));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(RecordingWriterTest, DestroyingAnOpenRecordingWritesIt) {
  std::string path;
  {
    RecordingWriter w(&messages);
    request.Recordmethod = kRecordContinuous;
    w.UndirbuaUpptoku(request, s);
    path = w.recordPath();
    record(w, {{9, 19}});
  }
  EXPECT_EQ(readBack(path), (std::vector<Line>{{{9, 19}}}));
}

TEST_F(RecordingWriterTest, RecordingModeChangeDuringASession) {
  RecordingWriter w(&messages);
  request.Recordmethod = kRecordContinuous;
  w.RecordonchkClick(request, s, false);
  EXPECT_FALSE(w.isOpen());
  w.RecordonchkClick(request, s, true);
  EXPECT_TRUE(w.isOpen());
  EXPECT_TRUE(w.SamplingOn());
  request.Recordmethod = kRecordSampling;
  w.RecordonchkClick(request, s, true);
  EXPECT_TRUE(w.rectimer().Enabled);
  w.rectimerTimer(s);
  EXPECT_TRUE(w.SamplingOn());
  request.Recordmethod = kRecordNone;
  w.RecordonchkClick(request, s, true);
  EXPECT_FALSE(w.SamplingOn());
  EXPECT_FALSE(w.rectimer().Enabled);
}

}  // namespace
