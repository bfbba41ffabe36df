// The catalogue of bad input, through the command line as an operator's
// support would run it: every kind of broken, hostile or wrong file gives
// the result records/README.md documents. Either exit status 0 with the
// damage listed, where the data can be read, or exit status 2 and one clear
// line. Nothing may hang (a FIFO without a writer is refused, not waited
// on), and peak memory does not grow with the file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "records/damage_reporter.h"
#include "tests/command_runner.h"
#include "tests/records/recount_test_support.h"
#include "tests/reports/test_jpeg.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

struct Outcome {
  int status = -1;        // exit status; -1 when killed or crashed
  bool timedOut = false;  // still running after the deadline (then killed)
  long peakKb = 0;        // the child's peak resident memory
  std::string out, err;
};

std::string fileText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs tindavel-cli with `args`; killed after `seconds`. The child's own
// rusage gives its peak memory, which popen() cannot.
Outcome runTool(const std::vector<std::string>& args, const fs::path& scratch, int seconds = 120) {
  const fs::path outPath = scratch / "out.txt", errPath = scratch / "err.txt";
  std::vector<std::string> words{kCliPath};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  Outcome o;
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(127);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int raw = 0;
  rusage usage{};
  while (::wait4(pid, &raw, WNOHANG, &usage) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      o.timedOut = true;
      ::kill(pid, SIGKILL);
      ::wait4(pid, &raw, 0, &usage);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  o.status = !o.timedOut && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  o.peakKb = usage.ru_maxrss;
  o.out = fileText(outPath);
  o.err = fileText(errPath);
  return o;
}

std::string words16(const std::vector<int16_t>& words) { return encodeBinary(words); }

// A report whose "Program" section names `logo` as its logo picture.
std::string reportWithLogo(const std::string& logo) {
  std::string text = reportFor(1);
  return text.insert(text.find('\n') + 1, "logoimage=" + logo + "\n");
}

class BadInputCatalogueTest : public TempFolderTest {
 protected:
  Outcome recount(const fs::path& record) { return runTool({"recount", record.string(), "--json"}, dir); }
  Outcome report(const fs::path& mse) { return runTool({"report", mse.string(), "--pdf", (dir / "out.pdf").string()}, dir); }

  // A readable one-channel recording beside `report`.
  fs::path goodRecording(const std::string& name, const std::string& reportText) {
    return writeRecording(dir / name, recordWords(drawFish(3000, fishEvery(3000, 40, 1))), reportText);
  }
};

// Exit status 0, the damage listed in the JSON: the data is read as far as
// it goes.
TEST_F(BadInputCatalogueTest, DamagedRecordingsAreCountedWithTheirDamageListed) {
  std::string random(10 * 1024 * 1024, '\0');
  std::mt19937 gen(7);
  for (char& c : random) c = static_cast<char>(gen());
  std::vector<int16_t> count501{0, 511, 501};
  for (int i = 0; i < 1002; ++i) count501.push_back(static_cast<int16_t>(i % 500));
  struct Case {
    const char* name;
    std::string bytes;
    std::string_view damage;  // empty: none
    bool text = false;
  };
  const std::vector<Case> cases = {
      {"empty", "", damage::kShortHeader},
      {"one-byte", "\x01", damage::kShortHeader},
      {"header-only", words16({0, 511}), ""},
      {"odd-length", words16({0, 511, 1, 10, 20}) + "\x01", damage::kOddByte},
      {"negative", words16({0, 511, 1, 10, 20, -3, 0}), damage::kNegativeCount},
      {"count-501", words16(count501), damage::kCountTooLarge},
      {"count-32767", words16({0, 511, 32767, 1, 2}), damage::kCountTooLarge},
      {"cut-short", words16({0, 511, 2, 10, 20, 30}), damage::kCutShort},
      {"random-10MB", random, ""},
      {"nul-bytes", std::string("0 511\n1 10 20\n1 1\0\0 30\n", 23), damage::kNotANumber, true},
      {"bad-utf8", "0 511\n1 \xff\xfe 20\n1 10 20\n", damage::kNotANumber, true},
  };
  for (const Case& c : cases) {
    const fs::path record = dir / (std::string(c.name) + (c.text ? ".bla" : ".blb"));
    writeFile(record, c.bytes);
    writeFile(fs::path(record).replace_extension(".mse"), reportFor(1));
    const Outcome o = recount(record);
    EXPECT_EQ(o.status, 0) << c.name << ": " << o.err;
    EXPECT_NE(o.out.find("\"damage\": ["), std::string::npos) << c.name;
    if (!c.damage.empty()) {
      EXPECT_NE(o.out.find(std::string(c.damage)), std::string::npos) << c.name << ": " << o.out;
    } else if (c.bytes.size() < 100) {
      EXPECT_NE(o.out.find("\"damage\": []"), std::string::npos) << c.name << ": " << o.out;
    } else {
      EXPECT_EQ(o.out.find("\"damage\": []"), std::string::npos) << "random bytes without damage?";
    }
  }
}

// Exit status 2 and one line naming the file and why; a FIFO is refused at
// once instead of waited on.
TEST_F(BadInputCatalogueTest, RecordingsThatCannotBeReadAreOneClearLine) {
  writeFile(dir / "folder.mse", reportFor(1));
  fs::create_directory(dir / "folder.blb");
  writeFile(dir / "fifo.mse", reportFor(1));
  ASSERT_EQ(::mkfifo((dir / "fifo.blb").c_str(), 0600), 0);
  const fs::path locked = goodRecording("locked", reportFor(1));
  fs::permissions(locked, fs::perms::none);
  struct Case {
    fs::path record;
    std::string reason;
  };
  std::vector<Case> cases = {{dir / "folder.blb", "it is a folder"},
                             {dir / "missing.blb", "it does not exist"},
                             {dir / "fifo.blb", "it is not a regular file (a pipe, socket or device)"}};
  if (::geteuid() != 0) cases.push_back({locked, "it cannot be read: Permission denied"});  // root reads it anyway
  for (const Case& c : cases) {
    const Outcome o = runTool({"recount", c.record.string(), "--json"}, dir, 30);
    EXPECT_FALSE(o.timedOut) << c.record;
    EXPECT_EQ(o.status, 2) << c.record;
    EXPECT_EQ(o.err, "tindavel-cli recount: cannot read the record file " + c.record.string() + ": " + c.reason + "\n");
    EXPECT_EQ(o.out, "");
  }
}

TEST_F(BadInputCatalogueTest, CompanionReportsOfEveryKind) {
  std::string junk(4096, '\0');
  std::mt19937 gen(11);
  for (char& c : junk) c = static_cast<char>(gen() | 0x80);  // no '[' anywhere: no section
  std::string sections;
  for (int i = 0; i < 100000; ++i) sections += "[S" + std::to_string(i) + "]\nk=v\n";
  const std::string longLine = reportFor(1, "[Other]\ncomment0=" + std::string(10 * 1024 * 1024, 'x') + "\n");

  // Read with the defaults; junk is listed as damage.
  const Outcome j = recount(goodRecording("junk", junk));
  EXPECT_EQ(j.status, 0) << j.err;
  EXPECT_NE(j.out.find(std::string(damage::kNotAReport)), std::string::npos) << j.out;
  EXPECT_NE(j.out.find("\"channels\": 1"), std::string::npos);
  for (const std::string& text : {longLine, sections + reportFor(1)}) {
    const Outcome o = recount(goodRecording("big", text));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out.find(std::string(damage::kNotAReport)), std::string::npos);
  }

  // A report there but unreadable is not "missing".
  const fs::path record = goodRecording("odd", reportFor(1));
  fs::remove(dir / "odd.mse");
  ASSERT_EQ(::mkfifo((dir / "odd.mse").c_str(), 0600), 0);
  Outcome o = runTool({"recount", record.string()}, dir, 30);
  EXPECT_FALSE(o.timedOut);
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(o.err, "tindavel-cli recount: Cannot read the report file " + (dir / "odd.mse").string() +
                       ": it is not a regular file (a pipe, socket or device).\n");
  fs::remove(dir / "odd.mse");
  fs::create_directory(dir / "odd.mse");
  o = runTool({"recount", record.string()}, dir, 30);
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find("odd.mse: it is a folder."), std::string::npos) << o.err;
  fs::remove(dir / "odd.mse");
  o = runTool({"recount", record.string()}, dir, 30);
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find("Cant find corresponding reportfile (.mse): "), std::string::npos) << o.err;
}

TEST_F(BadInputCatalogueTest, ReportFilesAndLogosThatCannotBeReadNeverHang) {
  ASSERT_EQ(::mkfifo((dir / "fifo.mse").c_str(), 0600), 0);
  Outcome o = runTool({"report", (dir / "fifo.mse").string(), "--pdf", (dir / "out.pdf").string()}, dir, 30);
  EXPECT_FALSE(o.timedOut);
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find("it is not a regular file"), std::string::npos) << o.err;

  // Junk prints as an empty report; a logo that is no picture file leaves
  // the logo's place empty.
  std::string junk(4096, '\0');
  std::mt19937 gen(3);
  for (char& c : junk) c = static_cast<char>(gen());
  writeFile(dir / "junk.mse", junk);
  o = report(dir / "junk.mse");
  EXPECT_EQ(o.status, 0) << o.err;
  ASSERT_EQ(::mkfifo((dir / "logo-fifo").c_str(), 0600), 0);
  fs::create_directory(dir / "logo-folder");
  for (const std::string& logo : {(dir / "logo-fifo").string(), std::string("/dev/zero"), (dir / "logo-folder").string()}) {
    writeFile(dir / "logo.mse", reportWithLogo(logo));
    o = runTool({"report", (dir / "logo.mse").string(), "--pdf", (dir / "out.pdf").string()}, dir, 60);
    EXPECT_FALSE(o.timedOut) << logo;
    EXPECT_EQ(o.status, 0) << logo << ": " << o.err;
  }
}

// A 1 KB JPEG claiming 6000 x 6000 pixels is decoded scaled down: printing
// it costs no more than printing a small logo, give or take 64 MB (a full
// decode costs over 200 MB).
TEST_F(BadInputCatalogueTest, LogoClaimingAHugePictureCostsLittleMemory) {
  writeFile(dir / "small.jpg", jpegClaiming(16, 16));
  writeFile(dir / "huge.jpg", jpegClaiming(6000, 6000));
  ASSERT_LT(fs::file_size(dir / "huge.jpg"), 2048u);
  long peak[2] = {0, 0};
  int i = 0;
  for (const char* logo : {"small.jpg", "huge.jpg"}) {
    writeFile(dir / "logo.mse", reportWithLogo(logo));
    const Outcome o = report(dir / "logo.mse");
    ASSERT_EQ(o.status, 0) << o.err;
    peak[i++] = o.peakKb;
  }
  // The logo is printed, decoded at an eighth: pdfimages lists its size.
  std::istringstream images(runCommand("pdfimages -list " + shellQuoted((dir / "out.pdf").string())).out);
  bool eighth = false;
  for (std::string line; std::getline(images, line);) {
    std::istringstream fields(line);
    std::string page, num, type;
    int width = 0, height = 0;
    fields >> page >> num >> type >> width >> height;
    eighth = eighth || (type == "image" && width == 750 && height == 750);
  }
  EXPECT_TRUE(eighth) << "no 750 x 750 logo in the PDF";
  std::printf("peak memory printing a report: small logo %ld kB, logo claiming 6000 x 6000 %ld kB\n", peak[0], peak[1]);
  EXPECT_LT(peak[1] - peak[0], 64L * 1024) << "small " << peak[0] << " kB, huge " << peak[1] << " kB";
}

// Peak memory does not grow with the recording: an hour costs what a minute
// does, give or take 25 % and 8 MB.
TEST_F(BadInputCatalogueTest, MemoryDoesNotGrowWithTheRecording) {
  long peak[2] = {0, 0};
  int i = 0;
  for (const char* minutes : {"1", "60"}) {
    const fs::path stem = dir / (std::string("sim") + minutes);
    const Outcome sim = runTool({"simulate", "--out", stem.string(), "--minutes", minutes}, dir);
    ASSERT_EQ(sim.status, 0) << sim.err;
    const Outcome o = recount(fs::path(stem.string() + ".blb"));
    ASSERT_EQ(o.status, 0) << o.err;
    peak[i++] = o.peakKb;
  }
  std::printf("peak memory re-counting: 1 minute %ld kB, 60 minutes %ld kB\n", peak[0], peak[1]);
  EXPECT_LT(peak[1], peak[0] + peak[0] / 4 + 8 * 1024) << "1 minute " << peak[0] << " kB, 60 minutes " << peak[1]
                                                       << " kB";
}

}  // namespace
