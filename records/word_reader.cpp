#include "records/word_reader.h"

#include <algorithm>
#include <fstream>

#include "records/line_record.h"
#include "settings/regular_file.h"
#include "settings/settings_variables.h"

namespace {

constexpr int kEof = std::char_traits<char>::eof();

bool isSeparator(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isLineEnd(int c) { return c == '\n' || c == '\r'; }

// The magnitude a number written may have before it no longer fits 16 bits:
// 65535 as a positive value (a word written unsigned), 32768 as a negative one.
constexpr uint32_t kLargestPositive = 0xFFFF;
constexpr uint32_t kLargestNegative = 0x8000;
// Digits are counted up to this much; past it a number is out of range
// however long it goes on.
constexpr uint32_t kMagnitudeCap = 0x100000;

}  // namespace

bool WordReader::open(const std::string& path) {
  auto file = std::make_unique<std::ifstream>();
  if (openRegularFile(path, *file) != FileProblem::kNone) {
    close();
    return false;
  }
  attach(std::move(file), recordKindForPath(path));
  return true;
}

void WordReader::attach(std::unique_ptr<std::istream> source, RecordKind kind) {
  source_ = std::move(source);
  kind_ = kind;
  peeked_.reset();
  line_ = 0;
  walkLine_ = 0;
  walkLeft_ = 0;
  wordLine_ = 0;
  damage_.reset();
}

void WordReader::close() {
  source_.reset();
  peeked_.reset();
  line_ = 0;
}

std::optional<int16_t> WordReader::readBinaryWord() {
  std::streambuf* buf = source_->rdbuf();
  const int lo = buf->sbumpc();
  if (lo == kEof) return std::nullopt;
  const int hi = buf->sbumpc();
  if (hi == kEof) {
    damage_.report(walkLine_, damage::kOddByte);
    return std::nullopt;
  }
  return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

std::optional<int16_t> WordReader::readTextNumber(bool* crossedLine) {
  // Parsed by hand rather than with >> or from_chars: a number of any length
  // keeps its low 16 bits (the value modulo 65536), which those would refuse
  // as out of range, and a bad token must be skipped, not stop the stream.
  std::streambuf* buf = source_->rdbuf();
  bool newLine = false;  // a line break since the word before
  largeNumber_ = false;
  for (;;) {
    int c = buf->sgetc();
    while (isSeparator(c)) {
      if (isLineEnd(c)) newLine = true;
      c = buf->snextc();
    }
    if (newLine && crossedLine) *crossedLine = true;
    if (c == kEof) return std::nullopt;
    bool negative = false;
    if (c == '-' || c == '+') {
      negative = c == '-';
      c = buf->snextc();
    }
    uint32_t value = 0;
    uint32_t magnitude = 0;  // the number as written, up to kMagnitudeCap
    int digits = 0;
    while (c >= '0' && c <= '9') {
      value = (value * 10 + static_cast<uint32_t>(c - '0')) & 0xFFFFu;
      magnitude = std::min(magnitude * 10 + static_cast<uint32_t>(c - '0'), kMagnitudeCap);
      ++digits;
      c = buf->snextc();
    }
    if (digits > 0 && (c == kEof || isSeparator(c))) {
      if (magnitude > (negative ? kLargestNegative : kLargestPositive)) damage_.report(wordLine_, damage::kOutOfRange);
      largeNumber_ = !negative && magnitude > 0x7FFF;
      if (negative) value = (0x10000u - value) & 0xFFFFu;
      return static_cast<int16_t>(static_cast<uint16_t>(value));
    }
    // Not a number: skip the rest of the token and try the next one. Between
    // two records it belongs to the one whose text line it stands on.
    const bool onPreviousLine = wordLine_ > walkLine_ && walkLine_ > 0 && !newLine;
    damage_.report(onPreviousLine ? walkLine_ : wordLine_, damage::kNotANumber);
    while (c != kEof && !isSeparator(c)) c = buf->snextc();
  }
}

void WordReader::skipRestOfLine() {
  std::streambuf* buf = source_->rdbuf();
  for (int c = buf->sgetc(); c != kEof; c = buf->snextc()) {
    if (isLineEnd(c)) {
      if (buf->sbumpc() == '\r' && buf->sgetc() == '\n') buf->sbumpc();
      return;
    }
  }
}

bool WordReader::readHeader(int16_t& leftEdge, int16_t& rightEdge) {
  if (!source_) return false;
  peeked_.reset();
  std::optional<int16_t> left, right;
  if (kind_ == RecordKind::Text) {
    bool crossed = false;
    left = readTextNumber();
    if (left) right = readTextNumber(&crossed);
    if (right) {
      if (crossed) damage_.report(0, damage::kHeaderLine);
      skipRestOfLine();
    }
  } else {
    left = readBinaryWord();
    if (left) right = readBinaryWord();
  }
  if (!right) {
    damage_.report(0, damage::kShortHeader);
    return false;
  }
  leftEdge = *left;
  rightEdge = *right;
  return true;
}

std::optional<int16_t> WordReader::nextWord() {
  if (peeked_) {
    const int16_t w = *peeked_;
    peeked_.reset();
    return w;
  }
  if (!source_) return std::nullopt;
  return readWord();
}

std::optional<int16_t> WordReader::readWord() {
  // A word read between records is the count word of the next line.
  const bool countWord = walkLeft_ == 0;
  wordLine_ = countWord ? walkLine_ + 1 : walkLine_;
  std::optional<int16_t> w = kind_ == RecordKind::Text ? readTextNumber() : readBinaryWord();
  largeCount_ = false;
  if (!w) return w;
  if (countWord && kind_ == RecordKind::Text && largeNumber_) {
    // Written above 32767, read as a negative word: an empty line as the
    // format has it, but what the writer meant was a count above the limit.
    // Written above 65535 its low 16 bits may read as a small count; it is an
    // empty line all the same, so that the words after it are walked as the
    // next lines, as every reader of the text (and its binary copy) walks them.
    largeCount_ = true;
    damage_.report(walkLine_ + 1, damage::kCountTooLarge);
    w = int16_t{0};
  }
  if (countWord) {
    ++walkLine_;
    walkLeft_ = 2 * pairsOfCount(*w);
  } else {
    --walkLeft_;
  }
  return w;
}

bool WordReader::atEnd() {
  if (!peeked_) peeked_ = nextWord();
  return !peeked_;
}

// Reads the line record that starts at the next word, handing its pairs to
// `sink`; returns its count word, or nothing at the end of the file.
template <typename Sink>
std::optional<int16_t> WordReader::readRecord(Sink& sink) {
  const std::optional<int16_t> count = nextWord();
  if (!count) return std::nullopt;
  ++line_;
  if (!largeCount_) checkCount(*count, line_, damage_);
  if (!readPairs(*count, [this] { return nextWord(); }, sink)) {
    damage_.report(line_, damage::kCutShort);
  }
  sink.finish();
  return count;
}

std::optional<int16_t> WordReader::skipLine() {
  struct Discard {
    void operator()(int32_t, int32_t, int32_t) {}
    void finish() {}
  } discard;
  return readRecord(discard);
}

bool WordReader::readRawLine(DetectionState& d) {
  RawSegmentSink sink(d);
  return readRecord(sink).has_value();
}

bool WordReader::readLine(DetectionState& d, const SettingsVariables& s) {
  PreparingSegmentSink sink(d, s);
  if (!readRecord(sink)) return false;
  ++d.LineCounter;
  return true;
}
