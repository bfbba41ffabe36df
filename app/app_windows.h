// The program's windows: every one created once at start-up, in a fixed
// order with the main window first, and reachable through one reference each
// until the process ends. The wiring connects them to each other with typed
// signals; the windows share the program's state.
#ifndef TINDAVEL_APP_APP_WINDOWS_H_
#define TINDAVEL_APP_APP_WINDOWS_H_

#include <vector>

#include "app/stand_in_windows.h"

class FileOpener;
class MainWindowDialogs;
class MainWindowEnvironment;
class QWidget;
class TFrmAdal;
class TFrmInsert;
class TForm4;
class TFrmSoftkeyb;
class TMessagedialog;
class TOKBottomDlg;
class TWaitforlamp;
class TfrmRecord;
class Tfrmreport;
class Tfrmscope;
class Tsett;
struct ProgramState;

struct AppWindows {
  TFrmAdal* FrmAdal = nullptr;                   // 1 main window
  stand_in::TForm2* Form2 = nullptr;             // 2 analysis routines (never shown)
  TForm4* Form4 = nullptr;                       // 3 debug recording viewer
  Tfrmscope* frmscope = nullptr;                 // 4 visibility scope
  TWaitforlamp* Waitforlamp = nullptr;           // 5 lamp warm-up wait
  Tsett* sett = nullptr;                         // 6 settings window
  TFrmInsert* FrmInsert = nullptr;               // 7 session information
  TFrmSoftkeyb* FrmSoftkeyb = nullptr;           // 8 on-screen keyboard
  stand_in::Tsaverepform* saverepform = nullptr; // 9 "Saving report data to file"
  stand_in::Tfrmquattro* frmquattro = nullptr;   // 10 multi-channel layout routines (never shown)
  TOKBottomDlg* OKBottomDlg = nullptr;           // 11 calibrating
  TMessagedialog* Messagedialog = nullptr;       // 12 timed message
  TfrmRecord* frmRecord = nullptr;               // 13 record viewer
  stand_in::Tmalatexti* malatexti = nullptr;     // 14 language table (never shown)
  Tfrmreport* frmreport = nullptr;               // 15 report viewer's layouts (never shown)
  // Not a window: opens the files named from outside (command line, drop,
  // hand-over) in the viewers; the main window's child.
  FileOpener* fileOpener = nullptr;
};

// The application's own settings, before any window: title "Lumencounter"
// and closing the main window ends the program, whatever else is open. The
// title is the application's name only, not a display name: Qt would append
// a display name to every window's title ("... — Lumencounter").
void setUpApplication();

// Creates the windows in their order over `state` and connects them. The
// main window's dialogs and environment may be null (message boxes, the real
// machine). Returns false, with only the main window created, when the main
// window ended in its creation because another copy of the program runs.
bool createWindows(AppWindows& windows, ProgramState& state, MainWindowDialogs* dialogs = nullptr,
                   MainWindowEnvironment* environment = nullptr);

// Deletes the windows, last created first, and clears the references.
void destroyWindows(AppWindows& windows);

// The windows in creation order.
std::vector<QWidget*> windowsInOrder(const AppWindows& windows);

#endif  // TINDAVEL_APP_APP_WINDOWS_H_
