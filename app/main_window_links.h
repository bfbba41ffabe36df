// What the main window reaches in the rest of the program. Each link is set
// where the windows are created (app_windows.cpp); a link left empty does
// nothing, so tests set only the ones they watch.
#ifndef TINDAVEL_APP_MAIN_WINDOW_LINKS_H_
#define TINDAVEL_APP_MAIN_WINDOW_LINKS_H_

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/counting.h"

class UserPrompts;

// The outside world as the main window's start-up sees it.
struct MainWindowEnvironment {
  UserPrompts* prompts = nullptr;  // questions and messages; required
  // Executable names of the running processes; nullopt when unknown.
  std::function<std::optional<std::vector<std::string>>()> processNames;
  std::function<int()> screenHeight;              // empty: the primary screen's height
  std::function<int64_t()> freeBytes;             // empty: the current folder's file system
  std::function<QDateTime()> now;                 // empty: the system clock
};

// Calls into the settings window, the language texts, the analysis, the
// port and the other windows.
struct MainWindowLinks {
  // Start-up.
  std::function<void()> createSettingsStore;      // the store on the key "Eka Registry"
  std::function<void()> portoff;                  // control output off
  // First-time initialisation.
  std::function<void()> readRegistry;             // Read_Registry
  std::function<int()> channelWidthItem;          // selected item of Channelwidth
  std::function<void(const ChannelWidthConstants&)> setChannelWidthConstants;
  std::function<void()> stopSampling;             // the recording writer's SamplingOn := false
  std::function<void()> languageFill;             // uppfaeraTungumal
  std::function<void()> showWeightGroups;         // settings window: FishtypeWeight, GroupBox12
  std::function<void()> uncheckAndDisableMulti;   // settings window: Enablemulti off and disabled
  std::function<void()> fillChannelTable;         // lesaimultitoflu
  // Per-channel controls.
  std::function<bool()> multiChecked;             // settings window: Enablemulti ticked
  std::function<void(int channel, bool shown)> showChannelName;  // settings window: name edit + button
  // Counting.
  std::function<void(int channel, int position)> sizeGroupMoved;  // a selector's new position
  std::function<void(int channel)> applySizeGroup;          // stillafiskiflokk
  std::function<void(const std::string& name, int32_t value)> writeSetting;  // one integer setting
  std::function<void(int channel)> clearChannelEstimate;    // weight estimate and aspect limit
  std::function<void()> prepareRecording;                   // UndirbuaUpptoku
  std::function<void()> toggleport;
  std::function<void(const QString&)> showTimedMessage;     // the "Message" window
  std::function<QString(int index)> langText;               // LangText[index]
  // Toolbar.
  std::function<void()> openRecord;               // record viewer: OpenBlbFile
  std::function<void()> openReport;               // report viewer: viewreport
  std::function<void()> showSettings;             // settings window, modal
  std::function<void()> showScope;                // visibility scope, modal
  std::function<void()> showDebugRecording;       // debug recording viewer, modal
};

#endif  // TINDAVEL_APP_MAIN_WINDOW_LINKS_H_
