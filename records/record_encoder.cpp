#include "records/record_encoder.h"

#include <bit>
#include <cassert>

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

RecordFileWriter::~RecordFileWriter() {
  if (file_) (void)close();
}

bool RecordFileWriter::open(const std::string& path, RecordKind kind) {
  if (file_) (void)close();
  file_ = std::fopen(path.c_str(), kind == RecordKind::Binary ? "wb" : "w");
  kind_ = kind;
  failed_ = false;
  headerDone_ = false;
  pending_.clear();
  pending_.reserve(kPendingWords + kMaxLineRecordWords);
  return file_ != nullptr;
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
  if (!file_) return false;
  flush();
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

void RecordFileWriter::flushIfFull() {
  // Only ever called after a whole line record, so the text form can start
  // each flush on a record boundary.
  if (pending_.size() >= kPendingWords) flush();
}

void RecordFileWriter::flush() {
  if (!file_ || pending_.empty()) return;
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
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
  pending_.clear();
}
