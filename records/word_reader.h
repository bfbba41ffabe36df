// The debug viewer's reader: a record file read word by word, binary ".blb"
// (16-bit little-endian words) or text ".bla" (decimal numbers), format in
// records/record_format.h.
//
// Text rules: numbers are separated by blanks, tabs or line breaks (LF, CR LF
// or a lone CR, as old editors write them); each keeps its low 16 bits as a
// signed word (so 65535 reads as -1 and 70000 as 4464); after the two header
// numbers the rest of their line is skipped.
//
// Damage, each kind reported once per opened file, reading going on:
//  - text that is not a number is skipped up to the next separator
//    ("not a number in text record", at the line record it lies in, or
//    between two records the one on whose text line it stands: the reader
//    walks the count words of every word it hands out, so the line is known
//    however the words are taken, nextWord or the line reads);
//  - header numbers not both on the first text line: they are still taken as
//    the edges ("edges not both on the first line");
//  - the file ends before the two header words ("file shorter than its header");
//  - a number below -32768 or above 65535 is read by its low 16 bits all the
//    same ("number out of range");
//  - a count below 0 is an empty line, one above kMaxLineSegments keeps its
//    first kMaxLineSegments pairs and skips the rest, and a line record cut off
//    by the end of the file keeps its whole pairs (same texts as the block
//    reader's); a count written above 32767 reads as a negative word, so an
//    empty line, and is named "segment count above 500" all the same;
//  - an odd last byte of a binary file is ignored ("odd byte at end of file").
// Reading past the end yields no words and no lines; the reader never reads
// outside the file.
#ifndef TINDAVEL_RECORDS_WORD_READER_H_
#define TINDAVEL_RECORDS_WORD_READER_H_

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>

#include "records/damage_reporter.h"
#include "records/record_format.h"

struct DetectionState;
struct SettingsVariables;

class WordReader {
 public:
  WordReader() = default;
  WordReader(const WordReader&) = delete;
  WordReader& operator=(const WordReader&) = delete;

  // Opens a record file read-only; text exactly when the name ends in ".bla".
  [[nodiscard]] bool open(const std::string& path);
  // Reads from a stream instead (tests hand in an in-memory file).
  void attach(std::unique_ptr<std::istream> source, RecordKind kind);
  void close();
  bool isOpen() const { return source_ != nullptr; }
  RecordKind kind() const { return kind_; }
  void setDamageReporter(DamageReporter* reporter) { damage_.setReporter(reporter); }

  // Reads the two header values (text: then skips the rest of that line).
  // False when the file ends before both; the edges are then left unchanged.
  bool readHeader(int16_t& leftEdge, int16_t& rightEdge);
  // The next word; empty at the end of the file.
  std::optional<int16_t> nextWord();
  // True when no further word follows.
  bool atEnd();

  // Reads one line record into d.Segments[1..] and d.SegmentCount (raw, not
  // prepared). False, with `d` unchanged, at the end of the file.
  bool readRawLine(DetectionState& d);
  // readRawLine, LineCounter + 1, and the segment preparation.
  bool readLine(DetectionState& d, const SettingsVariables& s);
  // Reads one line record without touching any table; returns its count word,
  // or nothing at the end of the file.
  std::optional<int16_t> skipLine();
  // Line records begun since the file was opened.
  int64_t linesRead() const { return line_; }
  // True when the word nextWord() gave last is a count word written larger
  // than 32767 (its damage is told); nextWord() gave it as 0, an empty line.
  bool lastWordWasLargeCount() const { return largeCount_; }

 private:
  std::optional<int16_t> readWord();  // the next word of the file, walking the count words
  std::optional<int16_t> readBinaryWord();
  // Reads the next text number; sets `crossedLine` when a line break came
  // before it.
  std::optional<int16_t> readTextNumber(bool* crossedLine = nullptr);
  void skipRestOfLine();
  template <typename Sink>
  std::optional<int16_t> readRecord(Sink& sink);

  std::unique_ptr<std::istream> source_;
  RecordKind kind_ = RecordKind::Binary;
  std::optional<int16_t> peeked_;  // a word read ahead by atEnd()
  int64_t line_ = 0;
  // The walk over the words handed out after the header: the line record
  // the last count word began, the words of it still to come, and the line
  // the word being read belongs to (0: the header), for damage reports.
  int64_t walkLine_ = 0;
  int32_t walkLeft_ = 0;
  int64_t wordLine_ = 0;
  bool largeNumber_ = false;  // the last text number was written above 32767
  bool largeCount_ = false;   // ... and it is a count word
  DamageOnce damage_;
};

#endif  // TINDAVEL_RECORDS_WORD_READER_H_
