// The settings value model and its rules, without the window.
#include <gtest/gtest.h>

#include <string>

#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "tests/settings/settings_test_util.h"

namespace {

class SettingsModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recorder_.attach(controls_);
    controls_.bind(&vars_, nullptr);
  }
  SettingsVariables vars_;
  SettingsModel controls_;
  MainWindowRecorder recorder_;
};

TEST_F(SettingsModelTest, DesignedValues) {
  EXPECT_TRUE(controls_.Enablemulti.checked());
  EXPECT_EQ(controls_.ctrl.checkedIndex(), CtrlNone);
  EXPECT_EQ(controls_.Nrch.value(), 1);
  EXPECT_EQ(controls_.Resolution.value(), 1800);
  EXPECT_EQ(controls_.Targetvalue.value(), 100);
  EXPECT_EQ(controls_.Channelwidth.selectedText(), "500");
  EXPECT_EQ(controls_.Recordmethod.selectedText(), "None");
  EXPECT_EQ(controls_.wcsalmon.value(), 100);
  EXPECT_EQ(controls_.wcbream.value(), 100);
  EXPECT_EQ(controls_.wcbass.value(), 100);
  EXPECT_FALSE(controls_.loaded);
  EXPECT_FALSE(controls_.debugmode.visible);
}

TEST_F(SettingsModelTest, EnablemultiOnAndOffSelectNone) {
  controls_.ctrl.setChecked(CtrlBatchAlarm, true);
  controls_.Enablemulti.setChecked(false);
  EXPECT_TRUE(controls_.ctrl.enabled[CtrlBatchSplitter]);
  EXPECT_EQ(controls_.ctrl.checkedIndex(), CtrlNone);
  EXPECT_EQ(recorder_.channelDisplayUpdates, 1);

  controls_.ctrl.setChecked(CtrlBatchSplitter, true);
  controls_.Enablemulti.setChecked(true);
  EXPECT_FALSE(controls_.ctrl.enabled[CtrlBatchSplitter]);
  EXPECT_EQ(controls_.ctrl.checkedIndex(), CtrlNone);
  EXPECT_EQ(recorder_.channelDisplayUpdates, 2);

  // Setting the state it already has is no click.
  controls_.ctrl.setChecked(CtrlOverload, true);
  controls_.Enablemulti.setChecked(true);
  EXPECT_EQ(controls_.ctrl.checkedIndex(), CtrlOverload);
  EXPECT_EQ(recorder_.channelDisplayUpdates, 2);
}

TEST_F(SettingsModelTest, ChannelNameBeyondTheChannelsInUseIsHidden) {
  vars_.NrChannels = 2;
  controls_.Cname3.setText("Tank 3");
  ASSERT_EQ(recorder_.renames.size(), 1u);
  EXPECT_EQ(recorder_.renames[0], std::make_pair(3, std::string("Tank 3")));
  EXPECT_FALSE(controls_.Cname3.visible);
  EXPECT_FALSE(controls_.Keyb3.visible);

  controls_.cname2.setText("Tank 2");
  EXPECT_TRUE(controls_.cname2.visible);
  EXPECT_TRUE(controls_.keyb2.visible);

  vars_.NrChannels = 4;
  controls_.Cname3.setText("Tank three");
  EXPECT_TRUE(controls_.Cname3.visible);
  EXPECT_TRUE(controls_.Keyb3.visible);

  // Channel 1 is always shown.
  vars_.NrChannels = 1;
  controls_.Cname1.setText("Only");
  EXPECT_TRUE(controls_.Cname1.visible);
  EXPECT_EQ(recorder_.renames.back(), std::make_pair(1, std::string("Only")));
}

TEST_F(SettingsModelTest, ForcedClampingWritesThresholdAtOnce) {
  const auto path = testFolder() / "Eka Registry.ini";
  SettingsStore store(path.string());
  controls_.bind(&vars_, &store);
  controls_.ForcedClamping.setChecked(true);
  EXPECT_EQ(stored(path, "Threshold"), "1");
  controls_.ForcedClamping.setChecked(false);
  EXPECT_EQ(stored(path, "Threshold"), "0");
}

TEST_F(SettingsModelTest, DebugModeCheckBox) {
  controls_.GroupBox6DblClick();
  EXPECT_TRUE(controls_.debugmode.visible);
  controls_.debugmode.setChecked(true);
  EXPECT_TRUE(vars_.DebugMode);
  controls_.debugmode.setChecked(false);
  EXPECT_FALSE(vars_.DebugMode);
  controls_.GroupBox6DblClick();
  EXPECT_FALSE(controls_.debugmode.visible);
}

TEST_F(SettingsModelTest, ReportFolderGetsItsSeparatorOnExit) {
  const std::string folder = std::string("/data") + kFolderSeparator + "Data";
  controls_.reportpath.setText(folder);
  controls_.reportpathExit();
  EXPECT_EQ(controls_.reportpath.text(), folder + kFolderSeparator);
  controls_.reportpathExit();
  EXPECT_EQ(controls_.reportpath.text(), folder + kFolderSeparator);
  controls_.reportpath.setText("");
  controls_.reportpathExit();
  EXPECT_EQ(controls_.reportpath.text(), "");
}

TEST_F(SettingsModelTest, RadioGroupAndSpinEditClampLikeTheToolkit) {
  RadioGroup& group = controls_.Recordmethod;  // three items
  const int changes = recorder_.recordingModeChanges;
  group.setItemIndex(7);
  EXPECT_EQ(group.itemIndex(), 2);
  group.setItemIndex(7);  // no change, no handler
  EXPECT_EQ(recorder_.recordingModeChanges, changes + 1);
  group.setItemIndex(-5);
  EXPECT_EQ(group.itemIndex(), -1);
  EXPECT_EQ(group.selectedText(), "");

  SpinEdit limited({}, 5, 1, 4);
  EXPECT_EQ(limited.value(), 4);
  limited.setValue(-100);
  EXPECT_EQ(limited.value(), 1);
  SpinEdit free({}, 0, 0, 0);
  free.setValue(-2147483647 - 1);
  EXPECT_EQ(free.value(), -2147483647 - 1);

  ExclusiveButtons buttons({}, 4, 0);
  buttons.setChecked(2, true);
  EXPECT_EQ(buttons.checkedIndex(), 2);
  EXPECT_FALSE(buttons.checked(0));
  buttons.setChecked(0, false);  // unchecking another leaves the checked one
  EXPECT_EQ(buttons.checkedIndex(), 2);
  buttons.setChecked(2, false);
  EXPECT_EQ(buttons.checkedIndex(), -1);
}

TEST_F(SettingsModelTest, CaptionsOfTheLanguageFill) {
  SettingsWindowCaptions& target = controls_;
  target.setCaption(SettingsCaption::Recordmethod, 1, "Sampling[10sec/5min]");
  target.setCaption(SettingsCaption::Recordmethod, -1, "Upptaka");
  target.setCaption(SettingsCaption::Cname1, -1, "Counter 1");
  target.setCaption(SettingsCaption::ComboBox1, 0, "English");
  target.setCaption(SettingsCaption::Recordmethod, 9, "ignored");
  EXPECT_EQ(controls_.Recordmethod.items()[1], "Sampling[10sec/5min]");
  EXPECT_EQ(controls_.caption(SettingsCaption::Recordmethod, 1), "Sampling[10sec/5min]");
  EXPECT_EQ(controls_.caption(SettingsCaption::Recordmethod, -1), "Upptaka");
  EXPECT_EQ(controls_.caption(SettingsCaption::ComboBox1, 0), "English");
  EXPECT_EQ(controls_.caption(SettingsCaption::Recordmethod, 9), "");
  // A label caption is not the edit's text.
  EXPECT_EQ(controls_.caption(SettingsCaption::Cname1, -1), "Counter 1");
  EXPECT_EQ(controls_.Cname1.text(), "Channel 1");
  EXPECT_TRUE(recorder_.renames.empty());
}

}  // namespace
