// Read_Registry and Write_Registry against stores as users and crashes leave them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/ini_line.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "tests/settings/settings_test_util.h"

namespace fs = std::filesystem;

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testFolder() / "Eka Registry.ini";
    recorder_.attach(controls_);
  }

  // Writes the [Eka] section from "name=value" lines.
  void storeLines(const std::string& lines) { writeBytes(path_, "[Eka]\n" + lines); }

  void read() {
    SettingsStore store(path_.string());
    Read_Registry(vars_, controls_, store);
  }

  bool write() {
    SettingsStore store(path_.string());
    return Write_Registry(vars_, controls_, store);
  }

  fs::path path_;
  SettingsVariables vars_;
  SettingsModel controls_;
  MainWindowRecorder recorder_;
};

TEST_F(RegistryTest, EmptyStoreGivesTheDefaults) {
  read();
  EXPECT_EQ(vars_.LeftEdge, 0);
  EXPECT_EQ(vars_.RightEdge, 511);
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(vars_.SizeGroup[n], 2) << n;
    EXPECT_EQ(controls_.channelName(n).text(), "Counter " + std::to_string(n));
  }
  EXPECT_EQ(controls_.Targetvalue.value(), 100);
  EXPECT_EQ(controls_.Channelwidth.itemIndex(), 1);
  EXPECT_EQ(controls_.Channelwidth.selectedText(), "1000");
  EXPECT_EQ(vars_.ChannelWidthMm, 1000);
  EXPECT_EQ(vars_.NrChannels, 1);
  EXPECT_EQ(vars_.LanguageNumber, 1);
  EXPECT_EQ(controls_.reportpath.text(), defaultReportFolder());
  EXPECT_EQ(vars_.ChannelPositions[1].Begin, 10);
  EXPECT_EQ(vars_.ChannelPositions[1].End, 500);
  EXPECT_EQ(vars_.ChannelPositions[1].Width, 25);
  EXPECT_EQ(controls_.wcsalmon.value(), 128);
  EXPECT_EQ(controls_.ampl.text(), "500");
  EXPECT_TRUE(controls_.autosence.checked());
  EXPECT_FALSE(controls_.Enablemulti.checked());
  // The batch defaults select the splitter; the change of Enablemulti from
  // its designed checked state then selects "None" and frees the splitter.
  EXPECT_EQ(controls_.ctrl.checkedIndex(), CtrlNone);
  EXPECT_TRUE(controls_.ctrl.enabled[CtrlBatchSplitter]);
  EXPECT_EQ(recorder_.channelDisplayUpdates, 1);
  EXPECT_EQ(recorder_.renames.size(), 4u);
  EXPECT_TRUE(controls_.loaded);
}

TEST_F(RegistryTest, ReportFolderDefaultFollowsHome) {
#ifndef _WIN32
  const char* home = std::getenv("HOME");
  ASSERT_NE(home, nullptr);
  const std::string folder = defaultReportFolder();
  EXPECT_EQ(folder.rfind(home, 0), 0u);
  EXPECT_EQ(folder.substr(folder.size() - 8), "Reports/");
#endif
}

TEST_F(RegistryTest, BatchAlarmStaysWhenMultiDoesNotChange) {
  storeLines("CtrlNone=0\nCtrlOverload=0\nCtrlBatchAlarm=1\nCtrlBatchSplitter=0\nEnablemulti=0\n");
  read();
  EXPECT_EQ(controls_.ctrl.checkedIndex(), CtrlNone);  // Enablemulti changed: designed on, stored off
  read();                                               // now unchanged since the last read
  EXPECT_EQ(controls_.ctrl.checkedIndex(), CtrlBatchAlarm);
  EXPECT_EQ(recorder_.channelDisplayUpdates, 1);
}

TEST_F(RegistryTest, LastTrueControlFunctionWins) {
  storeLines("CtrlNone=1\nCtrlOverload=1\nCtrlBatchAlarm=0\nCtrlBatchSplitter=0\nEnablemulti=1\n");
  read();
  EXPECT_EQ(controls_.ctrl.checkedIndex(), CtrlOverload);
  storeLines("CtrlNone=0\nCtrlOverload=0\nCtrlBatchAlarm=0\nCtrlBatchSplitter=0\nEnablemulti=1\n");
  read();
  EXPECT_EQ(controls_.ctrl.checkedIndex(), -1);
}

TEST_F(RegistryTest, EdgesOutOfOrderAreReset) {
  struct Row { const char* name; int left, right, wantLeft, wantRight; };
  for (const Row& row : {Row{"equal 300/300", 300, 300, 0, 511}, Row{"reversed", 400, 300, 0, 511},
                         Row{"valid", 20, 480, 20, 480}, Row{"negative left kept", -5, 100, -5, 100}}) {
    storeLines("ByrjunX=" + std::to_string(row.left) + "\nByrjunY=" + std::to_string(row.right) + "\n");
    read();
    EXPECT_EQ(vars_.LeftEdge, row.wantLeft) << row.name;
    EXPECT_EQ(vars_.RightEdge, row.wantRight) << row.name;
  }
}

TEST_F(RegistryTest, ChannelWithBeginNotBeforeEndResetsAllChannels) {
  storeLines(
      "NrChannels=3\n%width1=30\nMultib1=20\nMultie1=400\nCounters1=11\nCountersT1=12\n"
      "%width2=31\nMultib2=900\nMultie2=800\nCounters2=21\n"
      "%width3=32\nMultib3=1100\nMultie3=1400\nCounters3=31\nCountersT3=32\n");
  read();
  ASSERT_EQ(vars_.NrChannels, 3);
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(vars_.ChannelPositions[n].Begin, (n - 1) * 500 + 10) << n;
    EXPECT_EQ(vars_.ChannelPositions[n].End, n * 500) << n;
    EXPECT_EQ(vars_.ChannelPositions[n].Width, 25) << n;
  }
  // The counters are kept.
  EXPECT_EQ(vars_.ChannelCounter[1], 11);
  EXPECT_EQ(vars_.ChannelCounterT[1], 12);
  EXPECT_EQ(vars_.ChannelCounter[2], 21);
  EXPECT_EQ(vars_.ChannelCounter[3], 31);
  EXPECT_EQ(vars_.ChannelCounterT[3], 32);
}

TEST_F(RegistryTest, ValidChannelsAreTakenAsStored) {
  storeLines("NrChannels=2\n%width1=30\nMultib1=20\nMultie1=250\n%width2=31\nMultib2=260\nMultie2=500\n");
  read();
  EXPECT_EQ(vars_.ChannelPositions[1].Begin, 20);
  EXPECT_EQ(vars_.ChannelPositions[1].End, 250);
  EXPECT_EQ(vars_.ChannelPositions[1].Width, 30);
  EXPECT_EQ(vars_.ChannelPositions[2].Begin, 260);
  EXPECT_EQ(vars_.ChannelPositions[2].Width, 31);
}

TEST_F(RegistryTest, ControlsClampWhatTheyReceive) {
  struct Row { const char* lines; int nr, targetvalue, resolution, group1, group4; };
  const Row rows[] = {
      {"NrChannels=9\ntargetvalue=100000000\nImageResolution=9000\nSize Group1=12\nSize Group4=-3\n", 4, 90000000,
       5000, 8, 0},
      {"NrChannels=0\ntargetvalue=-1\nImageResolution=0\nSize Group1=8\nSize Group4=0\n", 1, 0, 1, 8, 0},
      {"NrChannels=-7\ntargetvalue=90000000\nImageResolution=1\n", 1, 90000000, 1, 2, 2},
  };
  for (const Row& row : rows) {
    storeLines(row.lines);
    read();
    EXPECT_EQ(vars_.NrChannels, row.nr) << row.lines;
    EXPECT_EQ(controls_.Nrch.value(), row.nr) << row.lines;
    EXPECT_EQ(controls_.Targetvalue.value(), row.targetvalue) << row.lines;
    EXPECT_EQ(controls_.Resolution.value(), row.resolution) << row.lines;
    EXPECT_EQ(vars_.SizeGroup[1], row.group1) << row.lines;
    EXPECT_EQ(vars_.SizeGroup[4], row.group4) << row.lines;
  }
  // Weight constants have no limits.
  storeLines("WCSalmon=-5\nWCBass=2000000000\n");
  read();
  EXPECT_EQ(controls_.wcsalmon.value(), -5);
  EXPECT_EQ(controls_.wcbass.value(), 2000000000);
}

TEST_F(RegistryTest, ChannelWidthIndexOutOfRange) {
  struct Row { int index, wantIndex, wantMm; };
  for (const Row& row : {Row{7, 2, 1400}, Row{2, 2, 1400}, Row{0, 0, 500}, Row{-1, -1, kFallbackChannelWidthMm},
                         Row{-9, -1, kFallbackChannelWidthMm}}) {
    storeLines("channelwidth=" + std::to_string(row.index) + "\n");
    read();
    EXPECT_EQ(controls_.Channelwidth.itemIndex(), row.wantIndex) << row.index;
    EXPECT_EQ(vars_.ChannelWidthMm, row.wantMm) << row.index;
  }
  // Other radio groups clamp the same way.
  storeLines("Recordmethod=5\nhardware=-4\nSens=99\n");
  read();
  EXPECT_EQ(controls_.Recordmethod.itemIndex(), 2);
  EXPECT_EQ(controls_.hardware.itemIndex(), -1);
  EXPECT_EQ(controls_.sensitivity.itemIndex(), 4);
}

TEST_F(RegistryTest, ThresholdIsRewrittenAsZeroUnlessDebugging) {
  storeLines("Threshold=1\nKeep=this\n");
  read();
  EXPECT_FALSE(controls_.ForcedClamping.checked());
  EXPECT_EQ(stored(path_, "Threshold"), "0");
  EXPECT_EQ(stored(path_, "Keep"), "this");

  storeLines("Threshold=1\n");
  vars_.DebugMode = true;
  read();
  EXPECT_TRUE(controls_.ForcedClamping.checked());
  EXPECT_EQ(stored(path_, "Threshold"), "1");
}

// The language number is loaded as stored, as every other number without a
// control to clamp it: the language fill gives empty texts for a number
// outside 1..4, and a save must not quietly replace the stored one.
TEST_F(RegistryTest, LanguageOutsideTheTableIsKeptAsStored) {
  for (const int value : {0, 5, -1}) {
    storeLines("Malanr=" + std::to_string(value) + "\n");
    read();
    EXPECT_EQ(vars_.LanguageNumber, value) << value;
    ASSERT_TRUE(write());
    EXPECT_EQ(stored(path_, "Malanr"), std::to_string(value)) << value;
  }
  storeLines("Malanr=x\n");
  read();
  EXPECT_EQ(vars_.LanguageNumber, 1);  // not a number: the default
  storeLines("Malanr=4\n");
  read();
  EXPECT_EQ(vars_.LanguageNumber, 4);
}

TEST_F(RegistryTest, RaisingTheChannelCountKeepsOlderChannelData) {
  storeLines(
      "NrChannels=2\nMultib1=10\nMultie1=200\nMultib2=210\nMultie2=400\n"
      "%width3=33\nMultib3=410\nMultie3=600\nCounters3=7\n");
  read();
  controls_.Nrch.setValue(4);
  vars_.ChannelPositions[1].End = 190;  // an edit of a channel in use is stored
  ASSERT_TRUE(write());
  EXPECT_EQ(stored(path_, "NrChannels"), "4");
  EXPECT_EQ(stored(path_, "Multie1"), "190");
  EXPECT_EQ(stored(path_, "Multie3"), "600");   // untouched
  EXPECT_EQ(stored(path_, "Multib4"), "<absent>");

  read();
  ASSERT_EQ(vars_.NrChannels, 4);
  EXPECT_EQ(vars_.ChannelPositions[1].End, 190);
  EXPECT_EQ(vars_.ChannelPositions[3].Begin, 410);
  EXPECT_EQ(vars_.ChannelPositions[3].End, 600);
  EXPECT_EQ(vars_.ChannelPositions[3].Width, 33);
  EXPECT_EQ(vars_.ChannelCounter[3], 7);
  EXPECT_EQ(vars_.ChannelPositions[4].Begin, 1510);  // defaults
  EXPECT_EQ(vars_.ChannelPositions[4].End, 2000);
}

TEST_F(RegistryTest, SaveKeepsUnknownNamesAndReplacesOtherSpellings) {
  writeBytes(path_,
             "; written on the counter PC\r\n[Other]\r\nx=1\r\n"
             "[eka]\r\nEnablemulti=1\r\nlogoImagepath=/logo.jpg\r\nNrChannels=1\r\n"
             "Multib2=777\r\nSomethingElse=kept\r\n");
  read();
  ASSERT_TRUE(write());
  const auto file = IniFile::fromFile(path_.string());
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->value("eka", "EnableMulti"), "1");
  EXPECT_EQ(file->value("Eka", "Logoimagepath"), "/logo.jpg");
  EXPECT_EQ(file->value("Eka", "Multib2"), "777");
  EXPECT_EQ(file->value("Eka", "SomethingElse"), "kept");
  EXPECT_EQ(file->value("Other", "x"), "1");
  // One line per name, whatever its spelling.
  size_t multiLines = 0;
  size_t logoLines = 0;
  for (const std::string& key : file->keys("Eka")) {
    if (iniNamesEqual(key, "enablemulti")) ++multiLines;
    if (iniNamesEqual(key, "logoimagepath")) ++logoLines;
  }
  EXPECT_EQ(multiLines, 1u);
  EXPECT_EQ(logoLines, 1u);
  const std::string bytes = readBytes(path_);
  EXPECT_EQ(bytes.find("Enablemulti="), std::string::npos);
  EXPECT_NE(bytes.find("; written on the counter PC"), std::string::npos);
}

TEST_F(RegistryTest, WriteThenReadGivesTheSameWorkingCopy) {
  storeLines(
      "ByrjunX=12\nByrjunY=400\nTotal=321\nSize Group2=5\nRecordmethod=2\nAmplification=' 750 '\n"
      "Reportpath=/data/reports/\nCompanyname=\"Fiskur  ehf.\"\nCountname2=\xC3\x9E\xC3\xB3r\n"
      "targetvalue=5000\nchannelwidth=2\nFish type=1\nNrChannels=2\nEnablemulti=1\nMalanr=2\n"
      "CtrlBatchAlarm=1\nCtrlBatchSplitter=0\n");
  read();
  const std::vector<StoreValue> first = registryValues(vars_, controls_);
  ASSERT_TRUE(write());
  SettingsVariables vars2;
  SettingsModel controls2;
  SettingsStore store(path_.string());
  Read_Registry(vars2, controls2, store);
  EXPECT_EQ(registryValues(vars2, controls2), first);
  EXPECT_EQ(controls2.ampl.text(), " 750 ");
  EXPECT_EQ(controls2.editoperator.text(), "Fiskur  ehf.");
  EXPECT_EQ(vars2.ChannelWidthMm, 1400);
}

TEST_F(RegistryTest, WriterOrderAndSpelling) {
  read();
  vars_.NrChannels = 2;
  const std::vector<StoreValue> values = registryValues(vars_, controls_);
  std::vector<std::string> names;
  for (const auto& v : values) names.push_back(v.first);
  const std::vector<std::string> want = {
      "ByrjunX", "ByrjunY", "Total", "Size Group1", "Size Group2", "Size Group3", "Size Group4", "Threshold",
      "autosence", "Recordmethod", "Amplification", "Reportpath", "Logoimagepath", "Companyname", "CtrlNone",
      "CtrlOverload", "CtrlBatchAlarm", "CtrlBatchSplitter", "targetvalue", "channelwidth", "Fish type",
      "WCSalmon", "WCBass", "WCBream", "hardware", "%width1", "Multib1", "Multie1", "Counters1", "CountersT1",
      "%width2", "Multib2", "Multie2", "Counters2", "CountersT2", "NrChannels", "Sens", "ImageResolution",
      "EnableMulti", "Countname1", "Countname2", "Countname3", "Countname4", "Malanr"};
  EXPECT_EQ(names, want);
}

// Every stored setting, listed by hand (not from the registry's own value
// table), so that a value the writer stores under one name and the reader
// looks for under another shows. autosence is left out: every read checks it.
std::vector<std::string> storedSettings(const SettingsVariables& v, const SettingsModel& c) {
  std::vector<std::string> s = {
      "LeftEdge " + std::to_string(v.LeftEdge), "RightEdge " + std::to_string(v.RightEdge),
      "GrandTotal " + std::to_string(v.GrandTotal), "ForcedClamping " + std::to_string(c.ForcedClamping.checked()),
      "Recordmethod " + std::to_string(c.Recordmethod.itemIndex()), "ampl " + c.ampl.text(),
      "reportpath " + c.reportpath.text(), "logoimagepath " + c.logoimagepath.text(),
      "editoperator " + c.editoperator.text(), "ctrl " + std::to_string(c.ctrl.checkedIndex()),
      "Targetvalue " + std::to_string(c.Targetvalue.value()),
      "Channelwidth " + std::to_string(c.Channelwidth.itemIndex()),
      "ChannelWidthMm " + std::to_string(v.ChannelWidthMm),
      "FishtypeWeight " + std::to_string(c.FishtypeWeight.itemIndex()),
      "wcsalmon " + std::to_string(c.wcsalmon.value()), "wcbass " + std::to_string(c.wcbass.value()),
      "wcbream " + std::to_string(c.wcbream.value()), "hardware " + std::to_string(c.hardware.itemIndex()),
      "Nrch " + std::to_string(c.Nrch.value()), "NrChannels " + std::to_string(v.NrChannels),
      "sensitivity " + std::to_string(c.sensitivity.itemIndex()),
      "Resolution " + std::to_string(c.Resolution.value()), "LanguageNumber " + std::to_string(v.LanguageNumber),
      "Enablemulti " + std::to_string(c.Enablemulti.checked()),
  };
  for (int n = 1; n <= kMaxChannels; ++n) {
    const ChannelPosition& p = v.ChannelPositions[n];
    const std::string ch = " " + std::to_string(n) + " ";
    s.insert(s.end(), {"SizeGroup" + ch + std::to_string(v.SizeGroup[n]), "Begin" + ch + std::to_string(p.Begin),
                       "End" + ch + std::to_string(p.End), "Width" + ch + std::to_string(p.Width),
                       "ChannelCounter" + ch + std::to_string(v.ChannelCounter[n]),
                       "ChannelCounterT" + ch + std::to_string(v.ChannelCounterT[n]),
                       "channelName" + ch + c.channelName(n).text()});
  }
  return s;
}

// Sets every stored setting to a value none of the reader's defaults has
// (the channel positions: their designed ones moved).
void setEverySetting(SettingsVariables& v, SettingsModel& c) {
  v.LeftEdge = 12;
  v.RightEdge = 400;
  v.GrandTotal = 321;
  c.ForcedClamping.setChecked(true);
  c.Recordmethod.setItemIndex(2);
  c.ampl.setText("750");
  c.reportpath.setText("/data/reports/");
  c.logoimagepath.setText("/data/logo.jpg");
  c.editoperator.setText("Fiskur ehf.");
  c.Enablemulti.setChecked(true);  // first: its click selects CtrlNone
  c.ctrl.setChecked(CtrlOverload, true);
  c.Targetvalue.setValue(5000);
  c.Channelwidth.setItemIndex(0);
  v.ChannelWidthMm = 500;
  c.FishtypeWeight.setItemIndex(2);
  c.wcsalmon.setValue(130);
  c.wcbass.setValue(101);
  c.wcbream.setValue(102);
  c.hardware.setItemIndex(1);
  c.Nrch.setValue(4);
  v.NrChannels = 4;
  c.sensitivity.setItemIndex(3);
  c.Resolution.setValue(1200);
  v.LanguageNumber = 3;
  for (int n = 1; n <= kMaxChannels; ++n) {
    c.setSizeGroup(v, n, n + 3);
    const ChannelPosition designed = defaultChannelPosition(n);
    v.ChannelPositions[n] = ChannelPosition{designed.Begin + 5, designed.End - 5, 20 + n};
    v.ChannelCounter[n] = 10 * n;
    v.ChannelCounterT[n] = 10 * n + 1;
    c.channelName(n).setText("Line " + std::to_string(n));
  }
}

TEST_F(RegistryTest, WriteThenReadRestoresEverySetting) {
  read();
  const std::vector<std::string> defaults = storedSettings(vars_, controls_);
  setEverySetting(vars_, controls_);
  const std::vector<std::string> set = storedSettings(vars_, controls_);
  ASSERT_TRUE(write());

  SettingsVariables vars2;
  vars2.DebugMode = true;  // keeps Threshold
  SettingsModel controls2;
  SettingsStore store(path_.string());
  Read_Registry(vars2, controls2, store);
  const std::vector<std::string> back = storedSettings(vars2, controls2);
  ASSERT_EQ(set.size(), defaults.size());
  ASSERT_EQ(back.size(), set.size());
  for (size_t i = 0; i < set.size(); ++i) {
    EXPECT_NE(set[i], defaults[i]);
    EXPECT_EQ(back[i], set[i]);
  }

  // The control function buttons exclude each other: each in turn.
  for (const CtrlButton button : {CtrlNone, CtrlOverload, CtrlBatchAlarm, CtrlBatchSplitter}) {
    controls_.ctrl.setChecked(button, true);
    ASSERT_TRUE(write());
    SettingsModel controls3;
    SettingsVariables vars3;
    Read_Registry(vars3, controls3, store);
    EXPECT_EQ(controls3.ctrl.checkedIndex(), static_cast<int>(button));
  }
}

TEST_F(RegistryTest, SavedFileHoldsTheValuesInTheWritersOrder) {
  read();
  setEverySetting(vars_, controls_);
  ASSERT_TRUE(write());
  std::string want = "[Eka]\r\n";
  for (const auto& [name, value] : registryValues(vars_, controls_)) want += name + "=" + iniQuoteValue(value) + "\r\n";
  EXPECT_EQ(readBytes(path_), want);
}

TEST_F(RegistryTest, ChannelWidthFollowsTheItemNotItsCaption) {
  // A language fill may caption the items in words or with units.
  for (int item = 0; item < 3; ++item) controls_.Channelwidth.setItemText(item, "Width " + std::to_string(item));
  struct Row { int index, wantMm; };
  for (const Row& row : {Row{0, 500}, Row{1, 1000}, Row{2, 1400}, Row{-1, kFallbackChannelWidthMm}}) {
    storeLines("channelwidth=" + std::to_string(row.index) + "\n");
    read();
    EXPECT_EQ(vars_.ChannelWidthMm, row.wantMm) << row.index;
  }
}

TEST_F(RegistryTest, WriteBeforeAnyReadStoresNothing) {
  storeLines("Total=99\n");
  const std::string before = readBytes(path_);
  EXPECT_FALSE(write());
  EXPECT_EQ(readBytes(path_), before);
}

TEST_F(RegistryTest, UnreadableStoreIsNeverOverwritten) {
  fs::create_directories(path_);  // a folder where the file should be
  read();
  EXPECT_EQ(vars_.RightEdge, 511);
  EXPECT_FALSE(write());
  EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(RegistryTest, BadInputLoadsDefaults) {
  std::string junk;
  for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 131 + 7) & 0xFF);
  const std::string cases[] = {
      junk,
      "[Eka]\n" + junk + "\nByrjunY=abc\nNrChannels=two\nchannelwidth=1.5\nTotal=\nSize Group1=9999999999999\n",
      "[Eka]\nByrjunY==\nNrChannels=\x01\x02\nMultib1=$zz\nThreshold=yes\nEnablemulti=true\n",
      std::string("[Eka]\0\nByrjunY=\0\n", 18),
  };
  for (const std::string& bytes : cases) {
    writeBytes(path_, bytes);
    SettingsVariables vars;
    SettingsModel controls;
    SettingsStore store(path_.string());
    Read_Registry(vars, controls, store);
    EXPECT_EQ(vars.RightEdge, 511);
    EXPECT_EQ(vars.NrChannels, 1);
    EXPECT_EQ(vars.ChannelWidthMm, 1000);
    EXPECT_EQ(vars.GrandTotal, 0);
    EXPECT_EQ(vars.SizeGroup[1], 2);
    EXPECT_EQ(vars.ChannelPositions[1].Begin, 10);
    EXPECT_FALSE(controls.ForcedClamping.checked());
    EXPECT_FALSE(controls.Enablemulti.checked());
    // And a save of it reads back the same.
    ASSERT_TRUE(Write_Registry(vars, controls, store));
    SettingsVariables again;
    SettingsModel controlsAgain;
    Read_Registry(again, controlsAgain, store);
    EXPECT_EQ(registryValues(again, controlsAgain), registryValues(vars, controls));
  }
}

TEST_F(RegistryTest, ReadUsesTheOperationsStoreNotTheBoundOne) {
  // The handlers run against the store and variables of the running read.
  const fs::path other = path_.parent_path() / "other.ini";
  SettingsStore otherStore(other.string());
  SettingsVariables otherVars;
  controls_.bind(&otherVars, &otherStore);
  storeLines("Threshold=1\nNrChannels=1\n");
  read();
  EXPECT_EQ(stored(path_, "Threshold"), "0");
  EXPECT_FALSE(fs::exists(other));
  EXPECT_EQ(controls_.boundStore(), &otherStore);
  EXPECT_EQ(controls_.boundVariables(), &otherVars);
}

}  // namespace
