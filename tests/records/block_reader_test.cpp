// The block reader: round trips of well-formed recordings (including lines
// across block boundaries and files of whole blocks), then one test per kind
// of damage, built by writing or cutting words.
#include <gtest/gtest.h>

#include <random>

#include "analysis/detection_state.h"
#include "analysis/segment_preparation.h"
#include "records/block_reader.h"
#include "records/record_encoder.h"
#include "tests/records/record_test_support.h"

namespace {

using Line = std::vector<SegmentPair>;

std::vector<int16_t> recordWords(const std::vector<Line>& lines, int left = 0, int right = 511) {
  std::vector<int16_t> words;
  appendHeader(words, left, right);
  for (const Line& l : lines) appendLineRecord(words, l);
  return words;
}

Line tableLine(const DetectionState& d) {
  Line l;
  for (int i = 1; i <= d.SegmentCount; ++i) l.push_back({d.Segments[i].Start, d.Segments[i].End});
  return l;
}

class BlockReaderTest : public ::testing::Test {
 protected:
  void attachWords(const std::vector<int16_t>& words) { attachBytes(encodeBinary(words)); }
  void attachBytes(std::string bytes) {
    reader.setDamageReporter(&reporter);
    reader.attach(memoryFile(std::move(bytes)));
  }
  // Reads every line from the start, as raw segments.
  std::vector<Line> readAll() {
    std::vector<Line> lines;
    if (!reader.seekLine(1)) return lines;
    while (reader.readRawLine(d)) lines.push_back(tableLine(d));
    return lines;
  }
  // Reads lines the way the viewer's frame loop does: while not EndOfData.
  int readWhileData() {
    int n = 0;
    if (!reader.seekLine(1)) return 0;
    while (!reader.state().EndOfData) {
      // The viewer's loop trusts EndOfData: every read it starts finds a line.
      if (!reader.readRawLine(d)) {
        ADD_FAILURE() << "no line after line " << n << " although EndOfData is not set";
        break;
      }
      ++n;
    }
    return n;
  }

  BlockReader reader;
  CollectingReporter reporter;
  DetectionState d;
};

// ---------------------------------------------------------------- round trips

TEST_F(BlockReaderTest, EmptyLineAndSegmentsReadBack) {
  const std::vector<Line> lines = {{}, {{10, 20}}, {{1, 2}, {300, 400}, {-5, 32767}}, {}};
  attachWords(recordWords(lines));
  EXPECT_EQ(reader.fjoldilinaiskra(), 4);
  EXPECT_EQ(readAll(), lines);
  EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(BlockReaderTest, SamplingMarkerReadsAsThreeLines) {
  std::vector<int16_t> words = recordWords({{{50, 60}}});
  appendSamplingMarker(words, 12, 499);
  appendLineRecord(words, std::vector<SegmentPair>{{70, 80}});
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), 5);
  const std::vector<Line> expected = {{{50, 60}}, {}, {{12, 499}}, {}, {{70, 80}}};
  EXPECT_EQ(readAll(), expected);
}

TEST_F(BlockReaderTest, HeaderOnlyFileHasNoLinesAndIsNotDamage) {
  attachBytes(std::string("\x00\x00\xFF\x01", 4));
  EXPECT_EQ(reader.fjoldilinaiskra(), 0);
  EXPECT_FALSE(reader.seekLine(1));
  EXPECT_FALSE(reader.readRawLine(d));
  EXPECT_TRUE(reader.state().EndOfData);
  EXPECT_EQ(readWhileData(), 0);
  EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(BlockReaderTest, ReadingWithoutSeekStartsAtFirstLine) {
  attachWords(recordWords({{{1, 9}}, {{2, 8}}}));
  ASSERT_TRUE(reader.readRawLine(d));
  EXPECT_EQ(tableLine(d), (Line{{1, 9}}));
  ASSERT_TRUE(reader.readRawLine(d));
  EXPECT_EQ(tableLine(d), (Line{{2, 8}}));
  EXPECT_FALSE(reader.readRawLine(d));
  EXPECT_TRUE(reader.state().EndOfData);
}

// A recording whose line `target` has its count word at file word `pos`
// (header words are 1 and 2): empty filler lines before it, then lines of
// several segments, so the boundary falls on every part of a record.
std::vector<Line> linesWithRecordAt(int32_t pos, const Line& target, int after) {
  std::vector<Line> lines(static_cast<size_t>(pos - 3));
  lines.push_back(target);
  for (int k = 0; k < after; ++k) lines.push_back({{k, k + 5}, {k + 10, k + 20}});
  return lines;
}

TEST_F(BlockReaderTest, LinesStraddlingTheBlockBoundaryReadCorrectly) {
  const Line target = {{100, 110}, {200, 230}};  // 5 words
  // Count word at the block's last word, Start at the last word (pair split),
  // End at the last word, record ending exactly at the boundary, count word
  // first in the next block.
  for (int32_t pos : {kReadBufferWords - 4, kReadBufferWords - 3, kReadBufferWords - 2,
                      kReadBufferWords - 1, kReadBufferWords, kReadBufferWords + 1}) {
    SCOPED_TRACE(pos);
    const std::vector<Line> lines = linesWithRecordAt(pos, target, 3);
    attachWords(recordWords(lines));
    ASSERT_EQ(reader.fjoldilinaiskra(), static_cast<int32_t>(lines.size()));
    const size_t targetIndex = static_cast<size_t>(pos - 3);
    ASSERT_TRUE(reader.seekLine(static_cast<int32_t>(targetIndex)));  // the line before
    std::vector<Line> tail;
    while (reader.readRawLine(d)) tail.push_back(tableLine(d));
    ASSERT_EQ(tail.size(), 5u);
    EXPECT_EQ(tail[1], target);
    EXPECT_EQ(tail[2], lines[targetIndex + 1]);
    EXPECT_EQ(tail[4], lines.back());
    EXPECT_TRUE(reporter.reports.empty());
  }
}

TEST_F(BlockReaderTest, LongestRecordAcrossTheBoundary) {
  Line full;
  for (int k = 0; k < kMaxLineSegments; ++k) full.push_back({k, k + 1});
  const std::vector<Line> lines = linesWithRecordAt(kReadBufferWords - 500, full, 2);
  attachWords(recordWords(lines));
  EXPECT_EQ(readAll(), lines);
  EXPECT_EQ(reader.fjoldilinaiskra(), static_cast<int32_t>(lines.size()));
}

TEST_F(BlockReaderTest, FileOfExactlyOneBlockHasNoPhantomLine) {
  // 2 header words + 999,998 empty lines = exactly 2,000,000 bytes.
  const std::vector<Line> lines(kReadBufferWords - kHeaderWords);
  const std::vector<int16_t> words = recordWords(lines);
  ASSERT_EQ(encodeBinary(words).size(), static_cast<size_t>(kReadBlockBytes));
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), kReadBufferWords - kHeaderWords);
  EXPECT_EQ(readWhileData(), kReadBufferWords - kHeaderWords);
  EXPECT_FALSE(reader.readRawLine(d));
  EXPECT_FALSE(reader.seekLine(kReadBufferWords - 1));
  EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(BlockReaderTest, FileOfExactlyTwoBlocksEndingInSegments) {
  // Lines of 2 segments (5 words) after enough filler for exactly 2,000,000 words.
  std::vector<Line> lines(static_cast<size_t>(2 * kReadBufferWords - kHeaderWords - 5 * 1000));
  for (int k = 0; k < 1000; ++k) lines.push_back({{k, k + 3}, {k + 100, k + 140}});
  const std::vector<int16_t> words = recordWords(lines);
  ASSERT_EQ(words.size(), static_cast<size_t>(2 * kReadBufferWords));
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), static_cast<int32_t>(lines.size()));
  EXPECT_EQ(readAll(), lines);
  EXPECT_EQ(readWhileData(), static_cast<int>(lines.size()));
  EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(BlockReaderTest, SeekGoesBackAndForthAcrossBlocks) {
  std::vector<Line> lines;
  for (int k = 0; k < 400000; ++k) lines.push_back({{k % 500, k % 500 + 7}});  // 3 words each
  attachWords(recordWords(lines));
  for (int32_t line : {1, 350000, 333334, 2, 400000, 333333, 399999}) {
    SCOPED_TRACE(line);
    ASSERT_TRUE(reader.seekLine(line));
    ASSERT_TRUE(reader.readRawLine(d));
    EXPECT_EQ(tableLine(d), lines[static_cast<size_t>(line - 1)]);
  }
  EXPECT_FALSE(reader.seekLine(400001));
  EXPECT_FALSE(reader.seekLine(0));
}

TEST_F(BlockReaderTest, OpenReadsAFileOnDisk) {
  const std::string path = ::testing::TempDir() + "/block_reader_open.blb";
  RecordFileWriter w;
  ASSERT_TRUE(w.open(path, RecordKind::Binary));
  w.header(0, 511);
  w.line(std::vector<SegmentPair>{{4, 44}});
  ASSERT_TRUE(w.close());
  ASSERT_TRUE(reader.open(path));
  EXPECT_EQ(reader.fjoldilinaiskra(), 1);
  EXPECT_FALSE(reader.open(path + ".missing"));
  EXPECT_FALSE(reader.isOpen());
  EXPECT_EQ(reader.fjoldilinaiskra(), 0);
}

// The line read for the analysis prepares the segments exactly as preparing
// the raw table in place does, and counts the line.
TEST_F(BlockReaderTest, ReadLinePreparesAsInPlacePreparation) {
  SettingsVariables s;
  s.NrChannels = 2;
  s.ChannelPositions[1] = {0, 250, 50};
  s.ChannelPositions[2] = {260, 511, 50};
  d.MinWidth[1] = 3;
  d.GapLimit[1] = 4;
  d.MinWidth[2] = 1;
  d.GapLimit[2] = 2;
  std::mt19937 rng(7);
  std::vector<Line> lines;
  for (int k = 0; k < 2000; ++k) {
    Line l;
    int x = static_cast<int>(rng() % 20);
    while (x < 500 && l.size() < 60) {
      const int w = static_cast<int>(rng() % 8);
      l.push_back({x, x + w});
      x += w + 1 + static_cast<int>(rng() % 12);
    }
    lines.push_back(l);
  }
  attachWords(recordWords(lines));
  BlockReader raw;
  raw.attach(memoryFile(encodeBinary(recordWords(lines))));
  DetectionState e;
  e.MinWidth = d.MinWidth;
  e.GapLimit = d.GapLimit;
  d.LineCounter = 0;
  for (size_t k = 0; k < lines.size(); ++k) {
    ASSERT_TRUE(reader.readLine(d, s));
    ASSERT_TRUE(raw.readRawLine(e));
    prepareSegments(e, s);
    ASSERT_EQ(tableLine(d), tableLine(e)) << "line " << k + 1;
  }
  EXPECT_EQ(d.LineCounter, 2000);
  EXPECT_FALSE(reader.readLine(d, s));
  EXPECT_EQ(d.LineCounter, 2000);
}

// Between fish nearly every line is the word 0; the line count and
// readEmptyLines take runs of them at once, four words at a time.
// Lines with segments at every offset from the block boundary and from a
// four-word step, between runs of empty lines of every length, must count
// and read back as they were written.
TEST_F(BlockReaderTest, RunsOfEmptyLinesCountAndReadBackAcrossBlocks) {
  std::vector<Line> lines;
  std::mt19937 rng(11);
  int64_t words = kHeaderWords;
  while (words < 2 * int64_t{kReadBufferWords} + 5000) {
    // Runs of 0 to 40 empty lines, and long ones near the block boundaries.
    const bool nearBoundary = (words % kReadBufferWords) > kReadBufferWords - 3000;
    const int run = nearBoundary ? static_cast<int>(rng() % 9) : static_cast<int>(rng() % 41);
    for (int k = 0; k < run; ++k) lines.push_back({});
    words += run;
    if (rng() % 5 == 0) {
      for (int k = 0; k < 200000; ++k) lines.push_back({});  // a long pause
      words += 200000;
    }
    Line l;
    const int pairs = 1 + static_cast<int>(rng() % 3);
    for (int k = 0; k < pairs; ++k) l.push_back({10 * k, 10 * k + 5});
    lines.push_back(l);
    words += 1 + 2 * pairs;
  }
  for (int k = 0; k < 7; ++k) lines.push_back({});  // the file ends in empty lines
  attachWords(recordWords(lines));
  EXPECT_EQ(reader.fjoldilinaiskra(), static_cast<int32_t>(lines.size()));
  EXPECT_EQ(readAll(), lines);
  EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(BlockReaderTest, DamagedCountInARunOfEmptyLinesIsStillReported) {
  std::vector<int16_t> words = recordWords({{}, {}, {}, {}, {}});
  words.push_back(-7);
  for (int k = 0; k < 9; ++k) words.push_back(0);
  words.push_back(kMaxLineSegments + 1);
  for (int k = 0; k < 2 * (kMaxLineSegments + 1); ++k) words.push_back(1);
  words.push_back(0);
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), 5 + 1 + 9 + 1 + 1);
  EXPECT_EQ(reporter.lineOf(damage::kNegativeCount), 6);
  EXPECT_EQ(reporter.lineOf(damage::kCountTooLarge), 16);
}

// readEmptyLines leaves the reader and the tables as reading the same lines
// one by one with readLine does.
TEST_F(BlockReaderTest, ReadEmptyLinesReadsAsReadLineDoes) {
  SettingsVariables s;
  std::vector<Line> lines = {{{10, 20}}};
  for (int k = 0; k < 23; ++k) lines.push_back({});
  lines.push_back({{30, 40}});
  lines.push_back({});
  attachWords(recordWords(lines));
  BlockReader oneByOne;
  oneByOne.attach(memoryFile(encodeBinary(recordWords(lines))));
  DetectionState e;

  EXPECT_EQ(reader.readEmptyLines(d, 1000), 0) << "nothing positioned yet";
  ASSERT_TRUE(reader.readLine(d, s));
  ASSERT_TRUE(oneByOne.readLine(e, s));
  EXPECT_EQ(reader.readEmptyLines(d, 0), 0);
  EXPECT_EQ(reader.readEmptyLines(d, 10), 10) << "never more than the limit";
  EXPECT_EQ(reader.readEmptyLines(d, 1000), 13) << "up to the next line with segments";
  for (int k = 0; k < 23; ++k) ASSERT_TRUE(oneByOne.readLine(e, s));
  EXPECT_EQ(reader.state().ReadPos, oneByOne.state().ReadPos);
  EXPECT_EQ(reader.currentLine(), oneByOne.currentLine());
  EXPECT_EQ(d.LineCounter, e.LineCounter);
  EXPECT_EQ(d.SegmentCount, 0);
  EXPECT_EQ(d.CurrentChannel, 1);
  EXPECT_EQ(reader.readEmptyLines(d, 1000), 0) << "a line with segments";
  ASSERT_TRUE(reader.readLine(d, s));
  EXPECT_EQ(tableLine(d), lines[24]);
  // The last line is the block's last word: the line after it is not in
  // the block, so readLine reads it (and finds the end of the data).
  EXPECT_EQ(reader.readEmptyLines(d, 1000), 0);
  ASSERT_TRUE(reader.readLine(d, s));
  EXPECT_FALSE(reader.readLine(d, s));
  EXPECT_EQ(d.LineCounter, 26);
}

// ---------------------------------------------------------------- damage

TEST_F(BlockReaderTest, NegativeCountIsAnEmptyLineAndNeverMovesBack) {
  std::vector<int16_t> words = recordWords({{{10, 20}}});
  words.push_back(-3);
  appendLineRecord(words, std::vector<SegmentPair>{{30, 40}});
  words.push_back(-32768);
  words.push_back(0);
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), 5);
  const std::vector<Line> expected = {{{10, 20}}, {}, {{30, 40}}, {}, {}};
  EXPECT_EQ(readAll(), expected);
  EXPECT_EQ(reporter.count(damage::kNegativeCount), 1);
  EXPECT_EQ(reporter.lineOf(damage::kNegativeCount), 2);
}

TEST_F(BlockReaderTest, CountAbove500StaysInStepAndFitsTheTable) {
  std::vector<int16_t> words = recordWords({});
  words.push_back(600);
  for (int k = 0; k < 600; ++k) {
    words.push_back(static_cast<int16_t>(k * 10));
    words.push_back(static_cast<int16_t>(k * 10 + 5));
  }
  appendLineRecord(words, std::vector<SegmentPair>{{7, 9}});
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), 2);
  ASSERT_TRUE(reader.seekLine(1));
  ASSERT_TRUE(reader.readRawLine(d));
  EXPECT_EQ(d.SegmentCount, kMaxSegments);
  EXPECT_EQ(d.Segments[kMaxSegments].Start, 4990);
  ASSERT_TRUE(reader.readRawLine(d));
  EXPECT_EQ(tableLine(d), (Line{{7, 9}}));

  // Through the preparation every pair is seen; no more than the table is kept.
  SettingsVariables s;
  s.NrChannels = 1;
  s.ChannelPositions[1] = {0, 32767, 100};
  ASSERT_TRUE(reader.seekLine(1));
  ASSERT_TRUE(reader.readLine(d, s));
  EXPECT_EQ(d.SegmentCount, kMaxSegments);
  ASSERT_TRUE(reader.readLine(d, s));
  EXPECT_EQ(tableLine(d), (Line{{7, 9}}));
  EXPECT_EQ(reporter.count(damage::kCountTooLarge), 1);
  EXPECT_EQ(reporter.lineOf(damage::kCountTooLarge), 1);
}

TEST_F(BlockReaderTest, FileShorterThanItsHeader) {
  for (const std::string& bytes : {std::string(), std::string("\x05", 1), std::string("\x00\x00\x01", 3)}) {
    SCOPED_TRACE(bytes.size());
    reporter.reports.clear();
    attachBytes(bytes);
    EXPECT_EQ(reader.fjoldilinaiskra(), 0);
    EXPECT_EQ(readWhileData(), 0);
    EXPECT_FALSE(reader.readRawLine(d));
    EXPECT_EQ(reporter.count(damage::kShortHeader), 1);
    EXPECT_EQ(reporter.lineOf(damage::kShortHeader), 0);
  }
}

TEST_F(BlockReaderTest, FileEndingInsideALineKeepsItsWholePairs) {
  std::vector<int16_t> words = recordWords({{{1, 2}}});
  for (int16_t w : {3, 10, 20, 30}) words.push_back(w);  // 3 pairs promised, 1.5 there
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), 2);
  EXPECT_EQ(readAll(), (std::vector<Line>{{{1, 2}}, {{10, 20}}}));
  EXPECT_EQ(readWhileData(), 2);
  EXPECT_EQ(reporter.count(damage::kCutShort), 1);
  EXPECT_EQ(reporter.lineOf(damage::kCutShort), 2);
}

TEST_F(BlockReaderTest, HugeCountAtTheEndDoesNotReadPastTheData) {
  std::vector<int16_t> words = recordWords({{}, {}});
  words.push_back(32767);
  words.push_back(5);
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), 3);
  EXPECT_EQ(readAll(), (std::vector<Line>{{}, {}, {}}));
  EXPECT_EQ(reporter.count(damage::kCountTooLarge), 1);
  EXPECT_EQ(reporter.count(damage::kCutShort), 1);
}

TEST_F(BlockReaderTest, RecordCutShortAtTheEndOfAWholeBlock) {
  // Exactly one block, whose last record promises words that never come.
  std::vector<Line> lines(static_cast<size_t>(kReadBufferWords - kHeaderWords - 3));
  std::vector<int16_t> words = recordWords(lines);
  for (int16_t w : {2, 40, 50}) words.push_back(w);
  ASSERT_EQ(words.size(), static_cast<size_t>(kReadBufferWords));
  attachWords(words);
  const int32_t expectedLines = static_cast<int32_t>(lines.size()) + 1;
  EXPECT_EQ(reader.fjoldilinaiskra(), expectedLines);
  EXPECT_EQ(reporter.lineOf(damage::kCutShort), expectedLines);
  ASSERT_TRUE(reader.seekLine(expectedLines));
  ASSERT_TRUE(reader.readRawLine(d));
  EXPECT_EQ(tableLine(d), (Line{{40, 50}}));
  EXPECT_FALSE(reader.readRawLine(d));
  EXPECT_EQ(readWhileData(), expectedLines);
}

TEST_F(BlockReaderTest, RecordCutShortInTheBlockAfterIt) {
  // The last record starts in the first block and is cut off in the second.
  const std::vector<Line> lines(static_cast<size_t>(kReadBufferWords - kHeaderWords - 1));
  std::vector<int16_t> words = recordWords(lines);
  for (int16_t w : {4, 1, 2, 3, 4, 5}) words.push_back(w);
  attachWords(words);
  const int32_t expectedLines = static_cast<int32_t>(lines.size()) + 1;
  EXPECT_EQ(reader.fjoldilinaiskra(), expectedLines);
  EXPECT_EQ(reporter.count(damage::kCutShort), 1);
  EXPECT_EQ(reporter.lineOf(damage::kCutShort), expectedLines);
  EXPECT_EQ(readWhileData(), expectedLines);
  ASSERT_TRUE(reader.seekLine(expectedLines));
  ASSERT_TRUE(reader.readRawLine(d));
  EXPECT_EQ(tableLine(d), (Line{{1, 2}, {3, 4}}));
}

TEST_F(BlockReaderTest, OddLastByteIsIgnored) {
  std::string bytes = encodeBinary(recordWords({{{3, 4}}}));
  bytes.push_back('\x07');
  attachBytes(bytes);
  EXPECT_EQ(reader.fjoldilinaiskra(), 1);
  EXPECT_EQ(readAll(), (std::vector<Line>{{{3, 4}}}));
  EXPECT_EQ(reporter.count(damage::kOddByte), 1);
}

TEST_F(BlockReaderTest, EachKindOfDamageIsReportedOncePerFile) {
  std::vector<int16_t> words = recordWords({});
  for (int k = 0; k < 50; ++k) {
    words.push_back(-1);
    words.push_back(501);
    for (int j = 0; j < 1002; ++j) words.push_back(1);
  }
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), 100);
  EXPECT_EQ(readAll().size(), 100u);
  EXPECT_EQ(reader.fjoldilinaiskra(), 100);
  EXPECT_EQ(reporter.reports.size(), 2u);
  // A new file is a new start.
  attachWords(words);
  EXPECT_EQ(reader.fjoldilinaiskra(), 100);
  EXPECT_EQ(reporter.reports.size(), 4u);
}

// Random damage: whatever the words, the reader ends, never reads outside
// the file and never hands out more segments than the table holds.
TEST_F(BlockReaderTest, RandomWordsNeverBreakTheReader) {
  std::mt19937 rng(11);
  for (int round = 0; round < 40; ++round) {
    std::vector<int16_t> words;
    const size_t n = rng() % 3000;
    for (size_t k = 0; k < n; ++k) {
      const uint32_t r = rng();
      words.push_back(r % 4 == 0 ? static_cast<int16_t>(r >> 16) : static_cast<int16_t>(r % 7));
    }
    std::string bytes = encodeBinary(words);
    if (rng() % 2) bytes.push_back('\x01');
    attachBytes(bytes);
    const int32_t total = reader.fjoldilinaiskra();
    ASSERT_GE(total, 0);
    ASSERT_LE(static_cast<size_t>(total), words.size());
    int read = 0;
    if (reader.seekLine(1)) {
      while (reader.readRawLine(d)) {
        ASSERT_LE(d.SegmentCount, kMaxSegments);
        ASSERT_GE(d.SegmentCount, 0);
        ++read;
      }
    }
    ASSERT_EQ(read, total);
  }
}

}  // namespace
