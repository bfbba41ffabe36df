// tindavel-cli recount against the engine: the same counts, the JSON keys,
// the trace, and exit status 2 for bad arguments and unreadable files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "records/block_reader.h"
#include "records/recount_engine.h"
#include "settings/ini_file.h"
#include "settings/settings_store.h"
#include "tests/command_runner.h"
#include "tests/records/recount_test_support.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

class RecountCliTest : public TempFolderTest {
 protected:
  CliRun run(const std::vector<std::string>& args) { return runCli("recount", args, dir); }

  // The engine's counts of frames first..last (0: the last frame), one per
  // channel of the recording.
  std::vector<int32_t> engineCounts(const std::string& path, int32_t width, int32_t first, int32_t last) {
    const SettingsStore store((dir / "store.ini").string());
    int channels = 0;
    const ChannelArray<int32_t> all = countOnOwnState(path, store, width, first, last, &channels);
    EXPECT_GT(channels, 0) << path;
    return std::vector<int32_t>(all.begin() + 1, all.begin() + 1 + channels);
  }

  // The command's JSON is flat and its keys are fixed, so plain searching is
  // enough (std::regex also trips GCC 12's -Wmaybe-uninitialized).
  static std::vector<int32_t> jsonCounts(const std::string& json) {
    std::vector<int32_t> counts;
    const std::string key = "\"counts\": [";
    const size_t begin = json.find(key);
    if (begin == std::string::npos) return counts;
    const size_t end = json.find(']', begin);
    std::istringstream list(json.substr(begin + key.size(), end - begin - key.size()));
    std::string number;
    while (std::getline(list, number, ',')) counts.push_back(std::stoi(number));
    return counts;
  }
  static long long jsonNumber(const std::string& json, const std::string& key) {
    const std::string quoted = "\"" + key + "\": ";
    const size_t at = json.find(quoted);
    if (at == std::string::npos) return -1;
    return std::strtoll(json.c_str() + at + quoted.size(), nullptr, 10);
  }

  std::string recording(const std::string& name, int32_t lines, int channels, bool text = false) {
    return writeRecording(dir / name, recordWords(drawFish(lines, fishEvery(lines, 37, channels))),
                          reportFor(channels), text);
  }
};

TEST_F(RecountCliTest, JsonCountsEqualTheEnginesAndTheTraceHasALinePerFish) {
  const std::string path = recording("a", 25000, 4);
  const fs::path trace = dir / "trace.txt";
  const CliRun r = run({path, "--json", "--trace", trace.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* key : {"\"file\"", "\"channels\": 4", "\"frame_width\": 1000", "\"frames\": 25",
                          "\"first_frame\": 1", "\"last_frame\": 25", "\"lines\": 25000", "\"seconds\"",
                          "\"lines_per_second\"", "\"damage\": []"}) {
    EXPECT_NE(r.out.find(key), std::string::npos) << key << " in " << r.out;
  }
  const std::vector<int32_t> counts = jsonCounts(r.out);
  EXPECT_EQ(counts, engineCounts(path, 1000, 1, 0));
  long long total = 0;
  for (int32_t c : counts) total += c;
  EXPECT_EQ(jsonNumber(r.out, "total"), total);
  EXPECT_GT(total, 0);
  const std::string t = readFileBytes(trace.string()).value_or("");
  EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), total);
  // LineCounter counts from 1 at the file's first line: the trace's first
  // field lies within the file.
  const long long firstField = std::stoll(t.substr(0, t.find(' ')));
  EXPECT_GE(firstField, 1);
  EXPECT_LE(firstField, 25000);
}

// simulate --crowd writes the dense stream of the benchmarks: about 100 fish
// per 1000 lines in four channels, several runs on every line, the same
// bytes for the same arguments; recount counts it as the engine does.
TEST_F(RecountCliTest, CrowdedSimulationIsDenseAndCountsAsTheEngineDoes) {
  const std::string stem = (dir / "crowd").string();
  const std::vector<std::string> args = {"--out", stem, "--minutes", "0.5", "--channels", "4",
                                         "--size-group", "7", "--seed", "7", "--crowd"};
  const CliRun made = runCli("simulate", args, dir);
  ASSERT_EQ(made.status, 0) << made.err;
  const long long lines = jsonNumber(made.out, "lines");
  const long long fish = jsonNumber(made.out, "recorded_fish");
  ASSERT_EQ(lines, 33480);
  EXPECT_GT(fish * 1000, 80 * lines) << made.out;
  EXPECT_LT(fish * 1000, 120 * lines) << made.out;
  BlockReader reader;
  ASSERT_TRUE(reader.open(stem + ".blb"));
  DetectionState d;
  long long pairs = 0;
  while (reader.readRawLine(d)) pairs += d.SegmentCount;
  EXPECT_GT(pairs, 5 * lines) << "runs per line";
  const std::string first = readFileBytes(stem + ".blb").value_or("");
  ASSERT_EQ(runCli("simulate", args, dir).status, 0);
  EXPECT_EQ(readFileBytes(stem + ".blb").value_or(""), first) << "the same arguments, the same bytes";

  const CliRun r = run({stem + ".blb", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(jsonCounts(r.out), engineCounts(stem + ".blb", 1000, 1, 0));
  EXPECT_GT(jsonNumber(r.out, "total"), fish / 3);

  const CliRun tooMany = runCli("simulate", {"--out", stem, "--fish-per-minute", "700"}, dir);
  EXPECT_EQ(tooMany.status, 2);
  EXPECT_NE(tooMany.err.find("between 0 and 600"), std::string::npos) << tooMany.err;
  EXPECT_EQ(runCli("simulate", {"--out", stem, "--minutes", "0.05", "--crowd", "--fish-per-minute", "5000"}, dir)
                .status,
            0);
}

TEST_F(RecountCliTest, AStretchOfFramesIsCountedAsAnAutocount) {
  const std::string path = recording("a", 25000, 2);
  const CliRun r = run({path, "--json", "--frame-width", "700", "--from", "5", "--to", "11"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(jsonNumber(r.out, "lines"), 7 * 700);
  EXPECT_EQ(jsonNumber(r.out, "frames"), 36);
  EXPECT_EQ(jsonCounts(r.out), engineCounts(path, 700, 5, 11));
}

TEST_F(RecountCliTest, TextRecordCountsAsItsBinaryTwin) {
  const CliRun bin = run({recording("b", 8000, 3), "--json"});
  const CliRun txt = run({recording("t", 8000, 3, true), "--json"});
  ASSERT_EQ(bin.status, 0) << bin.err;
  ASSERT_EQ(txt.status, 0) << txt.err;
  EXPECT_EQ(jsonCounts(bin.out), jsonCounts(txt.out));
}

TEST_F(RecountCliTest, HumanSummaryNamesTheCounts) {
  const CliRun r = run({recording("a", 3000, 2)});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("re-count"), std::string::npos);
  EXPECT_NE(r.out.find("total"), std::string::npos);
  EXPECT_NE(r.out.find("3000 lines"), std::string::npos);
}

TEST_F(RecountCliTest, BadArgumentsAndUnreadableFilesExitWithTwo) {
  const std::string path = recording("a", 3000, 1);
  const std::vector<std::vector<std::string>> bad = {
      {},
      {path, "--from", "0"},
      {path, "--from", "4"},
      {path, "--to", "9"},
      {path, "--from", "3", "--to", "2"},
      {path, "--frame-width", "-5"},
      {path, "--frame-width"},
      {path, "--bogus"},
      {path, path},
      {(dir / "none.blb").string()},
      {dir.string() + "/"},
  };
  for (const auto& args : bad) {
    const CliRun r = run(args);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_EQ(r.status, 2) << joined;
    EXPECT_TRUE(r.out.empty()) << joined;
    EXPECT_FALSE(r.err.empty()) << joined;
  }
}

TEST_F(RecountCliTest, MissingReportFileExitsWithTwoAndSaysSo) {
  const fs::path path = dir / "alone.blb";
  writeFile(path, encodeBinary(recordWords(drawFish(100, {}))));
  const CliRun r = run({path.string(), "--json"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("Cant find corresponding reportfile (.mse)"), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}

TEST_F(RecountCliTest, DamagedFilesAreCountedAsFarAsTheyGoWithTheDamageListed) {
  const std::vector<int16_t> good = recordWords(drawFish(3000, fishEvery(3000, 37, 2)));
  struct Case {
    const char* name;
    std::string bytes;
    const char* reason;
  };
  std::vector<Case> cases;
  std::vector<int16_t> negative = good;
  negative.push_back(-4);
  negative.push_back(0);
  cases.push_back({"negative", encodeBinary(negative), "negative segment count"});
  std::vector<int16_t> tooMany = good;
  tooMany.push_back(501);
  for (int i = 0; i < 501; ++i) {
    tooMany.push_back(static_cast<int16_t>(i));
    tooMany.push_back(static_cast<int16_t>(i));
  }
  cases.push_back({"toomany", encodeBinary(tooMany), "segment count above 500"});
  std::string cut = encodeBinary(good);
  cut += encodeBinary(std::vector<int16_t>{3, 10, 20});
  cases.push_back({"cut", cut, "line cut short at end of file"});
  cases.push_back({"odd", encodeBinary(good) + "x", "odd byte at end of file"});
  cases.push_back({"short", std::string("\x01", 1), "file shorter than its header"});
  for (const Case& c : cases) {
    const fs::path path = dir / (std::string(c.name) + ".blb");
    writeFile(path, c.bytes);
    writeFile(dir / (std::string(c.name) + ".mse"), reportFor(2));
    const CliRun r = run({path.string(), "--json"});
    EXPECT_EQ(r.status, 0) << c.name << ": " << r.err;
    EXPECT_NE(r.out.find(c.reason), std::string::npos) << c.name << ": " << r.out;
  }
}

TEST_F(RecountCliTest, DemoSampleCountsAsTheEngineDoesAndFindsItsFish) {
  const fs::path samples = fs::path(TINDAVEL_SOURCE_DIR) / "samples";
  const std::string demo = (samples / "demo.blb").string();
  ASSERT_TRUE(fs::exists(demo)) << "samples/demo.blb is part of the repository";
  const CliRun r = run({demo, "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"damage\": []"), std::string::npos) << r.out;

  // Every line of the file is counted once.
  BlockReader reader;
  ASSERT_TRUE(reader.open(demo));
  const int32_t lines = reader.fjoldilinaiskra();
  EXPECT_GT(lines, 0);
  EXPECT_EQ(jsonNumber(r.out, "lines"), lines);

  const std::vector<int32_t> counts = jsonCounts(r.out);
  EXPECT_EQ(counts, engineCounts(demo, kDefaultFrameWidth, 1, 0));

  // The fish list of the simulation: one row per fish, its channel third.
  std::vector<int32_t> truth(counts.size(), 0);
  std::istringstream csv(readFileBytes((samples / "demo.truth.csv").string()).value_or(""));
  std::string row;
  std::getline(csv, row);  // column names
  int32_t truthTotal = 0;
  while (std::getline(csv, row)) {
    if (row.empty()) continue;
    std::istringstream fields(row);
    std::string field;
    for (int k = 0; k < 3; ++k) std::getline(fields, field, ',');
    const int channel = std::stoi(field);
    ASSERT_GE(channel, 1) << row;
    ASSERT_LE(static_cast<size_t>(channel), truth.size()) << row;
    ++truth[static_cast<size_t>(channel - 1)];
    ++truthTotal;
  }
  ASSERT_GT(truthTotal, 100);
  // Fish that touch may be counted as one, so the count may fall a little
  // short of the list; it is never far from it, in any channel.
  int32_t total = 0;
  for (size_t c = 0; c < counts.size(); ++c) {
    EXPECT_NEAR(counts[c], truth[c], std::max(2, truth[c] / 20)) << "channel " << c + 1;
    total += counts[c];
  }
  EXPECT_EQ(jsonNumber(r.out, "total"), total);
  EXPECT_NEAR(total, truthTotal, truthTotal / 33) << "the list holds " << truthTotal << " fish";
}

}  // namespace
