// Read_Registry and Write_Registry: the whole vocabulary of the settings
// store, between the store (settings_store.h), the program-wide variables
// (settings_variables.h) and the settings value model (settings_model.h).
//
// Every stored value (its names, type, default and destination) is described
// once, in the value table of registry.cpp; the two operations walk it in
// orders of their own. The reader's rules between the values, in its order:
//
//   - ByrjunX/ByrjunY: both reset to 0/511 unless LeftEdge < RightEdge;
//   - Size Group1..4 go to SizeGroup[1..4], clamped to 0..8 as the main
//     window's selectors do (which then show them);
//   - Threshold is unchecked again unless DebugMode (its handler stores the
//     unchecked state at once); autosence is never read but checked;
//   - of CtrlNone, CtrlOverload, CtrlBatchAlarm, CtrlBatchSplitter the last
//     one set wins;
//   - ChannelWidthMm follows the chosen Channelwidth item by its index
//     (channel_width.h), after hardware;
//   - NrChannels is taken from Nrch (1..4) once Nrch is set;
//   - Malanr, then the values of channels 1..NrChannels, then the channel
//     check: the first channel with Begin >= End resets every channel's
//     position;
//   - Enablemulti and the channel names Countname1..4 come last.
//
// The writer stores autosence, writes the channels in use before NrChannels
// and Malanr last, and spells two names differently: "EnableMulti" and
// "Logoimagepath" (the reader's "Enablemulti" and "logoImagepath"); the
// store matches names without regard to case.
#ifndef TINDAVEL_SETTINGS_REGISTRY_H_
#define TINDAVEL_SETTINGS_REGISTRY_H_

#include <string>
#include <vector>

#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"

// What a window tells the operator when Write_Registry did not save.
inline constexpr const char* kSettingsNotSavedMessage = "The settings could not be saved.";

// The report folder when none is stored: "C:\Reports\" on Windows,
// "$HOME/Reports/" elsewhere.
std::string defaultReportFolder();

// Loads every value of the store into the variables and the controls, in
// the reader's order with the rules above, through the model's setters (so
// the rules of the changed values run alike for a load and for the window;
// the recording mode's rule waits for the end of the load). Marks the model
// as loaded.
void Read_Registry(SettingsVariables& variables, SettingsModel& controls, SettingsStore& store);

// The values Write_Registry stores, in its order and spelling.
std::vector<StoreValue> registryValues(const SettingsVariables& variables, const SettingsModel& controls);

// Stores the working copy in one atomic save. Refuses (false, nothing
// written) while the controls still hold their designed values, i.e. before
// the first Read_Registry: those must never overwrite the user's settings.
// False also when the store file could not be read or written.
[[nodiscard]] bool Write_Registry(const SettingsVariables& variables, const SettingsModel& controls,
                                  SettingsStore& store);

// Channel n's designed position: Begin (n-1)*500+10, End n*500, Width 25.
ChannelPosition defaultChannelPosition(int n);

#endif  // TINDAVEL_SETTINGS_REGISTRY_H_
