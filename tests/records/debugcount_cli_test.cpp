// tindavel-cli debugcount against the debug viewer's engine: the same counts
// and windows, the ".tal" column, the CSV rows, and exit status 2 for bad
// arguments and unreadable files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/debug_viewer_engine.h"
#include "settings/ini_file.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "tests/command_runner.h"
#include "tests/records/recount_test_support.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

struct EngineRun {
  std::vector<int32_t> counts;
  std::vector<int32_t> automatic;  // per window
  int32_t total = 0;
};

class DebugcountCliTest : public TempFolderTest {
 protected:
  CliRun run(const std::vector<std::string>& args) { return runCli("debugcount", args, dir); }

  // "Next" pressed to the end on an engine of the test's own, on the
  // settings of a fresh store as the command has them here.
  EngineRun engineRun(const std::string& path, int32_t width) {
    SettingsStore store((dir / "none.ini").string());
    store.setReadOnly(true);
    auto d = std::make_unique<DetectionState>();
    SettingsVariables s;
    SettingsModel controls;
    ViewerCounts v;
    Read_Registry(s, controls, store);
    DebugViewerContext ctx;
    ctx.detection = d.get();
    ctx.settings = &s;
    ctx.counts = &v;
    ctx.controls = &controls;
    DebugViewerEngine engine(ctx);
    engine.setPictureSize(width, 600);
    EngineRun r;
    if (!engine.openFile(path, readRecordingReport(path, false), nullptr)) return r;
    while (engine.state().nextEnabled) {
      engine.nextClick();
      r.automatic.push_back(engine.lastWindow().Automatic);
    }
    for (int c = 1; c <= s.NrChannels; ++c) r.counts.push_back(v.ViewerCount[c]);
    r.total = d->ObjectTotal;
    return r;
  }

  static std::vector<int32_t> jsonList(const std::string& json, const std::string& key) {
    std::vector<int32_t> values;
    const std::string quoted = "\"" + key + "\": [";
    const size_t begin = json.find(quoted);
    if (begin == std::string::npos) return values;
    const size_t end = json.find(']', begin);
    std::istringstream list(json.substr(begin + quoted.size(), end - begin - quoted.size()));
    std::string number;
    while (std::getline(list, number, ',')) values.push_back(std::stoi(number));
    return values;
  }
  static long long jsonNumber(const std::string& json, const std::string& key) {
    const std::string quoted = "\"" + key + "\": ";
    const size_t at = json.find(quoted);
    if (at == std::string::npos) return -1;
    return std::strtoll(json.c_str() + at + quoted.size(), nullptr, 10);
  }

  std::string recording(const std::string& name, int32_t lines, int channels) {
    return writeRecording(dir / name, recordWords(drawFish(lines, fishEvery(lines, 29, channels))),
                          reportFor(channels));
  }
};

TEST_F(DebugcountCliTest, JsonCountsEqualTheEnginesWindowByWindow) {
  const std::string path = recording("a", 12500, 3);
  const CliRun r = run({path, "--json", "--window-width", "800"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* key : {"\"file\"", "\"channels\": 3", "\"window_width\": 800", "\"windows\": 16",
                          "\"lines\": 12500", "\"manual_total\": null", "\"damage\": []"}) {
    EXPECT_NE(r.out.find(key), std::string::npos) << key << " in " << r.out;
  }
  const EngineRun e = engineRun(path, 800);
  EXPECT_EQ(jsonList(r.out, "counts"), e.counts);
  EXPECT_EQ(jsonNumber(r.out, "total"), e.total);
  EXPECT_GT(e.total, 0);
  std::vector<int32_t> automatic;
  for (size_t at = r.out.find("\"automatic\": "); at != std::string::npos;
       at = r.out.find("\"automatic\": ", at + 1)) {
    automatic.push_back(static_cast<int32_t>(std::strtol(r.out.c_str() + at + 13, nullptr, 10)));
  }
  EXPECT_EQ(automatic, e.automatic);
}

TEST_F(DebugcountCliTest, CsvHasAHeaderAndARowPerWindowWithTheManualCount) {
  const std::string path = recording("m", 2500, 1);
  writeFile(dir / "m.tal", "3 0\n9 1\n");
  const CliRun r = run({path, "--csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  const EngineRun e = engineRun(path, 1000);
  ASSERT_EQ(e.automatic.size(), 3u);
  // Each window beside the line the window shows for it: line 1 only at the opening.
  const std::string expected = "window,first_line,lines,automatic,manual\n1,1,1000," +
                               std::to_string(e.automatic[0]) + ",9\n2,1001,1000," +
                               std::to_string(e.automatic[1]) + ",\n3,2001,500," +
                               std::to_string(e.automatic[2]) + ",\n";
  EXPECT_EQ(r.out, expected);
}

TEST_F(DebugcountCliTest, TextSummaryNamesTotalAndWindows) {
  const CliRun r = run({recording("t", 1500, 2)});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Total:"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("window 2 (lines 1001-1500)"), std::string::npos) << r.out;
}

TEST_F(DebugcountCliTest, BadArgumentsAndUnreadableFilesExitTwo) {
  const std::string path = recording("b", 500, 1);
  const std::vector<std::vector<std::string>> bad = {
      {},
      {path, "--window-width"},
      {path, "--window-width", "0"},
      {path, "--window-width", "5000"},
      {path, "--json", "--csv"},
      {path, "--frame-width", "10"},
      {path, path},
      {(dir / "missing.blb").string()},
  };
  for (const auto& args : bad) {
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? "(none)" : args.back());
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err.rfind("tindavel-cli debugcount: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

// Peak resident memory of one run, in KB, from the child's own rusage;
// standard output goes to /dev/null. -1 when the run did not end with 0.
long peakKilobytes(const std::vector<std::string>& args) {
  std::vector<std::string> words = {kCliPath, "debugcount"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) return -1;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

// Every window is written as it ends: a hundred times the windows take no
// more memory (at width 1 a window is a line).
TEST_F(DebugcountCliTest, MemoryDoesNotGrowWithTheWindows) {
  const std::string small = recording("small", 3000, 2);
  const std::string large = recording("large", 300000, 2);
  for (const char* form : {"--json", "--csv"}) {
    const long few = peakKilobytes({small, "--window-width", "1", form});
    const long many = peakKilobytes({large, "--window-width", "1", form});
    ASSERT_GT(few, 0) << form;
    ASSERT_GT(many, 0) << form;
    EXPECT_LT(many - few, 8 * 1024) << form << ": " << few << " KB for 3000 windows, " << many << " KB for 300000";
  }
}

}  // namespace
