#include "settings/atomic_file.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fstream>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string temporaryName(const fs::path& target, int attempt) {
  static std::atomic<unsigned> counter{0};
#ifdef _WIN32
  const long pid = 0;
#else
  const long pid = static_cast<long>(getpid());
#endif
  return "." + target.filename().string() + ".tmp-" + std::to_string(pid) + "-" +
         std::to_string(counter.fetch_add(1)) + "-" + std::to_string(attempt);
}

#ifndef _WIN32
bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// So that the rename itself survives a power cut. A folder that cannot be
// synced (some file systems refuse) does not make the save fail: the data is
// already in place.
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
#endif

}  // namespace

bool saveAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::path target(path);
  // Replace the file a symbolic link points to, not the link (a store kept
  // with the user's other configuration files stays linked).
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (ec) return false;
    target = resolved;
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (fs::is_directory(target, ec)) return false;
  fs::create_directories(folder, ec);
  if (ec) return false;

#ifdef _WIN32
  const fs::path temp = folder / temporaryName(target, 0);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      return false;
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
#else
  struct stat old {};
  const bool hadFile = ::stat(target.c_str(), &old) == 0;

  fs::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = folder / temporaryName(target, attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  bool ok = writeAll(fd, bytes);
  if (ok && hadFile) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  syncFolder(folder);
  return true;
#endif
}
