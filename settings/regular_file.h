// Opening files that come from outside: recordings, reports, the settings
// store, logo pictures. Only regular files are opened. A FIFO with no writer
// would block open() for ever, a device may never end, and a folder opens
// on some systems and reads as nothing; each is refused with a reason
// instead, before any byte is read.
#ifndef TINDAVEL_SETTINGS_REGULAR_FILE_H_
#define TINDAVEL_SETTINGS_REGULAR_FILE_H_

#include <fstream>
#include <string>
#include <string_view>

enum class FileProblem {
  kNone,
  kMissing,     // nothing by that name
  kFolder,      // a folder
  kNotRegular,  // a FIFO, socket or device
  kUnreadable,  // a regular file we may not read (permissions, I/O error)
};

// What stands in the way of reading `path` as a regular file, without opening
// it (a symbolic link is judged by what it names).
FileProblem regularFileProblem(const std::string& path);

// A regular file (or a link to one) stands at `path`.
inline bool isRegularFile(const std::string& path) { return regularFileProblem(path) == FileProblem::kNone; }

// Opens `path` for binary reading into `in` when it is a regular file.
// Returns kNone when `in` is open, else the reason it is not.
FileProblem openRegularFile(const std::string& path, std::ifstream& in);

// "it does not exist", "it is a folder", ... : the end of a sentence that
// begins with what could not be read. Empty for kNone.
std::string_view fileProblemText(FileProblem problem);

// The end of a sentence about `path`, which could not be read for `problem`:
// fileProblemText's words, and for kUnreadable the system's reason as well
// ("it cannot be read: Permission denied").
std::string fileProblemReason(const std::string& path, FileProblem problem);

#endif  // TINDAVEL_SETTINGS_REGULAR_FILE_H_
