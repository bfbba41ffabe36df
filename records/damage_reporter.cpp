#include "records/damage_reporter.h"

#include <array>

#include "records/record_format.h"

void DamageOnce::report(int64_t line, std::string_view reason) {
  static constexpr std::array kKinds = {
      damage::kShortHeader, damage::kNegativeCount, damage::kCountTooLarge, damage::kCutShort,
      damage::kOddByte,     damage::kNotANumber,    damage::kHeaderLine,   damage::kNotAReport,
      damage::kOutOfRange};
  for (size_t i = 0; i < kKinds.size(); ++i) {
    if (kKinds[i] == reason) {
      const uint32_t bit = 1u << i;
      if (seen_ & bit) return;
      seen_ |= bit;
      break;
    }
  }
  if (reporter_) reporter_->corruption(line, reason);
}

namespace {

// "Line 1234", or the header for line 0.
std::string where(int64_t line) {
  return line > 0 ? "Line " + std::to_string(line) : std::string("The header of the recording");
}

}  // namespace

std::string damageSentence(int64_t line, std::string_view reason) {
  if (reason == damage::kOddByte || reason == damage::kHeaderLine) return {};
  if (reason == damage::kCutShort) {
    return "The recording ends in the middle of line " + std::to_string(line) +
           "; that line is shown as far as it goes.";
  }
  if (reason == damage::kNegativeCount) {
    return where(line) + " has a negative segment count; it is shown empty, as is any later line like it.";
  }
  if (reason == damage::kCountTooLarge) {
    return where(line) + " claims more than " + std::to_string(kMaxLineSegments) +
           " segments, more than a line can hold; the segments beyond those are left out, here and on any "
           "later line like it.";
  }
  if (reason == damage::kNotANumber) {
    return where(line) +
           " holds text that is not a number; that text is skipped, as is any later text like it.";
  }
  if (reason == damage::kOutOfRange) {
    return where(line) + " holds a number too large for a recording; it is read by its last 16 bits, as is any "
                         "later number like it.";
  }
  if (reason == damage::kNotAReport) {
    return "The report file beside the recording holds none of the sections of a session report; the "
           "recording is counted with the default settings.";
  }
  if (reason == damage::kShortHeader) {
    return "The recording is shorter than its header; it holds no lines to show.";
  }
  return where(line) + " is damaged (" + std::string(reason) +
         "); the recording is shown as far as it can be read.";
}

void OperatorDamageReporter::corruption(int64_t line, std::string_view reason) {
  std::string sentence = damageSentence(line, reason);
  if (!sentence.empty()) pending_.push_back(std::move(sentence));
}

std::string OperatorDamageReporter::takeWarning() {
  std::string text;
  for (const std::string& sentence : pending_) {
    if (!text.empty()) text += '\n';
    text += sentence;
  }
  pending_.clear();
  return text;
}
