// Files from outside are opened only when they are regular files; the user's
// passing files live in a folder of the user's own and are never made
// through a symbolic link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/private_folder.h"
#include "settings/regular_file.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class OutsideFilesTest : public TempFolderTest {
 protected:
  void TearDown() override {
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("XDG_CACHE_HOME");
  }
};

TEST_F(OutsideFilesTest, OnlyRegularFilesAreOpened) {
  const fs::path file = dir / "plain";
  std::ofstream(file) << "x";
  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(file, dir / "link");

  struct Case {
    std::string path;
    FileProblem problem;
  };
  for (const Case& c : {Case{file.string(), FileProblem::kNone}, Case{(dir / "link").string(), FileProblem::kNone},
                        Case{(dir / "none").string(), FileProblem::kMissing}, Case{"", FileProblem::kMissing},
                        Case{dir.string(), FileProblem::kFolder}, Case{fifo.string(), FileProblem::kNotRegular},
                        Case{"/dev/zero", FileProblem::kNotRegular}}) {
    std::ifstream in;
    EXPECT_EQ(openRegularFile(c.path, in), c.problem) << c.path;  // a FIFO would block here
    EXPECT_EQ(in.is_open(), c.problem == FileProblem::kNone) << c.path;
  }
}

TEST_F(OutsideFilesTest, PrivateFolderFollowsXdgAndIsTheUsersOnly) {
  ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
  fs::create_directories(dir / "run");
  EXPECT_EQ(privateFolder(), (dir / "run" / "tindavel").string());
  struct stat st {};
  ASSERT_EQ(::stat((dir / "run" / "tindavel").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // A relative runtime folder is not one; the cache folder takes over.
  ::setenv("XDG_RUNTIME_DIR", "relative/run", 1);
  ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  EXPECT_EQ(privateFolder(), (dir / "cache" / "tindavel").string());

  // A link where the folder should be is not used.
  ::setenv("XDG_CACHE_HOME", (dir / "other").c_str(), 1);
  fs::create_directories(dir / "other");
  fs::create_directory_symlink(dir / "run", dir / "other" / "tindavel");
  EXPECT_EQ(privateFolder(), "");
}

TEST_F(OutsideFilesTest, CreatingRefusesASymbolicLinkAndTruncatesAPlainFile) {
  const fs::path victim = dir / "victim";
  std::ofstream(victim) << "keep";
  fs::create_symlink(victim, dir / "trace.txt");
  std::ofstream out;
  EXPECT_FALSE(createWithoutFollowing((dir / "trace.txt").string(), out));
  EXPECT_FALSE(out.is_open());
  EXPECT_EQ(fs::file_size(victim), 4u);

  EXPECT_TRUE(createWithoutFollowing(victim.string(), out));
  out << "ab";
  out.close();
  EXPECT_EQ(fs::file_size(victim), 2u);
}

}  // namespace
