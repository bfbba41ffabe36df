#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/free_space.h"
#include "app/run_many.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

TEST(FoldProcessName, KeepsFileNamePartLowerCasedWithCapitalFirst) {
  EXPECT_EQ(foldProcessName("/usr/bin/TINDAVEL"), "Tindavel");
  EXPECT_EQ(foldProcessName("tindavel"), "Tindavel");
  EXPECT_EQ(foldProcessName("C:\\Program Files\\Tolu\\TINDAVEL.EXE"), "Tindavel.exe");
  EXPECT_EQ(foldProcessName("/opt/x/tindavel-cli"), "Tindavel-cli");
  EXPECT_EQ(foldProcessName(""), "");
  EXPECT_EQ(foldProcessName("/usr/bin/"), "");
}

TEST(FoldProcessName, CutsAtNulAndAt255Characters) {
  EXPECT_EQ(foldProcessName(std::string("/bin/tindavel\0garbage", 21)), "Tindavel");
  // A name longer than 255 characters loses its tail before the file-name
  // part is taken, so the program's name beyond that point no longer matches.
  const std::string longFolder = "/" + std::string(250, 'a') + "/tindavel";
  EXPECT_NE(foldProcessName(longFolder), "Tindavel");
  const std::string fits = "/" + std::string(245, 'a') + "/tindavel";  // exactly 255
  ASSERT_EQ(fits.size(), 255u);
  EXPECT_EQ(foldProcessName(fits), "Tindavel");
}

TEST(RunMany, OneCopyRunsOnAndTwoCopiesEnd) {
  EXPECT_FALSE(anotherCopyRuns({"/usr/bin/bash", "/work/build/app/tindavel"}, "Tindavel"));
  EXPECT_TRUE(anotherCopyRuns({"/usr/bin/tindavel", "/home/me/TINDAVEL"}, "Tindavel"));
  // Another executable name is not a copy, even when it starts the same.
  EXPECT_FALSE(anotherCopyRuns({"/usr/bin/tindavel", "/usr/bin/tindavel-cli", "tindavel.sh"}, "Tindavel"));
  EXPECT_EQ(countProgramCopies({"a/Tindavel.exe", "b\\TINDAVEL.EXE", "tindavel"}, "Tindavel.exe"), 2);
  EXPECT_FALSE(anotherCopyRuns({}, "Tindavel"));
}

class ProcFolder : public TempFolderTest {
 protected:
  fs::path process(const std::string& pid) {
    fs::create_directories(dir / pid);
    return dir / pid;
  }
  static void write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
};

TEST_F(ProcFolder, ReadsExeLinksFallsBackToCmdlineAndSkipsTheRest) {
  fs::create_symlink("/usr/bin/tindavel", process("10") / "exe");
  write(process("11") / "cmdline", std::string("/opt/TINDAVEL\0--flag\0", 22));  // exe not readable
  fs::create_symlink("/usr/bin/old/tindavel (deleted)", process("12") / "exe");
  process("13");                                    // a kernel thread: neither
  fs::create_directories(dir / "self-not-a-pid");  // not a process folder
  write(dir / "uptime", "1 2");
  auto names = runningProcessNames(dir.string());
  ASSERT_TRUE(names.has_value());
  std::sort(names->begin(), names->end());
  EXPECT_EQ(*names, (std::vector<std::string>{"TINDAVEL", "tindavel", "tindavel"}));
  EXPECT_EQ(countProgramCopies(*names, "Tindavel"), 3);
}

TEST_F(ProcFolder, CopyInAFolderDeeperThan255CharactersIsStillSeen) {
  const std::string deep = "/" + std::string(300, 'a') + "/tindavel";
  fs::create_symlink(deep, process("20") / "exe");
  write(process("21") / "cmdline", deep + std::string("\0", 1));
  fs::create_symlink("/usr/bin/tindavel", process("22") / "exe");
  const auto names = runningProcessNames(dir.string());
  ASSERT_TRUE(names.has_value());
  EXPECT_EQ(countProgramCopies(*names, "Tindavel"), 3);
  EXPECT_TRUE(anotherCopyRuns(*names, "Tindavel"));
}

TEST_F(ProcFolder, MissingFolderGivesNoList) {
  EXPECT_FALSE(runningProcessNames((dir / "absent").string()).has_value());
}

TEST(RunMany, ThisProcessIsInTheRealList) {
  const auto names = runningProcessNames();
  ASSERT_TRUE(names.has_value());
  const std::string self = fs::read_symlink("/proc/self/exe").filename().string();
  EXPECT_NE(std::find(names->begin(), names->end(), self), names->end());
}

TEST(FreeSpace, WarnsBelow500MegabytesOnly) {
  constexpr int64_t kMb = 1024 * 1024;
  EXPECT_EQ(freeMegabytes(499 * kMb), 499);
  EXPECT_EQ(freeMegabytes(500 * kMb - 1), 499);  // rounded down
  EXPECT_EQ(freeSpaceWarning(499).value_or(""),
            "There is only 499 MB left on the hard drive. Please make more space available.");
  EXPECT_FALSE(freeSpaceWarning(freeMegabytes(500 * kMb)).has_value());
}

TEST(FreeSpace, UnknownFigureWarnsWithZero) {
  EXPECT_EQ(freeMegabytes(-1), 0);
  EXPECT_EQ(freeSpaceWarning(freeMegabytes(-1)).value_or(""),
            "There is only 0 MB left on the hard drive. Please make more space available.");
  EXPECT_EQ(freeBytesOf("/no/such/folder/anywhere"), -1);
}

TEST(FreeSpace, HugeDiskDoesNotWrapIntoAWarning) {
  // 2^31 MB and more would turn negative in 32 bits.
  const int64_t huge = (int64_t{1} << 31) * 1024 * 1024 + 5;
  EXPECT_GT(freeMegabytes(huge), 0);
  EXPECT_FALSE(freeSpaceWarning(freeMegabytes(huge)).has_value());
}

TEST(FreeSpace, RealFolderHasAFigure) { EXPECT_GE(freeBytesOf("."), 0); }
