#include "settings/standard_output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "settings/output_file.h"

void endQuietlyWhenReaderGoes() { (void)std::signal(SIGPIPE, SIG_DFL); }

std::optional<std::string> standardOutputProblem() {
  errno = 0;
  // A failed write keeps its bytes in the buffer, so flushing again tells
  // the reason of a failure met earlier as well.
  const bool flushed = std::fflush(stdout) == 0;
  const int error = errno;
  if (flushed && !std::ferror(stdout)) return std::nullopt;
  if (error == EPIPE) {  // SIGPIPE was ignored after all: end as it would
    endQuietlyWhenReaderGoes();
    (void)std::raise(SIGPIPE);
  }
  return systemReason(error != 0 ? error : EIO);
}
