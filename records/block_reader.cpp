#include "records/block_reader.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <fstream>
#include <new>

#include "records/line_record.h"
#include "settings/regular_file.h"
#include "settings/settings_variables.h"

namespace {

// Only big-endian machines call it (the file is little-endian).
[[maybe_unused]] int16_t byteSwapped(int16_t w) {
  const auto u = static_cast<uint16_t>(w);
  return static_cast<int16_t>(static_cast<uint16_t>((u >> 8) | (u << 8)));
}

// The first position from `from` to `last` whose word is not 0, or last + 1.
// Between fish nearly every line is the single word 0, so the words are
// tested four at a time.
int32_t endOfZeros(const int16_t* words, int32_t from, int32_t last) {
  int32_t p = from;
  for (; p + 3 <= last; p += 4) {
    uint64_t four;
    std::memcpy(&four, &words[p], sizeof four);
    if (four != 0) break;
  }
  while (p <= last && words[p] == 0) ++p;
  return p;
}

}  // namespace

BlockReader::BlockReader()
    : ReadBuffer(static_cast<int16_t*>(std::calloc(kReadBufferWords + 1, sizeof(int16_t)))) {
  if (!ReadBuffer) throw std::bad_alloc();
}

bool BlockReader::open(const std::string& path) {
  auto file = std::make_unique<std::ifstream>();
  if (openRegularFile(path, *file) != FileProblem::kNone) {
    close();
    return false;
  }
  attach(std::move(file));
  return true;
}

void BlockReader::attach(std::unique_ptr<std::istream> source) {
  source_ = std::move(source);
  damage_.reset();
  restartbuffer();
}

void BlockReader::close() {
  source_.reset();
  st_ = BlockReaderState{};
  st_.EndOfData = true;
  line_ = 1;
}

int16_t BlockReader::word(int32_t pos) const {
  assert(pos >= 1 && pos <= st_.BufferFill);
  return ReadBuffer[pos];
}

int32_t BlockReader::stepAt(int32_t pos, int32_t line) {
  const int16_t count = ReadBuffer[pos];
  checkCount(count, line, damage_);
  return recordWordsOfCount(count);
}

void BlockReader::restartbuffer() {
  st_ = BlockReaderState{};
  line_ = 1;
  firstBlock_ = true;
  if (!source_) {
    st_.EndOfData = true;
    return;
  }
  source_->clear();
  source_->seekg(0);
  lesa();
}

void BlockReader::lesa() {
  int32_t bytes = 0;
  if (source_) {
    source_->read(reinterpret_cast<char*>(&ReadBuffer[1]), kReadBlockBytes);
    bytes = static_cast<int32_t>(source_->gcount());
  }
  st_.BufferFill = bytes / 2;
  if constexpr (std::endian::native == std::endian::big) {
    for (int32_t i = 1; i <= st_.BufferFill; ++i) ReadBuffer[i] = byteSwapped(ReadBuffer[i]);
  }
  const bool lastData = st_.BufferFill < kReadBufferWords;
  const bool wasFirst = firstBlock_;
  firstBlock_ = false;

  int32_t p = st_.WindowPos;
  int32_t line = st_.WindowLine;
  const int32_t fill = st_.BufferFill;
  if (p <= fill) {
    // Walk the count words while the next line's count word lies in this
    // block. A run of empty lines (count words 0, each a record of one word)
    // is taken at once.
    int32_t next;
    for (;;) {
      if (ReadBuffer[p] == 0) {
        const int32_t end = endOfZeros(ReadBuffer.get(), p + 1, fill);
        line += end - 1 - p;
        p = end - 1;
        next = end;
      } else {
        next = p + stepAt(p, line);
      }
      if (next > fill) break;
      p = next;
      ++line;
    }
    st_.LastPos = p;
    st_.LastLine = line;
    if (lastData && next > st_.BufferFill + 1) damage_.report(line, damage::kCutShort);
  } else {
    // No count word lies in this block: the line before it filled the last
    // block to its end (or ran past it), or the file has no line at all.
    st_.LastPos = p;
    st_.LastLine = line - 1;
    if (wasFirst && st_.BufferFill < kHeaderWords) {
      damage_.report(0, damage::kShortHeader);
    } else if (p > st_.BufferFill + 1 && line > 1) {
      // Only a short block can lack a count word (a record is far shorter
      // than a block), so the record of the line before ends past the data.
      damage_.report(line - 1, damage::kCutShort);
    }
  }
  if (bytes % 2 != 0) damage_.report(st_.LastLine, damage::kOddByte);
  // A read that delivers nothing (the file's length is an exact multiple of
  // the block) ends the data at once: the buffer holds only stale words.
  if (st_.BufferFill == 0) st_.EndOfData = true;
  st_.ReadPos = 0;
}

void BlockReader::lesabuffer() {
  if (st_.EndOfData) return;
  if (st_.LastPos <= st_.BufferFill) {
    st_.WindowPos = st_.LastPos + recordWordsOfCount(ReadBuffer[st_.LastPos]) - kReadBufferWords;
  } else {
    st_.WindowPos -= st_.BufferFill;
  }
  st_.WindowLine = st_.LastLine + 1;
  st_.EndOfData = st_.BufferFill != kReadBufferWords;
  if (!st_.EndOfData) lesa();
}

int32_t BlockReader::fjoldilinaiskra() {
  restartbuffer();
  while (!st_.EndOfData) lesabuffer();
  return st_.LastLine;
}

std::optional<int16_t> BlockReader::nextWord() {
  if (st_.ReadPos == st_.BufferFill) lesabuffer();  // sets ReadPos to 0 if it read a block
  if (st_.ReadPos >= st_.BufferFill) {
    st_.ReadPos = st_.BufferFill + 1;  // past the data; never read there
    return std::nullopt;
  }
  return ReadBuffer[++st_.ReadPos];
}

bool BlockReader::seekLine(int32_t line) {
  if (line < 1) return false;
  if (line < st_.WindowLine) restartbuffer();
  while (line > st_.LastLine && !st_.EndOfData) lesabuffer();
  if (line > st_.LastLine || line < st_.WindowLine) {
    st_.ReadPos = st_.BufferFill + 1;
    return false;
  }
  int32_t pos = st_.WindowPos;
  for (int32_t l = st_.WindowLine; l < line; ++l) pos += recordWordsOfCount(ReadBuffer[pos]);
  st_.ReadPos = pos;
  line_ = line;
  return true;
}

std::optional<int16_t> BlockReader::beginLine() {
  if (st_.ReadPos == 0) {
    st_.ReadPos = st_.WindowPos;
    line_ = st_.WindowLine;
  }
  if (st_.ReadPos > st_.BufferFill) {
    // Past the data: make sure EndOfData says so to a caller that loops on it.
    while (!st_.EndOfData) lesabuffer();
    return std::nullopt;
  }
  const int16_t count = ReadBuffer[st_.ReadPos];
  checkCount(count, line_, damage_);
  return count;
}

// Hands the pairs of the record whose count word is at ReadPos to `sink` and
// leaves ReadPos on the next line's count word. False when cut short.
template <typename Sink>
bool BlockReader::readRecord(int16_t count, Sink& sink) {
  const int32_t pairs = pairsOfCount(count);
  const int32_t next = st_.ReadPos + 2 * pairs + 1;
  bool complete = true;
  if (next <= st_.BufferFill) {
    // The usual case: the record and the next count word lie in this block,
    // so the pairs are taken straight from the buffer, without the word
    // advance's checks for every word.
    const int16_t* w = &ReadBuffer[st_.ReadPos + 1];
    for (int32_t i = 1; i <= pairs; ++i, w += 2) sink(i, int32_t{w[0]}, int32_t{w[1]});
    st_.ReadPos = next;
  } else {
    complete = readPairs(count, [this] { return nextWord(); }, sink);
    (void)nextWord();  // onto the next line's count word
  }
  sink.finish();
  if (!complete) damage_.report(line_, damage::kCutShort);
  ++line_;
  return complete;
}

int32_t BlockReader::readEmptyLines(DetectionState& d, int32_t limit) {
  const int32_t pos = st_.ReadPos;
  if (pos < 1 || limit < 1) return 0;  // nothing positioned yet: readLine starts the block
  // Each empty line at p needs the next count word, p + 1, in the block.
  const auto last = static_cast<int32_t>(std::min<int64_t>(int64_t{pos} + limit, st_.BufferFill) - 1);
  const int32_t n = endOfZeros(ReadBuffer.get(), pos, last) - pos;
  st_.ReadPos = pos + n;
  line_ += n;
  if (n > 0) {
    d.SegmentCount = 0;
    d.CurrentChannel = 1;
    d.LineCounter += n;
  }
  return n;
}

bool BlockReader::readRawLine(DetectionState& d) {
  const int32_t pos = st_.ReadPos;
  if (pos >= 1 && pos < st_.BufferFill && ReadBuffer[pos] == 0) [[likely]] {
    // An empty line whose next count word lies in this block.
    st_.ReadPos = pos + 1;
    ++line_;
    d.SegmentCount = 0;
    return true;
  }
  const std::optional<int16_t> count = beginLine();
  if (!count) return false;
  RawSegmentSink sink(d);
  readRecord(*count, sink);
  return true;
}

bool BlockReader::readRecordLine(DetectionState& d, const SettingsVariables& s) {
  const std::optional<int16_t> count = beginLine();
  if (!count) return false;
  // The pairs go straight through the segment preparation as they are read.
  PreparingSegmentSink sink(d, s);
  readRecord(*count, sink);
  ++d.LineCounter;
  return true;
}
