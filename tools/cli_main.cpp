// tindavel-cli: the command-line side of the program, for support, scripting
// and tests. A thin dispatcher over the subcommands that registered; the
// same dispatcher serves tindavel-cli-windows, the program of the commands
// that need Qt (tools/window_commands.h).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

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

}  // namespace

bool registerCliCommand(const CliCommand& command) {
  commands().push_back(command);
  return true;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    printUsage(stderr);
    return 2;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    printUsage(stdout);
    return 0;
  }
  if (name == "--version") {
    std::printf("tindavel-cli %s\n", versionNumber().c_str());
    return 0;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  const bool help = std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
  for (const CliCommand& c : commands()) {
    if (name != c.name) continue;
    if (help && c.usage != nullptr) {
      std::printf("%s\n", c.usage);
      return 0;
    }
    return c.run(args);
  }
  std::fprintf(stderr, "tindavel-cli: unknown command '%s' (try tindavel-cli --help)\n", name.c_str());
  return 2;
}
