#include "records/recording_writer.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <ctime>
#include <filesystem>
#include <vector>

#include "analysis/detection_state.h"
#include "settings/settings_variables.h"

namespace {

// Characters of the tank text that go into a name.
constexpr int kTankNameChars = 15;

// The first `count` characters of UTF-8 text (a character is a lead byte with
// its continuation bytes, so no character is cut in half).
std::string firstCharacters(const std::string& text, int count) {
  size_t end = 0;
  int seen = 0;
  while (end < text.size()) {
    const auto byte = static_cast<unsigned char>(text[end]);
    const bool continuation = (byte & 0xC0) == 0x80;
    if (!continuation && seen == count) break;
    if (!continuation) ++seen;
    ++end;
  }
  return text.substr(0, end);
}

// A tank text as part of a file name: characters that would leave the report
// folder or that no file name may hold become "_".
std::string fileNameSafe(std::string text) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
        c == '<' || c == '>' || c == '|') {
      c = '_';
    }
  }
  return text;
}

std::string dateText(const std::chrono::year_month_day& date) {
  char text[16];
  (void)std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

bool exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::path(path), ec);
}

}  // namespace

std::chrono::year_month_day localToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                     std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                     std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

RecordingWriter::RecordingWriter(RecordingMessages* messages)
    : messages_(messages), RecordBuffer(new int16_t[kRecordBufferWords]()) {}

RecordingWriter::~RecordingWriter() {
  if (RecordFile) {
    messages_ = nullptr;
    HaettaSkraninguISkra();
  }
}

const std::string& RecordingWriter::NafnAMaelingu(const RecordingRequest& request) {
  std::string name = request.reportpath + dateText(request.today);
  if (!request.EditTank.empty()) {
    name += "_" + fileNameSafe(firstCharacters(request.EditTank, kTankNameChars));
  }
  // A record file without its report (a session that never ended) also takes
  // its number: the new recording must not truncate it.
  int n = 0;
  while (exists(name + "_" + std::to_string(n) + std::string(kReportExtension)) ||
         exists(name + "_" + std::to_string(n) + std::string(kBinaryExtension))) {
    ++n;
  }
  measurementName_ = name + "_" + std::to_string(n) + std::string(kReportExtension);
  return measurementName_;
}

void RecordingWriter::UndirbuaUpptoku(const RecordingRequest& request, const SettingsVariables& s) {
  // Stop a recording that is still open first, so its waiting words are kept.
  if (RecordFile) HaettaSkraninguISkra();
  failed_ = false;
  NafnAMaelingu(request);
  recordPath_ = measurementName_.substr(0, measurementName_.size() - kReportExtension.size()) +
                std::string(kBinaryExtension);
  RecordFile = createFile(recordPath_);
  if (!RecordFile) fail("Cannot create the record file " + recordPath_ + "; nothing is recorded.");
  recordWords_ = 0;
  append(low16(s.LeftEdge));
  append(low16(s.RightEdge));
  if (request.Recordmethod == kRecordContinuous) samplingOn_ = true;
  if (request.Recordmethod == kRecordSampling) {
    rectimer_.Enabled = true;
    rectimer_.IntervalMs = kFirstTickMs;  // the first sample begins a second from now
  }
}

void RecordingWriter::skraiskra(const DetectionState& d) {
  if (recordWords_ > kRecordFlushLimit) {
    if (samplingOn_) samfeldskraning();
    return;  // the line is not recorded in either case
  }
  assert(d.SegmentCount >= 0 && d.SegmentCount <= kMaxLineSegments);
  const int32_t count = std::clamp(d.SegmentCount, 0, kMaxLineSegments);
  append(low16(count));
  for (int32_t i = 1; i <= count; ++i) {
    append(low16(d.Segments[i].Start));
    append(low16(d.Segments[i].End));
  }
}

void RecordingWriter::rectimerTimer(const SettingsVariables& s) {
  if (samplingOn_) {
    rectimer_.IntervalMs = kPauseMs;
    // The limit leaves room for many markers; only a sampling run left for
    // weeks without a single line could use it up.
    if (recordWords_ + kSamplingMarkerWords > kRecordBufferWords) samfeldskraning();
    append(0);
    append(1);
    append(low16(s.LeftEdge));
    append(low16(s.RightEdge));
    append(0);
  } else {
    rectimer_.IntervalMs = kSampleMs;
  }
  samplingOn_ = !samplingOn_;
}

void RecordingWriter::samfeldskraning() {
  const int32_t words = recordWords_;
  recordWords_ = 0;
  if (!RecordFile || words == 0) return;
  const int16_t* data = RecordBuffer.get();
  std::vector<int16_t> swapped;
  if constexpr (std::endian::native == std::endian::big) {
    swapped.assign(data, data + words);
    for (int16_t& w : swapped) {
      const auto u = static_cast<uint16_t>(w);
      w = static_cast<int16_t>(static_cast<uint16_t>((u >> 8) | (u << 8)));
    }
    data = swapped.data();
  }
  const size_t bytes = 2 * static_cast<size_t>(words);
  // Flushed at once so that a full disk shows here, not at some later close.
  if (std::fwrite(data, 1, bytes, RecordFile) != bytes || std::fflush(RecordFile) != 0) {
    fail("Writing the record file " + recordPath_ +
         " failed (is the disk full?); the rest of this recording is not saved.");
    closeFile(false);
  }
}

void RecordingWriter::HaettaSkraninguISkra() {
  rectimer_.Enabled = false;
  samplingOn_ = false;
  samfeldskraning();
  closeFile(true);
}

void RecordingWriter::RecordonchkClick(const RecordingRequest& request,
                                       const SettingsVariables& s, bool sessionRunning) {
  if (!sessionRunning) return;
  if (request.Recordmethod == kRecordSampling || request.Recordmethod == kRecordContinuous) {
    UndirbuaUpptoku(request, s);
  } else {
    samplingOn_ = false;
    rectimer_.Enabled = false;
  }
}

std::FILE* RecordingWriter::createFile(const std::string& path) {
  return std::fopen(path.c_str(), "wb");
}

void RecordingWriter::fail(const std::string& message) {
  if (failed_) return;
  failed_ = true;
  if (messages_) messages_->recordingFailed(message);
}

void RecordingWriter::closeFile(bool reportFailure) {
  if (!RecordFile) return;
  const bool closed = std::fclose(RecordFile) == 0;
  RecordFile = nullptr;
  if (!closed && reportFailure) {
    fail("Writing the record file " + recordPath_ +
         " failed (is the disk full?); the end of this recording is not saved.");
  }
}
