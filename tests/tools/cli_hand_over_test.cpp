// tindavel-cli links no Qt, and hands the commands that need it to
// tindavel-cli-windows with their words, output and exit status intact.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/command_runner.h"
#include "tests/temp_folder.h"
#include "tools/window_commands.h"

namespace {

namespace fs = std::filesystem;

const std::string kWindowsPath = std::string(TINDAVEL_BINARY_DIR) + "/tools/tindavel-cli-windows";

// ldd lists every library a program loads at start, those of its libraries
// included; the program of the windows shows that Qt would be seen.
TEST(CliHandOver, TindavelCliLoadsNoQt) {
  const CommandResult cli = runCommand("ldd " + shellQuoted(kCliPath));
  ASSERT_EQ(cli.status, 0);
  EXPECT_NE(cli.out.find("libc.so"), std::string::npos) << cli.out;
  EXPECT_EQ(cli.out.find("libQt"), std::string::npos) << cli.out;

  const CommandResult windows = runCommand("ldd " + shellQuoted(kWindowsPath));
  ASSERT_EQ(windows.status, 0);
  EXPECT_NE(windows.out.find("libQt6Widgets"), std::string::npos) << windows.out;
}

// Every command line of tindavel-cli-windows' usage text, its summary
// included, stands in tindavel-cli's, and tindavel-cli's own commands too.
TEST(CliHandOver, UsageListsEveryCommand) {
  const fs::path scratch = testFolder();
  const CliRun cli = runCli("--help", {}, scratch);
  const CommandResult windows = runCommand(shellQuoted(kWindowsPath) + " --help");
  ASSERT_EQ(cli.status, 0);
  ASSERT_EQ(windows.status, 0);
  std::istringstream lines(windows.out);
  int commands = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("  ", 0) != 0) continue;
    // recount is tindavel-cli's own; only its --pdf runs are handed over.
    if (line.rfind(std::string("  ") + kRecountReportCommand.name + " ", 0) == 0) continue;
    ++commands;
    EXPECT_NE(cli.out.find(line + "\n"), std::string::npos) << "tindavel-cli --help lacks: " << line;
  }
  EXPECT_EQ(commands, 2) << windows.out;  // report and screenshot
  for (const char* own : {"  recount ", "  debugcount ", "  settings ", "  simulate "}) {
    EXPECT_NE(cli.out.find(own), std::string::npos) << own;
  }
}

// --version, and COMMAND --help for every command, its own and the window
// commands handed over: the command's usage on standard output, status 0.
TEST(CliHandOver, VersionAndEachCommandsHelp) {
  const fs::path scratch = testFolder();
  const CliRun version = runCli("--version", {}, scratch);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tindavel-cli 1.46\n");
  for (const char* command : {"recount", "debugcount", "settings", "simulate", "report", "screenshot"}) {
    const CliRun help = runCli(command, {"--help"}, scratch);
    EXPECT_EQ(help.status, 0) << command << ": " << help.err;
    EXPECT_EQ(help.out.rfind(std::string("usage: tindavel-cli ") + command + " ", 0), 0u) << command << ": " << help.out;
    EXPECT_EQ(help.err, "") << command;
  }
  // --help among other words still asks for the usage only.
  EXPECT_EQ(runCli("simulate", {"--out", (scratch / "x").string(), "--help"}, scratch).status, 0);
  EXPECT_FALSE(fs::exists(scratch / "x.blb"));
}

// Bad words reach the window command as given: its message on standard
// error, nothing on standard output, its exit status. A quoted word with a
// space stays one word.
TEST(CliHandOver, WindowCommandGetsWordsAndGivesStatus) {
  const fs::path scratch = testFolder();
  const CliRun bare = runCli("report", {}, scratch);
  EXPECT_EQ(bare.status, 2);
  EXPECT_EQ(bare.out, "");
  EXPECT_EQ(bare.err.find("usage: tindavel-cli report FILE.mse --pdf OUT.pdf\n"), 0u) << bare.err;

  const CliRun missing = runCli("report", {"no such report.mse", "--pdf", (scratch / "out.pdf").string()}, scratch);
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("tindavel-cli report: "), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("no such report.mse"), std::string::npos) << missing.err;
  EXPECT_FALSE(fs::exists(scratch / "out.pdf"));

  const CliRun window = runCli("screenshot", {"NoSuchWindow", "--out", (scratch / "x.png").string()}, scratch);
  EXPECT_EQ(window.status, 2);
  EXPECT_NE(window.err.find("unknown window 'NoSuchWindow'"), std::string::npos) << window.err;
}

// A tindavel-cli with no tindavel-cli-windows beside it or in the install
// layout: its own commands still run, a window command says what is missing.
TEST(CliHandOver, WindowsProgramMissing) {
  const fs::path scratch = testFolder();
  const fs::path alone = scratch / "bin" / "tindavel-cli";
  fs::create_directories(alone.parent_path());
  fs::copy_file(kCliPath, alone);

  const CommandResult help = runCommand(shellQuoted(alone.string()) + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("  report "), std::string::npos) << help.out;

  const std::string err = (scratch / "stderr.txt").string();
  const CommandResult report =
      runCommand(shellQuoted(alone.string()) + " report x.mse --pdf x.pdf 2>" + shellQuoted(err));
  EXPECT_EQ(report.status, 2);
  EXPECT_EQ(report.out, "");
  std::ifstream in(err);
  const std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(message.find("'report' needs the program tindavel-cli-windows, which is not installed"),
            std::string::npos)
      << message;
  EXPECT_NE(message.find((scratch / "bin" / "tindavel-cli-windows").string()), std::string::npos) << message;
  fs::remove_all(scratch);
}

}  // namespace
