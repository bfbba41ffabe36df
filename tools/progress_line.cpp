#include "tools/progress_line.h"

#include <cmath>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

std::string progressText(size_t done, size_t total, int64_t lines, double seconds) {
  char text[128];
  const double rate = seconds > 0 ? static_cast<double>(lines) / seconds : 0;
  std::string left = "time left unknown";
  if (done > 0 && done < total) {
    const auto s = static_cast<long long>(std::lround(seconds / static_cast<double>(done) *
                                                      static_cast<double>(total - done)));
    char clock[48];
    if (s >= 3600) {
      (void)std::snprintf(clock, sizeof clock, "%lld:%02lld:%02lld left", s / 3600, s / 60 % 60, s % 60);
    } else {
      (void)std::snprintf(clock, sizeof clock, "%lld:%02lld left", s / 60, s % 60);
    }
    left = clock;
  } else if (done >= total) {
    left = "done";
  }
  (void)std::snprintf(text, sizeof text, "%zu/%zu recordings, %.1f M lines/s, %s", done, total, rate / 1e6,
                      left.c_str());
  return text;
}

ProgressLine::ProgressLine(bool wanted) : enabled_(wanted && isatty(2) != 0) {}

void ProgressLine::show(size_t done, size_t total, int64_t lines, double seconds) {
  if (!enabled_) return;
  // Back to the start of the line, the new text, the rest of the old erased.
  (void)std::fprintf(stderr, "\r%s\033[K", progressText(done, total, lines, seconds).c_str());
  (void)std::fflush(stderr);
  shown_ = true;
}

void ProgressLine::clear() {
  if (!shown_) return;
  (void)std::fputs("\r\033[K", stderr);
  (void)std::fflush(stderr);
  shown_ = false;
}
