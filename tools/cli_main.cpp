// tindavel-cli: the command-line side of the program, for support, scripting
// and tests. A thin dispatcher over the subcommands that registered; the
// same dispatcher serves tindavel-cli-windows, the program of the commands
// that need Qt (tools/window_commands.h).
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "settings/standard_output.h"
#include "texts/language_fill.h"
#include "tools/cli_command.h"

namespace {

std::vector<CliCommand>& commands() {
  static std::vector<CliCommand> list;
  return list;
}

void printUsage(FILE* out) {
  std::fprintf(out, "usage: tindavel-cli COMMAND [ARGS...]\n\ncommands:\n");
  auto list = commands();
  std::sort(list.begin(), list.end(), [](const CliCommand& a, const CliCommand& b) {
    return std::string(a.name) < b.name;
  });
  for (const CliCommand& c : list) std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
}

// `status` of a command, unless what it wrote on standard output did not all
// arrive: then one line on standard error and status 2.
int checkedStatus(const std::string& command, int status) {
  if (const std::optional<std::string> problem = standardOutputProblem()) {
    std::fprintf(stderr, "tindavel-cli%s%s: cannot write standard output: %s\n", command.empty() ? "" : " ",
                 command.c_str(), problem->c_str());
    return 2;
  }
  return status;
}

}  // namespace

bool registerCliCommand(const CliCommand& command) {
  commands().push_back(command);
  return true;
}

int main(int argc, char** argv) {
  watchStandardOutput();
  if (argc < 2) {
    printUsage(stderr);
    return 2;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    printUsage(stdout);
    return checkedStatus("", 0);
  }
  if (name == "--version") {
    std::printf("tindavel-cli %s\n", versionNumber().c_str());
    return checkedStatus("", 0);
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  const bool help = std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
  for (const CliCommand& c : commands()) {
    if (name != c.name) continue;
    if (help && c.usage != nullptr) {
      std::printf("%s\n", c.usage);
      return checkedStatus(name, 0);
    }
    return checkedStatus(name, c.run(args));
  }
  std::fprintf(stderr, "tindavel-cli: unknown command '%s' (try tindavel-cli --help)\n", name.c_str());
  return 2;
}
