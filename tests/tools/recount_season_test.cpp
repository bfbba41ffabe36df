// tindavel-cli recount over a season: the fish rows against the simulator's
// fish list, --jobs against one job byte for byte, names that are not
// UTF-8, the printed re-count report, and an interrupted run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "settings/text_encoding.h"
#include "tests/command_runner.h"
#include "tests/tools/csv_reader.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// "yyyy-mm-ddThh:mm:ss.mmm" (std::regex trips GCC 12's -Wmaybe-uninitialized).
bool isIsoTime(const std::string& t) {
  const std::string shape = "dddd-dd-ddTdd:dd:dd.ddd";
  if (t.size() != shape.size()) return false;
  for (size_t i = 0; i < t.size(); ++i) {
    if (shape[i] == 'd' ? (t[i] < '0' || t[i] > '9') : t[i] != shape[i]) return false;
  }
  return true;
}

void spill(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

class RecountSeasonTest : public TempFolderTest {
 protected:
  CliRun run(const std::vector<std::string>& args) { return runCli("recount", args, dir); }

  // A simulated recording NAME.blb with its report and fish list.
  std::string simulate(const std::string& name, int seed, const std::string& minutes = "2", int channels = 2) {
    const CliRun r = runCli("simulate",
                            {"--out", (dir / name).string(), "--minutes", minutes, "--channels",
                             std::to_string(channels), "--seed", std::to_string(seed)},
                            dir);
    EXPECT_EQ(r.status, 0) << r.err;
    return (dir / (name + ".blb")).string();
  }

  static std::vector<Row> csv(const std::string& text) {
    std::vector<Row> rows;
    EXPECT_TRUE(parseCsv(text, rows)) << text.substr(0, 400);
    return rows;
  }
};

TEST_F(RecountSeasonTest, FishRowsAreTheSimulatedFishAndSumToTheCounts) {
  const std::string blb = simulate("a", 11);
  const fs::path fish = dir / "fish.csv";
  const CliRun r = run({blb, "--csv", "--fish", fish.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<Row> counts = csv(r.out);
  const std::vector<Row> rows = csv(fileContents(fish));
  ASSERT_EQ(rows.front(), (Row{"file", "channel", "channel_name", "size_group", "frame", "line", "time", "length_lines",
                               "breadth_px", "area", "breadth_mm", "weight_estimate_g"}));

  // The truth: first_line,last_line,channel,length_lines,breadth_pixels,
  // by channel and last line.
  std::map<std::pair<std::string, int64_t>, Row> truth;
  std::ifstream list(dir / "a.truth.csv");
  std::string line;
  std::getline(list, line);
  while (std::getline(list, line)) {
    const Row f = csv(line + "\r\n").front();
    truth[{f[2], std::stoll(f[1])}] = f;
  }

  std::map<std::string, int64_t> perChannel;
  size_t matched = 0;
  int64_t lastLine = 0;
  for (size_t i = 1; i < rows.size(); ++i) {
    const Row& f = rows[i];
    ASSERT_EQ(f.size(), 12u);
    EXPECT_EQ(f[0], blb);
    ++perChannel[f[1]];
    const int64_t at = std::stoll(f[5]);
    EXPECT_GE(at, lastLine) << "rows in count order";
    lastLine = at;
    EXPECT_EQ(std::stoll(f[4]), (at - 1) / 1000 + 1) << "frame of line " << at;
    EXPECT_TRUE(isIsoTime(f[6])) << f[6];
    EXPECT_GT(std::stod(f[10]), 0);
    EXPECT_GT(std::stod(f[11]), 0);
    // A fish ends on the line after its last row, or on its last row when
    // that row is too narrow to keep (a tail of MinWidth or less), as may be
    // its first: then it is up to two lines shorter.
    for (const int64_t last : {at - 1, at}) {
      const auto it = truth.find({f[1], last});
      if (it == truth.end()) continue;
      const int64_t shorter = std::stoll(it->second[3]) - std::stoll(f[7]);
      const int64_t broader = std::stoll(f[8]) - std::stoll(it->second[4]);
      if (shorter == at - 1 - last || (last == at && shorter >= 1 && shorter <= 2)) {
        matched += broader == 0 ? 1 : 0;
        truth.erase(it);
        break;
      }
    }
  }
  // Fish that touch are counted as one or cut apart: a few go unmatched.
  const size_t truthFish = matched + truth.size();
  EXPECT_GE(matched * 10, truthFish * 9) << matched << " of " << truthFish;
  ASSERT_EQ(counts.size(), 3u);
  for (size_t c = 1; c < counts.size(); ++c) {
    EXPECT_EQ(perChannel[std::to_string(c)], std::stoll(counts[c][5])) << "channel " << c;
  }
}

TEST_F(RecountSeasonTest, JobsGiveTheBytesAndStatusOfOneJob) {
  std::vector<std::string> files;
  for (int k = 0; k < 4; ++k) files.push_back(simulate("r" + std::to_string(k), 20 + k, "1"));
  // Damaged: cut in the middle of a line record.
  const std::string cut = (dir / "cut.blb").string();
  const std::string whole = fileContents(files[1]);
  spill(cut, whole.substr(0, whole.size() / 2 + 1));
  fs::copy_file(dir / "r1.mse", dir / "cut.mse");
  files.insert(files.begin() + 2, cut);
  files.insert(files.begin() + 1, (dir / "missing.blb").string());  // unreadable
  files.push_back((dir / "r0.mse").string());                      // no recording at all

  std::vector<CliRun> runs;
  for (const char* jobs : {"1", "3"}) {
    std::vector<std::string> args = files;
    args.insert(args.end(), {"--csv", "--fish", (dir / (std::string("fish") + jobs + ".csv")).string(), "--jobs", jobs});
    runs.push_back(run(args));
  }
  EXPECT_EQ(runs[0].status, 2);
  EXPECT_EQ(runs[1].status, runs[0].status);
  EXPECT_EQ(runs[1].out, runs[0].out);
  EXPECT_EQ(runs[1].err, runs[0].err);
  const std::string fish = fileContents(dir / "fish1.csv");
  EXPECT_EQ(fileContents(dir / "fish3.csv"), fish);
  EXPECT_NE(fish.find("cut.blb"), std::string::npos);

  // In the order given, each file's rows together.
  std::vector<std::string> order;
  for (const Row& row : csv(runs[1].out)) {
    if (order.empty() || order.back() != row[0]) order.push_back(row[0]);
  }
  order.erase(order.begin());  // the header
  EXPECT_EQ(order, files);
}

TEST_F(RecountSeasonTest, NamesThatAreNotUtf8StayReadable) {
  simulate("a", 5, "1");
  const std::string latin1 = (dir / "sk\xf6la").string();
  fs::copy_file(dir / "a.blb", latin1 + ".blb");
  fs::copy_file(dir / "a.mse", latin1 + ".mse");
  const std::string shown = (dir / "sk\xef\xbf\xbdla.blb").string();  // U+FFFD in place of 0xF6
  const fs::path fish = dir / "fish.csv";
  for (const char* format : {"--json", "--csv"}) {
    const CliRun r = run({latin1 + ".blb", format, "--fish", fish.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(isValidUtf8(r.out)) << format;
    EXPECT_NE(r.out.find(shown), std::string::npos) << r.out;
    const std::string rows = fileContents(fish);
    EXPECT_TRUE(isValidUtf8(rows));
    EXPECT_NE(rows.find(shown), std::string::npos);
  }
}

TEST_F(RecountSeasonTest, PrintedReportHasASummaryPageAndAPagePerRecording) {
  std::vector<std::string> files;
  for (int k = 0; k < 3; ++k) files.push_back(simulate("day" + std::to_string(k), 40 + k, "1"));
  files.push_back((dir / "missing.blb").string());
  struct Print {
    const char* paper;
    const char* jobs;
    const char* size;  // as pdfinfo gives it
  };
  for (const Print& p : {Print{"a4", "1", "(A4)"}, Print{"a4", "3", "(A4)"}, Print{"letter", "3", "(letter)"}}) {
    const fs::path pdf = dir / (std::string(p.paper) + p.jobs + ".pdf");
    std::vector<std::string> args = files;
    args.insert(args.end(), {"--pdf", pdf.string(), "--paper", p.paper, "--jobs", p.jobs});
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 2) << r.err;  // one file could not be counted
    const CommandResult info = runCommand("pdfinfo " + shellQuoted(pdf.string()));
    EXPECT_NE(info.out.find("Pages:           5"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find(p.size), std::string::npos) << info.out;
  }
  EXPECT_EQ(fileContents(dir / "a43.pdf"), fileContents(dir / "a41.pdf"));
  const std::string summary =
      runCommand("pdftotext -layout -f 1 -l 1 " + shellQuoted((dir / "a41.pdf").string()) + " -").out;
  for (const char* text : {"Re-count report", "Recordings", "Totals per day and channel", "not counted",
                                  "Page 1 of 5"}) {
    EXPECT_NE(summary.find(text), std::string::npos) << text << "\n" << summary;
  }
  // Each recording's row: its live count, re-count and difference summed
  // over its channels, as --csv gives them.
  std::vector<std::string> counted(files.begin(), files.end() - 1);
  counted.push_back("--csv");
  const std::vector<Row> rows = csv(run(counted).out);
  for (const std::string& f : files) {
    const std::string name = fs::path(f).filename().string();
    int64_t live = 0;
    int64_t recount = 0;
    for (const Row& row : rows) {
      if (row[0] != f) continue;
      live += std::stoll(row[4]);
      recount += std::stoll(row[5]);
    }
    const size_t at = summary.find("/" + name + " ");
    ASSERT_NE(at, std::string::npos) << name << "\n" << summary;
    std::istringstream words(summary.substr(at, summary.find('\n', at) - at));
    std::vector<std::string> cells;
    for (std::string w; words >> w;) cells.push_back(w);
    ASSERT_GE(cells.size(), 4u);
    if (f == files.back()) {
      EXPECT_EQ(cells.back(), "counted") << "not counted";
      continue;
    }
    const std::string sign = recount > live ? "+" : "";
    EXPECT_EQ(std::vector<std::string>(cells.end() - 3, cells.end()),
              (std::vector<std::string>{std::to_string(live), std::to_string(recount),
                                        sign + std::to_string(recount - live)}))
        << name;
  }
}

TEST_F(RecountSeasonTest, AnInterruptedRunLeavesTheOldFishFile) {
  std::vector<std::string> args = {kCliPath, "recount"};
  for (int k = 0; k < 6; ++k) args.push_back(simulate("r" + std::to_string(k), 60 + k, "3"));
  const fs::path fish = dir / "fish.csv";
  spill(fish, "the rows of an earlier run\n");
  args.insert(args.end(), {"--fish", fish.string(), "--jobs", "1"});

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    (void)freopen("/dev/null", "w", stdout);
    execv(argv[0], argv.data());
    _exit(127);
  }
  // Interrupted once the new rows are being written beside the old file.
  bool writing = false;
  for (int wait = 0; wait < 2000 && !writing; ++wait) {
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
      writing = writing || e.path().filename().string().rfind(".fish.csv", 0) == 0;
    }
    if (!writing) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  kill(child, SIGINT);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(writing);
  EXPECT_TRUE(WIFSIGNALED(status)) << "the run ended before it was interrupted";
  EXPECT_EQ(WTERMSIG(status), SIGINT) << "the run does not end as the signal ends it";
  EXPECT_EQ(fileContents(fish), "the rows of an earlier run\n");
  // Nor is anything of the new rows left beside it.
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    EXPECT_NE(e.path().filename().string().rfind(".fish.csv", 0), 0U) << e.path();
  }
}

}  // namespace
