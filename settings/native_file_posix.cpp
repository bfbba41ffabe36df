// native_file.h on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <mutex>

#include "settings/native_file.h"

namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

// The temporary files a signal handler removes: fixed slots, so that the
// handler reads them without locks or allocations. A slot is claimed
// (kFilling), its name copied in, then shown to the handler (kNamed).
constexpr int kTemporarySlots = 64;
constexpr size_t kTemporaryNameBytes = 4096;
enum SlotState : int { kFree, kFilling, kNamed };
struct TemporarySlot {
  std::atomic<int> state{kFree};
  std::array<char, kTemporaryNameBytes> name{};
};
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the slots' states");
std::array<TemporarySlot, kTemporarySlots> temporarySlots;
// Where the next claim starts looking: a slot just freed is taken last, so
// the handler hardly ever meets a name being rewritten.
std::atomic<unsigned> nextTemporarySlot{0};
constexpr std::array<int, 3> kStoppingSignals = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTemporariesAndStop(int signal) {
  for (TemporarySlot& slot : temporarySlots) {
    if (slot.state.load(std::memory_order_acquire) == kNamed) (void)::unlink(slot.name.data());
  }
  // SA_RESETHAND has put the default action back: the signal, blocked while
  // this runs, ends the process once the handler returns.
  (void)::raise(signal);
}

void installStoppingHandlers() {
  for (const int signal : kStoppingSignals) {
    struct sigaction old {};
    // A signal that is ignored (nohup) or handled by someone else is left so.
    if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = removeTemporariesAndStop;
    sigemptyset(&action.sa_mask);
    for (const int other : kStoppingSignals) sigaddset(&action.sa_mask, other);
    action.sa_flags = SA_RESETHAND;
    (void)::sigaction(signal, &action, nullptr);
  }
}

}  // namespace

int rememberTemporary(const std::string& path) {
  static std::once_flag installed;
  std::call_once(installed, installStoppingHandlers);
  if (path.size() >= kTemporaryNameBytes) return -1;
  const unsigned start = nextTemporarySlot.fetch_add(1);
  for (int k = 0; k < kTemporarySlots; ++k) {
    const auto i = static_cast<int>((start + static_cast<unsigned>(k)) % kTemporarySlots);
    TemporarySlot& slot = temporarySlots[static_cast<size_t>(i)];
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kFilling, std::memory_order_acquire)) continue;
    std::memcpy(slot.name.data(), path.c_str(), path.size() + 1);
    slot.state.store(kNamed, std::memory_order_release);
    return i;
  }
  return -1;
}

void forgetTemporary(int ticket) {
  if (ticket < 0 || ticket >= kTemporarySlots) return;
  temporarySlots[static_cast<size_t>(ticket)].state.store(kFree, std::memory_order_release);
}

std::optional<FileFacts> fileFacts(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  FileFacts facts;
  facts.folder = S_ISDIR(st.st_mode);
  facts.regular = S_ISREG(st.st_mode);
  facts.permissions = st.st_mode & 07777;
  facts.identity = FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  return facts;
}

bool nameTaken(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

long processId() { return static_cast<long>(::getpid()); }

int createNewFile(const std::string& path, std::error_code& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) error = lastError();
  return fd;
}

int openForWriting(const std::string& path, std::error_code& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) error = lastError();
  return fd;
}

std::error_code keepPermissions(int fd, const FileFacts& old) {
  return ::fchmod(fd, old.permissions) == 0 ? std::error_code() : lastError();
}

std::error_code writeAll(int fd, const char* bytes, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return lastError();
    }
    done += static_cast<std::size_t>(n);
  }
  return {};
}

std::error_code syncFile(int fd) {
  // A pipe or a terminal cannot be synced (EINVAL); that is no failure.
  if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) return lastError();
  return {};
}

void startWriteback(int fd, std::int64_t offset, std::int64_t size) {
#ifdef __linux__
  // Only a hint: a descriptor that cannot be written back (a pipe) refuses it.
  (void)::sync_file_range(fd, offset, size, SYNC_FILE_RANGE_WRITE);
#else
  (void)fd;
  (void)offset;
  (void)size;
#endif
}

std::error_code closeFile(int fd) {
  // After EINTR the descriptor is closed all the same (Linux).
  if (::close(fd) != 0 && errno != EINTR) return lastError();
  return {};
}

std::error_code replaceFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : lastError();
}

void syncFolderOf(const std::string& path) {
  // Some file systems refuse to sync a folder: the data is in place anyway.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

void removeFile(const std::string& path) { ::unlink(path.c_str()); }

std::error_code keepUnderSecondName(const std::string& path, const std::string& second) {
  return ::link(path.c_str(), second.c_str()) == 0 ? std::error_code() : lastError();
}

std::error_code readingProblem(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return lastError();
  // O_NONBLOCK so that nothing swapped in meanwhile (a FIFO) can hold the
  // open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return lastError();
  std::error_code error;
  char byte = 0;
  if (::read(fd, &byte, 1) < 0) error = lastError();
  ::close(fd);
  return error;
}
