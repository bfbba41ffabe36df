// Shared pieces of the fuzz targets: a scratch folder of the process's own
// for the readers that take a path, a stream that swallows what it is told,
// and a check that stops the run when an invariant breaks (libFuzzer keeps
// the input that stopped it).
#ifndef TINDAVEL_TESTS_FUZZ_FUZZ_SUPPORT_H_
#define TINDAVEL_TESTS_FUZZ_FUZZ_SUPPORT_H_

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <system_error>

#include "analysis/detection_state.h"

namespace fuzz {

// Stops the run, naming the broken invariant. Not assert: fuzz builds may
// define NDEBUG.
inline void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}

// A folder made once per process under the temporary folder, so parallel
// runs (libFuzzer -jobs, two targets at once) never share a file.
inline const std::filesystem::path& scratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tindavel-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    return std::filesystem::path(pattern);
  }();
  return folder;
}

// The full path of `name` in the scratch folder.
inline std::string scratchPath(const std::string& name) { return (scratchFolder() / name).string(); }

// Writes `bytes` to `name` in the scratch folder; returns the full path.
// Unbuffered C I/O: one write, and no stream buffer made and freed per input.
inline std::string writeScratchFile(const std::string& name, std::string_view bytes) {
  std::string path = scratchPath(name);
  std::FILE* out = std::fopen(path.c_str(), "wb");
  check(out != nullptr, "scratch file opened");
  std::setvbuf(out, nullptr, _IONBF, 0);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  check(std::fclose(out) == 0 && written, "scratch file written");
  return path;
}

// An output stream that accepts and drops everything, so trace lines are
// formatted (their code runs) without a file growing.
class NullStream : public std::ostream {
 public:
  NullStream() : std::ostream(&buffer_) {}

 private:
  struct Discard : std::streambuf {
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  };
  Discard buffer_;
};

// The detection state of the process, put back for each input to what a
// new one holds: its pool (18 MB) is made once, as the program makes it,
// instead of once per input.
inline DetectionState& freshDetection() {
  static const auto state = std::make_unique<DetectionState>();
  DetectionState& d = *state;
  // Taken on the first call, while the state is new.
  static const ChannelWidthConstants defaults{d.LengthDivisor, d.AngleThreshold, d.AreaFactor};
  d.clearLines();
  d.ObjectTotal = 0;
  d.CurrentChannel = 1;
  d.LineCounter = 0;
  for (ChannelArray<int32_t>* table : {&d.MinWidth, &d.GapLimit, &d.MinLength, &d.MaxLength, &d.MinBreadth,
                                       &d.MaxBreadth, &d.MinArea, &d.MaxArea, &d.AngleSmoothing,
                                       &d.MinLengthFloor, &d.MinBreadthFloor}) {
    *table = {};
  }
  d.AvgLength = {};
  d.AvgBreadth = {};
  d.AvgArea = {};
  setDetectionConstants(d, defaults);
  return d;
}

}  // namespace fuzz

#endif  // TINDAVEL_TESTS_FUZZ_FUZZ_SUPPORT_H_
