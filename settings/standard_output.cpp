#include "settings/standard_output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "settings/output_file.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// The first error a write to standard output met; 0 while all went well.
// stdio keeps only that something failed, not why, and a failed buffer is
// dropped, so the reason is caught where the bytes are written.
int firstError = 0;

}  // namespace

#ifndef _WIN32

namespace {

ssize_t writeStandardOutput(void* /*cookie*/, const char* bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (firstError == 0) firstError = errno;
      return -1;
    }
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(size);
}

// stdout from now on written through writeStandardOutput.
void catchReasonsOfStandardOutput() {
  (void)std::fflush(stdout);
  const cookie_io_functions_t functions = {nullptr, writeStandardOutput, nullptr, nullptr};
  FILE* watched = ::fopencookie(nullptr, "w", functions);
  if (watched == nullptr) return;  // stdio's own stream, its failures still seen
  // Line by line on a terminal, in blocks elsewhere, as stdio does.
  (void)std::setvbuf(watched, nullptr, ::isatty(STDOUT_FILENO) ? _IOLBF : _IOFBF, BUFSIZ);
  stdout = watched;
}

// True when output lost to a reader that went away is no failure to report.
// Here SIGPIPE ends the program; should it come back, the signal is blocked
// and the loss is reported.
bool readerGoneIsQuiet() {
  endQuietlyWhenReaderGoes();
  (void)std::raise(SIGPIPE);
  return false;
}

}  // namespace

void endQuietlyWhenReaderGoes() { (void)std::signal(SIGPIPE, SIG_DFL); }

#else

namespace {

// Windows has no hook into stdio's writes: its error flag and errno after
// the last flush tell what failed (firstError stays 0).
void catchReasonsOfStandardOutput() {}

// Windows has no SIGPIPE: the command ends as it would have, and what a
// reader that went away did not take is no failure, as for other tools.
bool readerGoneIsQuiet() { return true; }

}  // namespace

void endQuietlyWhenReaderGoes() {}

#endif  // _WIN32

void watchStandardOutput() {
  endQuietlyWhenReaderGoes();
  catchReasonsOfStandardOutput();
}

std::optional<std::string> standardOutputProblem() {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int error = firstError != 0 ? firstError : errno;
  if (flushed && !std::ferror(stdout)) return std::nullopt;
  if (error == EPIPE && readerGoneIsQuiet()) return std::nullopt;
  return systemReason(error != 0 ? error : EIO);
}
