#include "settings/private_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

// An environment folder is used only when it is an absolute path, as the
// XDG base directory rules ask.
fs::path environmentFolder(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return {};
  fs::path folder(value);
  return folder.is_absolute() ? folder : fs::path();
}

}  // namespace

std::string privateFolder() {
  std::error_code ec;
#ifdef _WIN32
  fs::path folder = fs::temp_directory_path(ec);
  return ec ? std::string() : folder.string();
#else
  fs::path base = environmentFolder("XDG_RUNTIME_DIR");
  if (base.empty()) {
    base = environmentFolder("XDG_CACHE_HOME");
    if (base.empty()) {
      const fs::path home = environmentFolder("HOME");
      if (home.empty()) return {};
      base = home / ".cache";
    }
  }
  const fs::path folder = base / "tindavel";
  fs::create_directories(folder, ec);
  if (ec) return {};
  // Ours only, whatever the umask made of it; a folder that is not a real
  // folder of ours (a link, someone else's) is not used.
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return {};
  if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) return {};
  return folder.string();
#endif
}

bool createWithoutFollowing(const std::string& path, std::ofstream& out, std::ios::openmode mode) {
  if (out.is_open()) out.close();
#ifndef _WIN32
  // open(2) with O_NOFOLLOW is the only way to refuse a link in the same
  // step as creating; the stream then opens the file so made. In a folder
  // of the user's own (privateFolder) nobody else can swap it in between.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  if (!regular) return false;
#endif
  out.open(path, mode | std::ios::out | std::ios::trunc);
  return out.is_open();
}
