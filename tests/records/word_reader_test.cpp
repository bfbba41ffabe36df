// The word-by-word reader of the debug viewer: binary and text files with the
// same content read alike; the text rules (16-bit truncation, the first
// line); then its damage cases.
#include <gtest/gtest.h>

#include "analysis/detection_state.h"
#include "records/record_encoder.h"
#include "records/word_reader.h"
#include "tests/records/record_test_support.h"

namespace {

using Line = std::vector<SegmentPair>;

Line tableLine(const DetectionState& d) {
  Line l;
  for (int i = 1; i <= d.SegmentCount; ++i) l.push_back({d.Segments[i].Start, d.Segments[i].End});
  return l;
}

class WordReaderTest : public ::testing::Test {
 protected:
  void attach(std::string bytes, RecordKind kind) {
    reader.setDamageReporter(&reporter);
    reader.attach(memoryFile(std::move(bytes)), kind);
  }
  void attachText(std::string text) { attach(std::move(text), RecordKind::Text); }
  std::vector<Line> readAll() {
    std::vector<Line> lines;
    while (reader.readRawLine(d)) lines.push_back(tableLine(d));
    return lines;
  }

  WordReader reader;
  CollectingReporter reporter;
  DetectionState d;
  int16_t left = -99, right = -99;
};

TEST_F(WordReaderTest, BinaryAndTextFormsReadTheSameLines) {
  std::vector<int16_t> words;
  appendHeader(words, 7, 480);
  appendLineRecord(words, std::vector<SegmentPair>{{10, 20}, {-40, 32767}});
  appendLineRecord(words, {});
  appendSamplingMarker(words, 7, 480);
  const std::vector<Line> expected = {{{10, 20}, {-40, 32767}}, {}, {}, {{7, 480}}, {}};
  for (RecordKind kind : {RecordKind::Binary, RecordKind::Text}) {
    SCOPED_TRACE(kind == RecordKind::Text ? "text" : "binary");
    attach(kind == RecordKind::Text ? encodeText(words) : encodeBinary(words), kind);
    ASSERT_TRUE(reader.readHeader(left, right));
    EXPECT_EQ(left, 7);
    EXPECT_EQ(right, 480);
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(readAll(), expected);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.linesRead(), 5);
    EXPECT_FALSE(reader.nextWord());
  }
  EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(WordReaderTest, TextNumbersKeepTheirLow16Bits) {
  attachText("65535 70000\n 1 -70000 +32768 -32769 123456789012345678901234567890\n");
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(left, -1);
  EXPECT_EQ(right, 4464);
  EXPECT_EQ(reader.nextWord(), int16_t{1});
  EXPECT_EQ(reader.nextWord(), low16(-70000));
  EXPECT_EQ(reader.nextWord(), int16_t{-32768});
  EXPECT_EQ(reader.nextWord(), int16_t{32767});
  // 123456789012345678901234567890 mod 65536 = 2770
  EXPECT_EQ(reader.nextWord(), int16_t{2770});
  EXPECT_FALSE(reader.nextWord());
  // Noted once, where it first stands: 70000 on the first line.
  EXPECT_EQ(reporter.reports.size(), 1u);
  EXPECT_EQ(reporter.lineOf(damage::kOutOfRange), 0);
}

TEST_F(WordReaderTest, NumbersOutOfRangeAreNotedOnceAtTheirLine) {
  struct Case {
    std::string text;
    int64_t line;  // -1: no note
  };
  for (const Case& c : {Case{"0 511\n1 65535 -32768\n", -1}, Case{"0 511\n1 2 3\n1 65536 4\n1 -32769 5\n", 2},
                        Case{"0 511\n1 2 3\n1 4 -99999999999\n", 2}}) {
    reporter.reports.clear();
    attachText(c.text);
    ASSERT_TRUE(reader.readHeader(left, right));
    readAll();
    EXPECT_EQ(reporter.lineOf(damage::kOutOfRange), c.line) << c.text;
    EXPECT_EQ(reporter.count(damage::kOutOfRange), c.line < 0 ? 0 : 1) << c.text;
  }
}

TEST_F(WordReaderTest, ACountAbove65535IsAnEmptyLineAsAnyLargeCount) {
  // 65537 keeps the low bits 1, but a count is never read from a number
  // this large: the words after it are the next line, as in the binary copy.
  attachText("0 511\n65537\n1 5 6\n");
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(readAll(), (std::vector<Line>{{}, {{5, 6}}}));
  EXPECT_EQ(reporter.lineOf(damage::kCountTooLarge), 1);
  EXPECT_EQ(reporter.count(damage::kCutShort), 0);
}

TEST_F(WordReaderTest, ALoneCarriageReturnEndsALine) {
  // As old editors write them: the first line's rest is skipped at its CR.
  const std::vector<Line> expected = {{{10, 20}}, {}, {{7, 9}, {11, 12}}};
  for (const std::string end : {"\n", "\r\n", "\r"}) {
    SCOPED_TRACE(end == "\r" ? "CR" : end == "\n" ? "LF" : "CR LF");
    reporter.reports.clear();
    attachText("0 511 skipped 9" + end + "1 10 20" + end + "0" + end + "2 7 9" + end + "11 12" + end);
    ASSERT_TRUE(reader.readHeader(left, right));
    EXPECT_EQ(right, 511);
    EXPECT_EQ(readAll(), expected);
    EXPECT_TRUE(reporter.reports.empty());
  }
  attachText("0\r511\r");
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(reporter.count(damage::kHeaderLine), 1);
}

TEST_F(WordReaderTest, ACountWrittenAboveTheLimitIsNamedSo) {
  // 100000 keeps its low 16 bits, -31072: an empty line, as the format
  // reads it; but it is no negative count.
  attachText("0 511\n1 2 3\n100000 4 5\n1 6 7\n");
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(readAll().front(), (Line{{2, 3}}));
  EXPECT_EQ(reporter.lineOf(damage::kCountTooLarge), 2);
  EXPECT_EQ(reporter.lineOf(damage::kOutOfRange), 2);
  EXPECT_EQ(reporter.count(damage::kNegativeCount), 0);
}

TEST_F(WordReaderTest, RestOfTheFirstLineIsSkipped) {
  attachText("0 511 3 99 98 97\r\n1 10\t20\n\n0\n");
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 511);
  EXPECT_EQ(readAll(), (std::vector<Line>{{{10, 20}}, {}}));
  EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(WordReaderTest, LineBreaksAfterTheFirstLineMeanNothing) {
  attachText("0 511\n2\n1\n2 3\n4 0 1\n5\n");
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(readAll(), (std::vector<Line>{{{1, 2}, {3, 4}}, {}, {}}));  // the cut pair is dropped
  EXPECT_EQ(reporter.count(damage::kCutShort), 1);
}

TEST_F(WordReaderTest, EdgesSplitOverTwoLinesAreTakenAndReported) {
  attachText("0\n511 9 9\n1 2 3\n");
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(right, 511);
  EXPECT_EQ(readAll(), (std::vector<Line>{{{2, 3}}}));
  EXPECT_EQ(reporter.count(damage::kHeaderLine), 1);
}

TEST_F(WordReaderTest, TextThatIsNotANumberIsSkipped) {
  attachText("0 511\n1 1x0 10 20 - 2 abc 30 40 -5- 50 60\n");
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(readAll(), (std::vector<Line>{{{10, 20}}, {{30, 40}, {50, 60}}}));
  EXPECT_EQ(reporter.count(damage::kNotANumber), 1);
}

TEST_F(WordReaderTest, TextThatIsNotANumberIsReportedAtItsLine) {
  std::vector<int16_t> words;
  appendHeader(words, 0, 511);
  for (int k = 0; k < 10500; ++k) appendLineRecord(words, std::vector<SegmentPair>{{k % 400, k % 400 + 3}});
  const std::string text = encodeText(words);
  size_t line10000 = 0;  // text line 10001: the header's line comes first
  for (int n = 0; n < 10000; ++n) line10000 = text.find('\n', line10000) + 1;
  // A bad token inside line 10000's record, one before its count word and
  // one after its last word, on its text line.
  for (size_t at : {text.find(' ', line10000), line10000, text.find('\n', line10000)}) {
    std::string bad = text;
    bad.insert(at, at == line10000 ? "7x " : " 7x");
    // Taken word by word, as the viewer copies a text record, and line by line.
    for (bool byWords : {true, false}) {
      SCOPED_TRACE(byWords ? "nextWord" : "readRawLine");
      reporter.reports.clear();
      attachText(bad);
      ASSERT_TRUE(reader.readHeader(left, right));
      if (byWords) {
        while (reader.nextWord()) {
        }
      } else {
        EXPECT_EQ(readAll().size(), 10500u);
      }
      EXPECT_EQ(reporter.lineOf(damage::kNotANumber), 10000);
    }
  }
}

TEST_F(WordReaderTest, FileShorterThanItsHeader) {
  for (RecordKind kind : {RecordKind::Binary, RecordKind::Text}) {
    for (const std::string& bytes : {std::string(), std::string("1", 1), std::string("\x00\x00\x01", 3)}) {
      reporter.reports.clear();
      attach(bytes, kind);
      left = right = 42;
      EXPECT_FALSE(reader.readHeader(left, right));
      EXPECT_EQ(left, 42);
      EXPECT_EQ(right, 42);
      EXPECT_FALSE(reader.readRawLine(d));
      EXPECT_EQ(reporter.count(damage::kShortHeader), 1);
    }
  }
}

TEST_F(WordReaderTest, DamagedCountsAsInTheBlockReader) {
  std::vector<int16_t> words;
  appendHeader(words, 0, 511);
  words.push_back(-4);
  words.push_back(502);
  for (int k = 0; k < 502; ++k) {
    words.push_back(static_cast<int16_t>(k));
    words.push_back(static_cast<int16_t>(k + 1));
  }
  appendLineRecord(words, std::vector<SegmentPair>{{8, 9}});
  for (int16_t w : {2, 1, 2, 3}) words.push_back(w);
  attach(encodeBinary(words) + "\x01", RecordKind::Binary);
  ASSERT_TRUE(reader.readHeader(left, right));
  const std::vector<Line> lines = readAll();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_TRUE(lines[0].empty());
  EXPECT_EQ(lines[1].size(), static_cast<size_t>(kMaxSegments));
  EXPECT_EQ(lines[2], (Line{{8, 9}}));
  EXPECT_EQ(lines[3], (Line{{1, 2}}));
  EXPECT_EQ(reporter.lineOf(damage::kNegativeCount), 1);
  EXPECT_EQ(reporter.lineOf(damage::kCountTooLarge), 2);
  EXPECT_EQ(reporter.lineOf(damage::kCutShort), 4);
  EXPECT_EQ(reporter.count(damage::kOddByte), 1);
  EXPECT_EQ(reporter.reports.size(), 4u);
}

TEST_F(WordReaderTest, ReadLinePreparesAndCounts) {
  SettingsVariables s;
  s.NrChannels = 1;
  s.ChannelPositions[1] = {0, 511, 100};
  d.MinWidth[1] = 2;
  d.GapLimit[1] = 3;
  d.LineCounter = 10;
  attachText("0 511\n3 10 20 22 23 40 41\n");
  ASSERT_TRUE(reader.readHeader(left, right));
  ASSERT_TRUE(reader.readLine(d, s));
  // 22..23 lies within the gap limit and is joined; 40..41 is noise.
  EXPECT_EQ(tableLine(d), (Line{{10, 23}}));
  EXPECT_EQ(d.LineCounter, 11);
  EXPECT_FALSE(reader.readLine(d, s));
  EXPECT_EQ(d.LineCounter, 11);
}

TEST_F(WordReaderTest, SkipLineReadsWithoutTouchingTheTable) {
  attachText("0 511\n2 1 2 3 4\n0\n1 5 6\n");
  ASSERT_TRUE(reader.readHeader(left, right));
  d.SegmentCount = 0;
  EXPECT_EQ(reader.skipLine(), int16_t{2});
  EXPECT_EQ(reader.skipLine(), int16_t{0});
  EXPECT_EQ(d.SegmentCount, 0);
  ASSERT_TRUE(reader.readRawLine(d));
  EXPECT_EQ(tableLine(d), (Line{{5, 6}}));
  EXPECT_FALSE(reader.skipLine());
  EXPECT_EQ(reader.linesRead(), 3);
}

TEST_F(WordReaderTest, OpenChoosesTheFormByExtension) {
  const std::string base = ::testing::TempDir() + "/word_reader_open";
  for (const char* ext : {".bla", ".BLA"}) {
    RecordFileWriter w;
    ASSERT_TRUE(w.open(base + ext, RecordKind::Text));
    w.header(0, 511);
    ASSERT_TRUE(w.close());
  }
  ASSERT_TRUE(reader.open(base + ".bla"));
  EXPECT_EQ(reader.kind(), RecordKind::Text);
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(right, 511);
  // Capitals: read as binary, so the text "0 511\n" becomes words.
  ASSERT_TRUE(reader.open(base + ".BLA"));
  EXPECT_EQ(reader.kind(), RecordKind::Binary);
  ASSERT_TRUE(reader.readHeader(left, right));
  EXPECT_EQ(left, 0x2030);  // '0', ' '
  EXPECT_FALSE(reader.open(base + ".none"));
  EXPECT_FALSE(reader.isOpen());
}

}  // namespace
