// How the record readers tell their caller about a damaged file. The readers
// never abort or throw on bad bytes: they report, resynchronise and go on.
#ifndef TINDAVEL_RECORDS_DAMAGE_REPORTER_H_
#define TINDAVEL_RECORDS_DAMAGE_REPORTER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class DamageReporter {
 public:
  virtual ~DamageReporter() = default;
  // `line` is the number of the scan line (from 1) where the damage lies, or 0
  // for the header. `reason` is one of the short texts below; it stays valid
  // for the life of the program.
  virtual void corruption(int64_t line, std::string_view reason) = 0;
};

// The reasons, one per kind of damage. A reader reports each kind at most once
// per opened file, at its first occurrence.
namespace damage {
inline constexpr std::string_view kShortHeader = "file shorter than its header";
inline constexpr std::string_view kNegativeCount = "negative segment count";
inline constexpr std::string_view kCountTooLarge = "segment count above 500";
inline constexpr std::string_view kCutShort = "line cut short at end of file";
inline constexpr std::string_view kOddByte = "odd byte at end of file";
inline constexpr std::string_view kNotANumber = "not a number in text record";
inline constexpr std::string_view kHeaderLine = "edges not both on the first line";
// A text number beyond what 16 bits hold (below -32768 or above 65535): it
// is read by its low 16 bits, as the format says.
inline constexpr std::string_view kOutOfRange = "number out of range";
// Told by openRecording, at line 0: the companion report holds no section of
// a report, so the recording is counted with the default settings.
inline constexpr std::string_view kNotAReport = "report file holds no report sections";
}  // namespace damage

// Remembers which kinds a reader has reported since its file was opened, so
// each is passed on once. The reporter may be null (nobody listens).
class DamageOnce {
 public:
  explicit DamageOnce(DamageReporter* reporter = nullptr) : reporter_(reporter) {}
  void setReporter(DamageReporter* reporter) { reporter_ = reporter; }
  void reset() { seen_ = 0; }
  void report(int64_t line, std::string_view reason);

 private:
  DamageReporter* reporter_;
  uint32_t seen_ = 0;  // one bit per reason in the list above
};

// A reporter that keeps what it is told, for the command line's "damage"
// list and for tests.
struct Damage {
  int64_t line;
  std::string reason;
};

class CollectingDamageReporter : public DamageReporter {
 public:
  void corruption(int64_t line, std::string_view reason) override {
    reports.push_back({line, std::string(reason)});
  }
  int count(std::string_view reason) const {
    int n = 0;
    for (const Damage& d : reports) n += d.reason == reason;
    return n;
  }
  // Line of the first report of `reason`, -1 when there is none.
  int64_t lineOf(std::string_view reason) const {
    for (const Damage& d : reports)
      if (d.reason == reason) return d.line;
    return -1;
  }
  std::vector<Damage> reports;
};

// What the record viewer tells the operator about one kind of damage: a
// plain sentence saying what was skipped and where. Empty for damage that
// loses nothing (an odd last byte, edges split over two text lines).
std::string damageSentence(int64_t line, std::string_view reason);

// Collects a file's damage for the operator: the sentences of the kinds that
// lose or skip data, in the order they were found.
class OperatorDamageReporter : public DamageReporter {
 public:
  void corruption(int64_t line, std::string_view reason) override;
  // The sentences not handed out yet, one a line; empty when there are none.
  std::string takeWarning();

 private:
  std::vector<std::string> pending_;
};

#endif  // TINDAVEL_RECORDS_DAMAGE_REPORTER_H_
