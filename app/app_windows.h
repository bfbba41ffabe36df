// The program's windows: every one created once at start-up, in a fixed
// order with the main window first, and reachable through one process-wide
// reference each until the process ends.
#ifndef TINDAVEL_APP_APP_WINDOWS_H_
#define TINDAVEL_APP_APP_WINDOWS_H_

#include "app/frm_adal.h"

class QWidget;
class SettingsControls;
class SettingsStore;
class TFrmInsert;
class TFrmSoftkeyb;
class TMessagedialog;
class TOKBottomDlg;
class TWaitforlamp;
struct PortIo;
struct TextTable;

struct AppWindows {
  TFrmAdal* FrmAdal = nullptr;          // 1 main window
  QWidget* Form2 = nullptr;             // 2 analysis routines (never shown)
  QWidget* Form4 = nullptr;             // 3 debug recording viewer
  QWidget* frmscope = nullptr;          // 4 visibility scope
  TWaitforlamp* Waitforlamp = nullptr;  // 5 lamp warm-up wait
  QWidget* sett = nullptr;              // 6 settings window
  TFrmInsert* FrmInsert = nullptr;      // 7 session information
  TFrmSoftkeyb* FrmSoftkeyb = nullptr;  // 8 on-screen keyboard
  QWidget* saverepform = nullptr;       // 9 "Saving report data to file"
  QWidget* frmquattro = nullptr;        // 10 multi-channel layout routines (never shown)
  TOKBottomDlg* OKBottomDlg = nullptr;  // 11 calibrating
  TMessagedialog* Messagedialog = nullptr;  // 12 timed message
  QWidget* frmRecord = nullptr;         // 13 record viewer
  QWidget* malatexti = nullptr;         // 14 language table (never shown)
  QWidget* frmreport = nullptr;         // 15 report viewer's layouts (never shown)
};

extern AppWindows gWindows;

// The program-wide state the windows share.
struct AppState {
  SettingsVariables& settings;
  SessionState& session;
  CameraGeometry& camera;
  CountingState& counting;
  TextTable& texts;
  PortIo& port;
  SettingsControls& sett;                 // the settings window's controls
  SettingsStore& store;                   // opened on its file by the main window's creation
};

// The application's own settings, before any window: title "Lumencounter"
// and closing the main window ends the program, whatever else is open. The
// title is the application's name only, not a display name: Qt would append
// a display name to every window's title ("... — Lumencounter").
void setUpApplication();

// Creates the windows in their order and links them to each other. Returns
// false, with only the main window created, when the main window ended in
// its creation because another copy of the program runs.
bool createWindows(AppWindows& windows, AppState state, MainWindowEnvironment environment);

// Deletes the windows, last created first, and clears the references.
void destroyWindows(AppWindows& windows);

// The windows in creation order.
std::vector<QWidget*> windowsInOrder(const AppWindows& windows);

#endif  // TINDAVEL_APP_APP_WINDOWS_H_
