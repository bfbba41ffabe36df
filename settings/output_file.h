// Writing an output file so that nothing is lost on the way: the file that
// was there stays as it was until the new one is complete, and a failure is
// never taken for success.
//
//   open     refuses a target that is a folder or the same file (device and
//            inode, or volume and file index on Windows, through symbolic
//            and hard links) as one of the inputs; creates a temporary file
//            beside the target (".NAME.tmp-...")
//   write    buffered; the first failure is kept with the system's reason,
//            and every later write is ignored
//   commit   writes the rest, checks the close, syncs, then renames the
//            temporary file over the target; a target that is a symbolic
//            link has the file it names replaced
//   else     the temporary file is removed (discard(), a failed commit, or
//            the destructor of a file never committed); the target is as it
//            was. So it is when Ctrl+C, SIGTERM or SIGHUP stops the process
//            (rememberTemporary() in settings/native_file.h; not on Windows)
//
// An existing target keeps its permission bits; a new one gets 0666 less the
// umask (on Windows, the rights of its folder). Names are bytes: the path is
// used as given, and error() shows it as printableName() does. The system
// calls beneath are in settings/native_file.h.
//
// Several files that belong together (a recording and its report) are
// committed by commitTogether(): they all appear or none of them does.
#ifndef TINDAVEL_SETTINGS_OUTPUT_FILE_H_
#define TINDAVEL_SETTINGS_OUTPUT_FILE_H_

#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

class OutputFile {
 public:
  OutputFile();
  ~OutputFile();  // discards what was not committed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens a temporary file for `target`. False, with error() set, when the
  // target is refused or the temporary file cannot be created; nothing is
  // then created. `inputs` are the files the command reads: none of them may
  // be written over (one that does not exist is no conflict).
  [[nodiscard]] bool open(const std::string& target, std::span<const std::string> inputs = {});

  // Appends bytes. False once anything has failed (the first reason stays in
  // error()).
  bool write(std::string_view bytes);
  // The same file as a stream, for code that writes into a std::ostream;
  // its failures land in error() as well.
  std::ostream& stream();

  // Makes the written bytes the target's content. False, with error() set
  // and the target untouched, on any failure.
  [[nodiscard]] bool commit();
  // Drops what was written; the target stays as it was.
  void discard();

  bool isOpen() const;
  bool failed() const { return !error_.empty(); }
  // One line: "cannot write NAME: REASON". Empty while all is well.
  const std::string& error() const { return error_; }
  const std::string& target() const { return target_; }

 private:
  friend bool commitTogether(std::span<OutputFile* const> files, std::string& error);
  class Buffer;

  bool fail(const std::string& reason);
  bool failWith(const std::error_code& error);
  // Writes what is buffered, syncs and closes the temporary file.
  bool finish();
  // Renames the finished temporary file over the target.
  bool replaceTarget();
  // Removes the temporary file, if there is one.
  void dropTemporary();

  std::string target_;    // as given
  std::string resolved_;  // the file that is replaced (a link followed)
  std::string temporary_;
  int temporaryTicket_ = -1;  // what the signal handlers know of temporary_
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  std::string error_;
};

// Commits `files` so that they all appear or none does: each is finished
// first (any failure discards them all), then they are renamed over their
// targets one by one; should a rename fail, the targets already replaced get
// their old contents back (those that were new are removed). On failure
// `error` holds the first file's reason and no temporary file is left.
[[nodiscard]] bool commitTogether(std::span<OutputFile* const> files, std::string& error);

// The system's reason for `error` (an errno value), e.g. "No space left on
// device".
std::string systemReason(int error);

#endif  // TINDAVEL_SETTINGS_OUTPUT_FILE_H_
