// The settings window over the settings value model: what it shows, its handlers,
// and what OK and Cancel leave in the store.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "portio/port_io.h"
#include "settings/registry.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "tests/settings/settings_test_util.h"
#include "texts/language_fill.h"
#include "texts/text_table.h"

namespace {

namespace fs = std::filesystem;

class ScriptedSettingsWindowDialogs : public SettingsWindowDialogs {
 public:
  std::optional<std::string> chooseFolder(const std::string& title) override {
    titles.push_back(title);
    return next();
  }
  std::optional<std::string> chooseLogoFile(const std::string& start) override {
    titles.push_back(start);
    return next();
  }
  void showError(const std::string& text) override { errors.push_back(text); }

  std::deque<std::optional<std::string>> answers;
  std::vector<std::string> titles;
  std::vector<std::string> errors;

 private:
  std::optional<std::string> next() {
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

class MainCaptionsRecorder : public MainWindowCaptions {
 public:
  void setCaption(MainCaption control, const std::string& text) override {
    captions[std::string(controlName(control))] = text;
  }
  std::map<std::string, std::string> captions;
};

// A control of the window by its form name; a missing one fails the test.
template <typename T>
T* child(const Tsett& w, const char* name) {
  T* control = w.findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr) ADD_FAILURE() << "no control " << name;
  return control;
}

QImage noLogo(const std::string&) { return {}; }
QImage redLogo(const std::string&) {
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::red);
  return image;
}
double tenMinutesIn() { return 45000.0 + 10.0 / (24 * 60); }

std::string fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class SettingsWindowTest : public ::testing::Test {
 protected:
  SettingsWindowTest() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() / (std::string("settings_window_") + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    store.setPath((dir / "store.ini").string());
    controls.bind(&settings, &store);
    recorder.attach(controls);
  }
  ~SettingsWindowTest() override { fs::remove_all(dir); }

  Tsett& window() {
    if (!window_) {
      SettingsWindowEnvironment env;
      env.controls = &controls;
      env.settings = &settings;
      env.store = &store;
      env.texts = &texts;
      env.mainWindow = &mainCaptions;
      env.session = &session;
      env.camera = &camera;
      env.lineRate = &lineRate;
      env.port = &port;
      env.loadLogo = logo;
      env.now = &tenMinutesIn;
      env.dialogs = &dialogs;
      window_ = std::make_unique<Tsett>(env);
    }
    return *window_;
  }
  void writeStore(const std::string& text) {
    std::ofstream(dir / "store.ini") << text;
    Read_Registry(settings, controls, store);
  }

  fs::path dir;
  SettingsVariables settings;
  SettingsModel controls;
  SettingsStore store;
  TextTable texts;
  MainCaptionsRecorder mainCaptions;
  SessionState session;
  CameraGeometry camera;
  LineRateCount lineRate;
  PortIo port;
  LogoLoader logo = &noLogo;
  ScriptedSettingsWindowDialogs dialogs;
  MainWindowRecorder recorder;
  std::unique_ptr<Tsett> window_;
};

TEST_F(SettingsWindowTest, ShowingFillsTheDerivedFieldsAndOpensOnTheReportPage) {
  writeStore("[Eka]\nMalanr=2\n");
  Tsett& w = window();
  w.show();
  EXPECT_EQ(child<QTabWidget>(w, "PageControl1")->currentIndex(), 3);
  EXPECT_EQ(child<QLineEdit>(w, "Linescan")->text(), QStringLiteral("0.0"));  // no lines per buffer yet
  EXPECT_EQ(child<QLineEdit>(w, "imagebuffsize")->text(), QStringLiteral("0x0"));
  EXPECT_EQ(child<QComboBox>(w, "ComboBox1")->currentIndex(), 1);  // Icelandic
  w.close();
  camera = {512, 64};
  lineRate = {930, 45000.0};  // 930 buffers of 64 lines in the last ten minutes
  child<QTabWidget>(w, "PageControl1")->setCurrentIndex(0);
  w.show();
  EXPECT_EQ(child<QTabWidget>(w, "PageControl1")->currentIndex(), 0);  // only the first showing picks the page
  EXPECT_EQ(child<QLineEdit>(w, "imagebuffsize")->text(), QStringLiteral("512x64"));
  EXPECT_EQ(child<QLineEdit>(w, "Linescan")->text(), QLocale::system().toString(930.0 * 64 / 600, 'f', 1));
}

TEST_F(SettingsWindowTest, ReportFolderGainsItsSeparator) {
  writeStore("");
  Tsett& w = window();
  w.show();
  const std::string sep(1, kFolderSeparator);
  child<QLineEdit>(w, "reportpath")->setText(QStringLiteral("D:") + QString::fromStdString(sep) + QStringLiteral("Data"));
  w.reportpathExit();
  EXPECT_EQ(controls.reportpath.text(), "D:" + sep + "Data" + sep);
  EXPECT_EQ(child<QLineEdit>(w, "reportpath")->text().toStdString(), controls.reportpath.text());
  child<QLineEdit>(w, "reportpath")->setText(QString());
  w.reportpathExit();
  EXPECT_EQ(controls.reportpath.text(), "");
  // The folder browser: its title, the separator after the choice, Cancel keeps.
  dialogs.answers = {std::string("/data/fish"), std::nullopt};
  child<QPushButton>(w, "Folderkeyb")->click();
  EXPECT_EQ(controls.reportpath.text(), "/data/fish" + sep);
  child<QPushButton>(w, "Folderkeyb")->click();
  EXPECT_EQ(controls.reportpath.text(), "/data/fish" + sep);
  EXPECT_EQ(dialogs.titles.front(), "Select Folder for Record and Report files");
}

TEST_F(SettingsWindowTest, MultiChannelCountingSwitchesTheControlFunction) {
  writeStore("[Eka]\nNrChannels=2\nEnablemulti=0\nCtrlBatchAlarm=1\nCtrlBatchSplitter=0\n");
  Tsett& w = window();
  w.show();
  child<QRadioButton>(w, "CtrlBatchAlarm")->click();
  EXPECT_TRUE(child<QRadioButton>(w, "CtrlBatchAlarm")->isChecked());
  child<QCheckBox>(w, "Enablemulti")->click();  // on
  EXPECT_TRUE(controls.Enablemulti.checked());
  EXPECT_FALSE(child<QRadioButton>(w, "CtrlBatchSplitter")->isEnabled());
  EXPECT_TRUE(child<QRadioButton>(w, "CtrlNone")->isChecked());
  EXPECT_FALSE(child<QRadioButton>(w, "CtrlBatchAlarm")->isChecked());
  child<QRadioButton>(w, "CtrlOverload")->click();
  child<QCheckBox>(w, "Enablemulti")->click();  // off
  EXPECT_TRUE(child<QRadioButton>(w, "CtrlBatchSplitter")->isEnabled());
  EXPECT_TRUE(child<QRadioButton>(w, "CtrlNone")->isChecked());
  EXPECT_FALSE(child<QRadioButton>(w, "CtrlOverload")->isChecked());
  EXPECT_GE(recorder.channelDisplayUpdates, 2);
}

TEST_F(SettingsWindowTest, ChannelThreeRenamedWithTwoChannelsUpdatesTheMainWindowAndHides) {
  writeStore("[Eka]\nNrChannels=2\n");
  Tsett& w = window();
  w.show();
  recorder.renames.clear();
  child<QLineEdit>(w, "Cname3")->setText(QStringLiteral("Smolt"));
  ASSERT_FALSE(recorder.renames.empty());
  EXPECT_EQ(recorder.renames.back(), std::make_pair(3, std::string("Smolt")));
  EXPECT_TRUE(child<QLineEdit>(w, "Cname3")->isHidden());
  EXPECT_TRUE(child<QPushButton>(w, "Keyb3")->isHidden());
  EXPECT_FALSE(child<QLineEdit>(w, "cname2")->isHidden());
}

TEST_F(SettingsWindowTest, LanguageChangeThenCancelKeepsTheTextsAndTheStore) {
  writeStore("[Eka]\nMalanr=1\n");
  uppfaeraTungumal(texts, 1, mainCaptions, controls, false);
  const std::string before = fileBytes(dir / "store.ini");
  Tsett& w = window();
  w.show();
  child<QComboBox>(w, "ComboBox1")->setCurrentIndex(1);
  emit child<QComboBox>(w, "ComboBox1")->activated(1);  // as the operator's choice
  EXPECT_EQ(settings.LanguageNumber, 2);
  EXPECT_EQ(mainCaptions.captions["Storebtn"], texts.LangText[50]);
  EXPECT_EQ(w.windowTitle().toStdString(), texts.LangText[7]);
  const std::string icelandicTitle = texts.LangText[7];
  child<QPushButton>(w, "BitBtn2")->click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(fileBytes(dir / "store.ini"), before);  // Cancel stores nothing
  EXPECT_EQ(settings.LanguageNumber, 1);             // the stored language is read back
  EXPECT_EQ(texts.LangText[7], icelandicTitle);      // the texts stay as chosen
}

TEST_F(SettingsWindowTest, OkStoresTheEditsInTheWritersOrderAndCancelDiscardsThem) {
  writeStore("");
  Tsett& w = window();
  w.show();
  child<QSpinBox>(w, "Targetvalue")->setValue(250);
  child<QSpinBox>(w, "Nrch")->setValue(3);
  child<QLineEdit>(w, "editoperator")->setText(QStringLiteral("Fish farm"));
  // What the writer stores now (channel data for the channels in use before the read).
  std::vector<std::string> written;
  for (const StoreValue& v : registryValues(settings, controls)) written.push_back(v.first);
  child<QPushButton>(w, "BitBtn1")->click();
  EXPECT_EQ(SettingsStore(store.path()).readInteger("targetvalue", -1), 250);
  EXPECT_EQ(SettingsStore(store.path()).readString("Companyname", ""), "Fish farm");
  EXPECT_EQ(settings.NrChannels, 3);  // read back after the save
  // The file holds exactly what the writer stores, in its order.
  std::vector<std::string> keys;
  std::istringstream lines(fileBytes(dir / "store.ini"));
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) keys.push_back(line.substr(0, eq));
  }
  EXPECT_EQ(keys, written);
  EXPECT_TRUE(dialogs.errors.empty());

  const std::string saved = fileBytes(dir / "store.ini");
  w.show();
  child<QSpinBox>(w, "Targetvalue")->setValue(7);
  child<QPushButton>(w, "BitBtn2")->click();
  EXPECT_EQ(fileBytes(dir / "store.ini"), saved);
  EXPECT_EQ(controls.Targetvalue.value(), 250);
}

TEST_F(SettingsWindowTest, LogoShowsWhenTheFileExistsAndAMissingOneKeepsThePicture) {
  writeStore("");
  logo = &redLogo;
  const fs::path file = dir / "logo.png";
  std::ofstream(file) << "picture";
  Tsett& w = window();
  w.show();
  dialogs.answers = {file.string()};
  child<QPushButton>(w, "Button2")->click();
  EXPECT_EQ(controls.logoimagepath.text(), file.string());
  ASSERT_FALSE(child<QLabel>(w, "Image1")->pixmap().isNull());
  const qint64 shown = child<QLabel>(w, "Image1")->pixmap().cacheKey();
  dialogs.answers = {(dir / "missing.png").string()};
  child<QPushButton>(w, "Button2")->click();
  EXPECT_EQ(child<QLabel>(w, "Image1")->pixmap().cacheKey(), shown);
}

TEST_F(SettingsWindowTest, HiddenDebugModeShowsOnADoubleClickOfTheChannelGroup) {
  writeStore("");
  Tsett& w = window();
  w.show();
  EXPECT_TRUE(child<QCheckBox>(w, "debugmode")->isHidden());
  w.GroupBox6DblClick();
  EXPECT_FALSE(child<QCheckBox>(w, "debugmode")->isHidden());
  child<QCheckBox>(w, "debugmode")->click();
  EXPECT_TRUE(settings.DebugMode);
}

// What the rules of a changed value leave behind: on the main window, in the
// control function and in the store.
struct RuleEffect {
  int channelDisplayUpdates = 0;
  int recordingModeChanges = 0;
  std::vector<std::pair<int, std::string>> renames;
  int ctrlChecked = -1;
  bool splitterEnabled = true;
  std::string storedThreshold;
  bool operator==(const RuleEffect&) const = default;
};

void PrintTo(const RuleEffect& e, std::ostream* out) {
  *out << "{displays " << e.channelDisplayUpdates << ", recording " << e.recordingModeChanges << ", renames "
       << e.renames.size() << ", ctrl " << e.ctrlChecked << ", splitter " << e.splitterEnabled << ", Threshold "
       << e.storedThreshold << "}";
}

struct RuleRow {
  const char* rule;
  const char* before;     // the store loaded first
  const char* after;      // a store whose load changes the value
  void (*edit)(Tsett&);   // the same change made in the window
  RuleEffect expected;
};

// Each rule runs alike whether its value arrives by a load or by the window.
TEST_F(SettingsWindowTest, ChangeRulesRunAlikeForALoadAndForTheWindow) {
  const RuleRow rows[] = {
      {"Enablemulti", "[Eka]\nEnablemulti=0\nCtrlBatchAlarm=1\nCtrlBatchSplitter=0\n",
       "[Eka]\nEnablemulti=1\nCtrlBatchAlarm=1\nCtrlBatchSplitter=0\n",
       [](Tsett& w) { child<QCheckBox>(w, "Enablemulti")->click(); },
       {1, 0, {}, CtrlNone, false, "<absent>"}},
      {"Recordmethod", "[Eka]\nRecordmethod=0\n", "[Eka]\nRecordmethod=2\n",
       [](Tsett& w) { child<QRadioButton>(w, "Recordmethod2")->click(); },
       {0, 1, {}, CtrlBatchSplitter, true, "<absent>"}},
      // With debug mode off a loaded "Threshold" 1 is unchecked again at once,
      // as the operator turning it on and off.
      {"ForcedClamping", "[Eka]\n", "[Eka]\nThreshold=1\n",
       [](Tsett& w) {
         child<QCheckBox>(w, "ForcedClamping")->click();
         child<QCheckBox>(w, "ForcedClamping")->click();
       },
       {0, 0, {}, CtrlBatchSplitter, true, "0"}},
      {"channel name", "[Eka]\nNrChannels=2\n", "[Eka]\nNrChannels=2\nCountname3=Smolt\n",
       [](Tsett& w) { child<QLineEdit>(w, "Cname3")->setText(QStringLiteral("Smolt")); },
       {0, 0, {{3, "Smolt"}}, CtrlBatchSplitter, true, "<absent>"}},
  };
  Tsett& w = window();
  w.show();
  const auto effect = [&] {
    return RuleEffect{recorder.channelDisplayUpdates, recorder.recordingModeChanges, recorder.renames,
                      controls.ctrl.checkedIndex(), controls.ctrl.enabled[CtrlBatchSplitter],
                      stored(dir / "store.ini", "Threshold")};
  };
  const auto startFrom = [&](const char* storeText) {
    writeStore(storeText);
    recorder = MainWindowRecorder{};
    recorder.attach(controls);
  };
  for (const RuleRow& row : rows) {
    SCOPED_TRACE(row.rule);
    startFrom(row.before);
    writeStore(row.after);
    EXPECT_EQ(effect(), row.expected) << "by a load";
    startFrom(row.before);
    row.edit(w);
    EXPECT_EQ(effect(), row.expected) << "by the window";
  }
}

// Cancel reads the store back. The recording mode's rule starts a recording
// in the report folder; it must be the stored folder, not the one the
// operator typed and cancelled (the folder is read after the mode).
TEST_F(SettingsWindowTest, CancelRecordsIntoTheStoredFolderNotTheCancelledOne) {
  const std::string sep(1, kFolderSeparator);
  const std::string kept = sep + "kept" + sep;
  const std::string cancelled = sep + "cancelled" + sep;
  writeStore("[Eka]\nRecordmethod=0\nReportpath=" + kept + "\n");
  Tsett& w = window();
  w.show();
  child<QRadioButton>(w, "Recordmethod2")->click();
  child<QLineEdit>(w, "reportpath")->setText(QString::fromStdString(cancelled));
  EXPECT_EQ(recorder.recordingFolders, std::vector<std::string>{kept});
  recorder.recordingFolders.clear();
  child<QPushButton>(w, "BitBtn2")->click();
  EXPECT_EQ(controls.Recordmethod.itemIndex(), 0);
  EXPECT_EQ(controls.reportpath.text(), kept);
  EXPECT_EQ(recorder.recordingFolders, std::vector<std::string>{kept});
}

TEST_F(SettingsWindowTest, ChannelGridShowsItsRows) {
  Tsett& w = window();
  w.showChannelTable({{"Channel nr", "Width [mm]", "Begin ", "End"}, {"1", "25", "10", "500"}});
  ASSERT_EQ(child<QTableWidget>(w, "strmul")->rowCount(), 2);
  EXPECT_EQ(child<QTableWidget>(w, "strmul")->item(1, 3)->text(), QStringLiteral("500"));
}

}  // namespace
