// tindavel-cli settings [--store PATH]
//
// Loads the settings store as the program does at start and prints the
// working copy: one name=value line per stored value, in the order and
// spelling in which the program saves them, then the derived values
//
//   ChannelWidthMm=1000
//   NrChannels=1
//   LeftEdge=0
//   RightEdge=511
//   Channel1=10,500,25        (Begin,End,Width of each channel in use)
//
// The store is never written, even where a load would write it.
#include <cstdio>
#include <string>
#include <vector>

#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "tools/cli_args.h"
#include "tools/cli_command.h"

namespace {

constexpr const char* kUsage = "usage: tindavel-cli settings [--store PATH]";

int runSettings(const std::vector<std::string>& args) {
  std::string path = defaultStorePath();
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--store" || !takeOptionValue(args, i, path)) {
      std::fprintf(stderr, "%s\n", kUsage);
      return 2;
    }
  }

  SettingsStore store(path);
  store.setReadOnly(true);
  if (!store.readable()) {
    std::fprintf(stderr, "tindavel-cli settings: cannot read the settings store '%s'\n", path.c_str());
    return 2;
  }
  SettingsVariables variables;
  SettingsModel controls;
  Read_Registry(variables, controls, store);

  for (const auto& [name, value] : registryValues(variables, controls)) {
    std::printf("%s=%s\n", name.c_str(), value.c_str());
  }
  std::printf("ChannelWidthMm=%d\n", variables.ChannelWidthMm);
  std::printf("NrChannels=%d\n", variables.NrChannels);
  std::printf("LeftEdge=%d\n", variables.LeftEdge);
  std::printf("RightEdge=%d\n", variables.RightEdge);
  for (int n = 1; n <= variables.NrChannels; ++n) {
    const ChannelPosition& p = variables.ChannelPositions[n];
    std::printf("Channel%d=%d,%d,%d\n", n, p.Begin, p.End, p.Width);
  }
  return 0;
}

const bool kRegistered = registerCliCommand(
    {"settings", "print the stored settings as the program loads them [--store PATH]", runSettings, kUsage});

}  // namespace
