// The record viewer window under the offscreen platform: opened through a
// scripted file chooser, stepped, autocounted and closed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/record_viewer_widgets.h"
#include "records/live_comparison.h"
#include "records/record_viewer_window.h"
#include "records/recording_settings.h"
#include "records/recount_engine.h"
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

class RecordViewerWindowTest : public TempFolderTest, public ViewerTestState {
 protected:
  void SetUp() override {
    storePath = dir / "Eka Registry.ini";
    // The user's own settings: one channel of group 5 at 1400 mm.
    writeFile(storePath, "[Eka]\nNrChannels=1\nSize Group1=5\nchannelwidth=2\nByrjunX=3\nByrjunY=400\n"
                         "Reportpath=" + dir.string() + "/\nEnablemulti=1\nCountname1=Mine\n");
    store = std::make_unique<SettingsStore>(storePath.string());
    Read_Registry(s, controls, *store);
    setDetectionConstants(*d, s.ChannelWidthMm);
    ASSERT_TRUE(Write_Registry(s, controls, *store));  // the store in the writer's own form
    savedStore = fileContents(storePath);
    savedValues = registryValues(s, controls);

    auto env = environment<RecordViewerEnvironment>(store.get());
    env.tracePath = (dir / "test.txt").string();
    window = std::make_unique<TfrmRecord>(env);
  }
  void TearDown() override { window.reset(); }

  std::string recording(const std::string& name, int32_t lines, int channels, int32_t spacing = 40) {
    return writeRecording(dir / name, recordWords(drawFish(lines, fishEvery(lines, spacing, channels))),
                          reportFor(channels));
  }

  void open(const std::string& path) {
    dialogs.answers.push_back(path);
    window->OpenBlbFile();
    QApplication::processEvents();
  }

  int64_t editSum() const {
    int64_t sum = 0;
    for (int n = 1; n <= 4; ++n) sum += window->countEdit(n)->text().toLongLong();
    return sum;
  }

  ChannelArray<int32_t> freshCount(const std::string& path, int32_t width, int32_t first, int32_t last) {
    return countOnOwnState(path, *store, width, first, last);
  }

  fs::path storePath;
  std::string savedStore;
  std::vector<StoreValue> savedValues;
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<TfrmRecord> window;
};

TEST_F(RecordViewerWindowTest, OpenStepAutocountCloseAndTheSettingsComeBack) {
  const std::string path = recording("session", 20000, 3);
  session.RunFlag = true;
  open(path);
  ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
  ASSERT_TRUE(window->isVisible());
  EXPECT_EQ(dialogs.folders.at(0), dir.string() + "/");  // starts in the report folder
  EXPECT_EQ(dialogs.filters.at(0), kRecordFileFilter);
  EXPECT_FALSE(session.RunFlag);
  EXPECT_EQ(window->windowTitle().toStdString(), "Tank: T7  Spring     15 Mar 2023");
  // The recording's settings are in force while it is open.
  EXPECT_EQ(s.NrChannels, 3);
  EXPECT_EQ(s.ChannelWidthMm, 1000);
  EXPECT_EQ(s.SizeGroup[1], 2);
  EXPECT_EQ(window->countLabel(1)->text().toStdString(), "Ch1    1 gr");
  EXPECT_LT(window->countEdit(4)->y(), 0);  // channel 4 out of sight
  EXPECT_GE(window->countEdit(3)->y(), window->countEdit(2)->y());
  EXPECT_EQ(window->Label3()->text().toStdString(), "Ch1");
  // The picture is as wide as a frame.
  const int32_t width = window->engine().frameWidth();
  EXPECT_EQ(width, window->PaintBox1()->width());
  EXPECT_EQ(window->engine().state().CurrentFrame, 1);
  EXPECT_EQ(window->Label1()->text().toLongLong(), editSum());
  EXPECT_FALSE(window->button("beginbtn")->isEnabled());
  EXPECT_EQ(window->Label2()->text().toStdString(), "12:00:00");  // DateTime 18:00 less 6 hours

  window->FarwardbtnClick();
  EXPECT_EQ(window->engine().state().CurrentFrame, 2);
  EXPECT_TRUE(window->button("beginbtn")->isEnabled());
  EXPECT_EQ(window->Label1()->text().toLongLong(), editSum());
  EXPECT_EQ(window->TrackBar1()->value(), window->engine().state().TrackBar1.Position);

  // Autocount: down on frame 2, up on frame 4.
  window->button("autocountbtn")->click();
  window->FarwardbtnClick();
  window->FarwardbtnClick();
  window->button("autocountbtn")->click();
  EXPECT_FALSE(window->button("autocountbtn")->isChecked());
  EXPECT_EQ(window->engine().state().CurrentFrame, 4);
  const ChannelArray<int32_t> expected = freshCount(path, width, 2, 4);
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(window->countEdit(n)->text().toInt(), expected[n]) << n;
  EXPECT_GT(editSum(), 0);
  EXPECT_EQ(window->TrackBar1()->selectionEnd(), window->engine().state().TrackBar1.SelEnd);

  // The track bar jumps.
  window->TrackBar1()->setValue(window->TrackBar1()->maximum());
  window->TrackBar1()->setValue(window->TrackBar1()->maximum() - 1);
  EXPECT_EQ(window->engine().state().CurrentFrame,
            std::max<int32_t>(1, (window->TrackBar1()->maximum() - 1) * window->engine().state().FrameCount /
                                     window->TrackBar1()->maximum()));

  window->close();
  QApplication::processEvents();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(fileContents(storePath), savedStore);
  EXPECT_EQ(registryValues(s, controls), savedValues);
  EXPECT_EQ(s.NrChannels, 1);
  EXPECT_EQ(s.ChannelWidthMm, 1400);
  EXPECT_EQ(d->LengthDivisor, 6);
  EXPECT_EQ(d->SegmentCount, 0);
  EXPECT_EQ(d->PreviousCount, 0);
  EXPECT_FALSE(session.RunFlag);
  // The trace holds one line per accepted object.
  EXPECT_FALSE(fileContents(dir / "test.txt").empty());
}

TEST_F(RecordViewerWindowTest, CancelledDialogOpensNothing) {
  window->OpenBlbFile();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_EQ(s.NrChannels, 1);
}

TEST_F(RecordViewerWindowTest, MissingReportFileIsReportedAndTheWindowStaysHidden) {
  const std::string path = (dir / "alone.blb").string();
  writeFile(path, encodeBinary(recordWords(drawFish(100, {}))));
  open(path);
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], "Cant find corresponding reportfile (.mse)");
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(s.NrChannels, 1);
}

TEST_F(RecordViewerWindowTest, ReportWithoutItsRecordIsReportedAndTheSettingsComeBack) {
  writeFile(dir / "gone.mse", reportFor(3));
  const std::string path = (dir / "gone.blb").string();
  open(path);
  EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Cannot open the record file " + path + ": it does not exist."});
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(registryValues(s, controls), savedValues);
  EXPECT_EQ(fileContents(storePath), savedStore);
}

TEST_F(RecordViewerWindowTest, DamagedRecordIsOneWarningAndShownAsFarAsItGoes) {
  std::vector<int16_t> words = recordWords(drawFish(5000, fishEvery(5000, 40, 2)));
  words.push_back(-3);   // line 5001: a negative count
  words.push_back(700);  // line 5002: a count above 500, cut short
  words.push_back(1);
  const std::string path = writeRecording(dir / "bad", words, reportFor(2));
  open(path);
  ASSERT_TRUE(window->isVisible());
  EXPECT_TRUE(dialogs.errors.empty());
  ASSERT_EQ(dialogs.warnings.size(), 1u);
  const std::string& w = dialogs.warnings[0];
  EXPECT_NE(w.find("Line 5001 has a negative segment count"), std::string::npos) << w;
  EXPECT_NE(w.find("Line 5002 claims more than 500 segments"), std::string::npos) << w;
  EXPECT_NE(w.find("The recording ends in the middle of line 5002"), std::string::npos) << w;
  window->endbtnClick();
  window->beginbtnClick();
  EXPECT_EQ(dialogs.warnings.size(), 1u);
}

// A companion report of random bytes is read with the defaults (one channel
// here, where the recording has three), but the operator hears of it once.
TEST_F(RecordViewerWindowTest, ReportOfJunkIsOneWarningAndTheDefaults) {
  std::string junk(4096, '\0');
  uint32_t x = 12345;
  for (char& c : junk) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  const std::string path = writeRecording(dir / "junk", recordWords(drawFish(3000, fishEvery(3000, 40, 3))), junk);
  open(path);
  ASSERT_TRUE(window->isVisible());
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_EQ(s.NrChannels, 1);
  ASSERT_EQ(dialogs.warnings.size(), 1u);
  EXPECT_NE(dialogs.warnings[0].find("holds none of the sections of a session report"), std::string::npos)
      << dialogs.warnings[0];
  writeFile(dir / "junk.mse", reportFor(3));
  open(path);
  EXPECT_EQ(dialogs.warnings.size(), 1u);
}

// A companion report that is there but cannot be read is not "missing".
TEST_F(RecordViewerWindowTest, ReportThatIsAFolderIsNamedAsSuch) {
  const std::string path = writeRecording(dir / "dir", recordWords(drawFish(1000, {})), "");
  fs::remove(dir / "dir.mse");
  fs::create_directory(dir / "dir.mse");
  open(path);
  EXPECT_EQ(dialogs.errors,
            std::vector<std::string>{"Cannot read the report file " + (dir / "dir.mse").string() + ": it is a folder."});
  fs::remove(dir / "dir.mse");
  open(path);
  EXPECT_EQ(dialogs.errors.back(), "Cant find corresponding reportfile (.mse)");
}

// The trace file is made afresh: a symbolic link left at its place is not
// followed, so the file it names keeps its content (and nothing is traced).
TEST_F(RecordViewerWindowTest, TraceIsNeverWrittenThroughASymbolicLink) {
  writeFile(dir / "victim", "keep");
  fs::create_symlink(dir / "victim", dir / "test.txt");
  open(recording("linked", 3000, 1));
  ASSERT_TRUE(window->isVisible());
  EXPECT_EQ(fileContents(dir / "victim"), "keep");
}

TEST_F(RecordViewerWindowTest, CutLineIsOneWarningNamingTheLine) {
  std::vector<int16_t> words = recordWords(drawFish(3000, {}));
  for (int16_t w : {2, 10, 20, 30}) words.push_back(w);  // line 3001 ends inside its second pair
  open(writeRecording(dir / "cut", words, reportFor(1)));
  ASSERT_TRUE(window->isVisible());
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"The recording ends in the middle of line 3001; "
                                                       "that line is shown as far as it goes."});
}

TEST_F(RecordViewerWindowTest, OddLastByteOpensWithoutAMessage) {
  const std::string path = recording("odd", 3000, 1);
  std::ofstream(path, std::ios::binary | std::ios::app).put('\x01');
  open(path);
  ASSERT_TRUE(window->isVisible());
  EXPECT_EQ(window->engine().state().TotalLines, 3000);
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(RecordViewerWindowTest, FrameLabelFollowsNavigationAndAutocount) {
  open(recording("frames", 20000, 2));
  const int32_t width = window->engine().frameWidth();
  ASSERT_GT(width, 100);
  const QString of = QStringLiteral(" / %1").arg((20000 + width - 1) / width);
  EXPECT_EQ(window->FrameLabel()->text(), "Frame 1" + of);
  window->FarwardbtnClick();
  EXPECT_EQ(window->FrameLabel()->text(), "Frame 2" + of);
  window->button("autocountbtn")->click();
  window->FarwardbtnClick();
  window->FarwardbtnClick();
  window->button("autocountbtn")->click();
  EXPECT_EQ(window->FrameLabel()->text(), "Frame 4" + of);
  window->endbtnClick();
  EXPECT_EQ(window->FrameLabel()->text(), QStringLiteral("Frame %1").arg((20000 + width - 1) / width) + of);
  // The total has its name beside it.
  const auto* total = window->findChild<QLabel*>(QStringLiteral("TotalLabel"));
  ASSERT_NE(total, nullptr);
  EXPECT_EQ(total->text(), "Total");
  EXPECT_EQ(total->y(), window->Label1()->y());
  EXPECT_LE(total->geometry().right(), window->Label1()->x());
}

TEST_F(RecordViewerWindowTest, KeysDoWhatTheButtonsDo) {
  open(recording("keys", 20000, 3));
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  auto counts = [&] {
    std::vector<int> c;
    for (int n = 1; n <= 3; ++n) c.push_back(window->countEdit(n)->text().toInt());
    return c;
  };
  // Frames 2..4 counted with the buttons, then with the keys: Right steps on
  // and so continues the count as the forward button does, also with a
  // count in focus.
  window->FarwardbtnClick();
  window->button("autocountbtn")->click();
  window->FarwardbtnClick();
  window->FarwardbtnClick();
  window->button("autocountbtn")->click();
  const std::vector<int> byButtons = counts();
  EXPECT_GT(byButtons[0] + byButtons[1] + byButtons[2], 0);

  QTest::keyClick(window.get(), Qt::Key_Home);
  EXPECT_EQ(window->engine().state().CurrentFrame, 1);
  QTest::keyClick(window.get(), Qt::Key_Left);  // nothing before frame 1
  EXPECT_EQ(window->engine().state().CurrentFrame, 1);
  QTest::keyClick(window.get(), Qt::Key_Right);
  QTest::keyClick(window.get(), Qt::Key_A, Qt::AltModifier);
  EXPECT_TRUE(window->button("autocountbtn")->isChecked());
  window->countEdit(2)->setFocus();
  QTest::keyClick(window->countEdit(2), Qt::Key_Right);
  window->TrackBar1()->setFocus();
  QTest::keyClick(window->TrackBar1(), Qt::Key_Right);
  QTest::keyClick(window.get(), Qt::Key_A, Qt::AltModifier);
  EXPECT_FALSE(window->button("autocountbtn")->isChecked());
  EXPECT_EQ(window->engine().state().CurrentFrame, 4);
  EXPECT_EQ(counts(), byButtons);

  QTest::keyClick(window.get(), Qt::Key_End);
  EXPECT_EQ(window->engine().state().CurrentFrame, window->engine().state().FrameCount);
  QTest::keyClick(window.get(), Qt::Key_Left);
  EXPECT_EQ(window->engine().state().CurrentFrame, window->engine().state().FrameCount - 1);
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(s.NrChannels, 1);  // closed as the Close button does: the user's settings back
}

TEST_F(RecordViewerWindowTest, MissingReportFolderStartsTheDialogAtHome) {
  controls.reportpath.setText((dir / "not there" / "").string());
  window->OpenBlbFile();
  controls.reportpath.setText("");
  window->OpenBlbFile();
  EXPECT_EQ(dialogs.folders, std::vector<std::string>(2, QDir::homePath().toStdString()));
}

TEST_F(RecordViewerWindowTest, CountedStretchIsABandUnderTheTrackBarInEveryStyle) {
  for (const QString& name : QStyleFactory::keys()) {
    SCOPED_TRACE(name.toStdString());
    std::unique_ptr<QStyle> style(QStyleFactory::create(name));
    SelectionTrackBar bar;
    bar.setStyle(style.get());
    bar.resize(400, bar.sizeHint().height());
    bar.setRange(1, 100);
    bar.setValue(60);
    bar.setSelection(20, 60);
    const QRect band = bar.selectionBand();
    ASSERT_FALSE(band.isEmpty());
    const QImage image = bar.grab().toImage();
    ASSERT_TRUE(image.rect().contains(band));
    EXPECT_EQ(image.pixelColor(band.center()), SelectionTrackBar::bandColor());
    EXPECT_NE(image.pixelColor(band.left() - 20, band.center().y()), SelectionTrackBar::bandColor());
    bar.setSelection(0, 0);
    EXPECT_TRUE(bar.selectionBand().isEmpty());
  }
}

TEST_F(RecordViewerWindowTest, ChartClickCyclesTheChannels) {
  const std::string report = reportFor(3, "[ThroughputChart]\nX1=0.6\nY1=10\nX2=0.7\nY2=12\n");
  const std::string path = writeRecording(dir / "c", recordWords(drawFish(3000, {})), report);
  open(path);
  EXPECT_EQ(window->activeSeries(), 0);
  window->Chart1Click();
  EXPECT_EQ(window->activeSeries(), 1);
  EXPECT_EQ(window->Label3()->text().toStdString(), "Ch2");
  window->Chart1Click();
  window->Chart1Click();
  EXPECT_EQ(window->activeSeries(), 0);
  EXPECT_EQ(window->Label3()->text().toStdString(), "Ch1");
}

TEST_F(RecordViewerWindowTest, SecondFileWhileVisibleShowsItsFirstFrame) {
  open(recording("one", 9000, 2));
  window->endbtnClick();
  const std::string second = recording("two", 4000, 4, 30);
  std::string report = fileContents(dir / "two.mse");
  writeFile(dir / "two.mse", "[Program]\nTank=Other\n" + report.substr(report.find("[Settings]")));
  open(second);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle().toStdString(), "Tank: Other       30 Dec 1899");
  EXPECT_EQ(window->engine().state().CurrentFrame, 1);
  EXPECT_EQ(window->engine().state().TotalLines, 4000);
  const ChannelArray<int32_t> expected = freshCount(second, window->engine().frameWidth(), 1, 1);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(window->countEdit(n)->text().toInt(), expected[n]) << n;
  window->close();
  EXPECT_EQ(fileContents(storePath), savedStore);
}

TEST_F(RecordViewerWindowTest, PictureShowsObjectsInNavyAndTheDividers) {
  // A fish in every channel across the whole first frame.
  std::vector<Fish> fish;
  for (int ch = 0; ch < 2; ++ch) fish.push_back({1, 3000, ch * 256 + 128, 60});
  const std::string path = writeRecording(dir / "p", recordWords(drawFish(3000, fish)), reportFor(2));
  open(path);
  const QImage image = window->PaintBox1()->grab().toImage();
  const int h = image.height();
  ASSERT_GT(h, 100);
  const int x = std::min(image.width() - 1, 1500 / 2 > 0 ? image.width() / 2 : 0);
  EXPECT_EQ(image.pixelColor(x, window->skal(128, h)), QColor(0, 0, 0x80));   // object of channel 1
  EXPECT_EQ(image.pixelColor(x, window->skal(384, h)), QColor(0, 0, 0x80));   // object of channel 2
  EXPECT_EQ(image.pixelColor(x, window->skal(10, h)), QColor(Qt::white));      // nothing there
  const int b = window->skal(s.ChannelPositions[2].Begin, h);
  EXPECT_EQ(image.pixelColor(x, b + 1), QColor(Qt::black));                     // divider's lower edge
  EXPECT_EQ(image.pixelColor(x, b), QColor(0x80, 0x80, 0x80));
  if (const char* shots = std::getenv("TINDAVEL_SCREENSHOT_DIR")) {
    window->grab().save(QString::fromLocal8Bit(shots) + "/record_viewer.png");
  }
}

TEST_F(RecordViewerWindowTest, ScreenshotOfARealisticSession) {
  const char* shots = std::getenv("TINDAVEL_SCREENSHOT_DIR");
  if (!shots) GTEST_SKIP() << "set TINDAVEL_SCREENSHOT_DIR to save screenshots";
  const char* given = std::getenv("TINDAVEL_SCREENSHOT_RECORDING");
  const std::string src = given ? given : std::string(TINDAVEL_SOURCE_DIR) + "/samples/demo.blb";
  if (!fs::exists(src)) GTEST_SKIP() << "no demo recording";
  open(src);
  // Step on until a frame holds a counted fish, so the picture shows one.
  for (int64_t before = editSum(), frame = 0; frame < 20; ++frame) {
    window->FarwardbtnClick();
    if (editSum() > before) break;
  }
  window->grab().save(QString::fromLocal8Bit(shots) + "/record_viewer_demo.png");
  window->Chart1Click();
  window->grab().save(QString::fromLocal8Bit(shots) + "/record_viewer_demo_channel2.png");
}

}  // namespace

namespace {

class LiveComparisonWindowTest : public RecordViewerWindowTest {
 protected:
  void autocountWhole() {
    window->beginbtnClick();
    window->button("autocountbtn")->click();
    window->endbtnClick();
    window->button("autocountbtn")->click();
  }
};

// The report's live count of channel 1 is 3, of channel 2 the re-count
// itself; channels 3 and 4 have none.
TEST_F(LiveComparisonWindowTest, DifferencesAfterAWholeAutocountAndTheDoubleClickJump) {
  const auto words = recordWords(drawFish(20000, fishEvery(20000, 40, 2)));
  const std::string path = writeRecording(dir / "cmp", words, reportFor(2));
  const int32_t recount2 = freshCount(path, 1000, 1, 0)[2];
  writeRecording(dir / "cmp", words, reportFor(2, "Counters1=3\nCounters2=" + std::to_string(recount2) + "\n"));
  open(path);
  EXPECT_EQ(window->liveLabel(1)->text(), QStringLiteral("Live 3"));
  EXPECT_EQ(window->liveLabel(2)->text(), QStringLiteral("Live %1").arg(recount2));
  EXPECT_TRUE(window->liveLabel(3)->text().isEmpty());

  autocountWhole();
  const int recount1 = window->countEdit(1)->text().toInt();
  ASSERT_GT(recount1, 3);
  EXPECT_TRUE(window->liveLabel(1)->text().contains(QStringLiteral("Difference +%1").arg(recount1 - 3)));
  EXPECT_TRUE(window->liveLabel(2)->text().endsWith(QStringLiteral("Difference 0")));
  // The curve on the chart is the comparison's, for the channel shown.
  EXPECT_EQ(window->recountSeries()->points().size(), window->comparison().recountCurve(1).size());
  window->Chart1Click();
  EXPECT_EQ(window->recountSeries()->points().back().y(), window->comparison().recountCurve(2).back().y);

  // A double-click in the middle shows that frame and counts it afresh,
  // even when it is the frame after the one shown.
  const RecordViewerState& st = window->engine().state();
  const int32_t width = window->engine().frameWidth();
  const int32_t middle = st.FrameCount / 2;
  for (const int32_t frame : {middle, middle + 1}) {
    window->Chart1DblClick(window->comparison().timeOfLine(int64_t{width} * (frame - 1) + 10));
    EXPECT_EQ(window->FrameLabel()->text(), QStringLiteral("Frame %1 / %2").arg(frame).arg(st.FrameCount));
    EXPECT_EQ(window->countEdit(1)->text().toInt(), freshCount(path, width, frame, frame)[1]) << frame;
    EXPECT_FALSE(window->liveLabel(1)->text().contains(QStringLiteral("Difference")));
  }
  window->Chart1DblClick(window->comparison().lastTime() + 1.0 / 86400);  // outside: nothing moves
  EXPECT_EQ(st.CurrentFrame, middle + 1);
}

// Pictures for the eye (TINDAVEL_SCREENSHOT_DIR, TINDAVEL_SCREENSHOT_RECORDING):
// a whole re-count at two screen sizes, then a double-click in the middle.
TEST_F(LiveComparisonWindowTest, ScreenshotsOfAWholeRecount) {
  const char* shots = std::getenv("TINDAVEL_SCREENSHOT_DIR");
  const char* given = std::getenv("TINDAVEL_SCREENSHOT_RECORDING");
  if (!shots || !given) GTEST_SKIP() << "set TINDAVEL_SCREENSHOT_DIR and TINDAVEL_SCREENSHOT_RECORDING";
  for (const QSize size : {QSize(1024, 768), QSize(1920, 1080)}) {
    window->resize(size);
    open(given);
    window->resize(size);
    QApplication::processEvents();
    autocountWhole();
    const QString tag = QStringLiteral("%1/%3_%2x%4.png").arg(QString::fromLocal8Bit(shots)).arg(size.width());
    QApplication::processEvents();  // the toolbar lays out the frame label's new text
    window->grab().save(tag.arg(QStringLiteral("whole_recount")).arg(size.height()));
    window->Chart1DblClick((window->comparison().firstTime() + window->comparison().lastTime()) / 2);
    QApplication::processEvents();
    window->grab().save(tag.arg(QStringLiteral("double_click")).arg(size.height()));
  }
}

}  // namespace
