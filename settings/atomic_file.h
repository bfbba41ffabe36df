// Replacing a file so that readers and crashes see either the old or the new
// contents, never a half-written file.
#ifndef TINDAVEL_SETTINGS_ATOMIC_FILE_H_
#define TINDAVEL_SETTINGS_ATOMIC_FILE_H_

#include <string>
#include <string_view>

// Writes `bytes` to a new temporary file in the folder of `path`, flushes and
// syncs it, and renames it over `path`. An existing file keeps its permission
// bits; a new one gets the usual ones (0666 less the umask). Missing parent
// folders are created; a symbolic link is followed and the file it names is
// replaced. Returns false on any failure, leaving `path` as it was
// and no temporary file behind.
[[nodiscard]] bool saveAtomically(const std::string& path, std::string_view bytes);

#endif  // TINDAVEL_SETTINGS_ATOMIC_FILE_H_
