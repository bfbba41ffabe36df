// Low-level encoding of record files (format in records/record_format.h): the
// words of a header, a line record and the sampling marker, their binary and
// text forms, and a streaming file writer for long synthetic recordings.
// The recording writer of the main window (records/recording_writer.h) is the
// program's own operation with its buffer, limit and timer; this is the plain
// format underneath it, for tools and tests.
#ifndef TINDAVEL_RECORDS_RECORD_ENCODER_H_
#define TINDAVEL_RECORDS_RECORD_ENCODER_H_

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "records/record_format.h"

class OutputFile;

// Appends the two header words: low 16 bits of the edges.
void appendHeader(std::vector<int16_t>& words, int32_t leftEdge, int32_t rightEdge);
// Appends one line record: the count, then Start, End of every segment (low
// 16 bits each). At most kMaxLineSegments segments; tests that need a damaged
// record push its words themselves.
void appendLineRecord(std::vector<int16_t>& words, std::span<const SegmentPair> segments);
// Appends the sampling marker 0, 1, LeftEdge, RightEdge, 0.
void appendSamplingMarker(std::vector<int16_t>& words, int32_t leftEdge, int32_t rightEdge);

// The bytes of a binary record file holding `words` (little-endian).
std::string encodeBinary(std::span<const int16_t> words);
// A text record file holding `words`: the two header words on the first line,
// then one line record per text line ("N s1 e1 s2 e2 ...", blank-separated).
// A count word that promises more words than there are, or a negative one,
// just ends its text line; the numbers are written as they are.
std::string encodeText(std::span<const int16_t> words);

// Writes a record file of either kind piece by piece, buffering a bounded
// number of words, so recordings of any length are written in constant memory.
// The file is an output file (settings/output_file.h): it replaces what was
// there only when close() succeeds.
class RecordFileWriter {
 public:
  RecordFileWriter();
  ~RecordFileWriter();  // drops a file not closed: the old one stays
  RecordFileWriter(const RecordFileWriter&) = delete;
  RecordFileWriter& operator=(const RecordFileWriter&) = delete;

  // Readies the file `path`. False when it cannot be made (error() says why).
  [[nodiscard]] bool open(const std::string& path, RecordKind kind);
  // Writes into `out`, opened by the caller, who also commits it (with the
  // files that belong with it); close() then only writes what is waiting.
  void openInto(OutputFile& out, RecordKind kind);
  void header(int32_t leftEdge, int32_t rightEdge);
  void line(std::span<const SegmentPair> segments);
  void samplingMarker(int32_t leftEdge, int32_t rightEdge);
  // Writes what is waiting and, for a file of open(), puts it in place.
  // False if anything failed since open.
  [[nodiscard]] bool close();
  bool isOpen() const { return out_ != nullptr; }
  // Why the file could not be written; empty while all is well.
  std::string error() const;

 private:
  void start(OutputFile& out, RecordKind kind);
  void flushIfFull();
  void flush();

  std::unique_ptr<OutputFile> own_;  // the file of open()
  OutputFile* out_ = nullptr;         // where the words go
  RecordKind kind_ = RecordKind::Binary;
  bool headerDone_ = false;  // text form: the header has its own line
  std::vector<int16_t> pending_;  // words not yet written
};

#endif  // TINDAVEL_RECORDS_RECORD_ENCODER_H_
