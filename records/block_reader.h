// The record viewer's block reader of binary record files (format in
// records/record_format.h): reads the file in blocks of kReadBlockBytes into
// one buffer allocated once, walks the count words to know which lines lie in
// the block, and reads line records for the analysis, across block boundaries
// where a record straddles two blocks. Memory does not grow with the file.
//
// Lines are numbered from 1. Positions in the buffer are numbered from 1, as
// ReadBuffer is; the header's two words are positions 1 and 2 of the first
// block.
//
// Damaged files are read as far as they make sense, never past their data,
// and each kind of damage is reported once per opened file:
//  - a count word below 0 is an empty line: the walk steps one word, never
//    backwards ("negative segment count");
//  - a count word above kMaxLineSegments: the reader keeps in step with the
//    file by reading all 2N words; readLine prepares every pair (preparation
//    never keeps more than the table holds), readRawLine keeps the first
//    kMaxLineSegments ("segment count above 500");
//  - a file that ends inside a line record: the line counts as a line with
//    the whole pairs that are there ("line cut short at end of file");
//  - a file shorter than the header: no lines ("file shorter than its header");
//    a header-only file is a sound empty recording (the writer makes one when
//    it stops before the first line) and is not reported;
//  - an odd last byte is ignored ("odd byte at end of file");
//  - a file whose length is an exact multiple of kReadBlockBytes: the empty
//    read after the last full block is the end, never a line.
#ifndef TINDAVEL_RECORDS_BLOCK_READER_H_
#define TINDAVEL_RECORDS_BLOCK_READER_H_

#include <cstdint>
#include <cstdlib>
#include <istream>
#include <memory>
#include <optional>
#include <string>

#include "analysis/detection_state.h"
#include "records/damage_reporter.h"
#include "records/record_format.h"

struct SettingsVariables;

// The reader's position, with the names the viewer's frame logic uses.
struct BlockReaderState {
  int32_t BufferFill = 0;   // words the last block read delivered
  int32_t WindowPos = kHeaderWords + 1;  // count word of the first line starting in this block
  int32_t WindowLine = 1;   // that line's number
  int32_t LastPos = 0;      // count word of the last line starting in this block
  int32_t LastLine = 0;     // its number; 0 when no line starts in the block
  int32_t ReadPos = 0;      // word being read; between lines, the next count word
  bool EndOfData = false;   // the block last read was the file's last
};

class BlockReader {
 public:
  BlockReader();  // allocates ReadBuffer, once
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  // Opens a record file read-only and reads its first block. False when it
  // cannot be opened; the reader then holds no file and has no lines.
  [[nodiscard]] bool open(const std::string& path);
  // Reads from a stream instead (tests hand in an in-memory file).
  void attach(std::unique_ptr<std::istream> source);
  void close();
  bool isOpen() const { return source_ != nullptr; }
  // Where damage reports go; may be null. Not owned.
  void setDamageReporter(DamageReporter* reporter) { damage_.setReporter(reporter); }

  // Starts over from the beginning of the file and reads the first block.
  void restartbuffer();
  // Reads the next block and walks its count words.
  void lesa();
  // Goes on to the next block; does nothing once EndOfData is set.
  void lesabuffer();
  // Counts the lines of the file (walks the count words only). Leaves the
  // reader at the end: seekLine or restartbuffer before reading lines.
  int32_t fjoldilinaiskra();
  // The word advance: the word after ReadPos, reading the next block when the
  // current one is used up. Empty past the end of the data.
  std::optional<int16_t> nextWord();

  // Puts ReadPos on the count word of `line` (from 1), reading from the start
  // again if the line lies before the current block. False when the file
  // holds fewer lines; the reader is then at its end.
  bool seekLine(int32_t line);

  // Reads the line record at ReadPos into d.Segments[1..] (Start and End
  // sign-extended), sets d.SegmentCount to the pairs read and leaves ReadPos
  // on the next line's count word. If ReadPos is 0 (nothing positioned yet),
  // reading starts at the first line of the block. False, with nothing
  // changed in `d`, when there is no further line.
  bool readRawLine(DetectionState& d);
  // The first half of the viewer's line read: the line record through the
  // segment preparation into d.Segments[1..d.SegmentCount], and LineCounter
  // + 1; the line is then ready for the detection. Every pair of an over-long
  // record is prepared (not only the first kMaxSegments).
  bool readLine(DetectionState& d, const SettingsVariables& s) {
    const int32_t pos = st_.ReadPos;
    if (pos >= 1 && pos < st_.BufferFill && ReadBuffer[pos] == 0) [[likely]] {
      // An empty line whose next count word lies in this block: what the
      // preparation of no pairs leaves.
      st_.ReadPos = pos + 1;
      ++line_;
      d.SegmentCount = 0;
      d.CurrentChannel = 1;
      ++d.LineCounter;
      return true;
    }
    return readRecordLine(d, s);
  }
  // Reads up to `limit` empty lines (count word 0) from ReadPos on, as
  // readLine would, as long as the line after each lies in this block;
  // returns how many (0 when ReadPos stands on a line with segments, on the
  // block's last word, or on nothing yet). For them d.SegmentCount is 0,
  // d.CurrentChannel 1 and LineCounter counts them. Between fish, where
  // nearly every line is empty, this takes a run of them at the cost of a
  // few words' test.
  int32_t readEmptyLines(DetectionState& d, int32_t limit);

  const BlockReaderState& state() const { return st_; }
  // The word at buffer position `pos`, 1 <= pos <= BufferFill.
  int16_t word(int32_t pos) const;
  // Number of the line whose count word ReadPos stands on (or the line being
  // read), as kept for damage reports.
  int32_t currentLine() const { return line_; }

 private:
  int32_t stepAt(int32_t pos, int32_t line);  // words from a count word to the next
  std::optional<int16_t> beginLine();  // the count word at ReadPos, if a line is there
  template <typename Sink>
  bool readRecord(int16_t count, Sink& sink);  // the pairs, then onto the next count word
  bool readRecordLine(DetectionState& d, const SettingsVariables& s);  // readLine but for an empty line

  std::unique_ptr<std::istream> source_;
  // [1..kReadBufferWords]; [0] unused. Cleared by calloc, which clears only
  // what the system hands out used: a block this size is fresh pages, so a
  // reader costs no page until a block is read into it.
  struct FreeWords {
    void operator()(int16_t* words) const { std::free(words); }
  };
  std::unique_ptr<int16_t[], FreeWords> ReadBuffer;
  BlockReaderState st_;
  int32_t line_ = 1;
  bool firstBlock_ = false;  // the block in the buffer is the file's first
  DamageOnce damage_;
};

#endif  // TINDAVEL_RECORDS_BLOCK_READER_H_
