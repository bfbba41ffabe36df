// Runs a program the way a shell user would, for the tests of tindavel-cli.
#ifndef TINDAVEL_TESTS_COMMAND_RUNNER_H_
#define TINDAVEL_TESTS_COMMAND_RUNNER_H_

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The command-line tool of the build under test.
inline const std::string kCliPath = std::string(TINDAVEL_BINARY_DIR) + "/tools/tindavel-cli";

struct CommandResult {
  int status = -1;   // exit status; -1 when the program did not exit normally
  std::string out;   // what it wrote on standard output
};

// Runs `command` through /bin/sh (redirections and variables allowed).
inline CommandResult runCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int raw = ::pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

// `text` as one shell word (single quotes; a quote inside is closed, escaped
// and reopened).
inline std::string shellQuoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  out += '\'';
  return out;
}

// What a run of tindavel-cli gave.
struct CliRun {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs `tindavel-cli SUBCOMMAND ARGS...`, its standard error caught in a file
// in `scratch` (a folder of the test's own).
inline CliRun runCli(const std::string& subcommand, const std::vector<std::string>& args,
                     const std::filesystem::path& scratch) {
  std::string command = shellQuoted(kCliPath) + " " + subcommand;
  for (const std::string& a : args) command += " " + shellQuoted(a);
  const std::filesystem::path err = scratch / "stderr.txt";
  command += " 2>" + shellQuoted(err.string());
  const CommandResult done = runCommand(command);
  std::ifstream in(err, std::ios::binary);
  return {done.status, done.out, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())};
}

#endif  // TINDAVEL_TESTS_COMMAND_RUNNER_H_
