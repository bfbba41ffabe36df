// A long day of use in little time, on the real windows (offscreen): a
// recording opened, Autocounted to its end, stepped back and forth and
// closed, 300 times over a set of recordings (some damaged); a report opened,
// its pages painted in Qt's print preview and closed, and the debug viewer
// stepped to the end of a recording, 100 times each. What the program holds must not grow with
// the rounds: the resident memory after the last round stays within 5 MB of
// the memory after the tenth, and the application's widgets and top-level
// windows are as many. Built in release builds only (label `soak`): under
// the sanitizers resident memory says nothing.
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QToolButton>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/debug_viewer_window.h"
#include "records/record_encoder.h"
#include "records/record_viewer_window.h"
#include "records/recording_settings.h"
#include "reports/report_viewer.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "tests/records/recount_test_support.h"
#include "tests/records/viewer_test_state.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

// Qt's own dialogs, but the preview is not waited on: the readied preview
// dialog lays out and paints the report's pages in its preview widget, and
// is closed at once. Its window is not shown: Qt 6.4's print preview dialog
// alone, shown and closed on the offscreen platform with nothing to paint,
// keeps some 33 KB more each time, which is not this program's. The file
// dialog is never asked (viewreportFile).
class PreviewAndClose : public QtReportViewerDialogs {
 public:
  PreviewAndClose() : QtReportViewerDialogs(nullptr) {}
  int previews = 0;
  int pages = 0;

 protected:
  void execPreview(QPrintPreviewDialog& dialog) override {
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    QApplication::processEvents();
    pages += preview->pageCount();
    ++previews;
  }
};

// Resident memory in bytes. What malloc keeps of freed memory at the top of
// its heaps is given back first, so that the figure is what the program
// holds.
int64_t residentBytes() {
  malloc_trim(0);
  long pages = 0;
  long resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return int64_t{resident} * sysconf(_SC_PAGESIZE);
}

struct Holdings {
  int64_t resident = 0;
  qsizetype widgets = 0;
  qsizetype windows = 0;
};

Holdings holdings() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
  return {residentBytes(), QApplication::allWidgets().size(), QApplication::topLevelWidgets().size()};
}

class SoakTest : public TempFolderTest, public ViewerTestState {
 protected:
  void SetUp() override {
    const fs::path storePath = dir / "Eka Registry.ini";
    writeFile(storePath, "[Eka]\nNrChannels=1\nSize Group1=5\nchannelwidth=2\nReportpath=" + dir.string() + "/\n");
    store = std::make_unique<SettingsStore>(storePath.string());
    Read_Registry(s, controls, *store);
    setDetectionConstants(*d, s.ChannelWidthMm);
  }

  // Recordings of one to four channels, binary and text, and two damaged:
  // one cut inside its last line, one with counts out of range.
  std::vector<std::string> recordings() {
    std::vector<std::string> paths;
    for (int channels = 1; channels <= 4; ++channels) {
      const int32_t lines = 3000 + 1000 * channels;
      const std::vector<int16_t> words = recordWords(drawFish(lines, fishEvery(lines, 35, channels)));
      paths.push_back(writeRecording(dir / ("rec" + std::to_string(channels)), words, reportFor(channels),
                                     channels % 2 == 0));
    }
    std::vector<int16_t> words = recordWords(drawFish(2500, fishEvery(2500, 30, 2)));
    std::string cut = encodeBinary(words);
    cut.resize(cut.size() - 3);
    writeFile(dir / "cut.blb", cut);
    writeFile(dir / "cut.mse", reportFor(2));
    paths.push_back((dir / "cut.blb").string());
    words.insert(words.begin() + 400, {-5, 501, 3, 4});
    paths.push_back(writeRecording(dir / "counts", words, reportFor(2)));
    return paths;
  }

  std::unique_ptr<SettingsStore> store;
};

TEST_F(SoakTest, ALongDayOfUseHoldsNoMoreAtTheEndThanAfterTenRounds) {
  const std::vector<std::string> records = recordings();
  const std::vector<std::string> reports = {TINDAVEL_SOURCE_DIR "/samples/demo.mse",
                                            TINDAVEL_SOURCE_DIR "/tests/reports/data/report_viewer_two_channels.mse"};

  auto recordEnv = environment<RecordViewerEnvironment>(store.get());
  recordEnv.tracePath = (dir / "test.txt").string();
  TfrmRecord recordViewer(recordEnv);
  TForm4 debugViewer(environment<DebugViewerEnvironment>(store.get()));
  debugViewer.resize(900, 650);

  PreviewAndClose previews;
  ReportViewerEnvironment reportEnv;
  reportEnv.settings = &s;
  reportEnv.controls = &controls;
  reportEnv.dialogs = &previews;
  Tfrmreport reportViewer(reportEnv);

  constexpr int kRounds = 300;
  constexpr int kBaselineRound = 10;
  Holdings baseline;
  int64_t framesCounted = 0;
  int debugSteps = 0;
  for (int round = 1; round <= kRounds; ++round) {
    // The record viewer: open, Autocount from the first frame to the last,
    // back and forth, close.
    dialogs.answers.emplace_back(records[static_cast<size_t>(round) % records.size()]);
    recordViewer.OpenBlbFile();
    QApplication::processEvents();
    ASSERT_TRUE(recordViewer.isVisible()) << "round " << round;
    recordViewer.button("autocountbtn")->click();
    recordViewer.endbtnClick();
    recordViewer.button("autocountbtn")->click();
    framesCounted += recordViewer.engine().state().CurrentFrame;
    for (int k = 0; k < 3; ++k) recordViewer.backwardbtnClick();
    for (int k = 0; k < 2; ++k) recordViewer.FarwardbtnClick();
    recordViewer.beginbtnClick();
    QApplication::processEvents();
    recordViewer.close();

    if (round % 3 == 1) {
      // A report into the print preview, and the debug viewer to the end.
      ASSERT_TRUE(reportViewer.viewreportFile(reports[static_cast<size_t>(round / 3) % reports.size()]));
      debugViewer.show();
      QApplication::processEvents();
      ASSERT_TRUE(debugViewer.loadFile(records[static_cast<size_t>(round / 3) % records.size()]));
      for (int k = 0; k < 10000 && debugViewer.nextButton()->isEnabled(); ++k) {
        debugViewer.nextClick();
        ++debugSteps;
      }
      ASSERT_FALSE(debugViewer.nextButton()->isEnabled()) << "the debug viewer reached the end";
      debugViewer.close();
    }
    QApplication::processEvents();
    if (round == kBaselineRound) baseline = holdings();
  }
  const Holdings end = holdings();

  EXPECT_EQ(previews.previews, 100);
  EXPECT_GE(previews.pages, 400);  // the two reports print four and five pages
  EXPECT_GT(framesCounted, kRounds);
  EXPECT_GT(debugSteps, 100);
  EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
  EXPECT_FALSE(dialogs.warnings.empty());  // the damaged recordings were told
  std::printf("resident after round %d: %.1f MB, after round %d: %.1f MB; widgets %lld and %lld, windows %lld and %lld\n",
              kBaselineRound, static_cast<double>(baseline.resident) / 1e6, kRounds,
              static_cast<double>(end.resident) / 1e6, static_cast<long long>(baseline.widgets),
              static_cast<long long>(end.widgets), static_cast<long long>(baseline.windows),
              static_cast<long long>(end.windows));
  EXPECT_LE(end.resident - baseline.resident, int64_t{5} * 1024 * 1024);
  EXPECT_EQ(end.widgets, baseline.widgets);
  EXPECT_EQ(end.windows, baseline.windows);
}

}  // namespace
