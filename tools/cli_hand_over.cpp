// tindavel-cli's side of the window commands (tools/window_commands.h): each
// registers here with a run that hands the command, its words unchanged, to
// tindavel-cli-windows. On POSIX systems that program replaces this one
// (exec), so it keeps standard input, output and error, and its exit status
// is the command's; on Windows it runs as a child, waited for.
//
// The program is looked for beside this one (the build tree), then in the
// install layout: TINDAVEL_CLI_WINDOWS_FROM_BIN, the folder it is installed
// in as seen from the folder of tindavel-cli.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "tools/cli_command.h"
#include "tools/cli_hand_over.h"
#include "tools/window_commands.h"

#ifndef TINDAVEL_CLI_WINDOWS_PROGRAM
#error "TINDAVEL_CLI_WINDOWS_PROGRAM (the file name of tindavel-cli-windows) comes from tools/CMakeLists.txt"
#endif
#ifndef TINDAVEL_CLI_WINDOWS_FROM_BIN
#error "TINDAVEL_CLI_WINDOWS_FROM_BIN (its install folder seen from bin/) comes from tools/CMakeLists.txt"
#endif

namespace {

namespace fs = std::filesystem;

// The file of the running program, or none where the system does not say.
std::optional<fs::path> runningProgram() {
#ifdef _WIN32
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::nullopt;
    if (n < buffer.size()) return fs::path(buffer.substr(0, n));
    buffer.resize(buffer.size() * 2);
  }
#else
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) return std::nullopt;
  return self;
#endif
}

// Where tindavel-cli-windows may be, in the order tried.
std::vector<fs::path> candidates() {
  std::vector<fs::path> places;
  if (const std::optional<fs::path> self = runningProgram()) {
    const fs::path bin = self->parent_path();
    places.push_back(bin / TINDAVEL_CLI_WINDOWS_PROGRAM);
    places.push_back((bin / TINDAVEL_CLI_WINDOWS_FROM_BIN / TINDAVEL_CLI_WINDOWS_PROGRAM).lexically_normal());
  }
  return places;
}

#ifdef _WIN32
// One argument as the Windows C runtime splits a command line back into
// words: quoted when it holds a space, a tab or a quote, its quotes and the
// backslashes before them escaped.
std::string windowsArgument(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) return word;
  std::string out = "\"";
  size_t backslashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  out += '"';
  return out;
}
#endif

// Runs `program` with `words` (the first its own name). Returns the exit
// status of the command, or -1 with errno set when the program could not be
// started.
int runProgram(const fs::path& program, const std::vector<std::string>& words) {
#ifdef _WIN32
  std::vector<std::string> quoted;
  quoted.reserve(words.size());
  for (const std::string& w : words) quoted.push_back(windowsArgument(w));
  std::vector<const char*> argv;
  for (const std::string& w : quoted) argv.push_back(w.c_str());
  argv.push_back(nullptr);
  (void)std::fflush(nullptr);
  const intptr_t status = _spawnv(_P_WAIT, program.string().c_str(), argv.data());
  return status < 0 ? -1 : static_cast<int>(status);
#else
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(nullptr);
  (void)std::fflush(nullptr);
  ::execv(program.c_str(), argv.data());
  return -1;  // execv returns only when it failed
#endif
}

int handOver(const char* command, const std::vector<std::string>& args) {
  const std::vector<fs::path> places = candidates();
  for (const fs::path& program : places) {
    std::vector<std::string> words{program.string(), command};
    words.insert(words.end(), args.begin(), args.end());
    const int status = runProgram(program, words);
    if (status >= 0) return status;
    if (errno != ENOENT) {
      const int error = errno;
      std::fprintf(stderr, "tindavel-cli: cannot run %s for '%s': %s\n", program.string().c_str(), command,
                   std::generic_category().message(error).c_str());
      return 2;
    }
  }
  std::string looked;
  for (const fs::path& p : places) looked += (looked.empty() ? "" : ", ") + p.string();
  if (looked.empty()) looked = "nowhere: the running program's folder is unknown";
  std::fprintf(stderr, "tindavel-cli: '%s' needs the program %s, which is not installed (looked for %s)\n",
               command, TINDAVEL_CLI_WINDOWS_PROGRAM, looked.c_str());
  return 2;
}

template <size_t Index>
int handOverCommand(const std::vector<std::string>& args) {
  return handOver(kWindowCommands[Index].name, args);
}

template <size_t... Index>
bool registerAll(std::index_sequence<Index...> /*unused*/) {
  return (registerCliCommand({kWindowCommands[Index].name, kWindowCommands[Index].summary, handOverCommand<Index>}) &&
          ...);
}

const bool kRegistered = registerAll(std::make_index_sequence<std::size(kWindowCommands)>());

}  // namespace

int handOverRecountReport(const std::vector<std::string>& args) { return handOver(kRecountReportCommand.name, args); }
