// tindavel-cli simulate: writes a synthetic recording, its report and the
// list of its fish (see tools/recording_simulator.h).
//
//   tindavel-cli simulate --out PATH [--minutes M] [--channels N]
//                         [--size-group G] [--fish-per-minute F] [--seed S]
//                         [--sampling] [--crowd]
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/size_groups.h"
#include "records/record_format.h"
#include "reports/report_values.h"
#include "settings/settings_variables.h"
#include "tools/cli_command.h"
#include "tools/json_text.h"
#include "tools/recording_simulator.h"

namespace {

using Options = SimulationOptions;

bool parseNumber(const std::string& text, double lo, double hi, double& value) {
  const std::optional<double> v = parseReportViewerFloat(text);
  if (!v || *v < lo || *v > hi) return false;
  value = *v;
  return true;
}

bool parseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
  bool rateGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--sampling") {
      o.sampling = true;
      continue;
    }
    if (a == "--crowd") {
      o.crowd = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = a.rfind("--", 0) == 0 ? a + " needs a value" : "unexpected argument " + a;
      return false;
    }
    const std::string& v = args[++i];
    double number = 0;
    if (a == "--out") {
      o.out = v;
    } else if (a == "--minutes") {
      if (!parseNumber(v, 0.01, 24 * 60, number)) return error = "--minutes must lie between 0.01 and 1440", false;
      o.minutes = number;
    } else if (a == "--channels") {
      const std::optional<int32_t> n = parseReportInteger(v);
      if (!n || *n < 1 || *n > kMaxChannels) return error = "--channels must be 1 to 4", false;
      o.channels = *n;
    } else if (a == "--size-group") {
      const std::optional<int32_t> g = parseReportInteger(v);
      if (!g || *g < 0 || *g >= kSizeGroupCount) return error = "--size-group must be 0 to 9", false;
      o.sizeGroup = *g;
    } else if (a == "--fish-per-minute") {
      // Checked against the limit once --crowd may have come.
      if (!parseNumber(v, 0, kMaxCrowdFishPerMinute, number)) number = -1;
      o.fishPerMinute = number;
      rateGiven = true;
    } else if (a == "--seed") {
      uint64_t seed = 0;
      const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), seed);
      if (ec != std::errc() || end != v.data() + v.size()) return error = "--seed must be a whole number", false;
      o.seed = seed;
    } else {
      error = "unknown option " + a;
      return false;
    }
  }
  if (!rateGiven && o.crowd) o.fishPerMinute = kCrowdFishPerMinute;
  const double maxRate = o.crowd ? kMaxCrowdFishPerMinute : kMaxFishPerMinute;
  if (o.fishPerMinute < 0 || o.fishPerMinute > maxRate) {
    error = o.crowd ? "--fish-per-minute must lie between 0 and 6000 with --crowd"
                    : "--fish-per-minute must lie between 0 and 600";
    return false;
  }
  if (o.out.empty()) {
    error = "--out PATH is required";
    return false;
  }
  return true;
}

constexpr const char* kUsage =
    "usage: tindavel-cli simulate --out PATH [--minutes M] [--channels N] [--size-group G] [--fish-per-minute F]\n"
    "                             [--seed S] [--sampling] [--crowd]";

int runSimulate(const std::vector<std::string>& args) {
  Options o;
  std::string error;
  if (!parseOptions(args, o, error)) {
    (void)std::fprintf(stderr, "tindavel-cli simulate: %s\n%s\n", error.c_str(), kUsage);
    return 2;
  }
  const std::string blb = o.out + std::string(kBinaryExtension);
  const std::string mse = o.out + std::string(kReportExtension);
  const std::string truth = o.out + ".truth.csv";
  SimulationResult result;
  if (!simulateSession(o, result, error)) {
    (void)std::fprintf(stderr, "tindavel-cli simulate: %s\n", error.c_str());
    return 2;
  }
  std::string counts;
  const std::vector<int64_t>& perChannel = result.countsPerChannel;
  for (int c = 1; c <= o.channels; ++c) counts += (c > 1 ? ", " : "") + std::to_string(perChannel[static_cast<size_t>(c)]);
  std::printf("{\"blb\": %s, \"mse\": %s, \"truth\": %s, \"lines\": %lld, \"recorded_fish\": %lld, \"counts\": [%s]}\n",
              jsonString(blb).c_str(), jsonString(mse).c_str(), jsonString(truth).c_str(),
              static_cast<long long>(result.fileLines), static_cast<long long>(result.recordedFish), counts.c_str());
  return 0;
}

const bool kRegistered = registerCliCommand(
    {"simulate", "write a synthetic recording (.blb), its report (.mse) and the fish list (.truth.csv)", runSimulate, kUsage});

}  // namespace
