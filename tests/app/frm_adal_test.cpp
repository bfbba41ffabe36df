#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QValueAxis>
#include <QLineEdit>
#include <QLineSeries>
#include <QDateTimeAxis>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include <QTimeZone>

#include <filesystem>
#include <memory>

#include "app/frm_adal.h"
#include "app/program_state.h"
#include "app/up_down_selector.h"
#include "settings/registry.h"
#include "tests/app/app_test_support.h"
#include "tests/app/scripted_main_window_dialogs.h"
#include "tests/temp_folder.h"

namespace {

class MainWindowTest : public ProgramStateTest {
 protected:
  MainWindowTest() {
    portIoStartup(state->port, &port);
    fillLangText(state->texts, 1);  // the English texts, as the first-time fill leaves them
  }
  ~MainWindowTest() override {
    window_.reset();
    portIoShutdown(state->port);
  }
  TFrmAdal& window() {
    if (!window_) window_ = std::make_unique<TFrmAdal>(*state, &prompts, &env);
    return *window_;
  }
  void TearDown() override { EXPECT_FALSE(prompts.unscripted) << prompts.asked.join("|").toStdString(); }

  CountingPortDriver port;
  std::optional<std::vector<std::string>>& processes = env.processes;
  int& screenHeight = env.height;
  int64_t& freeBytes = env.free;
  QDateTime& clock = env.clock;
  std::unique_ptr<TFrmAdal> window_;
};

std::vector<QString> visibleToolbarButtons(const FrmAdalUi& w) {
  std::vector<QString> shown;
  for (QPushButton* b : {w.Button4, w.startstop, w.Storebtn, w.Button5, w.scopebtn, w.Button3, w.Debugrec,
                         w.Viewfilebtn, w.Reportbtn, w.Button6}) {
    if (b->isVisible()) shown.push_back(b->text());
  }
  return shown;
}

TEST_F(MainWindowTest, ShowsTitleAndOnlyTheThreeViewerButtons) {
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  ASSERT_FALSE(window.endedAtCreate());
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Tolu Report viewer  1.46"));
  EXPECT_EQ(visibleToolbarButtons(w),
            (std::vector<QString>{QStringLiteral("View Record"), QStringLiteral("View Report"), QStringLiteral("Exit")}));
  EXPECT_FALSE(w.Storebtn->isEnabled());
  EXPECT_FALSE(w.Panel4->isVisible());
  EXPECT_FALSE(w.pagectrl->isVisible());
  EXPECT_FALSE(w.PageControl1->isVisible());
  EXPECT_TRUE(w.Gauge1->isVisible());
  EXPECT_EQ(w.Gauge1->maximum(), 100);
  EXPECT_EQ(w.UpDown[1]->value(), 1);  // the form's 2, set to 1 at creation
  EXPECT_EQ(w.UpDown[2]->value(), 2);
}

TEST_F(MainWindowTest, TitleStandsAfterTheLanguageFillWhenFirstiniRunsBeforeShowing) {
  TFrmAdal& w = window();
  w.firstiniTimer();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tolu Lumen/Norde Counter"));
  w.show();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tolu Report viewer  1.46"));
}

TEST_F(MainWindowTest, ViewerButtonsAskForTheirViewers) {
  TFrmAdal& w = window();
  int records = 0;
  int reports = 0;
  QObject::connect(&w, &TFrmAdal::recordViewerRequested, [&] { ++records; });
  QObject::connect(&w, &TFrmAdal::reportViewerRequested, [&] { ++reports; });
  w.ui().Viewfilebtn->click();
  w.ui().Reportbtn->click();
  w.ui().Reportbtn->click();
  EXPECT_EQ(records, 1);
  EXPECT_EQ(reports, 2);
}

// Alt and a letter press a toolbar button as a click does; the captions keep
// their texts, and a hidden button's key does nothing.
TEST_F(MainWindowTest, AltLettersPressTheToolbarButtons) {
  TFrmAdal& w = window();
  const FrmAdalUi& ui = w.ui();
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  int records = 0;
  int reports = 0;
  int settingsWindows = 0;
  QObject::connect(&w, &TFrmAdal::recordViewerRequested, [&] { ++records; });
  QObject::connect(&w, &TFrmAdal::reportViewerRequested, [&] { ++reports; });
  QObject::connect(&w, &TFrmAdal::settingsWindowRequested, [&] { ++settingsWindows; });
  QTest::keyClick(&w, Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return records == 1; }));
  QTest::keyClick(&w, Qt::Key_P, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return reports == 1; }));
  EXPECT_EQ(records, 1);
  prompts.answers = {false};
  QTest::keyClick(&w, Qt::Key_X, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !prompts.asked.isEmpty(); }));
  EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("Confirm, exit now")});
  EXPECT_TRUE(w.isVisible());
  // "Settings" is hidden: its key waits until the button shows.
  QTest::keyClick(&w, Qt::Key_E, Qt::AltModifier);
  QTest::qWait(300);
  EXPECT_EQ(settingsWindows, 0);
  ui.Button5->show();
  QTest::keyClick(&w, Qt::Key_E, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return settingsWindows == 1; }));
  EXPECT_EQ(visibleToolbarButtons(ui), (std::vector<QString>{QStringLiteral("Settings"), QStringLiteral("View Record"),
                                                             QStringLiteral("View Report"), QStringLiteral("Exit")}));
}

// No two toolbar buttons share a key.
TEST_F(MainWindowTest, ToolbarShortcutsAreAllDifferent) {
  const FrmAdalUi& w = window().ui();
  QStringList keys;
  for (QPushButton* b : {w.Button4, w.startstop, w.Storebtn, w.Button5, w.scopebtn, w.Button3, w.Debugrec,
                         w.Viewfilebtn, w.Reportbtn, w.Button6}) {
    EXPECT_FALSE(b->shortcut().isEmpty()) << b->objectName().toStdString();
    keys << b->shortcut().toString();
  }
  keys.removeDuplicates();
  EXPECT_EQ(keys.size(), 10);
}

TEST_F(MainWindowTest, ExitAnsweredNoLeavesTheWindowAndYesClosesIt) {
  TFrmAdal& w = window();
  w.show();
  int closed = 0;
  QObject::connect(&w, &TFrmAdal::closed, [&] { ++closed; });
  prompts.answers = {false};
  w.ui().Button6->click();
  EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("Confirm, exit now")});
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(closed, 0);
  prompts.answers = {true};
  w.ui().Button6->click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(closed, 1);
}

TEST_F(MainWindowTest, SecondCopyEndsAtCreationWithoutTheRestOfTheStartUp) {
  processes = std::vector<std::string>{"/usr/bin/tindavel", "/home/op/TINDAVEL"};
  EXPECT_TRUE(window().endedAtCreate());
  EXPECT_EQ(port.writes, 0);
}

TEST_F(MainWindowTest, NoProcessListPassesTheCheck) {
  processes = std::nullopt;
  EXPECT_FALSE(window().endedAtCreate());
  EXPECT_EQ(port.writes, 1);  // the output is switched off at creation
}

TEST_F(MainWindowTest, ScalesToTheScreenHeight) {
  screenHeight = 1024;
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  EXPECT_EQ(window.scaleNumerator(), 1024);
  EXPECT_EQ(w.Panel1->width(), 233 * 1024 / 480);
  EXPECT_EQ(w.Viewfilebtn->width(), 85 * 1024 / 480);
  EXPECT_EQ(w.Viewfilebtn->height(), 47 * 1024 / 480);
  EXPECT_EQ(w.ToolBar1->height(), 57 * 1024 / 480);
  EXPECT_EQ(w.Panel5->height(), 136 * 1024 / 480);
  EXPECT_EQ(w.Gauge1->height(), 30 * 1024 / 480);
  EXPECT_EQ(w.Teljari[1]->font().pixelSize(), 37 * 1024 / 480);
  EXPECT_EQ(w.Viewfilebtn->font().pixelSize(), 13 * 1024 / 480);
  EXPECT_EQ(window.font().pixelSize(), 13 * 1024 / 480);
  EXPECT_EQ(window.size(), QSize(640 * 1024 / 480, 1024));
}

TEST_F(MainWindowTest, DesignScreenLeavesSizesAsDesigned) {
  const FrmAdalUi& w = window().ui();
  EXPECT_EQ(w.Panel1->width(), 233);
  EXPECT_EQ(w.Button4->width(), 153);
  EXPECT_EQ(w.Teljari[1]->font().pixelSize(), 37);
}

TEST_F(MainWindowTest, FirstiniFillsDisplaysForThreeChannels) {
  writeStoreFile("[Eka]\nNrChannels=3\nEnablemulti=1\nCounters1=10\nCounters2=20\nCounters3=30\nTotal=500\n"
                 "ByrjunX=7\nByrjunY=480\nMalanr=3\n");
  settings.ChannelCounter[4] = 40;  // channel 4 is not loaded with three in use
  session.SessionActive = true;
  session.RunFlag = true;
  TFrmAdal& window = this->window();
  // The channel table is filled last: after the settings are read and the
  // texts are filled in the stored language.
  std::vector<std::string> atTable;
  QObject::connect(&window, &TFrmAdal::channelTableRequested, [&] {
    atTable.push_back(std::to_string(settings.NrChannels));
    atTable.push_back(state->texts.LangText[50]);
  });
  window.firstiniTimer();
  const FrmAdalUi& w = window.ui();
  EXPECT_EQ(atTable, (std::vector<std::string>{"3", "Lagre"}));
  EXPECT_TRUE(sett.Enablemulti.enabled);  // three channels leave multi as stored
  EXPECT_EQ(w.Summa->text(), QStringLiteral("60"));
  EXPECT_EQ(w.Total->text(), QStringLiteral("500"));
  EXPECT_EQ(w.Teljari[4]->text(), QStringLiteral("40"));
  EXPECT_EQ(w.Teljari[3]->text(), QStringLiteral("30"));
  EXPECT_EQ(settings.ChannelPositions[1].Begin, 7);
  EXPECT_EQ(settings.ChannelPositions[3].End, 480);
  EXPECT_FALSE(session.SessionActive);
  EXPECT_FALSE(session.RunFlag);
  EXPECT_EQ(counting.BufferCount, 1);
  EXPECT_DOUBLE_EQ(counting.BufferCountStart, 45413.0 + 10.0 / 24);  // 1 May 2024 10:00
  EXPECT_TRUE(prompts.told.isEmpty());
  EXPECT_FALSE(w.firstini->isActive());
  EXPECT_FALSE(w.estimlbl[1]->isHidden());
  EXPECT_FALSE(w.ProgressBar[4]->isHidden());
}

TEST_F(MainWindowTest, FirstiniWithOneChannelTurnsMultiOffAndShowsDebugRecInDebugMode) {
  writeStoreFile("[Eka]\nNrChannels=1\nEnablemulti=1\n");
  settings.DebugMode = true;  // never stored: the settings window's hidden box sets it
  TFrmAdal& window = this->window();
  window.show();
  window.firstiniTimer();
  const FrmAdalUi& w = window.ui();
  EXPECT_FALSE(sett.Enablemulti.checked());
  EXPECT_TRUE(w.Total->isVisibleTo(w.SumGroupBox));
  EXPECT_FALSE(w.Summa->isVisibleTo(w.SumGroupBox));
  EXPECT_TRUE(w.Debugrec->isVisible());
}

TEST_F(MainWindowTest, FirstiniHandsTheChannelWidthConstantsOn) {
  writeStoreFile("[Eka]\nchannelwidth=" + std::to_string(kChannelWidth1400Item) + "\n");
  state->detection.LengthDivisor = 0;
  window().firstiniTimer();
  EXPECT_EQ(state->detection.LengthDivisor, 6);
}

// Whatever ran before it, the first-time initialisation leaves no counting
// session and no sample running.
TEST_F(MainWindowTest, FirstiniClearsTheSessionFlagsAndSamplingOn) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "firstini_sampling";
  std::filesystem::create_directories(folder);
  RecordingRequest request;
  request.Recordmethod = kRecordContinuous;
  request.reportpath = folder.string() + "/";
  request.today = localToday();
  TFrmAdal& w = window();
  state->recorder.UndirbuaUpptoku(request, settings);
  ASSERT_TRUE(state->recorder.SamplingOn());
  session.SessionActive = true;
  session.RunFlag = true;
  w.firstiniTimer();
  EXPECT_FALSE(session.SessionActive);
  EXPECT_FALSE(session.RunFlag);
  EXPECT_FALSE(state->recorder.SamplingOn());
}

TEST_F(MainWindowTest, FreeSpaceWarning) {
  constexpr int64_t kMb = 1024 * 1024;
  TFrmAdal& w = window();
  freeBytes = 499 * kMb + 1000;
  w.firstiniTimer();
  EXPECT_EQ(prompts.told, QStringList{QStringLiteral(
                              "There is only 499 MB left on the hard drive. Please make more space available.")});
  prompts.told.clear();
  freeBytes = 500 * kMb;
  w.firstiniTimer();
  EXPECT_TRUE(prompts.told.isEmpty());
  freeBytes = -1;  // unknown
  w.firstiniTimer();
  EXPECT_EQ(prompts.told, QStringList{QStringLiteral(
                              "There is only 0 MB left on the hard drive. Please make more space available.")});
}

// Which of the settings window's channel name edits show.
std::map<int, bool> nameEditsShown(const SettingsModel& sett) {
  std::map<int, bool> names;
  for (int n = 2; n <= kMaxChannels; ++n) names[n] = sett.channelName(n).visible;
  return names;
}

TEST_F(MainWindowTest, PerChannelControlsThreeChannelsMulti) {
  sett.Enablemulti.setChecked(true);
  settings.NrChannels = 3;
  TFrmAdal& window = this->window();
  window.Stillamultiteljara();
  const FrmAdalUi& w = window.ui();
  const std::map<int, bool> names = nameEditsShown(sett);
  EXPECT_FALSE(w.GroupBox[1]->isHidden());
  EXPECT_FALSE(w.GroupBox[2]->isHidden());
  EXPECT_FALSE(w.GroupBox[3]->isHidden());
  EXPECT_TRUE(w.GroupBox[4]->isHidden());
  EXPECT_TRUE(w.Series3->isVisible() && w.Series4->isVisible());
  EXPECT_FALSE(w.Series5->isVisible());
  EXPECT_TRUE(w.Series1->isVisible() && w.Series2->isVisible());
  EXPECT_TRUE(w.PageControl1->isTabVisible(1) && w.PageControl1->isTabVisible(2));
  EXPECT_FALSE(w.PageControl1->isTabVisible(3));
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Sub Total"));
  EXPECT_EQ(window.sumBoxTextColour(), QColor(Qt::yellow));
  EXPECT_FALSE(w.Summa->isHidden());
  EXPECT_TRUE(w.Total->isHidden());
  EXPECT_EQ(names, (std::map<int, bool>{{2, true}, {3, true}, {4, false}}));
}

TEST_F(MainWindowTest, PerChannelControlsFourChannelsNotMulti) {
  sett.Enablemulti.setChecked(false);
  settings.NrChannels = 4;
  TFrmAdal& window = this->window();
  window.Stillamultiteljara();
  const FrmAdalUi& w = window.ui();
  const std::map<int, bool> names = nameEditsShown(sett);
  for (int n : {2, 3, 4}) {
    EXPECT_TRUE(w.GroupBox[n]->isHidden()) << n;
    EXPECT_FALSE(window.counterSeries(n)->isVisible()) << n;
    EXPECT_FALSE(w.PageControl1->isTabVisible(n - 1)) << n;
  }
  EXPECT_FALSE(w.GroupBox[1]->isHidden());
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Total"));
  EXPECT_EQ(window.sumBoxTextColour(), QColor(0, 255, 0));
  EXPECT_FALSE(w.Total->isHidden());
  EXPECT_TRUE(w.Summa->isHidden());
  EXPECT_EQ(names, (std::map<int, bool>{{2, true}, {3, true}, {4, true}}));
}

TEST_F(MainWindowTest, SumFieldsSwitchOnDoubleClick) {
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  window.TotalDblClick();
  EXPECT_FALSE(w.Summa->isHidden());
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Sub Total"));
  EXPECT_EQ(window.sumBoxTextColour(), QColor(Qt::yellow));
  window.SummaDblClick();
  EXPECT_FALSE(w.Total->isHidden());
  EXPECT_TRUE(w.Summa->isHidden());
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Total"));
  EXPECT_EQ(window.sumBoxTextColour(), QColor(Qt::white));
}

TEST_F(MainWindowTest, ClearingACounterOutsideAndInsideASession) {
  settings.NrChannels = 2;
  settings.ChannelCounter = {0, 3, 8, 0, 0};
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  window.showCounts();
  prompts.answers = {false};
  window.TeljariDblClick(2);
  EXPECT_EQ(settings.ChannelCounter[2], 8);  // Cancel changes nothing
  EXPECT_EQ(w.Teljari[2]->text(), QStringLiteral("8"));
  prompts.answers = {true};
  window.TeljariDblClick(2);
  EXPECT_EQ(prompts.asked.last(), QStringLiteral("Confirm clear the counter 2"));
  EXPECT_EQ(settings.ChannelCounter[2], 0);
  EXPECT_EQ(w.Teljari[2]->text(), QStringLiteral("0"));
  EXPECT_FALSE(counting.ReportLines.has_value());

  QStringList messages;
  QObject::connect(&window, &TFrmAdal::timedMessageRequested, [&](const QString& m) { messages.append(m); });
  window.startcounting(QStringLiteral("Tank"));
  settings.ChannelCounter = {0, 4, 6, 0, 0};
  prompts.answers = {true};
  window.TeljariDblClick(1);
  ASSERT_TRUE(counting.ReportLines.has_value());
  ASSERT_EQ(counting.ReportLines->size(), 1u);
  EXPECT_EQ(counting.ReportLines->front(), "10:00:00     0     6");
  EXPECT_EQ(messages, QStringList{QStringLiteral("Storing numbers to report..")});
}

TEST_F(MainWindowTest, SessionStartSetsButtonsAndStatus) {
  settings.NrChannels = 1;
  const std::filesystem::path folder = testFolder();
  sett.reportpath.setText((folder / "").string());
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  w.Series1->append(1, 1);
  w.Series3->append(1, 1);
  window.startcounting(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"));
  EXPECT_EQ(w.StatusPanels[1]->text(), QStringLiteral("Counting sessionABCDEFGHIJKLMNOPQRSTUVWXY"));
  EXPECT_EQ(w.Button4->text(), QStringLiteral("End counting session"));
  EXPECT_TRUE(w.Storebtn->isEnabled());
  EXPECT_FALSE(w.Viewfilebtn->isEnabled());
  EXPECT_FALSE(w.Reportbtn->isEnabled());
  EXPECT_EQ(w.Series1->count(), 0);
  EXPECT_EQ(w.Series3->count(), 1);  // the other lines keep their points
  // The session's recording is prepared: its file is there, the header waits.
  ASSERT_TRUE(state->recorder.isOpen());
  EXPECT_TRUE(std::filesystem::exists(state->recorder.recordPath()));
  EXPECT_EQ(state->recorder.RecordWords(), 2);
  EXPECT_EQ(state->viewerCounts.AspectLimit[1], 12);
  state->recorder.HaettaSkraninguISkra();
  std::filesystem::remove_all(folder);
  EXPECT_TRUE(session.SessionActive);
}

TEST_F(MainWindowTest, ThroughputPlotsPerMinuteAndKeepsThirtyMinutes) {
  settings.NrChannels = 2;
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  session.IntervalCount = {0, 7, 2, 0, 5};
  window.Timer1Timer();
  ASSERT_EQ(w.Series1->count(), 1);
  EXPECT_EQ(w.Series1->at(0).y(), 42);
  EXPECT_EQ(w.Series5->count(), 1);
  EXPECT_EQ(w.Series2->count(), 0);  // no lines per buffer, no capacity point
  EXPECT_EQ(session.IntervalCount, (ChannelArray<int32_t>{0, 0, 0, 0, 5}));
  camera.LinesPerBuffer = 500;
  window.setGaugeMaximum(10);
  for (int i = 0; i < 200; ++i) {  // 2000 s of points
    clock = clock.addSecs(10);
    window.Timer1Timer();
  }
  ASSERT_EQ(w.Series2->count(), 200);
  EXPECT_NEAR(w.Series2->at(0).y(), 1339.2, 1e-9);
  EXPECT_GE(w.leftAxis->max(), 1339.2);  // every point lies inside the left axis
  EXPECT_EQ(w.leftAxis->min(), 0);
  EXPECT_EQ(w.bottomAxis->max(), clock);
  EXPECT_EQ(w.bottomAxis->min(), clock.addSecs(-30 * 60));
}

TEST_F(MainWindowTest, TargetTimerClearsChannelOneAndLogsOnlyInASession) {
  settings.ChannelCounter[1] = 12;
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  const int writesBefore = port.writes;
  w.Teljari[1]->setText(QStringLiteral("12"));
  w.Targettimer->start();
  window.TargettimerTimer();
  EXPECT_FALSE(w.Targettimer->isActive());
  EXPECT_EQ(port.writes - writesBefore, 1);  // the control output toggled
  EXPECT_EQ(settings.ChannelCounter[1], 0);
  EXPECT_EQ(w.Teljari[1]->text(), QStringLiteral("12"));
  EXPECT_FALSE(counting.ReportLines.has_value());
  window.startcounting(QString());
  settings.ChannelCounter[1] = 9;
  window.TargettimerTimer();
  ASSERT_EQ(counting.ReportLines->size(), 1u);
  // The time of day in the long format, without a time zone, then 12 blanks and the count.
  const QString line = QString::fromStdString(counting.ReportLines->front());
  const qsizetype gap = line.indexOf(QStringLiteral("            9"));
  ASSERT_GT(gap, 0) << line.toStdString();
  EXPECT_EQ(gap + 13, line.size()) << line.toStdString();
  EXPECT_FALSE(line.at(gap - 1).isSpace()) << line.toStdString();
  EXPECT_TRUE(line.startsWith(QStringLiteral("10")) || line.contains(QStringLiteral("10:00"))) << line.toStdString();
  EXPECT_FALSE(line.contains(QStringLiteral("UTC"))) << line.toStdString();
  EXPECT_FALSE(line.contains(QTimeZone::systemTimeZone().abbreviation(clock))) << line.toStdString();
}

TEST_F(MainWindowTest, SizeGroupSelectorsSetChannelsAndStore) {
  sett.Enablemulti.setChecked(false);
  settings.NrChannels = 3;
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  // The size group is applied to a channel's detection limits and shown.
  auto applied = [&] {
    std::vector<int> channels;
    for (int n = 1; n <= kMaxChannels; ++n) {
      if (!w.sizelbl[n]->text().isEmpty()) channels.push_back(n);
      w.sizelbl[n]->clear();
    }
    return channels;
  };
  auto stored = [] { return SettingsStore(defaultStorePath()).readInteger("Size Group1", -1); };
  w.UpDown[1]->stepBy(3);  // 1 -> 4, as a click on the arrow
  EXPECT_EQ(applied(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(settings.SizeGroup, (ChannelArray<int32_t>{0, 4, 4, 4, 0}));
  EXPECT_EQ(stored(), 4);
  EXPECT_EQ(settings.SizeGroup[1], 4);
  sett.Enablemulti.setChecked(true);
  w.UpDown[1]->stepBy(-1);
  EXPECT_EQ(applied(), (std::vector<int>{1}));
  EXPECT_EQ(settings.SizeGroup[1], 3);
  EXPECT_EQ(settings.SizeGroup[2], 4);
  w.UpDown[3]->setValue(7);  // set by the program: no click
  EXPECT_TRUE(applied().empty());
  w.UpDown[3]->stepBy(5);  // clamps at 8
  EXPECT_EQ(settings.SizeGroup[3], 8);
  EXPECT_EQ(SettingsStore(defaultStorePath()).readInteger("Size Group3", -1), 8);
}

TEST_F(MainWindowTest, CaptionsAndChannelNames) {
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  window.setCaption(MainCaption::Storebtn, "Lagre");
  window.setCaption(MainCaption::SumGroupBox, "Samtals");
  window.setCaption(MainCaption::sizelbl3, "Stærðarflokkur");
  window.setCaption(MainCaption::Throughput, "Álag");
  EXPECT_EQ(w.Storebtn->text(), QStringLiteral("Lagre"));
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Samtals"));
  EXPECT_EQ(w.sizelblLabel[3]->text(), QStringLiteral("Stærðarflokkur"));
  EXPECT_EQ(w.pagectrl->tabText(0), QStringLiteral("Álag"));
  window.renameChannel(2, "Smolt");
  EXPECT_EQ(w.GroupBox[2]->title(), QStringLiteral("Smolt"));
  EXPECT_EQ(w.PageControl1->tabText(1), QStringLiteral("Smolt"));
  EXPECT_EQ(w.Series3->name(), QStringLiteral("Smolt"));
}

}  // namespace

namespace {

TEST_F(MainWindowTest, SizeDisplayIgnoresChannelsOutsideTheTable) {
  TFrmAdal& window = this->window();
  const FrmAdalUi& w = window.ui();
  window.showSizeGroupName(2, "1 gr");
  window.showSizeGroupName(0, "x");
  window.showSizeGroupName(5, "x");
  window.showWeightEstimate(4, "12.5 g");
  window.setProgressPosition(9, 3);
  window.setProgressVisible(-1, true);
  EXPECT_EQ(w.sizelbl[2]->text(), QStringLiteral("1 gr"));
  EXPECT_EQ(w.estimlbl[4]->text(), QStringLiteral("12.5 g"));
  window.setGaugeMaximum(0);
  EXPECT_EQ(w.Gauge1->maximum(), 1);  // the bar draws empty
  EXPECT_EQ(window.gaugeMaximum(), 0);  // "Max capacity" plots 0
  camera.LinesPerBuffer = 500;
  window.Timer1Timer();
  ASSERT_EQ(w.Series2->count(), 1);
  EXPECT_EQ(w.Series2->at(0).y(), 0);
  window.setGaugeMaximum(250);
  EXPECT_EQ(w.Gauge1->maximum(), 250);
}

}  // namespace

namespace {

// The caption table names each control once: a caption given to one control
// shows on that control and on no other.
TEST_F(MainWindowTest, EveryCaptionReachesItsOwnControl) {
  TFrmAdal& window = this->window();
  for (MainCaption c : allMainCaptions()) window.setCaption(c, "caption of " + std::string(controlName(c)));
  for (MainCaption c : allMainCaptions()) {
    const std::string expected = "caption of " + std::string(controlName(c));
    EXPECT_EQ(window.captionText(c).toStdString(), expected);
  }
}

}  // namespace
