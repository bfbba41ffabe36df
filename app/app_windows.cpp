#include "app/app_windows.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>

#include "analysis/channel_layout.h"
#include "analysis/scope_window.h"
#include "app/file_opening.h"
#include "app/frm_adal.h"
#include "app/main_window_environment.h"
#include "app/message_box_scale.h"
#include "app/program_state.h"
#include "app/small_dialogs.h"
#include "app/soft_keyboard.h"
#include "portio/waitforlamp.h"
#include "records/debug_viewer_window.h"
#include "records/record_viewer_window.h"
#include "reports/jpeg_logo.h"
#include "reports/report_viewer.h"
#include "settings/settings_window.h"

namespace {

// Who calls whom. Every request of one window that another answers is
// connected here, and only here.
void connectWindows(const AppWindows& w, ProgramState& state) {
  TFrmAdal* main = w.FrmAdal;
  // Closing the main window ends the program, whatever else is open.
  QObject::connect(main, &TFrmAdal::closed, qApp, &QCoreApplication::quit);
  QObject::connect(main, &TFrmAdal::recordViewerRequested, w.frmRecord, &TfrmRecord::OpenBlbFile);
  QObject::connect(main, &TFrmAdal::reportViewerRequested, w.frmreport, &Tfrmreport::viewreport);
  // Queued: a viewer's modal box must not hold the drag source.
  QObject::connect(main, &TFrmAdal::filesDropped, w.fileOpener, &FileOpener::openFiles, Qt::QueuedConnection);
  QObject::connect(main, &TFrmAdal::settingsWindowRequested, w.sett, &QDialog::exec);
  QObject::connect(main, &TFrmAdal::channelTableRequested, w.sett,
                   [&state, sett = w.sett] { sett->showChannelTable(lesaimultitoflu(state.settings)); });
  QObject::connect(w.sett, &Tsett::keyboardRequested, w.FrmSoftkeyb, &TFrmSoftkeyb::openOn);
  QObject::connect(w.frmscope, &Tfrmscope::keyboardRequested, w.FrmSoftkeyb, &TFrmSoftkeyb::openOn);
  QObject::connect(main, &TFrmAdal::scopeRequested, w.frmscope, &QDialog::exec);
  QObject::connect(main, &TFrmAdal::debugViewerRequested, w.Form4, &QDialog::exec);
  QObject::connect(main, &TFrmAdal::timedMessageRequested, w.Messagedialog, &TMessagedialog::showMessage);
  QObject::connect(w.Waitforlamp, &TWaitforlamp::ended, main, &TFrmAdal::lampWaitEnded);
  QObject::connect(w.FrmInsert, &TFrmInsert::keyboardRequested, w.FrmSoftkeyb, &TFrmSoftkeyb::openOn);
  QObject::connect(w.FrmInsert, &TFrmInsert::sessionStartRequested, main, &TFrmAdal::startcounting);
}

// The two record viewers work on the program's state alike and show sizes
// on the main window; their dialogs are Qt's.
template <typename Environment>
Environment viewerEnvironment(ProgramState& state, SizeDisplay* sizeDisplay) {
  Environment env;
  env.detection = &state.detection;
  env.settings = &state.settings;
  env.counts = &state.viewerCounts;
  env.controls = &state.sett;
  env.store = &state.store;
  env.session = &state.session;
  env.camera = &state.camera;
  env.sizeDisplay = sizeDisplay;
  return env;
}

}  // namespace

void setUpApplication() {
  QApplication::setApplicationName(QStringLiteral("Lumencounter"));
  QApplication::setQuitOnLastWindowClosed(false);
}

bool createWindows(AppWindows& w, ProgramState& state, MainWindowDialogs* dialogs,
                   MainWindowEnvironment* environment) {
  w.FrmAdal = new TFrmAdal(state, dialogs, environment);
  if (w.FrmAdal->endedAtCreate()) return false;
  // Every message box of the program grows with the screen as the main
  // window did in its creation.
  applyMessageBoxScale(w.FrmAdal->scaleNumerator(), kDesignHeight);
  w.Form2 = new stand_in::TForm2;
  w.Form4 = new TForm4(viewerEnvironment<DebugViewerEnvironment>(state, w.FrmAdal));
  ScopeWindowEnvironment scope;
  scope.settings = &state.settings;
  scope.controls = &state.sett;
  scope.store = &state.store;
  scope.camera = &state.camera;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) scope.screen = screen->geometry().size();
  w.frmscope = new Tfrmscope(scope);
  w.Waitforlamp = new TWaitforlamp;
  // The settings model's rules work on the program's settings and store.
  state.sett.bind(&state.settings, &state.store);
  SettingsWindowEnvironment settings;
  settings.controls = &state.sett;
  settings.settings = &state.settings;
  settings.store = &state.store;
  settings.texts = &state.texts;
  settings.mainWindow = w.FrmAdal;
  settings.session = &state.session;
  settings.camera = &state.camera;
  settings.lineRate = &state.counting;
  settings.port = &state.port;
  settings.loadLogo = &loadLogoImage;
  settings.now = &currentDayCount;
  w.sett = new Tsett(settings);
  w.FrmInsert = new TFrmInsert;
  w.FrmSoftkeyb = new TFrmSoftkeyb(state.softKeyb);
  w.saverepform = new stand_in::Tsaverepform;
  w.frmquattro = new stand_in::Tfrmquattro;
  w.OKBottomDlg = new TOKBottomDlg;
  w.Messagedialog = new TMessagedialog;
  w.frmRecord = new TfrmRecord(viewerEnvironment<RecordViewerEnvironment>(state, w.FrmAdal));
  w.malatexti = new stand_in::Tmalatexti;
  ReportViewerEnvironment report;
  report.settings = &state.settings;
  report.controls = &state.sett;
  w.frmreport = new Tfrmreport(report);
  w.fileOpener = new FileOpener(w.FrmAdal, w.frmRecord, w.frmreport, dialogs);
  connectWindows(w, state);
  return true;
}

std::vector<QWidget*> windowsInOrder(const AppWindows& w) {
  return {w.FrmAdal,       w.Form2,      w.Form4,       w.frmscope,      w.Waitforlamp,
          w.sett,          w.FrmInsert,  w.FrmSoftkeyb, w.saverepform,   w.frmquattro,
          w.OKBottomDlg,   w.Messagedialog, w.frmRecord, w.malatexti,    w.frmreport};
}

void destroyWindows(AppWindows& w) {
  std::vector<QWidget*> all = windowsInOrder(w);
  std::reverse(all.begin(), all.end());
  for (QWidget* window : all) delete window;
  w = AppWindows{};
}
