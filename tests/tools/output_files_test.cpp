// Every command that writes a file or standard output: an output that would
// replace an input is refused, a full disk is a failure told in one line, a
// failed run leaves the old output as it was, and names that are not UTF-8
// are written by their own bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/command_runner.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const std::string kSamples = std::string(TINDAVEL_SOURCE_DIR) + "/samples/";
const std::string kNotUtf8 = "r\xe9sum\xe9";  // Latin-1 bytes

class OutputFilesTest : public TempFolderTest {
 protected:
  void SetUp() override {
    // Qt's commands want a runtime folder of the user's own, or they say so.
    fs::create_directories(dir.parent_path() / "output_files_runtime");
    fs::permissions(dir.parent_path() / "output_files_runtime", fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", (dir.parent_path() / "output_files_runtime").c_str(), 1);
    fs::copy_file(kSamples + "demo.blb", dir / "d.blb");
    fs::copy_file(kSamples + "demo.mse", dir / "d.mse");
  }

  std::string at(const std::string& name) const { return (dir / name).string(); }

  // A run of `tindavel-cli ARGS...`, its standard output sent to `out`
  // (a file name; empty: kept).
  CliRun cli(const std::vector<std::string>& args, const std::string& out = "") const {
    std::string command = shellQuoted(kCliPath);
    for (const std::string& a : args) command += " " + shellQuoted(a);
    if (!out.empty()) command += " >" + shellQuoted(out);
    command += " 2>" + shellQuoted(at("err"));
    const CommandResult done = runCommand(command);
    return {done.status, done.out, fileContents(dir / "err")};
  }
};

struct Case {
  const char* name;
  std::vector<std::string> args;  // "@x" stands for the scratch file x
  int status;
  std::string err;    // standard error exactly, "@x" expanded; empty: nothing said
  std::string kept;   // a file whose bytes the run must not change
  std::string stdoutTo = {};  // where standard output goes (empty: a pipe)
};

TEST_F(OutputFilesTest, RefusedAndFailedOutputsLeaveTheOldFileAsItWas) {
  std::ofstream(dir / "old.txt") << "X\n";
  fs::copy_file(dir / "old.txt", dir / "old.pdf");
  std::ofstream(dir / "s.mse") << "old report\n";
  fs::create_directories(dir / "s.truth.csv");  // the simulator's third file cannot be made
  fs::create_symlink(dir / "d.mse", dir / "link.mse");
  fs::create_hard_link(dir / "d.blb", dir / "hard.blb");
  const std::string same = ": it is the same file as the input ";
  const std::vector<Case> cases = {
      // An output onto an input: by its own name, a symbolic and a hard link.
      {"report over its report", {"report", "@d.mse", "--pdf", "@d.mse"}, 2,
       "tindavel-cli report: cannot write @d.mse" + same + "@d.mse\n", "@d.mse"},
      {"trace over the recording", {"recount", "@d.blb", "--trace", "@hard.blb"}, 2,
       "tindavel-cli recount: cannot write @hard.blb" + same + "@d.blb\n", "@d.blb"},
      {"trace over the report, by a link", {"recount", "@d.blb", "--trace", "@link.mse"}, 2,
       "tindavel-cli recount: cannot write @link.mse" + same + "@d.mse\n", "@d.mse"},
      {"picture over the recording", {"screenshot", "frmRecord", "--record", "@d.blb", "--out", "@d.blb"}, 2,
       "tindavel-cli screenshot: cannot write @d.blb" + same + "@d.blb\n", "@d.blb"},
      // A failed run with an output there before.
      {"trace of a missing recording", {"recount", "@missing.blb", "--trace", "@old.txt"}, 2,
       "tindavel-cli recount: cannot read the record file @missing.blb: it does not exist\n", "@old.txt"},
      {"trace of a bad --from", {"recount", "@d.blb", "--from", "999", "--trace", "@old.txt"}, 2,
       "tindavel-cli recount: --from 999 is past the last frame 268\n", "@old.txt"},
      {"picture of a missing recording", {"screenshot", "frmRecord", "--record", "@missing.blb", "--out", "@old.pdf"},
       2, "tindavel-cli screenshot: cannot read the record file @missing.blb: it does not exist\n", "@old.pdf"},
      {"PDF of a missing report", {"report", "@missing.mse", "--pdf", "@old.pdf"}, 2,
       "tindavel-cli report: Cannot read the report file @missing.mse: it does not exist.\n", "@old.pdf"},
      {"simulation that cannot make all three files", {"simulate", "--out", "@s", "--minutes", "0.1"}, 2,
       "tindavel-cli simulate: cannot write @s.truth.csv: it is a folder\n", "@s.mse"},
      {"simulation into a folder", {"simulate", "--out", "@", "--minutes", "0.1"}, 2,
       "tindavel-cli simulate: --out @ names a folder; give the files' name as well, as in @session\n", ""},
      // Standard output on a full disk.
      {"CSV on a full disk", {"recount", "@d.blb", "--csv"}, 2,
       "tindavel-cli recount: cannot write standard output: No space left on device\n", "", "/dev/full"},
      {"window rows on a full disk", {"debugcount", "@d.blb", "--json"}, 2,
       "tindavel-cli debugcount: cannot write standard output: No space left on device\n", "", "/dev/full"},
      {"PDF to a full device", {"report", "@d.mse", "--pdf", "/dev/full"}, 2,
       "tindavel-cli report: cannot write /dev/full: No space left on device\n", ""},
  };
  auto expand = [this](std::string text) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
      const size_t end = text.find_first_of(" :;\n", at);
      const std::string name = text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
      const std::string path = name.empty() ? dir.string() + "/" : (dir / name).string();
      text.replace(at, end == std::string::npos ? std::string::npos : end - at, path);
      at += path.size();
    }
    return text;
  };
  for (const Case& c : cases) {
    std::vector<std::string> args;
    for (const std::string& a : c.args) args.push_back(expand(a));
    const std::string kept = expand(c.kept);
    const std::string before = kept.empty() ? "" : fileContents(kept);
    const CliRun r = cli(args, c.stdoutTo);
    EXPECT_EQ(r.status, c.status) << c.name;
    EXPECT_EQ(r.err, expand(c.err)) << c.name;
    if (!kept.empty()) {
      EXPECT_EQ(fileContents(kept), before) << c.name;
    }
  }
  // Nothing else was made or left behind: no temporary file, no lone .blb.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"d.blb", "d.mse", "err", "hard.blb", "link.mse", "old.pdf",
                                             "old.txt", "s.mse", "s.truth.csv"}));
}

// A file system that fills up while the output is written: a small tmpfs of
// the test's own, in a mount namespace of its own so nothing outlives the
// run. Where the test may not mount one, only standard output is tried
// (above, on /dev/full).
TEST_F(OutputFilesTest, AFullFileSystemLeavesTheOldFile) {
  if (runCommand("unshare -m sh -c 'mount -t tmpfs -o size=64k tmpfs " + shellQuoted(dir.string()) +
                 "' 2>/dev/null")
          .status != 0) {
    GTEST_SKIP() << "no tmpfs may be mounted here";
  }
  const fs::path full = dir / "full";
  fs::create_directories(full);
  const std::string f = shellQuoted(full.string());
  const std::string d = shellQuoted(dir.string());
  const std::string cli = shellQuoted(kCliPath);
  const struct {
    const char* command;
    std::string words;  // after tindavel-cli
  } rows[] = {
      {"report", "report " + d + "/d.mse --pdf " + f + "/old"},
      {"recount", "recount " + d + "/d.blb --trace " + f + "/old"},
      {"simulate", "simulate --minutes 0.2 --out " + f + "/old"},
  };
  for (const auto& row : rows) {
    // The old file, then the rest of the file system filled; the command
    // runs, and what is left is copied out before the mount goes.
    const std::string script = "mount -t tmpfs -o size=64k tmpfs " + f + " && printf old > " + f + "/old && printf old > " +
                               f + "/old.mse && { head -c 1M /dev/zero > " + f + "/filler 2>/dev/null; " + cli + " " +
                               row.words + " 2>" + d + "/err; status=$?; cat " + f + "/old > " + d + "/after; ls -A " +
                               f + " > " + d + "/left; exit $status; }";
    const CommandResult r = runCommand("unshare -m sh -c " + shellQuoted(script));
    const std::string err = fileContents(dir / "err");
    EXPECT_EQ(r.status, 2) << row.command << ": " << err;
    EXPECT_EQ(err, "tindavel-cli " + std::string(row.command) + ": cannot write " + full.string() + "/old" +
                       (row.command == std::string("simulate") ? ".blb" : "") + ": No space left on device\n");
    EXPECT_EQ(fileContents(dir / "after"), "old") << row.command;
    EXPECT_EQ(fileContents(dir / "left"), "filler\nold\nold.mse\n") << row.command;
  }
}

TEST_F(OutputFilesTest, NamesThatAreNotUtf8AreWrittenByTheirBytes) {
  fs::create_directories(dir / kNotUtf8);
  const std::string folder = at(kNotUtf8);
  const std::string shown = "r\xEF\xBF\xBDsum\xEF\xBF\xBD";  // U+FFFD for each byte
  struct Row {
    std::vector<std::string> args;
    std::vector<std::string> made;
  };
  const std::vector<Row> rows = {
      {{"report", at("d.mse"), "--pdf", folder + "/" + kNotUtf8 + ".pdf"}, {folder + "/" + kNotUtf8 + ".pdf"}},
      {{"recount", at("d.blb"), "--trace", folder + "/t.txt"}, {folder + "/t.txt"}},
      {{"simulate", "--minutes", "0.1", "--out", folder + "/" + kNotUtf8},
       {folder + "/" + kNotUtf8 + ".blb", folder + "/" + kNotUtf8 + ".mse", folder + "/" + kNotUtf8 + ".truth.csv"}},
      {{"screenshot", "Messagedialog", "--out", folder + "/" + kNotUtf8 + ".png"}, {folder + "/" + kNotUtf8 + ".png"}},
  };
  for (const Row& row : rows) {
    const CliRun r = cli(row.args);
    EXPECT_EQ(r.status, 0) << row.args.front() << ": " << r.err;
    for (const std::string& made : row.made) EXPECT_GT(fs::file_size(made), 0u) << row.args.front();
    // What is printed about the name is UTF-8.
    if (row.args.front() != "recount") {
      EXPECT_NE(r.out.find(shown), std::string::npos) << r.out;
    }
  }
}

// A reader that goes away early ends the command quietly.
TEST_F(OutputFilesTest, AClosedPipeEndsTheCommandQuietly) {
  const CommandResult r = runCommand(shellQuoted(kCliPath) + " debugcount " + shellQuoted(at("d.blb")) +
                                     " --window-width 1 --csv 2>" + shellQuoted(at("err")) + " | head -c 10");
  EXPECT_EQ(r.out, "window,fir");
  EXPECT_EQ(fileContents(dir / "err"), "");
}

}  // namespace
