#include "settings/standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "settings/output_file.h"

namespace {

// The first error a write to standard output met; 0 while all went well.
// stdio keeps only that something failed, not why, and a failed buffer is
// dropped, so the reason is caught where the bytes are written.
int firstError = 0;

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

}  // namespace

void endQuietlyWhenReaderGoes() { (void)std::signal(SIGPIPE, SIG_DFL); }

void watchStandardOutput() {
  endQuietlyWhenReaderGoes();
  (void)std::fflush(stdout);
  const cookie_io_functions_t functions = {nullptr, writeStandardOutput, nullptr, nullptr};
  FILE* watched = ::fopencookie(nullptr, "w", functions);
  if (watched == nullptr) return;  // stdio's own stream, its failures still seen
  // Line by line on a terminal, in blocks elsewhere, as stdio does.
  (void)std::setvbuf(watched, nullptr, ::isatty(STDOUT_FILENO) ? _IOLBF : _IOFBF, BUFSIZ);
  stdout = watched;
}

std::optional<std::string> standardOutputProblem() {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int error = firstError != 0 ? firstError : errno;
  if (flushed && !std::ferror(stdout)) return std::nullopt;
  if (error == EPIPE) {  // SIGPIPE was ignored after all: end as it would
    endQuietlyWhenReaderGoes();
    (void)std::raise(SIGPIPE);
  }
  return systemReason(error != 0 ? error : EIO);
}
