#include "app/run_many.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

std::string foldProcessName(std::string_view name) {
  name = name.substr(0, name.find('\0'));
  name = name.substr(0, kMaxProcessNameChars);
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (!folded.empty()) folded[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(folded[0])));
  return folded;
}

int countProgramCopies(const std::vector<std::string>& names, std::string_view program) {
  return static_cast<int>(std::count_if(names.begin(), names.end(), [program](const std::string& n) {
    return foldProcessName(n) == program;
  }));
}

bool anotherCopyRuns(const std::vector<std::string>& names, std::string_view program) {
  return countProgramCopies(names, program) > 1;
}

namespace {

bool isPidFolder(const fs::path& p) {
  const std::string name = p.filename().string();
  return !name.empty() && std::all_of(name.begin(), name.end(),
                                      [](unsigned char c) { return std::isdigit(c) != 0; });
}

// argv[0] of a process: the cmdline file up to its first NUL.
std::string firstCommandWord(const fs::path& cmdline) {
  std::ifstream in(cmdline, std::ios::binary);
  std::string word;
  std::getline(in, word, '\0');
  return word;
}

}  // namespace

std::optional<std::vector<std::string>> runningProcessNames(const std::string& procRoot) {
  std::error_code ec;
  fs::directory_iterator it(procRoot, ec);
  if (ec) return std::nullopt;
  std::vector<std::string> names;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;  // a process that ended while listing; what was read still counts
    const fs::path dir = it->path();
    if (!isPidFolder(dir)) continue;
    std::error_code linkError;
    const fs::path exe = fs::read_symlink(dir / "exe", linkError);
    std::string name = linkError ? firstCommandWord(dir / "cmdline") : exe.string();
    // A replaced executable reads "/path/prog (deleted)"; it is still that program.
    static constexpr std::string_view kDeleted = " (deleted)";
    if (name.size() > kDeleted.size() && name.ends_with(kDeleted)) name.resize(name.size() - kDeleted.size());
    // The executable's file name, as a Windows process list gives it: a copy
    // started from a folder deeper than the 255 characters the check keeps
    // must still be seen.
    name = fs::path(name).filename().string();
    if (!name.empty()) names.push_back(std::move(name));
  }
  return names;
}
