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

#include <memory>

#include "app/frm_adal.h"
#include "tests/app/scripted_prompts.h"

namespace {

constexpr int64_t kPlenty = int64_t{10} * 1024 * 1024 * 1024;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    env.prompts = &prompts;
    env.processNames = [this] { return processes; };
    env.screenHeight = [this] { return screenHeight; };
    env.freeBytes = [this] { return freeBytes; };
    env.now = [this] { return clock; };
  }
  TFrmAdal& window() {
    if (!window_) window_ = std::make_unique<TFrmAdal>(MainWindowState{settings, session, camera, counting}, env, links);
    return *window_;
  }
  void TearDown() override { EXPECT_FALSE(prompts.unscripted) << prompts.asked.join("|").toStdString(); }

  SettingsVariables settings;
  SessionState session;
  CameraGeometry camera;
  CountingState counting;
  ScriptedPrompts prompts;
  MainWindowEnvironment env;
  MainWindowLinks links;
  std::optional<std::vector<std::string>> processes = std::vector<std::string>{"/usr/bin/bash", "/x/tindavel"};
  int screenHeight = 480;
  int64_t freeBytes = kPlenty;
  QDateTime clock{QDate(2024, 5, 1), QTime(10, 0, 0)};
  std::unique_ptr<TFrmAdal> window_;
};

std::vector<QString> visibleToolbarButtons(TFrmAdal& w) {
  std::vector<QString> shown;
  for (QPushButton* b : {w.Button4, w.startstop, w.Storebtn, w.Button5, w.scopebtn, w.Button3, w.Debugrec,
                         w.Viewfilebtn, w.Reportbtn, w.Button6}) {
    if (b->isVisible()) shown.push_back(b->text());
  }
  return shown;
}

TEST_F(MainWindowTest, ShowsTitleAndOnlyTheThreeViewerButtons) {
  TFrmAdal& w = window();
  ASSERT_FALSE(w.endedAtCreate());
  w.show();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tolu Report viewer  1.46"));
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
  links.languageFill = [this] { window_->setCaption("Caption", -1, "Tolu Lumen/Norde Counter"); };
  TFrmAdal& w = window();
  w.firstiniTimer();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tolu Lumen/Norde Counter"));
  w.show();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tolu Report viewer  1.46"));
}

TEST_F(MainWindowTest, ViewerButtonsCallTheirLinks) {
  int records = 0;
  int reports = 0;
  links.openRecord = [&] { ++records; };
  links.openReport = [&] { ++reports; };
  TFrmAdal& w = window();
  w.Viewfilebtn->click();
  w.Reportbtn->click();
  w.Reportbtn->click();
  EXPECT_EQ(records, 1);
  EXPECT_EQ(reports, 2);
}

TEST_F(MainWindowTest, ExitAnsweredNoLeavesTheWindowAndYesClosesIt) {
  TFrmAdal& w = window();
  w.show();
  int closed = 0;
  QObject::connect(&w, &TFrmAdal::closed, [&] { ++closed; });
  prompts.answers = {false};
  w.Button6->click();
  EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("Confirm, exit now")});
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(closed, 0);
  prompts.answers = {true};
  w.Button6->click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(closed, 1);
}

TEST_F(MainWindowTest, SecondCopyEndsAtCreationWithoutTheRestOfTheStartUp) {
  processes = std::vector<std::string>{"/usr/bin/tindavel", "/home/op/TINDAVEL"};
  int portOffs = 0;
  links.portoff = [&] { ++portOffs; };
  EXPECT_TRUE(window().endedAtCreate());
  EXPECT_EQ(portOffs, 0);
}

TEST_F(MainWindowTest, NoProcessListPassesTheCheck) {
  processes = std::nullopt;
  int portOffs = 0;
  links.portoff = [&] { ++portOffs; };
  EXPECT_FALSE(window().endedAtCreate());
  EXPECT_EQ(portOffs, 1);  // the output is switched off at creation
}

TEST_F(MainWindowTest, ScalesToTheScreenHeight) {
  screenHeight = 1024;
  TFrmAdal& w = window();
  EXPECT_EQ(w.scaleNumerator(), 1024);
  EXPECT_EQ(w.Panel1->width(), 233 * 1024 / 480);
  EXPECT_EQ(w.Viewfilebtn->width(), 85 * 1024 / 480);
  EXPECT_EQ(w.Viewfilebtn->height(), 47 * 1024 / 480);
  EXPECT_EQ(w.ToolBar1->height(), 57 * 1024 / 480);
  EXPECT_EQ(w.Panel5->height(), 136 * 1024 / 480);
  EXPECT_EQ(w.Gauge1->height(), 30 * 1024 / 480);
  EXPECT_EQ(w.Teljari[1]->font().pixelSize(), 37 * 1024 / 480);
  EXPECT_EQ(w.Viewfilebtn->font().pixelSize(), 13 * 1024 / 480);
  EXPECT_EQ(w.font().pixelSize(), 13 * 1024 / 480);
  EXPECT_EQ(w.size(), QSize(640 * 1024 / 480, 1024));
}

TEST_F(MainWindowTest, DesignScreenLeavesSizesAsDesigned) {
  TFrmAdal& w = window();
  EXPECT_EQ(w.Panel1->width(), 233);
  EXPECT_EQ(w.Button4->width(), 153);
  EXPECT_EQ(w.Teljari[1]->font().pixelSize(), 37);
}

TEST_F(MainWindowTest, FirstiniFillsDisplaysForThreeChannels) {
  std::vector<std::string> calls;
  links.readRegistry = [&] {
    calls.push_back("read");
    settings.NrChannels = 3;
    settings.ChannelCounter = {0, 10, 20, 30, 40};
    settings.GrandTotal = 500;
    settings.LeftEdge = 7;
    settings.RightEdge = 480;
  };
  links.languageFill = [&] { calls.push_back("language"); };
  links.fillChannelTable = [&] { calls.push_back("table"); };
  links.uncheckAndDisableMulti = [&] { calls.push_back("multi off"); };
  links.multiChecked = [] { return true; };
  session.SessionActive = true;
  session.RunFlag = true;
  TFrmAdal& w = window();
  w.firstiniTimer();
  EXPECT_EQ(calls, (std::vector<std::string>{"read", "language", "table"}));
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
  bool multi = true;
  links.readRegistry = [&] {
    settings.NrChannels = 1;
    settings.DebugMode = true;
  };
  links.uncheckAndDisableMulti = [&] { multi = false; };
  links.multiChecked = [&] { return multi; };
  TFrmAdal& w = window();
  w.show();
  w.firstiniTimer();
  EXPECT_FALSE(multi);
  EXPECT_TRUE(w.Total->isVisibleTo(w.SumGroupBox));
  EXPECT_FALSE(w.Summa->isVisibleTo(w.SumGroupBox));
  EXPECT_TRUE(w.Debugrec->isVisible());
}

TEST_F(MainWindowTest, FirstiniHandsTheChannelWidthConstantsOn) {
  std::optional<ChannelWidthConstants> handed;
  links.channelWidthItem = [] { return kChannelWidth1400Item; };
  links.setChannelWidthConstants = [&](const ChannelWidthConstants& c) { handed = c; };
  window().firstiniTimer();
  ASSERT_TRUE(handed.has_value());
  EXPECT_EQ(handed->LengthDivisor, 6);
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

TEST_F(MainWindowTest, PerChannelControlsThreeChannelsMulti) {
  std::map<int, bool> names;
  links.multiChecked = [] { return true; };
  links.showChannelName = [&](int n, bool shown) { names[n] = shown; };
  settings.NrChannels = 3;
  TFrmAdal& w = window();
  w.Stillamultiteljara();
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
  EXPECT_EQ(w.sumBoxTextColour(), QColor(Qt::yellow));
  EXPECT_FALSE(w.Summa->isHidden());
  EXPECT_TRUE(w.Total->isHidden());
  EXPECT_EQ(names, (std::map<int, bool>{{2, true}, {3, true}, {4, false}}));
}

TEST_F(MainWindowTest, PerChannelControlsFourChannelsNotMulti) {
  std::map<int, bool> names;
  links.multiChecked = [] { return false; };
  links.showChannelName = [&](int n, bool shown) { names[n] = shown; };
  settings.NrChannels = 4;
  TFrmAdal& w = window();
  w.Stillamultiteljara();
  for (int n : {2, 3, 4}) {
    EXPECT_TRUE(w.GroupBox[n]->isHidden()) << n;
    EXPECT_FALSE(w.counterSeries(n)->isVisible()) << n;
    EXPECT_FALSE(w.PageControl1->isTabVisible(n - 1)) << n;
  }
  EXPECT_FALSE(w.GroupBox[1]->isHidden());
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Total"));
  EXPECT_EQ(w.sumBoxTextColour(), QColor(0, 255, 0));
  EXPECT_FALSE(w.Total->isHidden());
  EXPECT_TRUE(w.Summa->isHidden());
  EXPECT_EQ(names, (std::map<int, bool>{{2, true}, {3, true}, {4, true}}));
}

TEST_F(MainWindowTest, SumFieldsSwitchOnDoubleClick) {
  TFrmAdal& w = window();
  w.TotalDblClick();
  EXPECT_FALSE(w.Summa->isHidden());
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Sub Total"));
  EXPECT_EQ(w.sumBoxTextColour(), QColor(Qt::yellow));
  w.SummaDblClick();
  EXPECT_FALSE(w.Total->isHidden());
  EXPECT_TRUE(w.Summa->isHidden());
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Total"));
  EXPECT_EQ(w.sumBoxTextColour(), QColor(Qt::white));
}

TEST_F(MainWindowTest, ClearingACounterOutsideAndInsideASession) {
  settings.NrChannels = 2;
  settings.ChannelCounter = {0, 3, 8, 0, 0};
  TFrmAdal& w = window();
  w.showCounts();
  prompts.answers = {false};
  w.TeljariDblClick(2);
  EXPECT_EQ(settings.ChannelCounter[2], 8);  // Cancel changes nothing
  EXPECT_EQ(w.Teljari[2]->text(), QStringLiteral("8"));
  prompts.answers = {true};
  w.TeljariDblClick(2);
  EXPECT_EQ(prompts.asked.last(), QStringLiteral("Confirm clear the counter 2"));
  EXPECT_EQ(settings.ChannelCounter[2], 0);
  EXPECT_EQ(w.Teljari[2]->text(), QStringLiteral("0"));
  EXPECT_FALSE(counting.ReportLines.has_value());

  QStringList messages;
  links.showTimedMessage = [&](const QString& m) { messages.append(m); };
  w.setLinks(links);
  w.startcounting(QStringLiteral("Tank"));
  settings.ChannelCounter = {0, 4, 6, 0, 0};
  prompts.answers = {true};
  w.TeljariDblClick(1);
  ASSERT_TRUE(counting.ReportLines.has_value());
  ASSERT_EQ(counting.ReportLines->size(), 1u);
  EXPECT_EQ(counting.ReportLines->front(), "10:00:00     0     6");
  EXPECT_EQ(messages, QStringList{QStringLiteral("Storing numbers to report..")});
}

TEST_F(MainWindowTest, SessionStartSetsButtonsAndStatus) {
  int recordings = 0;
  links.prepareRecording = [&] { ++recordings; };
  settings.NrChannels = 1;
  TFrmAdal& w = window();
  w.Series1->append(1, 1);
  w.Series3->append(1, 1);
  w.startcounting(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"));
  EXPECT_EQ(w.StatusPanels[1]->text(), QStringLiteral("Counting sessionABCDEFGHIJKLMNOPQRSTUVWXY"));
  EXPECT_EQ(w.Button4->text(), QStringLiteral("End counting session"));
  EXPECT_TRUE(w.Storebtn->isEnabled());
  EXPECT_FALSE(w.Viewfilebtn->isEnabled());
  EXPECT_FALSE(w.Reportbtn->isEnabled());
  EXPECT_EQ(w.Series1->count(), 0);
  EXPECT_EQ(w.Series3->count(), 1);  // the other lines keep their points
  EXPECT_EQ(recordings, 1);
  EXPECT_TRUE(session.SessionActive);
}

TEST_F(MainWindowTest, ThroughputPlotsPerMinuteAndKeepsThirtyMinutes) {
  settings.NrChannels = 2;
  TFrmAdal& w = window();
  session.IntervalCount = {0, 7, 2, 0, 5};
  w.Timer1Timer();
  ASSERT_EQ(w.Series1->count(), 1);
  EXPECT_EQ(w.Series1->at(0).y(), 42);
  EXPECT_EQ(w.Series5->count(), 1);
  EXPECT_EQ(w.Series2->count(), 0);  // no lines per buffer, no capacity point
  EXPECT_EQ(session.IntervalCount, (ChannelArray<int32_t>{0, 0, 0, 0, 5}));
  camera.LinesPerBuffer = 500;
  w.Gauge1->setMaximum(10);
  for (int i = 0; i < 200; ++i) {  // 2000 s of points
    clock = clock.addSecs(10);
    w.Timer1Timer();
  }
  ASSERT_EQ(w.Series2->count(), 200);
  EXPECT_NEAR(w.Series2->at(0).y(), 1339.2, 1e-9);
  EXPECT_GE(w.leftAxis->max(), 1339.2);  // every point lies inside the left axis
  EXPECT_EQ(w.leftAxis->min(), 0);
  EXPECT_EQ(w.bottomAxis->max(), clock);
  EXPECT_EQ(w.bottomAxis->min(), clock.addSecs(-30 * 60));
}

TEST_F(MainWindowTest, TargetTimerClearsChannelOneAndLogsOnlyInASession) {
  int toggles = 0;
  links.toggleport = [&] { ++toggles; };
  settings.ChannelCounter[1] = 12;
  TFrmAdal& w = window();
  w.Teljari[1]->setText(QStringLiteral("12"));
  w.Targettimer->start();
  w.TargettimerTimer();
  EXPECT_FALSE(w.Targettimer->isActive());
  EXPECT_EQ(toggles, 1);
  EXPECT_EQ(settings.ChannelCounter[1], 0);
  EXPECT_EQ(w.Teljari[1]->text(), QStringLiteral("12"));
  EXPECT_FALSE(counting.ReportLines.has_value());
  w.startcounting(QString());
  settings.ChannelCounter[1] = 9;
  w.TargettimerTimer();
  ASSERT_EQ(counting.ReportLines->size(), 1u);
  EXPECT_TRUE(QString::fromStdString(counting.ReportLines->front()).endsWith(QStringLiteral("            9")));
}

TEST_F(MainWindowTest, SizeGroupSelectorsSetChannelsAndStore) {
  std::vector<int> applied;
  std::vector<std::pair<std::string, int32_t>> written;
  bool multi = false;
  links.multiChecked = [&] { return multi; };
  links.applySizeGroup = [&](int n) { applied.push_back(n); };
  links.writeSetting = [&](const std::string& name, int32_t v) { written.emplace_back(name, v); };
  settings.NrChannels = 3;
  TFrmAdal& w = window();
  w.UpDown[1]->stepBy(3);  // 1 -> 4, as a click on the arrow
  EXPECT_EQ(applied, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(settings.SizeGroup, (ChannelArray<int32_t>{0, 4, 4, 4, 0}));
  EXPECT_EQ(written, (std::vector<std::pair<std::string, int32_t>>{{"Size Group1", 4}}));
  multi = true;
  applied.clear();
  w.UpDown[1]->stepBy(-1);
  EXPECT_EQ(applied, (std::vector<int>{1}));
  EXPECT_EQ(settings.SizeGroup[1], 3);
  EXPECT_EQ(settings.SizeGroup[2], 4);
  applied.clear();
  w.UpDown[3]->setValue(7);  // set by the program: no click
  EXPECT_TRUE(applied.empty());
  w.UpDown[3]->stepBy(5);  // clamps at 8
  EXPECT_EQ(settings.SizeGroup[3], 8);
  EXPECT_EQ(written.back(), (std::pair<std::string, int32_t>{"Size Group3", 8}));
}

TEST_F(MainWindowTest, CaptionsAndChannelNames) {
  TFrmAdal& w = window();
  w.setCaption("Storebtn", -1, "Lagre");
  w.setCaption("SumGroupBox", -1, "Samtals");
  w.setCaption("sizelbl3", -1, "Stærðarflokkur");
  w.setCaption("Throughput", -1, "Álag");
  w.setCaption("NoSuchControl", -1, "x");
  EXPECT_EQ(w.Storebtn->text(), QStringLiteral("Lagre"));
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Samtals"));
  EXPECT_EQ(w.sizelblLabel[3]->text(), QStringLiteral("Stærðarflokkur"));
  EXPECT_EQ(w.pagectrl->tabText(0), QStringLiteral("Álag"));
  w.renameChannel(2, QStringLiteral("Smolt"));
  EXPECT_EQ(w.GroupBox[2]->title(), QStringLiteral("Smolt"));
  EXPECT_EQ(w.PageControl1->tabText(1), QStringLiteral("Smolt"));
  EXPECT_EQ(w.Series3->name(), QStringLiteral("Smolt"));
}

}  // namespace

namespace {

TEST_F(MainWindowTest, SizeDisplayIgnoresChannelsOutsideTheTable) {
  TFrmAdal& w = window();
  w.showSizeGroupName(2, "1 gr");
  w.showSizeGroupName(0, "x");
  w.showSizeGroupName(5, "x");
  w.showWeightEstimate(4, "12.5 g");
  w.setProgressPosition(9, 3);
  w.setProgressVisible(-1, true);
  EXPECT_EQ(w.sizelbl[2]->text(), QStringLiteral("1 gr"));
  EXPECT_EQ(w.estimlbl[4]->text(), QStringLiteral("12.5 g"));
  w.setGaugeMaximum(0);
  EXPECT_EQ(w.Gauge1->maximum(), 1);
  w.setGaugeMaximum(250);
  EXPECT_EQ(w.Gauge1->maximum(), 250);
}

}  // namespace
