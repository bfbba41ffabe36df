// A progress line on standard error for a long run over many files:
// "7/32 recordings, 104.2 M lines/s, 1:05 left", rewritten in place. It is
// shown only on a terminal; in a pipe or a log nothing is written.
#ifndef TINDAVEL_TOOLS_PROGRESS_LINE_H_
#define TINDAVEL_TOOLS_PROGRESS_LINE_H_

#include <cstddef>
#include <cstdint>
#include <string>

// The text of the line: files done of total, lines per second so far, and
// the time left at the pace so far (unknown before the first file is done).
std::string progressText(size_t done, size_t total, int64_t lines, double seconds);

class ProgressLine {
 public:
  // Shown only when `wanted` and standard error is a terminal.
  explicit ProgressLine(bool wanted);
  void show(size_t done, size_t total, int64_t lines, double seconds);
  // Takes the line away, before other text goes to standard error and at
  // the end.
  void clear();

 private:
  bool enabled_;
  bool shown_ = false;
};

#endif  // TINDAVEL_TOOLS_PROGRESS_LINE_H_
