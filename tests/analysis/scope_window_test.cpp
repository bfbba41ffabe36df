// The visibility scope window: its size, the bars a show and an edit put up,
// the zooms, the keyboard requests, and what each way of closing leaves in
// the settings and the store.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QValueAxis>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analysis/scope_window.h"
#include "settings/registry.h"
#include "settings/settings_store.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class ScriptedScopeDialogs : public ScopeDialogs {
 public:
  void showError(const std::string& text) override { errors.push_back(text); }
  std::vector<std::string> errors;
};

// Three channels: dividers (150 + 170) / 2 = 160 and (300 + 333) / 2 = 316.
constexpr const char* kThreeChannels =
    "[Eka]\nByrjunX=12\nByrjunY=500\nNrChannels=3\n"
    "Multib1=20\nMultie1=150\nMultib2=170\nMultie2=300\nMultib3=333\nMultie3=490\n";

class ScopeWindowTest : public TempFolderTest {
 protected:
  ScopeWindowTest() {
    store.setPath((dir / "store.ini").string());
    controls.bind(&settings, &store);
    camera.LineWidth = 512;
  }
  ~ScopeWindowTest() override { window_.reset(); }

  void writeStore(const std::string& text) {
    std::ofstream(dir / "store.ini") << text;
    store.reload();
    Read_Registry(settings, controls, store);
  }
  Tfrmscope& window() {
    if (!window_) {
      ScopeWindowEnvironment env;
      env.settings = &settings;
      env.controls = &controls;
      env.store = &store;
      env.camera = &camera;
      env.screen = QSize(1280, 1024);
      env.dialogs = &dialogs;
      window_ = std::make_unique<Tfrmscope>(env);
    }
    return *window_;
  }
  // The window's controls and the chart's series and axes, by object name.
  template <typename T>
  T* control(const char* name) {
    T* found = window().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  template <typename T>
  T* chartPart(const char* name) {
    T* found = chart()->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QChart* chart() { return control<QChartView>("Chart1")->chart(); }
  QSpinBox* byrjun() { return control<QSpinBox>("byrjun"); }
  QSpinBox* endir() { return control<QSpinBox>("endir"); }
  ScopeBarSeries* barSeries() { return chartPart<ScopeBarSeries>("Series3"); }
  std::pair<double, double> xRange() {
    const QValueAxis* axis = chartPart<QValueAxis>("bottomAxis");
    return {axis->min(), axis->max()};
  }
  const std::vector<int32_t>& bars() { return barSeries()->bars(); }
  static QLineEdit* editOf(QSpinBox* field) { return field->findChild<QLineEdit*>(); }

  SettingsVariables settings;
  SettingsModel controls;
  SettingsStore store;
  CameraGeometry camera;
  ScriptedScopeDialogs dialogs;
  std::unique_ptr<Tfrmscope> window_;
};

TEST_F(ScopeWindowTest, TakesEightyPercentOfTheScreenAndScalesItsControls) {
  writeStore(kThreeChannels);
  Tfrmscope& w = window();
  EXPECT_EQ(w.size(), QSize(1024, 819));  // 1280 x 1024 at 80 %, 819.2 truncated
  w.show();
  EXPECT_EQ(w.size(), QSize(1024, 819));
  EXPECT_EQ(control<QPushButton>("byr")->width(), 33 * 1024 / 640);  // designed at 640 wide
  EXPECT_DOUBLE_EQ(w.font().pointSizeF(), QApplication::font().pointSizeF() * 1024 / 640);
  EXPECT_EQ(w.objectName(), QStringLiteral("frmscope"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Visibility scope"));
}

TEST_F(ScopeWindowTest, ControlsGoByTheirFormNames) {
  Tfrmscope& w = window();
  for (const char* name : {"Chart1", "GroupBox2", "byrjun", "byr", "BitBtn4", "GroupBox1", "endir", "enda", "BitBtn2",
                           "BitBtn3", "BitBtn5", "BitBtn1"}) {
    EXPECT_NE(w.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }
  EXPECT_EQ(control<QGroupBox>("GroupBox2")->title(), QStringLiteral("Left edge position"));
  EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), QStringLiteral("Right edge position"));
  EXPECT_EQ(control<QPushButton>("BitBtn5")->text(), QStringLiteral("Check Visibility"));
  EXPECT_EQ(control<QPushButton>("byr")->parentWidget(), control<QGroupBox>("GroupBox2"));
  EXPECT_EQ(control<QPushButton>("BitBtn2")->parentWidget(), control<QGroupBox>("GroupBox1"));
  // The other series are there and stay empty after a show.
  w.show();
  const QList<QAbstractSeries*> series = chart()->series();
  ASSERT_EQ(series.size(), 7);
  for (const char* name : {"Series1", "Series2", "Series4", "Series5", "Series6", "Series7"}) {
    QLineSeries* s = chartPart<QLineSeries>(name);
    EXPECT_TRUE(series.contains(s)) << name;
    EXPECT_EQ(s->count(), 0) << name;
  }
  EXPECT_FALSE(chart()->legend()->isVisible());
  const QValueAxis* leftAxis = chartPart<QValueAxis>("leftAxis");
  EXPECT_EQ(leftAxis->titleText(), QStringLiteral("Light strength"));
  EXPECT_EQ(leftAxis->min(), 0);
  EXPECT_EQ(leftAxis->max(), 255);
}

struct ShowRow {
  const char* store;
  std::vector<int32_t> bars;
};

class ScopeShowTest : public ScopeWindowTest, public ::testing::WithParamInterface<ShowRow> {};

TEST_P(ScopeShowTest, ShowPutsUpTheEdgeAndDividerBarsInOrder) {
  writeStore(GetParam().store);
  Tfrmscope& w = window();
  w.show();
  EXPECT_EQ(bars(), GetParam().bars);
  EXPECT_EQ(xRange(), std::make_pair(0.0, 512.0));
  EXPECT_EQ(byrjun()->value(), settings.LeftEdge);
  EXPECT_EQ(endir()->value(), settings.RightEdge);
  // What is drawn: a block 255 high around each bar, about 1 % of the axis wide.
  EXPECT_DOUBLE_EQ(barSeries()->halfWidth(), 512 * 0.01 / 2);
  QList<QPointF> drawn;
  for (const auto& [x, y] : barOutline(bars(), barSeries()->halfWidth(), 255)) drawn.append(QPointF(x, y));
  EXPECT_EQ(barSeries()->upperSeries()->points(), drawn);
}

INSTANTIATE_TEST_SUITE_P(Channels, ScopeShowTest,
                         ::testing::Values(ShowRow{"[Eka]\nByrjunX=12\nByrjunY=500\nNrChannels=1\n", {12, 500}},
                                           ShowRow{kThreeChannels, {12, 160, 316, 500}}));

TEST_F(ScopeWindowTest, EveryShowPutsTheSettingsBackUp) {
  writeStore(kThreeChannels);
  Tfrmscope& w = window();
  w.show();
  endir()->setValue(7000);  // refused on close
  w.close();
  settings.LeftEdge = 30;   // changed elsewhere meanwhile
  w.show();
  EXPECT_EQ(byrjun()->value(), 30);
  EXPECT_EQ(endir()->value(), 500);
  EXPECT_EQ(bars(), (std::vector<int32_t>{30, 160, 316, 500}));
}

TEST_F(ScopeWindowTest, EditingLeavesTheTwoEdgeBars) {
  writeStore(kThreeChannels);
  Tfrmscope& w = window();
  w.show();
  byrjun()->setValue(40);
  EXPECT_EQ(bars(), (std::vector<int32_t>{40, 500}));
  editOf(endir())->clear();  // an empty field counts as 0
  EXPECT_EQ(bars(), (std::vector<int32_t>{40, 0}));
  editOf(endir())->setText(QStringLiteral("450"));
  EXPECT_EQ(bars(), (std::vector<int32_t>{40, 450}));
  EXPECT_EQ(endir()->value(), 450);
}

TEST_F(ScopeWindowTest, ZoomsOntoTheEdgesAndOut) {
  writeStore(kThreeChannels);
  Tfrmscope& w = window();
  w.show();
  control<QPushButton>("BitBtn4")->click();
  EXPECT_EQ(xRange(), std::make_pair(-38.0, 62.0));   // around bar 0, the left edge 12
  EXPECT_DOUBLE_EQ(barSeries()->halfWidth(), 100 * 0.01 / 2);  // the bars keep their share of the axis
  control<QPushButton>("BitBtn2")->click();
  EXPECT_EQ(xRange(), std::make_pair(450.0, 550.0));  // around bar 3 of three channels, the right edge 500
  control<QPushButton>("BitBtn3")->click();
  EXPECT_EQ(xRange(), std::make_pair(0.0, 511.0));
  // After an edit only two bars are up: the right zoom takes the last.
  endir()->setValue(300);
  control<QPushButton>("BitBtn2")->click();
  EXPECT_EQ(xRange(), std::make_pair(250.0, 350.0));
  control<QPushButton>("BitBtn5")->click();  // "Check Visibility" changes nothing
  EXPECT_EQ(xRange(), std::make_pair(250.0, 350.0));
  EXPECT_EQ(bars(), (std::vector<int32_t>{12, 300}));
}

TEST_F(ScopeWindowTest, KeyboardButtonsAndDoubleClicksAskForTheDigitKeyboard) {
  Tfrmscope& w = window();
  std::vector<std::pair<QWidget*, bool>> asked;
  QObject::connect(&w, &Tfrmscope::keyboardRequested,
                   [&asked](QWidget* target, bool digits) { asked.emplace_back(target, digits); });
  w.show();
  control<QPushButton>("byr")->click();
  control<QPushButton>("enda")->click();
  for (QSpinBox* field : {byrjun(), endir()}) {
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(editOf(field), &dbl);
  }
  const std::vector<std::pair<QWidget*, bool>> expected = {
      {byrjun(), true}, {endir(), true}, {byrjun(), true}, {endir(), true}};
  EXPECT_EQ(asked, expected);
}

enum class CloseBy { Button, Escape, CloseBox };

struct CloseRow {
  int left;
  int right;
  const char* error;  // "" when the pair is stored
  CloseBy by;
};

class ScopeCloseTest : public ScopeWindowTest, public ::testing::WithParamInterface<CloseRow> {};

TEST_P(ScopeCloseTest, ClosingChecksThePairAndStoresOnlyOneThatPasses) {
  const CloseRow& row = GetParam();
  writeStore(kThreeChannels);
  const std::string before = fileContents(dir / "store.ini");
  Tfrmscope& w = window();
  w.show();
  byrjun()->setValue(row.left);
  endir()->setValue(row.right);
  switch (row.by) {
    case CloseBy::Button: control<QPushButton>("BitBtn1")->click(); break;
    case CloseBy::Escape: {
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(&w, &escape);
      break;
    }
    case CloseBy::CloseBox: w.close(); break;
  }
  EXPECT_FALSE(w.isVisible());  // closed either way
  const SettingsStore saved((dir / "store.ini").string());
  if (*row.error != '\0') {
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{row.error});
    EXPECT_EQ(settings.LeftEdge, 12);
    EXPECT_EQ(settings.RightEdge, 500);
    EXPECT_EQ(fileContents(dir / "store.ini"), before);
  } else {
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_EQ(settings.LeftEdge, row.left);
    EXPECT_EQ(settings.RightEdge, row.right);
    EXPECT_EQ(saved.readInteger("ByrjunX", -1), row.left);
    EXPECT_EQ(saved.readInteger("ByrjunY", -1), row.right);
    EXPECT_EQ(bars(), (std::vector<int32_t>{row.left, row.right}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, ScopeCloseTest,
    ::testing::Values(CloseRow{100, 100, "", CloseBy::Button}, CloseRow{0, 511, "", CloseBy::Escape},
                      CloseRow{30, 480, "", CloseBy::CloseBox},
                      CloseRow{0, 512, "Right Edge must be less than   512", CloseBy::Button},
                      CloseRow{300, 200, "Left Edge must be less than Right Edge", CloseBy::Escape},
                      CloseRow{-5, 200, "Left Edge must be bigger than 0 ", CloseBy::CloseBox}));

TEST_F(ScopeWindowTest, SaveThatFailsIsReported) {
  // Before the first Read_Registry the store refuses to be written.
  std::ofstream(dir / "store.ini") << kThreeChannels;
  store.reload();
  const std::string before = fileContents(dir / "store.ini");
  Tfrmscope& w = window();
  w.show();
  byrjun()->setValue(10);
  endir()->setValue(400);
  control<QPushButton>("BitBtn1")->click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(dialogs.errors, std::vector<std::string>{"The settings could not be saved."});
  EXPECT_EQ(settings.LeftEdge, 10);  // the working copy holds the pair
  EXPECT_EQ(fileContents(dir / "store.ini"), before);
}

}  // namespace
