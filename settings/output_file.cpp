#include "settings/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cassert>
#include <cerrno>
#include <filesystem>
#include <streambuf>
#include <system_error>

#include "settings/text_encoding.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kBufferBytes = size_t{64} * 1024;
// Attempts at a free temporary name before giving up.
constexpr int kNameAttempts = 16;

std::string temporaryName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  return (target.parent_path() / ("." + target.filename().string() + ".tmp-" +
                                  std::to_string(static_cast<long>(::getpid())) + "-" +
                                  std::to_string(counter.fetch_add(1))))
      .string();
}

// Creates a new file by a fresh temporary name beside `target`; its
// descriptor, or -1 with errno set.
int createTemporary(const fs::path& target, std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = temporaryName(target);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// So that a rename survives a power cut. A folder that cannot be synced
// (some file systems refuse) does not make the write fail: the data is
// already in place.
void syncFolderOf(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

std::string systemReason(int error) { return std::error_code(error, std::generic_category()).message(); }

// The stream buffer behind write() and stream(): whole blocks go to the
// descriptor, each write checked; the first failure is told to the file and
// every later write fails at once.
class OutputFile::Buffer : public std::streambuf {
 public:
  Buffer(OutputFile& owner, int fd) : owner_(owner), fd_(fd) { setp(bytes_.data(), bytes_.data() + bytes_.size()); }
  ~Buffer() override { closeDescriptor(); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  int descriptor() const { return fd_; }

  // Writes what is buffered. False after any failure.
  bool drain() {
    if (owner_.failed() || fd_ < 0) return false;
    const char* p = pbase();
    while (p < pptr()) {
      const ssize_t n = ::write(fd_, p, static_cast<size_t>(pptr() - p));
      if (n < 0) {
        if (errno == EINTR) continue;
        return owner_.failWithErrno(errno);
      }
      p += n;
    }
    setp(bytes_.data(), bytes_.data() + bytes_.size());
    return true;
  }

  // Closes the descriptor; false with the reason told when the close fails.
  bool closeDescriptor() {
    if (fd_ < 0) return true;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) return owner_.failWithErrno(errno);
    return true;
  }

 protected:
  int_type overflow(int_type c) override {
    if (!drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return drain() ? 0 : -1; }

 private:
  OutputFile& owner_;
  int fd_;
  std::array<char, kBufferBytes> bytes_{};
};

OutputFile::OutputFile() = default;

OutputFile::~OutputFile() { discard(); }

bool OutputFile::isOpen() const { return buffer_ && buffer_->descriptor() >= 0; }

bool OutputFile::fail(const std::string& reason) {
  if (error_.empty()) error_ = "cannot write " + printableName(target_) + ": " + reason;
  return false;
}

bool OutputFile::failWithErrno(int error) { return fail(systemReason(error)); }

bool OutputFile::open(const std::string& target, std::span<const std::string> inputs) {
  discard();
  error_.clear();
  target_ = target;
  resolved_ = target;
  if (target.empty()) return fail("no file name given");

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (S_ISDIR(existing.st_mode)) return fail("it is a folder");
    for (const std::string& input : inputs) {
      struct stat in {};
      if (::stat(input.c_str(), &in) == 0 && sameFile(existing, in)) {
        return fail("it is the same file as the input " + printableName(input));
      }
    }
  }

  int fd = -1;
  if (exists && !S_ISREG(existing.st_mode)) {
    // A FIFO or a device (/dev/null, a terminal): there is nothing to keep,
    // and no file could be renamed over it, so it is written directly.
    fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return failWithErrno(errno);
  } else {
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
      // Replace the file the link names and keep the link.
      const fs::path followed = fs::weakly_canonical(target, ec);
      if (ec) return fail(ec.message());
      resolved_ = followed.string();
    }
    fd = createTemporary(resolved_, temporary_);
    if (fd < 0) {
      const int error = errno;
      temporary_.clear();
      return failWithErrno(error);
    }
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
      const int error = errno;
      ::close(fd);
      ::unlink(temporary_.c_str());
      temporary_.clear();
      return failWithErrno(error);
    }
  }
  buffer_ = std::make_unique<Buffer>(*this, fd);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return true;
}

bool OutputFile::write(std::string_view bytes) {
  if (!isOpen() || failed()) return false;
  stream_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return !failed();
}

std::ostream& OutputFile::stream() {
  assert(stream_ && "open() first");
  return *stream_;
}

bool OutputFile::finish() {
  if (!isOpen()) return failed() ? false : fail("it was not opened");
  if (buffer_->drain()) {
    // A pipe or a terminal cannot be synced (EINVAL); that is no failure.
    if (::fsync(buffer_->descriptor()) != 0 && errno != EINVAL && errno != EROFS) failWithErrno(errno);
  }
  const bool closed = buffer_->closeDescriptor();
  return closed && !failed();
}

bool OutputFile::replaceTarget() {
  if (temporary_.empty()) return true;  // written directly
  if (::rename(temporary_.c_str(), resolved_.c_str()) != 0) return failWithErrno(errno);
  temporary_.clear();
  syncFolderOf(resolved_);
  return true;
}

bool OutputFile::commit() {
  const bool done = finish() && replaceTarget();
  discard();
  return done;
}

void OutputFile::discard() {
  stream_.reset();
  buffer_.reset();  // closes the descriptor
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

bool commitTogether(std::span<OutputFile* const> files, std::string& error) {
  auto fail = [&](const OutputFile& why) {
    error = why.error();
    for (OutputFile* f : files) f->discard();
    return false;
  };
  for (OutputFile* f : files) {
    if (!f->finish()) return fail(*f);
  }

  // The old content of each target is kept under a second name (a hard
  // link) until every file is in place. Where no link can be made (a file
  // system without them) the old file cannot be brought back; the renames
  // still all happen, or stop at the first that fails.
  struct Replaced {
    OutputFile* file;
    std::string backup;  // empty: nothing kept
    bool existed;
  };
  std::vector<Replaced> done;
  auto dropBackups = [&] {
    for (const Replaced& r : done) {
      if (!r.backup.empty()) ::unlink(r.backup.c_str());
    }
  };
  for (OutputFile* f : files) {
    Replaced r{f, {}, false};
    struct stat old {};
    r.existed = !f->temporary_.empty() && ::lstat(f->resolved_.c_str(), &old) == 0;
    if (r.existed) {
      for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        r.backup = temporaryName(f->resolved_);
        if (::link(f->resolved_.c_str(), r.backup.c_str()) == 0) break;
        const bool taken = errno == EEXIST;
        r.backup.clear();
        if (!taken) break;
      }
    }
    if (!f->replaceTarget()) {
      // Put back what was replaced, newest first.
      for (auto it = done.rbegin(); it != done.rend(); ++it) {
        if (!it->backup.empty()) {
          if (::rename(it->backup.c_str(), it->file->resolved_.c_str()) == 0) it->backup.clear();
        } else if (!it->existed) {
          ::unlink(it->file->resolved_.c_str());
        }
      }
      if (!r.backup.empty()) ::unlink(r.backup.c_str());
      dropBackups();
      return fail(*f);
    }
    done.push_back(std::move(r));
  }
  dropBackups();
  for (OutputFile* f : files) f->discard();
  error.clear();
  return true;
}
