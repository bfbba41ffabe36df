#include "settings/regular_file.h"

#include "settings/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

FileProblem regularFileProblem(const std::string& path) {
  if (path.empty()) return FileProblem::kMissing;
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  switch (status.type()) {
    case std::filesystem::file_type::regular:
      return FileProblem::kNone;
    case std::filesystem::file_type::not_found:
      return FileProblem::kMissing;
    case std::filesystem::file_type::directory:
      return FileProblem::kFolder;
    case std::filesystem::file_type::none:
    case std::filesystem::file_type::unknown:
      // status() itself failed: a folder on the way we may not search, a
      // loop of links, ...
      return FileProblem::kUnreadable;
    default:
      return FileProblem::kNotRegular;
  }
}

FileProblem openRegularFile(const std::string& path, std::ifstream& in) {
  // Checked by name before opening. Something swapped in between the two
  // steps could still be a FIFO, but only by whoever may write the folder,
  // and that one could as well hand us the FIFO's content.
  const FileProblem problem = regularFileProblem(path);
  if (problem != FileProblem::kNone) return problem;
  in.open(path, std::ios::binary);
  return in.is_open() ? FileProblem::kNone : FileProblem::kUnreadable;
}

std::string_view fileProblemText(FileProblem problem) {
  switch (problem) {
    case FileProblem::kNone: return {};
    case FileProblem::kMissing: return "it does not exist";
    case FileProblem::kFolder: return "it is a folder";
    case FileProblem::kNotRegular: return "it is not a regular file (a pipe, socket or device)";
    case FileProblem::kUnreadable: return "it cannot be read";
  }
  return {};
}

std::string fileProblemReason(const std::string& path, FileProblem problem) {
  std::string text(fileProblemText(problem));
  if (problem != FileProblem::kUnreadable) return text;
  // Asked again, to hear the system's reason; O_NONBLOCK so that nothing
  // swapped in meanwhile can hold the open.
  struct stat st {};
  int error = ::stat(path.c_str(), &st) == 0 ? 0 : errno;
  if (error == 0) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      error = errno;
    } else {
      char byte = 0;
      if (::read(fd, &byte, 1) < 0) error = errno;
      ::close(fd);
    }
  }
  return error == 0 ? text : text + ": " + systemReason(error);
}
