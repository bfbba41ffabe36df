// Files that belong to the user alone: the detection's trace and the binary
// copy of a text recording. They are never made under a fixed name in a
// folder other users share (/tmp), where a file or symbolic link planted by
// someone else would be truncated or followed.
#ifndef TINDAVEL_SETTINGS_PRIVATE_FOLDER_H_
#define TINDAVEL_SETTINGS_PRIVATE_FOLDER_H_

#include <fstream>
#include <string>

// The program's folder for the user's own passing files, made on first use
// with access for the user only: "$XDG_RUNTIME_DIR/tindavel" when the
// runtime folder is set, else "${XDG_CACHE_HOME:-$HOME/.cache}/tindavel".
// On Windows the system's temporary folder, which is the user's own there.
// Empty when none can be made.
std::string privateFolder();

// Creates or truncates `path` for writing into `out` (opened with `mode`
// besides out and trunc), refusing to follow a symbolic link in its last
// component; a new file is readable by the user only. Returns false (and
// leaves `out` closed) when it cannot.
bool createWithoutFollowing(const std::string& path, std::ofstream& out,
                            std::ios::openmode mode = std::ios::openmode());

#endif  // TINDAVEL_SETTINGS_PRIVATE_FOLDER_H_
