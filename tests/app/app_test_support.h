// What the main window's tests set up: a machine of their own (processes,
// screen, disk, clock), a control port that counts its writes, and a store
// file with given contents.
#ifndef TINDAVEL_TESTS_APP_APP_TEST_SUPPORT_H_
#define TINDAVEL_TESTS_APP_APP_TEST_SUPPORT_H_

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <memory>

#include "app/main_window_environment.h"
#include "app/program_state.h"
#include "portio/port_driver.h"
#include "portio/port_request.h"
#include "settings/settings_store.h"
#include "tests/app/scripted_main_window_dialogs.h"

class FakeEnvironment : public MainWindowEnvironment {
 public:
  std::optional<std::vector<std::string>> processNames() override { return processes; }
  int screenHeight() override { return height; }
  int64_t freeBytes() override { return free; }
  QDateTime now() override { return clock; }

  std::optional<std::vector<std::string>> processes = std::vector<std::string>{"/usr/bin/bash", "/x/tindavel"};
  int height = 480;
  int64_t free = int64_t{10} * 1024 * 1024 * 1024;
  QDateTime clock{QDate(2024, 5, 1), QTime(10, 0, 0)};
};

// Takes every request and counts the writes.
class CountingPortDriver : public PortDriver {
 public:
  bool open() override { return true; }
  void close() override {}
  bool control(std::uint32_t code, const PortRequestRecord&, PortReplyRecord&) override {
    if (code == kPortIoWrite) ++writes;
    return true;
  }
  int writes = 0;
};

// Replaces the store file of the current user (each test has a config folder
// of its own) with `contents`; an empty text removes it.
inline void writeStoreFile(const std::string& contents) {
  const std::filesystem::path path = defaultStorePath();
  std::filesystem::remove(path);
  if (contents.empty()) return;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << contents;
}

// A program state of the test's own, the scripted dialogs and the fake
// machine, with an empty store file to start from.
class ProgramStateTest : public ::testing::Test {
 protected:
  ProgramStateTest() { writeStoreFile(""); }

  std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
  SettingsVariables& settings = state->settings;
  SessionState& session = state->session;
  CameraGeometry& camera = state->camera;
  CountingState& counting = state->counting;
  TextTable& texts = state->texts;
  SettingsModel& sett = state->sett;
  ScriptedMainWindowDialogs prompts;
  FakeEnvironment env;
};

#endif  // TINDAVEL_TESTS_APP_APP_TEST_SUPPORT_H_
