// Subcommands of tindavel-cli. Each lives in a cmd_<name>.cpp of its own and
// registers itself at start-up, so adding one touches no other file; one
// that needs Qt also takes its name and summary from tools/window_commands.h.
#ifndef TINDAVEL_TOOLS_CLI_COMMAND_H_
#define TINDAVEL_TOOLS_CLI_COMMAND_H_

#include <string>
#include <vector>

struct CliCommand {
  const char* name;     // the word after tindavel-cli
  const char* summary;  // one line for the usage text
  // Runs the command with the words after its name. Returns the exit status:
  // 0 for a clean run, 2 for bad arguments or an unreadable file.
  int (*run)(const std::vector<std::string>& args);
  // Its usage text, printed for `tindavel-cli NAME --help`. Null for a
  // command that hands its words on (the window commands' hand-over): the
  // program it hands them to answers --help.
  const char* usage = nullptr;
};

// Called from a static initialiser in each command's file; returns true.
bool registerCliCommand(const CliCommand& command);

#endif  // TINDAVEL_TOOLS_CLI_COMMAND_H_
