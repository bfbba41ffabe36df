#include "records/record_encoder.h"

#include <bit>
#include <cassert>

#include "settings/output_file.h"

namespace {

// Words a writer keeps before it writes them out: about 128 KB.
constexpr size_t kPendingWords = 65536;

void appendWordBytes(std::string& out, int16_t word) {
  const auto u = static_cast<uint16_t>(word);
  out.push_back(static_cast<char>(u & 0xFF));
  out.push_back(static_cast<char>(u >> 8));
}

// Text form of `words`; when `withHeader`, the first two words are the header
// line. Every line record ends its text line.
void appendText(std::string& out, std::span<const int16_t> words, bool withHeader) {
  size_t i = 0;
  if (withHeader) {
    for (; i < words.size() && i < kHeaderWords; ++i) {
      if (i > 0) out += ' ';
      out += std::to_string(words[i]);
    }
    out += '\n';
  }
  while (i < words.size()) {
    const int count = words[i];
    size_t end = i + 1 + (count > 0 ? 2 * static_cast<size_t>(count) : 0);
    if (end > words.size()) end = words.size();
    for (size_t k = i; k < end; ++k) {
      if (k > i) out += ' ';
      out += std::to_string(words[k]);
    }
    out += '\n';
    i = end;
  }
}

}  // namespace

void appendHeader(std::vector<int16_t>& words, int32_t leftEdge, int32_t rightEdge) {
  words.push_back(low16(leftEdge));
  words.push_back(low16(rightEdge));
}

void appendLineRecord(std::vector<int16_t>& words, std::span<const SegmentPair> segments) {
  assert(segments.size() <= static_cast<size_t>(kMaxLineSegments));
  words.push_back(low16(static_cast<int32_t>(segments.size())));
  for (const SegmentPair& s : segments) {
    words.push_back(low16(s.Start));
    words.push_back(low16(s.End));
  }
}

void appendSamplingMarker(std::vector<int16_t>& words, int32_t leftEdge, int32_t rightEdge) {
  words.push_back(0);
  words.push_back(1);
  words.push_back(low16(leftEdge));
  words.push_back(low16(rightEdge));
  words.push_back(0);
}

std::string encodeBinary(std::span<const int16_t> words) {
  std::string out;
  out.reserve(2 * words.size());
  for (int16_t w : words) appendWordBytes(out, w);
  return out;
}

std::string encodeText(std::span<const int16_t> words) {
  std::string out;
  appendText(out, words, true);
  return out;
}

RecordFileWriter::RecordFileWriter() = default;

RecordFileWriter::~RecordFileWriter() = default;

void RecordFileWriter::start(OutputFile& out, RecordKind kind) {
  out_ = &out;
  kind_ = kind;
  headerDone_ = false;
  pending_.clear();
  pending_.reserve(kPendingWords + kMaxLineRecordWords);
}

bool RecordFileWriter::open(const std::string& path, RecordKind kind) {
  own_ = std::make_unique<OutputFile>();
  out_ = nullptr;
  if (!own_->open(path)) return false;
  start(*own_, kind);
  return true;
}

void RecordFileWriter::openInto(OutputFile& out, RecordKind kind) {
  own_.reset();
  start(out, kind);
}

std::string RecordFileWriter::error() const {
  if (out_) return out_->error();
  return own_ ? own_->error() : std::string();
}

void RecordFileWriter::header(int32_t leftEdge, int32_t rightEdge) {
  appendHeader(pending_, leftEdge, rightEdge);
}

void RecordFileWriter::line(std::span<const SegmentPair> segments) {
  appendLineRecord(pending_, segments);
  flushIfFull();
}

void RecordFileWriter::samplingMarker(int32_t leftEdge, int32_t rightEdge) {
  appendSamplingMarker(pending_, leftEdge, rightEdge);
  flushIfFull();
}

bool RecordFileWriter::close() {
  if (!out_) return false;
  flush();
  OutputFile* out = out_;
  out_ = nullptr;
  if (out == own_.get()) return out->commit();
  return !out->failed();
}

void RecordFileWriter::flushIfFull() {
  // Only ever called after a whole line record, so the text form can start
  // each flush on a record boundary.
  if (pending_.size() >= kPendingWords) flush();
}

void RecordFileWriter::flush() {
  if (!out_ || pending_.empty()) return;
  std::string bytes;
  if (kind_ == RecordKind::Binary) {
    if constexpr (std::endian::native == std::endian::little) {
      bytes.assign(reinterpret_cast<const char*>(pending_.data()), 2 * pending_.size());
    } else {
      bytes = encodeBinary(pending_);
    }
  } else {
    appendText(bytes, pending_, !headerDone_);
    headerDone_ = true;
  }
  out_->write(bytes);
  pending_.clear();
}
