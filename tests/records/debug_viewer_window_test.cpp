// The debug recording viewer window under the offscreen platform: opened
// through a scripted file chooser, stepped, counted by hand and closed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/debug_viewer_engine.h"
#include "records/debug_viewer_window.h"
#include "records/record_viewer_window.h"
#include "settings/ini_file.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "tests/records/recount_test_support.h"
#include "tests/records/viewer_test_state.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

std::string fileBytes(const fs::path& p) { return readFileBytes(p.string()).value_or(""); }

std::string text(const QLineEdit* e) { return e->text().toStdString(); }

class DebugViewerWindowTest : public TempFolderTest, public ViewerTestState {
 protected:
  void SetUp() override {
    storePath = dir / "Eka Registry.ini";
    // The user's own settings: one channel of group 5 at 1400 mm.
    writeFile(storePath, "[Eka]\nNrChannels=1\nSize Group1=5\nchannelwidth=2\nReportpath=" + dir.string() +
                             "/\nCountname1=Mine\n");
    store = std::make_unique<SettingsStore>(storePath.string());
    Read_Registry(s, controls, *store);
    setDetectionConstants(*d, s.ChannelWidthMm);
    ASSERT_TRUE(Write_Registry(s, controls, *store));  // the store in the writer's own form
    savedStore = fileBytes(storePath);
    savedValues = registryValues(s, controls);
  }
  void TearDown() override { window.reset(); }

  void makeWindow(bool debugMode) {
    s.DebugMode = debugMode;
    window = std::make_unique<TForm4>(environment<DebugViewerEnvironment>(store.get()));
    window->resize(900, 650);
    window->show();
    QApplication::processEvents();
  }

  void open(const std::string& path) {
    dialogs.answers.push_back(path);
    QTest::mouseClick(window->openButton(), Qt::LeftButton);
    QApplication::processEvents();
  }

  QImage picture() const { return window->PaintBox1()->grab().toImage(); }

  fs::path storePath;
  std::string savedStore;
  std::vector<StoreValue> savedValues;
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<TForm4> window;
};

// The window shows what the engine alone counts over the same lines, and
// draws the tracked objects in their colours.
TEST_F(DebugViewerWindowTest, NextShowsTheEnginesCountsAndDrawsTheObjects) {
  const std::string path = writeRecording(dir / "r", recordWords(drawFish(6000, fishEvery(6000, 23, 2))),
                                          reportFor(2, "%width1=500\n%width2=500\n"));
  session.RunFlag = true;
  makeWindow(false);
  EXPECT_FALSE(session.RunFlag);
  EXPECT_FALSE(window->Panel2()->isVisible());
  EXPECT_FALSE(window->nextButton()->isEnabled());
  open(path);
  ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
  EXPECT_EQ(dialogs.folders.at(0), dir.string() + "/");
  EXPECT_EQ(dialogs.filters.at(0), kRecordFileFilter);
  ASSERT_TRUE(window->nextButton()->isEnabled());
  QTest::mouseClick(window->nextButton(), Qt::LeftButton);
  const int32_t width = window->PaintBox1()->width();
  ASSERT_EQ(window->engine().windowWidth(), width);

  // The engine alone on its own state, from the same store.
  auto d2 = std::make_unique<DetectionState>();
  SettingsVariables s2;
  SettingsModel controls2;
  ViewerCounts v2;
  SettingsStore store2(storePath.string());
  store2.setReadOnly(true);
  Read_Registry(s2, controls2, store2);
  setDetectionConstants(*d2, s2.ChannelWidthMm);
  DebugViewerContext ctx{d2.get(), &s2, &v2, &controls2};
  DebugViewerEngine alone(ctx);
  alone.setPictureSize(width, window->PaintBox1()->height());
  ASSERT_TRUE(alone.openFile(path, readRecordingReport(path, controls2.Enablemulti.checked()), nullptr));
  alone.nextClick();
  ASSERT_GT(std::stoi(alone.state().Edit4), 0);
  EXPECT_EQ(text(window->edit("Total")), alone.state().Total);
  EXPECT_EQ(text(window->edit("Edit4")), alone.state().Edit4);
  EXPECT_EQ(text(window->edit("Edit2")), alone.state().Edit2);
  EXPECT_EQ(text(window->edit("count")), alone.state().count);
  EXPECT_EQ(text(window->edit("estimt")), alone.state().estimt);
  window->ActiveCClick(1);
  alone.ActiveCClick(1);
  EXPECT_EQ(text(window->edit("count")), alone.state().count);
  EXPECT_NE(alone.state().count, "0");

  // Every object line of the first columns in its pen.
  const QImage image = picture();
  int checked = 0;
  for (int32_t c = 0; c < 200; ++c) {
    const DebugColumn& column = window->engine().column(c);
    for (int k = 0; k < column.Count; ++k) {
      const DebugObjectLine& o = column.Objects[static_cast<size_t>(k)];
      const int y = debugY((o.Start + o.End) / 2, s.LeftEdge, s.RightEdge, image.height());
      const uint32_t bgr = objectPen(o.Colour);
      EXPECT_EQ(image.pixelColor(c, y), QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF)) << c;
      ++checked;
    }
  }
  EXPECT_GT(checked, 20);

  // To the end: the window's counts are the engine's.
  while (window->nextButton()->isEnabled()) QTest::mouseClick(window->nextButton(), Qt::LeftButton);
  while (alone.state().nextEnabled) alone.nextClick();
  EXPECT_EQ(text(window->edit("Total")), alone.state().Total);
  for (int c = 1; c <= 2; ++c) EXPECT_EQ(v.ViewerCount[c], v2.ViewerCount[c]) << c;
}

TEST_F(DebugViewerWindowTest, ThreeClicksThenEnterInEdit3) {
  const std::string path = writeRecording(dir / "k", recordWords(drawFish(3000, {{1, 40, 215, 30}})), reportFor(1));
  makeWindow(true);
  EXPECT_TRUE(window->Panel2()->isVisible());
  open(path);
  QLineEdit* edit3 = window->edit("Edit3");
  QTest::mouseClick(window->PaintBox1(), Qt::LeftButton, {}, QPoint(500, 100));  // not in manual mode
  EXPECT_EQ(picture().pixelColor(500, 100), QColor(Qt::white));
  QTest::mouseClick(window->handtal(), Qt::LeftButton);
  ASSERT_TRUE(window->handtal()->isChecked());
  QTest::mouseClick(window->nextButton(), Qt::LeftButton);
  EXPECT_EQ(window->focusWidget(), edit3);
  EXPECT_EQ(text(edit3), "0");
  s.SizeGroup[1] = 3;
  for (int i = 0; i < 3; ++i) QTest::mouseClick(window->PaintBox1(), Qt::LeftButton, {}, QPoint(500 + 40 * i, 100));
  EXPECT_EQ(text(edit3), "3");
  EXPECT_EQ(text(window->edit("Edit5")), "3");
  const QImage clicked = picture();
  EXPECT_EQ(clicked.pixelColor(540, 100), QColor(Qt::red));
  EXPECT_EQ(clicked.pixelColor(540 - 5, 100), QColor(Qt::black));  // the square's edge, 3 + 2 out
  EXPECT_EQ(clicked.pixelColor(540 - 7, 100), QColor(Qt::white));

  QTest::keyClick(edit3, Qt::Key_A);  // not Enter
  EXPECT_EQ(window->engine().state().Windows, 1);
  QTest::keyClick(edit3, Qt::Key_Return);
  EXPECT_EQ(window->engine().state().Windows, 2);
  EXPECT_EQ(dialogs.folders.size(), 1u);  // Enter pressed no button
  EXPECT_EQ(text(edit3), "0");
  EXPECT_EQ(text(window->edit("Edit5")), "3");
  EXPECT_EQ(picture().pixelColor(540, 100), QColor(Qt::white));  // the new window has no clicks yet
}

TEST_F(DebugViewerWindowTest, CancelInTheFileDialogChangesNothing) {
  makeWindow(true);
  QTest::mouseClick(window->openButton(), Qt::LeftButton);
  EXPECT_FALSE(window->nextButton()->isEnabled());
  EXPECT_EQ(window->windowTitle().toStdString(), "View File");

  const std::string path = writeRecording(dir / "c", recordWords(drawFish(5000, fishEvery(5000, 37, 1))),
                                          reportFor(1));
  open(path);
  QTest::mouseClick(window->nextButton(), Qt::LeftButton);
  const QString title = window->windowTitle();
  const std::string total = text(window->edit("Total"));
  const QImage before = picture();
  QTest::mouseClick(window->openButton(), Qt::LeftButton);  // cancelled
  EXPECT_EQ(dialogs.folders.size(), 3u);
  EXPECT_EQ(window->windowTitle(), title);
  EXPECT_EQ(text(window->edit("Total")), total);
  EXPECT_TRUE(window->nextButton()->isEnabled());
  EXPECT_EQ(picture(), before);
  QTest::mouseClick(window->nextButton(), Qt::LeftButton);  // the file goes on
  EXPECT_EQ(window->engine().state().Windows, 2);
}

TEST_F(DebugViewerWindowTest, ClosingRestoresTheStoresSettings) {
  makeWindow(true);
  EXPECT_EQ(fileBytes(storePath), savedStore);
  const std::string path = writeRecording(dir / "f", recordWords(drawFish(3000, fishEvery(3000, 37, 4))),
                                          reportFor(4, "%width1=250\n%width2=250\n%width3=250\n%width4=250\n"));
  open(path);
  QTest::mouseClick(window->nextButton(), Qt::LeftButton);
  ASSERT_EQ(s.NrChannels, 4);  // the recording's own while it is open
  ASSERT_NE(registryValues(s, controls), savedValues);
  QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(s.NrChannels, 1);
  EXPECT_EQ(registryValues(s, controls), savedValues);
  EXPECT_EQ(fileBytes(storePath), savedStore);
  EXPECT_FALSE(window->engine().isOpen());
  EXPECT_FALSE(window->nextButton()->isEnabled());
  EXPECT_TRUE(dialogs.errors.empty());
}

}  // namespace
