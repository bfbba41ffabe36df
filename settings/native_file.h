// The operating system's file calls that OutputFile and the readers' reasons
// are built on, one implementation per platform: native_file_posix.cpp and
// native_file_windows.cpp (the build picks one). Files are written through C
// runtime descriptors on both. A failure comes back as a std::error_code
// whose message() is the system's reason; std::errc::file_exists always
// means that a name is taken.
//
// Names are bytes, used as given on POSIX; on Windows they are converted to
// wide names as std::filesystem converts them elsewhere in the program.
#ifndef TINDAVEL_SETTINGS_NATIVE_FILE_H_
#define TINDAVEL_SETTINGS_NATIVE_FILE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

// Which file a name leads to: device and inode on POSIX, volume serial
// number and file index on Windows.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct FileFacts {
  bool folder = false;
  bool regular = false;                  // a plain file: no device, pipe or terminal
  unsigned permissions = 0;              // the POSIX permission bits (07777); 0 on Windows
  std::optional<FileIdentity> identity;  // none where the system gives none (a Windows device)
};

// Two names of one file (a hard or symbolic link, or the same name twice).
inline bool sameFile(const FileFacts& a, const FileFacts& b) {
  return a.identity && b.identity && *a.identity == *b.identity;
}

// What `path` leads to, a symbolic link followed; none when it leads nowhere
// we may look.
std::optional<FileFacts> fileFacts(const std::string& path);
// True when something has the name `path`, a link that leads nowhere
// included.
bool nameTaken(const std::string& path);
long processId();

// A new file by the name `path`, for writing; -1 with `error` set when it
// cannot be made (std::errc::file_exists when the name is taken).
int createNewFile(const std::string& path, std::error_code& error);
// An existing file (a device, a pipe) opened for writing as it is.
int openForWriting(const std::string& path, std::error_code& error);
// Gives the file `fd` the permission bits of `old` (nothing to do on Windows).
std::error_code keepPermissions(int fd, const FileFacts& old);
// Writes all of `size` bytes, or fails.
std::error_code writeAll(int fd, const char* bytes, std::size_t size);
// Puts what was written on the disk. A descriptor that cannot be synced (a
// pipe, a terminal, a read-only file system) is no failure.
std::error_code syncFile(int fd);
// Asks the system to start putting `size` bytes from `offset` of the file
// `fd` on the disk, without waiting, so that syncFile() at the end has
// little left to do. Nothing where the system has no such call.
void startWriteback(int fd, std::int64_t offset, std::int64_t size);
std::error_code closeFile(int fd);

// Renames `from` over `to`, replacing it in one step.
std::error_code replaceFile(const std::string& from, const std::string& to);
// So that a rename into the folder of `path` survives a power cut; nothing
// is reported, as the data is already in place.
void syncFolderOf(const std::string& path);
void removeFile(const std::string& path);
// Temporary files that are removed should a signal stop the process (Ctrl+C:
// SIGINT; SIGTERM; SIGHUP) before they are renamed or removed in the normal
// way. The first remembered name installs the handlers, for the signals
// whose action is still the default: they remove every file still
// remembered, then end the process by the same signal, so whoever started
// it sees it killed. rememberTemporary() gives a ticket for
// forgetTemporary(), or -1 when the name is not remembered (too long, too
// many at once); both are safe beside the handlers and on any thread. On
// Windows nothing is remembered.
int rememberTemporary(const std::string& path);
void forgetTemporary(int ticket);

// Keeps the content of the existing file `path` under the new name `second`
// as well: a hard link, or on Windows a copy where the file system has no
// links.
std::error_code keepUnderSecondName(const std::string& path, const std::string& second);

// Why the existing file `path` cannot be read: the system's reason when
// opening it or reading its first byte fails, none when both work.
std::error_code readingProblem(const std::string& path);

#endif  // TINDAVEL_SETTINGS_NATIVE_FILE_H_
