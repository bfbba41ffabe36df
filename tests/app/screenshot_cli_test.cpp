// tindavel-cli screenshot: every window the program shows is rendered to a
// PNG of its size, or refused while the program has only a stand-in for it;
// bad arguments exit 2 with one line, and the user's store is never written.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_windows.h"
#include "settings/settings_store.h"
#include "tests/command_runner.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Whether the program has the real window or a stand-in, from the window's
// type in AppWindows: the command decides the same way.
constexpr bool isStandIn(const stand_in::StandInWindow*) { return true; }
constexpr bool isStandIn(const void*) { return false; }
template <typename Pointer>
constexpr bool standIn(Pointer) {
  return isStandIn(static_cast<Pointer>(nullptr));
}

const std::string kDemo = std::string(TINDAVEL_SOURCE_DIR) + "/samples/demo.blb";

class ScreenshotCliTest : public TempFolderTest {
 protected:
  CliRun run(const std::vector<std::string>& args) { return runCli("screenshot", args, dir); }

  // Expects exit 2 and one line of the command on stderr, holding `words`.
  // Qt may add lines of its own once the windows are up.
  void expectRefused(const std::vector<std::string>& args, const std::string& words) {
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 2) << args[0] << ": " << r.err;
    std::vector<std::string> ours;
    std::istringstream lines(r.err);
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with("tindavel-cli screenshot: ")) ours.push_back(line);
    }
    ASSERT_EQ(ours.size(), 1u) << r.err;
    EXPECT_NE(ours[0].find(words), std::string::npos) << r.err;
  }
};

bool singleColour(const QImage& image) {
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != first) return false;
    }
  }
  return true;
}

TEST_F(ScreenshotCliTest, EveryWindowIsShotAtItsSizeOrRefusedWhileAStandIn) {
  const AppWindows w;
  struct Case {
    const char* name;
    bool standIn;
    std::optional<QSize> size;  // none: the window's own, not known here
    std::vector<std::string> more;
  };
  const QSize large(1024, 768);  // a window with no fixed size of its own
  const std::vector<Case> cases = {
      {"FrmAdal", standIn(w.FrmAdal), large, {}},
      {"Form4", standIn(w.Form4), std::nullopt, {}},
      {"frmscope", standIn(w.frmscope), std::nullopt, {}},
      {"Waitforlamp", standIn(w.Waitforlamp), QSize(336, 210), {}},
      {"sett", standIn(w.sett), std::nullopt, {}},
      {"FrmInsert", standIn(w.FrmInsert), QSize(493, 316), {}},
      {"FrmSoftkeyb", standIn(w.FrmSoftkeyb), std::nullopt, {}},  // 624 x 188 with the platform's frame
      {"OKBottomDlg", standIn(w.OKBottomDlg), QSize(313, 178), {}},
      {"Messagedialog", standIn(w.Messagedialog), QSize(405, 131), {}},
      {"frmRecord", standIn(w.frmRecord), large, {"--record", kDemo}},
      {"Form4", standIn(w.Form4), large, {"--record", kDemo}},  // the first window of lines, debug markers on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path png = dir / (std::string(c.name) + ".png");
    std::vector<std::string> args = {c.name, "--out", png.string()};
    args.insert(args.end(), c.more.begin(), c.more.end());
    if (c.standIn) {
      expectRefused(args, "is not built");
      EXPECT_FALSE(fs::exists(png));
      continue;
    }
    const CliRun r = run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image(QString::fromStdString(png.string()), "PNG");
    ASSERT_FALSE(image.isNull());
    if (c.size) {
      EXPECT_EQ(image.size(), *c.size);
    }
    EXPECT_FALSE(singleColour(image));
  }
}

TEST_F(ScreenshotCliTest, BadArgumentsExitTwoWithOneLine) {
  const std::string png = (dir / "out.png").string();
  expectRefused({"FrmMain", "--out", png}, "unknown window 'FrmMain'; the windows are FrmAdal,");
  expectRefused({"frmRecord", "--out", png}, "frmRecord needs --record");
  expectRefused({"Messagedialog", "--out", png, "--page", "2"}, "Messagedialog has no pages");
  expectRefused({"FrmAdal"}, "--out");
  expectRefused({"FrmAdal", "--out", png, "--autocount"}, "--autocount is for frmRecord only");
  expectRefused({"FrmAdal", "--out", (dir / "no" / "such" / "folder.png").string()}, "cannot write");
  // A recording without its report beside it.
  const fs::path lone = dir / "lone.blb";
  fs::copy_file(kDemo, lone);
  expectRefused({"frmRecord", "--out", png, "--record", lone.string()}, "lone.mse");
  expectRefused({"frmRecord", "--out", png, "--record", (dir / "missing.blb").string()}, "cannot read");
  EXPECT_FALSE(fs::exists(png));
}

TEST_F(ScreenshotCliTest, TheStoreIsNeverWritten) {
  // Opening a recording saves the settings first; the command's store takes
  // the save in memory only.
  const fs::path store = defaultStorePath();
  fs::create_directories(store.parent_path());
  const std::string contents = "[Eka]\nLanguageNumber=0\n";
  std::ofstream(store) << contents;
  const CliRun r = run({"frmRecord", "--out", (dir / "record.png").string(), "--record", kDemo});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(fileContents(store), contents);
  fs::remove(store);
}

TEST_F(ScreenshotCliTest, PageSelectsAPageOfTheSettingsWindow) {
  if (standIn(AppWindows{}.sett)) GTEST_SKIP() << "the settings window is a stand-in";
  const fs::path first = dir / "first.png";
  const fs::path second = dir / "second.png";
  ASSERT_EQ(run({"sett", "--out", first.string(), "--page", "1"}).status, 0);
  ASSERT_EQ(run({"sett", "--out", second.string(), "--page", "2"}).status, 0);
  const QImage a(QString::fromStdString(first.string()), "PNG");
  const QImage b(QString::fromStdString(second.string()), "PNG");
  ASSERT_FALSE(a.isNull());
  EXPECT_EQ(a.size(), b.size());
  EXPECT_NE(a, b);
  expectRefused({"sett", "--out", first.string(), "--page", "99"}, "sett has pages 1 to");
}

}  // namespace
