// Fuzz target: a text record file (".bla") through the word reader, the
// segment preparation and the whole re-count (recount_fuzz.h), then through
// the bare word reader, whose line reads and line skips must walk the same
// records. Input: options byte, then the file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "analysis/detection_state.h"
#include "records/damage_reporter.h"
#include "records/word_reader.h"
#include "settings/settings_variables.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/recount_fuzz.h"

namespace {

std::unique_ptr<WordReader> textReader(const std::string& bytes, DamageReporter* damage) {
  auto reader = std::make_unique<WordReader>();
  reader->setDamageReporter(damage);
  reader->attach(std::make_unique<std::istringstream>(bytes), RecordKind::Text);
  return reader;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  fuzz::recountOne(data, size, "record.bla");

  DetectionState* const d = &fuzz::freshDetection();
  SettingsVariables s;
  s.NrChannels = 1 + (data[0] & 3);
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  CollectingDamageReporter damage;
  int16_t left = 0;
  int16_t right = 0;

  const auto reading = textReader(bytes, &damage);
  int64_t read = 0;
  if (reading->readHeader(left, right)) {
    while (reading->readLine(*d, s)) {
      fuzz::check(d->SegmentCount >= 0 && d->SegmentCount <= kMaxSegments, "prepared line within the table");
      ++read;
    }
  }
  fuzz::check(reading->linesRead() == read, "linesRead counts the lines read");

  const auto skipping = textReader(bytes, nullptr);
  int64_t skipped = 0;
  if (skipping->readHeader(left, right)) {
    while (skipping->skipLine()) ++skipped;
  }
  fuzz::check(skipped == read, "skipping walks the records reading walks");
  return 0;
}
