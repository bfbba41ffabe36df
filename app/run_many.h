// The single-instance check: is another copy of this program already running?
//
// The check compares executable file names, folded the same way for every
// process: at most 255 characters, the file-name part only, lower case with
// the first letter in upper case. Two folded names equal to kProgramName mean
// that this process is the second copy.
#ifndef TINDAVEL_APP_RUN_MANY_H_
#define TINDAVEL_APP_RUN_MANY_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
inline constexpr std::string_view kProgramName = "Tindavel.exe";
#else
inline constexpr std::string_view kProgramName = "Tindavel";
#endif

inline constexpr std::size_t kMaxProcessNameChars = 255;

// Folds an executable name as the check compares it: cut at the first NUL,
// keep at most kMaxProcessNameChars characters, take the part after the last
// '/' or '\\', turn it to lower case and its first character to upper case.
// "/usr/bin/TINDAVEL" folds to "Tindavel".
std::string foldProcessName(std::string_view name);

// How many of the (unfolded) names fold to `program`.
int countProgramCopies(const std::vector<std::string>& names, std::string_view program);

// True when more than one running copy is found: this process is one of
// them, so another one runs already.
bool anotherCopyRuns(const std::vector<std::string>& names, std::string_view program = kProgramName);

// The executable file names (without their folders) of all running
// processes, read from `procRoot` ("/proc" on Linux). For each process: the
// target of <pid>/exe, else the first word of <pid>/cmdline (the exe link of
// another user's process cannot be read; kernel threads have neither and are
// skipped). nullopt when the folder cannot be listed: the check then passes.
std::optional<std::vector<std::string>> runningProcessNames(const std::string& procRoot = "/proc");

#endif  // TINDAVEL_APP_RUN_MANY_H_
