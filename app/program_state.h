// The program's state: everything the windows share, one instance of each,
// owned by one object that main() makes before the first window and drops
// after the last. Windows and their wiring are handed it (or the parts they
// use); nothing reaches a process-wide object of its own.
#ifndef TINDAVEL_APP_PROGRAM_STATE_H_
#define TINDAVEL_APP_PROGRAM_STATE_H_

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "app/counting.h"
#include "app/soft_keyboard.h"
#include "portio/port_io.h"
#include "records/recording_writer.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "texts/text_table.h"

struct ProgramState {
  SettingsVariables settings;  // the working copy of the settings
  SessionState session;        // counting session of the main window
  // Nothing else gives LineWidth a value: the sensor's line length is set
  // once here, at start-up, so the scope accepts the right edge 511 and
  // refuses 512. LinesPerBuffer stays 0.
  CameraGeometry camera{kSensorLineWidth, 0};
  CountingState counting;      // the session's report lines, the line-rate figure
  TextTable texts;             // LangText
  PortIo port;                 // the control port; opened by main() before any window
  SettingsModel sett;          // the settings value model: the working copy of most settings and their rules
  SettingsStore store;         // opened on its file by the main window's creation
  DetectionState detection;    // the analysis tables
  ViewerCounts viewerCounts;   // the record viewers' counts and weight estimates
  SoftKeybState softKeyb;      // the on-screen keyboard's target
  RecordingWriter recorder;    // the main window's recording while counting
};

#endif  // TINDAVEL_APP_PROGRAM_STATE_H_
