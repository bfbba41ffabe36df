// Handing a command that needs Qt to tindavel-cli-windows (see
// tools/cli_hand_over.cpp).
#ifndef TINDAVEL_TOOLS_CLI_HAND_OVER_H_
#define TINDAVEL_TOOLS_CLI_HAND_OVER_H_

#include <string>
#include <vector>

// Runs `recount ARGS...` in tindavel-cli-windows (a run with --pdf) and
// returns its exit status; 2 when the program cannot be found or started.
int handOverRecountReport(const std::vector<std::string>& args);

#endif  // TINDAVEL_TOOLS_CLI_HAND_OVER_H_
