// native_file.h on Windows: C runtime descriptors for writing, the Win32
// calls where the runtime has nothing that fits (file identity, a rename
// that replaces and is written through, links).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>

#include "settings/native_file.h"

namespace {

std::wstring wide(const std::string& path) { return std::filesystem::path(path).wstring(); }

// errno of a C runtime call.
std::error_code runtimeError() { return {errno, std::generic_category()}; }

// GetLastError of a Win32 call; a name that is taken is told as on POSIX.
std::error_code win32Error() {
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return std::make_error_code(std::errc::file_exists);
  return {static_cast<int>(error), std::system_category()};
}

}  // namespace

std::optional<FileFacts> fileFacts(const std::string& path) {
  // Opened for no access at all, only to ask; FILE_FLAG_BACKUP_SEMANTICS
  // lets a folder be opened too. A symbolic link is followed.
  const HANDLE handle = ::CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  FileFacts facts;
  BY_HANDLE_FILE_INFORMATION info{};
  // A device (NUL, CON) or a pipe has no file index: it is written directly
  // and is never the same file as an input.
  if (::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &info) != 0) {
    facts.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.regular = !facts.folder;
    facts.identity = FileIdentity{info.dwVolumeSerialNumber,
                                  (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  }
  ::CloseHandle(handle);
  return facts;
}

bool nameTaken(const std::string& path) { return ::GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

long processId() { return static_cast<long>(::GetCurrentProcessId()); }

int createNewFile(const std::string& path, std::error_code& error) {
  const int fd =
      ::_wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
  if (fd < 0) error = runtimeError();
  return fd;
}

int openForWriting(const std::string& path, std::error_code& error) {
  const int fd = ::_wopen(wide(path).c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) error = runtimeError();
  return fd;
}

// A new file takes the rights of its folder, as every file made there does;
// there are no permission bits to carry over.
std::error_code keepPermissions(int /*fd*/, const FileFacts& /*old*/) { return {}; }

std::error_code writeAll(int fd, const char* bytes, std::size_t size) {
  // _write counts in unsigned int: large blocks go in slices.
  constexpr std::size_t kSlice = std::size_t{1} << 30;
  std::size_t done = 0;
  while (done < size) {
    const auto slice = static_cast<unsigned>(std::min(size - done, kSlice));
    const int n = ::_write(fd, bytes + done, slice);
    if (n < 0) return runtimeError();
    done += static_cast<std::size_t>(n);
  }
  return {};
}

std::error_code syncFile(int fd) {
  // Only files on a disk are flushed: a device is no failure, and flushing a
  // pipe would wait until its reader has read everything. The runtime hands
  // out the handle as an integer.
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));  // NOLINT(performance-no-int-to-ptr)
  if (::GetFileType(handle) != FILE_TYPE_DISK) return {};
  return ::_commit(fd) == 0 ? std::error_code() : runtimeError();
}

// A console's Ctrl+C ends the process with its files open, and Windows
// cannot remove an open file: the temporary files stay, as any file
// interrupted on Windows does.
int rememberTemporary(const std::string& /*path*/) { return -1; }
void forgetTemporary(int /*ticket*/) {}

void startWriteback(int /*fd*/, std::int64_t /*offset*/, std::int64_t /*size*/) {
  // Windows writes back lazily on its own; FlushFileBuffers would wait.
}

void startWriteback(int /*fd*/, std::int64_t /*offset*/, std::int64_t /*size*/) {
  // Windows writes back on its own; there is no call that only starts it.
}

std::error_code closeFile(int fd) { return ::_close(fd) == 0 ? std::error_code() : runtimeError(); }

std::error_code replaceFile(const std::string& from, const std::string& to) {
  const BOOL moved = ::MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  return moved != 0 ? std::error_code() : win32Error();
}

// MOVEFILE_WRITE_THROUGH has already put the rename on the disk.
void syncFolderOf(const std::string& /*path*/) {}

void removeFile(const std::string& path) { (void)::DeleteFileW(wide(path).c_str()); }

std::error_code keepUnderSecondName(const std::string& path, const std::string& second) {
  const std::wstring from = wide(path);
  const std::wstring to = wide(second);
  if (::CreateHardLinkW(to.c_str(), from.c_str(), nullptr) != 0) return {};
  const std::error_code error = win32Error();
  if (error == std::errc::file_exists) return error;
  // FAT and exFAT (memory sticks) and some network shares have no links:
  // a copy keeps the old content as well.
  if (::CopyFileW(from.c_str(), to.c_str(), TRUE) != 0) return {};
  return win32Error();
}

std::error_code readingProblem(const std::string& path) {
  const int fd = ::_wopen(wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return runtimeError();
  std::error_code error;
  char byte = 0;
  if (::_read(fd, &byte, 1) < 0) error = runtimeError();
  ::_close(fd);
  return error;
}
