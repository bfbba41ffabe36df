#include "settings/output_file.h"

#include <memory>
#include <atomic>
#include <cassert>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <streambuf>
#include <system_error>

#include "settings/native_file.h"
#include "settings/text_encoding.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kBufferBytes = size_t{64} * 1024;
// Every so many bytes written, the system is asked to start putting them on
// the disk: a large output then needs little time for its sync at the end.
constexpr int64_t kWritebackBytes = int64_t{8} * 1024 * 1024;
// Attempts at a free temporary name before giving up.
constexpr int kNameAttempts = 16;

std::string temporaryName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  return (target.parent_path() / ("." + target.filename().string() + ".tmp-" +
                                  std::to_string(processId()) + "-" +
                                  std::to_string(counter.fetch_add(1))))
      .string();
}

// Creates a new file by a fresh temporary name beside `target`; its
// descriptor, or -1 with `error` set.
int createTemporary(const fs::path& target, std::string& name, std::error_code& error) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = temporaryName(target);
    const int fd = createNewFile(name, error);
    if (fd >= 0 || error != std::errc::file_exists) return fd;
  }
  return -1;
}

}  // namespace

std::string systemReason(int error) { return std::error_code(error, std::generic_category()).message(); }

// The stream buffer behind write() and stream(): whole blocks go to the
// descriptor, each write checked; the first failure is told to the file and
// every later write fails at once.
class OutputFile::Buffer : public std::streambuf {
 public:
  Buffer(OutputFile& owner, int fd)
      : owner_(owner), fd_(fd), bytes_(std::make_unique_for_overwrite<char[]>(kBufferBytes)) {
    setp(bytes_.get(), bytes_.get() + kBufferBytes);
  }
  ~Buffer() override { closeDescriptor(); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  int descriptor() const { return fd_; }

  // Writes what is buffered. False after any failure.
  bool drain() {
    if (owner_.failed() || fd_ < 0) return false;
    const auto size = static_cast<size_t>(pptr() - pbase());
    if (const std::error_code error = writeAll(fd_, pbase(), size)) return owner_.failWith(error);
    setp(bytes_.get(), bytes_.get() + kBufferBytes);
    written_ += static_cast<int64_t>(size);
    if (written_ - writtenBack_ >= kWritebackBytes) {
      startWriteback(fd_, writtenBack_, written_ - writtenBack_);
      writtenBack_ = written_;
    }
    return true;
  }

  // Closes the descriptor; false with the reason told when the close fails.
  bool closeDescriptor() {
    if (fd_ < 0) return true;
    const int fd = fd_;
    fd_ = -1;
    if (const std::error_code error = closeFile(fd)) return owner_.failWith(error);
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
  int64_t written_ = 0;      // bytes written to the descriptor
  int64_t writtenBack_ = 0;  // of them, those whose writeback was started
  // Not cleared: a small file (a settings store) touches only the pages it
  // writes.
  std::unique_ptr<char[]> bytes_;
};

OutputFile::OutputFile() = default;

OutputFile::~OutputFile() { discard(); }

bool OutputFile::isOpen() const { return buffer_ && buffer_->descriptor() >= 0; }

bool OutputFile::fail(const std::string& reason) {
  if (error_.empty()) error_ = "cannot write " + printableName(target_) + ": " + reason;
  return false;
}

bool OutputFile::failWith(const std::error_code& error) { return fail(error.message()); }

bool OutputFile::open(const std::string& target, std::span<const std::string> inputs) {
  discard();
  error_.clear();
  target_ = target;
  resolved_ = target;
  if (target.empty()) return fail("no file name given");

  const std::optional<FileFacts> existing = fileFacts(target);
  if (existing) {
    if (existing->folder) return fail("it is a folder");
    for (const std::string& input : inputs) {
      const std::optional<FileFacts> in = fileFacts(input);
      if (in && sameFile(*existing, *in)) {
        return fail("it is the same file as the input " + printableName(input));
      }
    }
  }

  int fd = -1;
  std::error_code error;
  if (existing && !existing->regular) {
    // A FIFO or a device (/dev/null, a terminal): there is nothing to keep,
    // and no file could be renamed over it, so it is written directly.
    fd = openForWriting(target, error);
    if (fd < 0) return failWith(error);
  } else {
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
      // Replace the file the link names and keep the link.
      const fs::path followed = fs::weakly_canonical(target, ec);
      if (ec) return fail(ec.message());
      resolved_ = followed.string();
    }
    fd = createTemporary(resolved_, temporary_, error);
    if (fd < 0) {
      temporary_.clear();
      return failWith(error);
    }
    temporaryTicket_ = rememberTemporary(temporary_);
    if (const std::error_code kept = existing ? keepPermissions(fd, *existing) : std::error_code()) {
      (void)closeFile(fd);
      dropTemporary();
      return failWith(kept);
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
    if (const std::error_code error = syncFile(buffer_->descriptor())) failWith(error);
  }
  const bool closed = buffer_->closeDescriptor();
  return closed && !failed();
}

bool OutputFile::replaceTarget() {
  if (temporary_.empty()) return true;  // written directly
  if (const std::error_code error = replaceFile(temporary_, resolved_)) return failWith(error);
  // Forgotten only now: a signal in between removes a name that is gone.
  forgetTemporary(temporaryTicket_);
  temporaryTicket_ = -1;
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
  dropTemporary();
}

void OutputFile::dropTemporary() {
  if (temporary_.empty()) return;
  removeFile(temporary_);
  forgetTemporary(temporaryTicket_);
  temporaryTicket_ = -1;
  temporary_.clear();
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
  // link, or a copy where Windows has no links) until every file is in
  // place. Where no second name can be made the old file cannot be brought
  // back; the renames still all happen, or stop at the first that fails.
  struct Replaced {
    OutputFile* file;
    std::string backup;  // empty: nothing kept
    bool existed;
  };
  std::vector<Replaced> done;
  auto dropBackups = [&] {
    for (const Replaced& r : done) {
      if (!r.backup.empty()) removeFile(r.backup);
    }
  };
  for (OutputFile* f : files) {
    Replaced r{f, {}, false};
    r.existed = !f->temporary_.empty() && nameTaken(f->resolved_);
    if (r.existed) {
      for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        r.backup = temporaryName(f->resolved_);
        const std::error_code kept = keepUnderSecondName(f->resolved_, r.backup);
        if (!kept) break;
        const bool taken = kept == std::errc::file_exists;
        r.backup.clear();
        if (!taken) break;
      }
    }
    if (!f->replaceTarget()) {
      // Put back what was replaced, newest first.
      for (auto it = done.rbegin(); it != done.rend(); ++it) {
        if (!it->backup.empty()) {
          if (!replaceFile(it->backup, it->file->resolved_)) it->backup.clear();
        } else if (!it->existed) {
          removeFile(it->file->resolved_);
        }
      }
      if (!r.backup.empty()) removeFile(r.backup);
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
