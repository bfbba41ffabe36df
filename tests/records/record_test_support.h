// Helpers shared by the record file tests: a reporter that collects what it is
// told, and in-memory files.
#ifndef TINDAVEL_TESTS_RECORDS_RECORD_TEST_SUPPORT_H_
#define TINDAVEL_TESTS_RECORDS_RECORD_TEST_SUPPORT_H_

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "records/damage_reporter.h"

struct Damage {
  int64_t line;
  std::string reason;
};

class CollectingReporter : public DamageReporter {
 public:
  void corruption(int64_t line, std::string_view reason) override {
    reports.push_back({line, std::string(reason)});
  }
  int count(std::string_view reason) const {
    int n = 0;
    for (const Damage& d : reports) n += d.reason == reason;
    return n;
  }
  int64_t lineOf(std::string_view reason) const {
    for (const Damage& d : reports)
      if (d.reason == reason) return d.line;
    return -1;
  }
  std::vector<Damage> reports;
};

inline std::unique_ptr<std::istream> memoryFile(std::string bytes) {
  return std::make_unique<std::istringstream>(std::move(bytes), std::ios::binary);
}

#endif  // TINDAVEL_TESTS_RECORDS_RECORD_TEST_SUPPORT_H_
