// Shared by the settings tests: a private store file per test and a recorder
// of what the settings window's handlers tell the main window.
#ifndef TINDAVEL_TESTS_SETTINGS_SETTINGS_TEST_UTIL_H_
#define TINDAVEL_TESTS_SETTINGS_SETTINGS_TEST_UTIL_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "settings/ini_file.h"
#include "settings/settings_model.h"
#include "tests/temp_folder.h"

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The "Eka" section of a store file as the program reads it.
inline std::string stored(const std::filesystem::path& path, const std::string& name) {
  const auto file = IniFile::fromFile(path.string());
  if (!file) return "<no file>";
  return file->value("Eka", name).value_or("<absent>");
}

struct MainWindowRecorder : MainWindowListener {
  int channelDisplayUpdates = 0;
  std::vector<std::pair<int, std::string>> renames;
  std::vector<std::string> recordingFolders;  // `reportpath` as each recording mode change saw it

  void attach(SettingsModel& controls) {
    model = &controls;
    controls.setMainWindowListener(this);
  }
  void Stillamultiteljara() override { ++channelDisplayUpdates; }
  void renameChannel(int channel, const std::string& name) override { renames.emplace_back(channel, name); }
  void showSizeGroupPosition(int, int32_t) override {}
  void RecordonchkClick() override {
    ++recordingModeChanges;
    if (model != nullptr) recordingFolders.push_back(model->reportpath.text());
  }
  int recordingModeChanges = 0;
  const SettingsModel* model = nullptr;
};

#endif  // TINDAVEL_TESTS_SETTINGS_SETTINGS_TEST_UTIL_H_
