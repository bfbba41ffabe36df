// Record files: the scan-line data of a counting session, as the counter in
// the field writes them and the viewers read them back.
//
// Binary record file ".blb": a flat run of 16-bit two's-complement words,
// LITTLE-ENDIAN, no padding, no trailer, no line count. Byte length = 2 x words.
//
//   word (from 1)   size      meaning
//   1               1 word    low 16 bits of LeftEdge when the recording began
//   2               1 word    low 16 bits of RightEdge when the recording began
//   3 ...           line records, one per scan line, in scan order:
//     +0            1 word    N, the line's segment count (signed; N <= 0: no segments)
//     +1 +2         2 words   Start, End of segment 1 (pixels, signed)
//     ...           2 words   Start, End of segments 2..N, left to right
//
// A line record is 1 + 2N words, at most kMaxLineRecordWords. A line carries
// no number or time: its position in the file is its time (kLinesPerSecond).
//
// Sampling marker: the writer appends the five words 0, 1, LeftEdge,
// RightEdge, 0 when a sample ends. They ARE three ordinary line records (an
// empty line, one segment across the whole used scan line, an empty line);
// readers need no special case.
//
// Worked example: a header-only file written with LeftEdge 0, RightEdge 511 is
// the four bytes 00 00 FF 01. Adding one empty line gives 00 00 FF 01 00 00;
// a line with the single segment 10..20 adds 01 00 0A 00 14 00.
//
// Text record file ".bla" (read by the debug viewer; nothing in the program
// writes it, tests and tools do): optionally signed decimal integers separated
// by blanks, tabs or line breaks. The first text line holds LeftEdge and
// RightEdge; anything after those two numbers on that line is skipped. Then
// the same numbers as the binary line records; later line breaks carry no
// meaning. Every number keeps its low 16 bits as a signed word, so the value
// range is the binary file's.
//
// The block reader reads kReadBlockBytes at a time into a buffer of
// kReadBufferWords words; the recording writer collects up to
// kRecordBufferWords words and writes them out once more than
// kRecordFlushLimit words are waiting.
#ifndef TINDAVEL_RECORDS_RECORD_FORMAT_H_
#define TINDAVEL_RECORDS_RECORD_FORMAT_H_

#include <cstdint>
#include <string_view>

#include "settings/settings_variables.h"  // kLinesPerSecond

// Words before the first line record: LeftEdge, RightEdge.
inline constexpr int kHeaderWords = 2;
// The most segments a line record may carry: the size of the analysis's segment
// table (kMaxSegments in analysis/detection_state.h; the reader checks they agree).
inline constexpr int kMaxLineSegments = 500;
// The longest well-formed line record: the count word and kMaxLineSegments pairs.
inline constexpr int kMaxLineRecordWords = 1 + 2 * kMaxLineSegments;
// Words of the sampling marker: 0, 1, LeftEdge, RightEdge, 0.
inline constexpr int kSamplingMarkerWords = 5;

// Block reader: words per block read, and the same in bytes.
inline constexpr int32_t kReadBufferWords = 1000000;
inline constexpr int32_t kReadBlockBytes = 2 * kReadBufferWords;

// Recording writer: room of the word buffer, and the fill above which a line
// is no longer appended (it flushes in Continuous mode and is dropped).
inline constexpr int32_t kRecordBufferWords = 1000002;
inline constexpr int32_t kRecordFlushLimit = 989999;

// Sampling mode: the timer's first interval, the length of a sample and the
// pause between samples, in milliseconds.
inline constexpr int kFirstTickMs = 1000;
inline constexpr int kSampleMs = 10000;
inline constexpr int kPauseMs = 300000;

// Recording modes: the item index of the "Recordmethod" setting.
inline constexpr int kRecordNone = 0;        // "None"
inline constexpr int kRecordSampling = 1;    // "Sampling [10sec/5min]"
inline constexpr int kRecordContinuous = 2;  // "Continuous"

inline constexpr std::string_view kBinaryExtension = ".blb";
inline constexpr std::string_view kTextExtension = ".bla";
inline constexpr std::string_view kReportExtension = ".mse";

// The low 16 bits of a value as a signed word: what every writer stores.
constexpr int16_t low16(int32_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu));
}

// One segment of a scan line as it is stored: first and last pixel.
struct SegmentPair {
  int32_t Start = 0;
  int32_t End = 0;
  friend bool operator==(const SegmentPair&, const SegmentPair&) = default;
};

// Which of the two forms a record file has.
enum class RecordKind { Binary, Text };

// The debug viewer's rule: a file is a text record exactly when its name ends
// in ".bla" (compared with case: ".BLA" is read as binary).
RecordKind recordKindForPath(std::string_view path);

#endif  // TINDAVEL_RECORDS_RECORD_FORMAT_H_
