// Output files: never written over an input, nothing half-written left where
// the old file was, the reason of every failure kept; files that belong
// together appear together.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "settings/output_file.h"
#include "settings/text_encoding.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class OutputFileTest : public TempFolderTest {
 protected:
  void put(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
  // Names in the folder, the temporary files included.
  std::vector<std::string> entries() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(OutputFileTest, NeverWritesOverAnInput) {
  put(dir / "d.blb", "recording");
  fs::create_hard_link(dir / "d.blb", dir / "hard.blb");
  fs::create_symlink(dir / "d.blb", dir / "soft.blb");
  put(dir / "other.txt", "other");
  const std::vector<std::string> inputs = {(dir / "missing.blb").string(), (dir / "d.blb").string()};
  struct Case {
    fs::path target;
    std::string error;  // empty: written
  };
  const std::string sameFile = ": it is the same file as the input " + inputs[1];
  for (const Case& c : {Case{dir / "d.blb", "cannot write " + (dir / "d.blb").string() + sameFile},
                        Case{dir / "hard.blb", "cannot write " + (dir / "hard.blb").string() + sameFile},
                        Case{dir / "soft.blb", "cannot write " + (dir / "soft.blb").string() + sameFile},
                        Case{dir, "cannot write " + dir.string() + ": it is a folder"},
                        Case{dir / "no" / "x", "cannot write " + (dir / "no" / "x").string() +
                                                   ": No such file or directory"},
                        Case{dir / "other.txt", ""}}) {
    OutputFile out;
    EXPECT_EQ(out.open(c.target.string(), inputs), c.error.empty()) << c.target;
    EXPECT_EQ(out.error(), c.error);
    out.write("new");
    EXPECT_EQ(out.commit(), c.error.empty()) << c.target;
  }
  EXPECT_EQ(fileContents(dir / "d.blb"), "recording");
  EXPECT_EQ(fileContents(dir / "other.txt"), "new");
  EXPECT_EQ(entries(), (std::vector<std::string>{"d.blb", "hard.blb", "other.txt", "soft.blb"}));
}

TEST_F(OutputFileTest, UncommittedAndFailedWritesLeaveTheOldFile) {
  put(dir / "report.pdf", "old");
  {
    OutputFile out;
    ASSERT_TRUE(out.open((dir / "report.pdf").string()));
    out.stream() << "half a report";
    EXPECT_EQ(entries().size(), 2u);  // the temporary file beside it
  }  // a run that failed before its commit
  EXPECT_EQ(fileContents(dir / "report.pdf"), "old");
  EXPECT_EQ(entries(), std::vector<std::string>{"report.pdf"});

  // A file size limit cuts the write short as a full disk would.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tight = old;
  tight.rlim_cur = 100'000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
  OutputFile out;
  bool committed = true;
  if (out.open((dir / "report.pdf").string())) {
    for (int i = 0; i < 1000; ++i) out.write(std::string(1000, 'x'));
    committed = out.commit();
  }
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(committed);
  EXPECT_EQ(out.error(), "cannot write " + (dir / "report.pdf").string() + ": File too large");
  EXPECT_EQ(fileContents(dir / "report.pdf"), "old");
  EXPECT_EQ(entries(), std::vector<std::string>{"report.pdf"});
}

TEST_F(OutputFileTest, ADeviceIsWrittenDirectlyAndItsFailureTold) {
  OutputFile out;
  ASSERT_TRUE(out.open("/dev/full"));
  out.write("x");
  EXPECT_FALSE(out.commit());
  EXPECT_EQ(out.error(), "cannot write /dev/full: No space left on device");
  OutputFile sink;
  ASSERT_TRUE(sink.open("/dev/null"));
  sink.write("x");
  EXPECT_TRUE(sink.commit()) << sink.error();
}

TEST_F(OutputFileTest, FilesCommittedTogetherAllAppearOrNone) {
  put(dir / "a.mse", "old report");
  OutputFile a, b, c;
  ASSERT_TRUE(a.open((dir / "a.mse").string()));
  ASSERT_TRUE(b.open((dir / "a.blb").string()));
  ASSERT_TRUE(c.open((dir / "a.truth").string()));
  a.write("new report");
  b.write("recording");
  c.write("truth");
  // A folder made by that name meanwhile makes the last rename fail.
  fs::create_directories(dir / "a.truth" / "inside");
  std::string error;
  const std::vector<OutputFile*> files = {&a, &b, &c};
  EXPECT_FALSE(commitTogether(files, error));
  EXPECT_EQ(error.rfind("cannot write " + (dir / "a.truth").string() + ": ", 0), 0u) << error;
  EXPECT_EQ(fileContents(dir / "a.mse"), "old report");
  EXPECT_EQ(entries(), (std::vector<std::string>{"a.mse", "a.truth"}));

  fs::remove_all(dir / "a.truth");
  ASSERT_TRUE(a.open((dir / "a.mse").string()));
  ASSERT_TRUE(b.open((dir / "a.blb").string()));
  ASSERT_TRUE(c.open((dir / "a.truth").string()));
  a.write("new report");
  EXPECT_TRUE(commitTogether(files, error)) << error;
  EXPECT_EQ(fileContents(dir / "a.mse"), "new report");
  EXPECT_EQ(entries(), (std::vector<std::string>{"a.blb", "a.mse", "a.truth"}));
}

TEST(PrintableNameTest, InvalidBytesAreReplaced) {
  EXPECT_EQ(printableName("r\xe9sum\xe9.pdf"), "r\xEF\xBF\xBDsum\xEF\xBF\xBD.pdf");
  EXPECT_EQ(printableName("r\xC3\xA9sum\xC3\xA9.pdf"), "r\xC3\xA9sum\xC3\xA9.pdf");
  EXPECT_EQ(printableName("cut\xC3"), "cut\xEF\xBF\xBD");
}

}  // namespace
