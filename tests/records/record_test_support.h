// Helpers shared by the record file tests: the collecting reporter under a
// short name, and in-memory files.
#ifndef TINDAVEL_TESTS_RECORDS_RECORD_TEST_SUPPORT_H_
#define TINDAVEL_TESTS_RECORDS_RECORD_TEST_SUPPORT_H_

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "records/damage_reporter.h"

using CollectingReporter = CollectingDamageReporter;

inline std::unique_ptr<std::istream> memoryFile(std::string bytes) {
  return std::make_unique<std::istringstream>(std::move(bytes), std::ios::binary);
}

#endif  // TINDAVEL_TESTS_RECORDS_RECORD_TEST_SUPPORT_H_
