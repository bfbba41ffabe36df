// Fuzz target: a binary record file (".blb") through the block reader, the
// segment preparation and the whole re-count (recount_fuzz.h), then through
// the bare reader's raw line reads. Input: options byte, then the file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "analysis/detection_state.h"
#include "records/block_reader.h"
#include "records/damage_reporter.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/recount_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  fuzz::recountOne(data, size, "record.blb");

  // The raw reads the engine does not use: every line as stored, no more
  // pairs than the table holds. The reader's buffer is allocated once.
  static BlockReader reader;
  DetectionState* const d = &fuzz::freshDetection();
  CollectingDamageReporter damage;
  reader.setDamageReporter(&damage);
  reader.attach(std::make_unique<std::istringstream>(std::string(reinterpret_cast<const char*>(data + 1), size - 1)));
  const int32_t lines = reader.fjoldilinaiskra();
  reader.restartbuffer();
  int32_t read = 0;
  while (reader.readRawLine(*d)) {
    fuzz::check(d->SegmentCount >= 0 && d->SegmentCount <= kMaxSegments, "raw line within the table");
    ++read;
  }
  fuzz::check(read == lines, "the raw reads find the lines the count found");
  reader.close();
  reader.setDamageReporter(nullptr);
  return 0;
}
