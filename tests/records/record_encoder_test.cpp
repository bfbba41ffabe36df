// The encoder: exact bytes of the format's worked examples, the text form, and
// the streaming file writer agreeing with the in-memory encoding.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "records/record_encoder.h"
#include "tests/temp_folder.h"

namespace {

std::string bytesOf(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::filesystem::path tempPath(const std::string& name) {
  return std::filesystem::temp_directory_path() / name;
}

TEST(RecordEncoder, HeaderOnlyFileIsTheFourBytesOfTheExample) {
  std::vector<int16_t> words;
  appendHeader(words, 0, 511);
  EXPECT_EQ(encodeBinary(words), bytesOf({0x00, 0x00, 0xFF, 0x01}));
}

TEST(RecordEncoder, EmptyLineIsTheSingleWordZero) {
  std::vector<int16_t> words;
  appendLineRecord(words, {});
  EXPECT_EQ(words, std::vector<int16_t>{0});
  EXPECT_EQ(encodeBinary(words), bytesOf({0x00, 0x00}));
}

TEST(RecordEncoder, LineRecordIsCountThenPairsLittleEndian) {
  std::vector<int16_t> words;
  const SegmentPair segs[] = {{10, 20}, {300, -2}};
  appendLineRecord(words, segs);
  EXPECT_EQ(words, (std::vector<int16_t>{2, 10, 20, 300, -2}));
  EXPECT_EQ(encodeBinary(words),
            bytesOf({0x02, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x2C, 0x01, 0xFE, 0xFF}));
}

TEST(RecordEncoder, ValuesKeepTheirLow16Bits) {
  std::vector<int16_t> words;
  appendHeader(words, 70000, -70000);  // 70000 = 0x11170
  EXPECT_EQ(words[0], 0x1170);
  EXPECT_EQ(words[1], low16(-70000));
  EXPECT_EQ(low16(65535), -1);
  EXPECT_EQ(low16(32768), -32768);
}

TEST(RecordEncoder, SamplingMarkerIsFiveWords) {
  std::vector<int16_t> words;
  appendSamplingMarker(words, 12, 499);
  EXPECT_EQ(words, (std::vector<int16_t>{0, 1, 12, 499, 0}));
}

TEST(RecordEncoder, TextFormPutsHeaderAndEachRecordOnItsOwnLine) {
  std::vector<int16_t> words;
  appendHeader(words, 0, 511);
  const SegmentPair segs[] = {{10, 20}, {30, 44}};
  appendLineRecord(words, segs);
  appendLineRecord(words, {});
  appendSamplingMarker(words, 0, 511);
  EXPECT_EQ(encodeText(words), "0 511\n2 10 20 30 44\n0\n0\n1 0 511\n0\n");
}

TEST(RecordEncoder, TextFormOfATruncatedRecordEndsItsLine) {
  const std::vector<int16_t> words{0, 511, -4, 3, 1, 2};
  EXPECT_EQ(encodeText(words), "0 511\n-4\n3 1 2\n");
}

// A long recording through the streaming writer is byte for byte what the
// in-memory encoder gives, in both forms, across many internal flushes.
TEST(RecordFileWriter, MatchesInMemoryEncodingAcrossFlushes) {
  std::vector<int16_t> words;
  appendHeader(words, 3, 508);
  const auto binPath = tempPath("encoder_stream.blb");
  const auto txtPath = tempPath("encoder_stream.bla");
  RecordFileWriter bin, txt;
  ASSERT_TRUE(bin.open(binPath.string(), RecordKind::Binary));
  ASSERT_TRUE(txt.open(txtPath.string(), RecordKind::Text));
  bin.header(3, 508);
  txt.header(3, 508);
  std::vector<SegmentPair> segs;
  for (int line = 0; line < 40000; ++line) {
    segs.clear();
    for (int k = 0; k < line % 7; ++k) segs.push_back({k * 60 + line % 13, k * 60 + 30});
    appendLineRecord(words, segs);
    bin.line(segs);
    txt.line(segs);
    if (line % 5000 == 4999) {
      appendSamplingMarker(words, 3, 508);
      bin.samplingMarker(3, 508);
      txt.samplingMarker(3, 508);
    }
  }
  ASSERT_TRUE(bin.close());
  ASSERT_TRUE(txt.close());
  EXPECT_GT(words.size(), 100000u);  // the writers flushed more than once
  EXPECT_EQ(fileContents(binPath), encodeBinary(words));
  EXPECT_EQ(fileContents(txtPath), encodeText(words));
}

TEST(RecordFileWriter, FileThatCannotBeCreatedIsRefused) {
  RecordFileWriter w;
  EXPECT_FALSE(w.open((tempPath("no such folder") / "x.blb").string(), RecordKind::Binary));
  EXPECT_FALSE(w.isOpen());
  EXPECT_FALSE(w.close());
}

TEST(RecordFormat, TextKindOnlyForExactLowerCaseExtension) {
  EXPECT_EQ(recordKindForPath("/a/b.bla"), RecordKind::Text);
  EXPECT_EQ(recordKindForPath("/a/b.BLA"), RecordKind::Binary);
  EXPECT_EQ(recordKindForPath("/a/b.blb"), RecordKind::Binary);
  EXPECT_EQ(recordKindForPath("bla"), RecordKind::Binary);
}

}  // namespace
