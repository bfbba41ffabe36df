// Read_Registry and Write_Registry: the whole vocabulary of the settings
// store, between the store (settings_store.h), the program-wide variables
// (settings_variables.h) and the settings window's controls
// (settings_controls.h).
//
// Value names, defaults and destinations, in reading order. n runs over the
// channels 1..NrChannels; the writer's order is that of registryValues().
//
//   ByrjunX 0 -> LeftEdge        ByrjunY 511 -> RightEdge   (reset to 0/511 unless Left < Right)
//   Total 0 -> GrandTotal        Size Group1..4 2 -> UpDown1..4 (0..8), then SizeGroup[1..4]
//   Threshold 0 -> ForcedClamping (unchecked again unless DebugMode)   autosence: always checked
//   Recordmethod 0               Amplification "500" -> ampl
//   Reportpath (see below)       logoImagepath "" -> logoimagepath   Companyname "" -> editoperator
//   CtrlNone 0, CtrlOverload 0, CtrlBatchAlarm 1, CtrlBatchSplitter 1 (the last one set wins)
//   targetvalue 100 (0..90000000)   channelwidth 1 -> Channelwidth   Fish type 0 -> FishtypeWeight
//   WCSalmon 128, WCBass 100, WCBream 100   hardware 0
//   -> ChannelWidthMm from the chosen Channelwidth item
//   NrChannels 1 -> Nrch (1..4)  Sens 1 -> sensitivity   ImageResolution 1800 -> Resolution (1..5000)
//   -> NrChannels from Nrch      Malanr 1 -> LanguageNumber
//   %width<n> 25, Multib<n> (n-1)*500+10, Multie<n> n*500, Counters<n> 0, CountersT<n> 0
//   -> channel check: the first channel with Begin >= End resets every channel's position
//   Enablemulti 0                Countname1..4 "Counter 1".."Counter 4"
#ifndef TINDAVEL_SETTINGS_REGISTRY_H_
#define TINDAVEL_SETTINGS_REGISTRY_H_

#include <string>
#include <vector>

#include "settings/settings_controls.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"

// ChannelWidthMm when no Channelwidth item is chosen ("channelwidth" stored
// as -1 or less) or the chosen item is not a number: the width of the
// default item "1000", so a load never depends on what was loaded before.
inline constexpr int32_t kFallbackChannelWidthMm = 1000;

// The report folder when none is stored: "C:\Reports\" on Windows,
// "$HOME/Reports/" elsewhere.
std::string defaultReportFolder();

// Loads every value of the store into the variables and the controls, in
// the order above, through the controls' setters (so their change handlers
// run). Marks the controls as loaded.
void Read_Registry(SettingsVariables& variables, SettingsControls& controls, SettingsStore& store);

// The values Write_Registry stores, in its order and spelling.
std::vector<StoreValue> registryValues(const SettingsVariables& variables, const SettingsControls& controls);

// Stores the working copy in one atomic save. Refuses (false, nothing
// written) while the controls still hold their designed values, i.e. before
// the first Read_Registry: those must never overwrite the user's settings.
// False also when the store file could not be read or written.
[[nodiscard]] bool Write_Registry(const SettingsVariables& variables, const SettingsControls& controls,
                                  SettingsStore& store);

// Channel n's designed position: Begin (n-1)*500+10, End n*500, Width 25.
ChannelPosition defaultChannelPosition(int n);

#endif  // TINDAVEL_SETTINGS_REGISTRY_H_
