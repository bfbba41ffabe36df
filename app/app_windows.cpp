#include "app/app_windows.h"

#include <QApplication>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>

#include "app/small_dialogs.h"
#include "app/soft_keyboard.h"
#include "app/stand_in_windows.h"
#include "analysis/detection_state.h"
#include "analysis/size_classification.h"
#include "analysis/viewer_counts.h"
#include "portio/control_output.h"
#include "portio/waitforlamp.h"
#include "records/record_viewer_window.h"
#include "reports/report_viewer.h"
#include "settings/registry.h"
#include "settings/settings_controls.h"
#include "settings/settings_store.h"
#include "texts/language_fill.h"

AppWindows gWindows;

namespace {

// The main window's links into the windows and cores created after it.
void linkMainWindow(AppWindows& w, AppState state) {
  MainWindowLinks& links = w.FrmAdal->links();
  links.toggleport = [&port = state.port] { toggleport(port); };
  links.languageFill = [&w, state] {
    uppfaeraTungumal(state.texts, state.settings.LanguageNumber, *w.FrmAdal, state.sett, state.session);
  };
  SettingsControls& sett = state.sett;
  links.readRegistry = [&w, state] {
    Read_Registry(state.settings, state.sett, state.store);
    // The size-group selectors show the positions just loaded (set, not clicked).
    for (int n = 1; n <= kMaxChannels; ++n) w.FrmAdal->UpDown[n]->setValue(state.sett.sizeGroupUpDown(n).position());
  };
  links.channelWidthItem = [&sett] { return sett.Channelwidth.itemIndex(); };
  links.setChannelWidthConstants = [](const ChannelWidthConstants& c) {
    gDetection.LengthDivisor = c.LengthDivisor;
    gDetection.AngleThreshold = c.AngleThreshold;
    gDetection.AreaFactor = c.AreaFactor;
  };
  links.applySizeGroup = [&w, state](int n) {
    stillafiskiflokk(n, gDetection, state.settings, state.camera.LinesPerBuffer, state.sett.Enablemulti.checked(),
                     w.FrmAdal);
  };
  links.clearChannelEstimate = [](int n) {
    gViewerCounts.WeightSamples[n] = 0;
    gViewerCounts.WeightSum[n] = 0;
  };
  links.showWeightGroups = [&sett] { sett.FishtypeWeight.visible = true; };
  links.uncheckAndDisableMulti = [&sett] {
    sett.Enablemulti.setChecked(false);
    sett.Enablemulti.enabled = false;
  };
  links.multiChecked = [&sett] { return sett.Enablemulti.checked(); };
  links.showChannelName = [&sett](int n, bool shown) {
    sett.channelName(n).visible = shown;
    sett.channelNameButton(n).visible = shown;
  };
  links.sizeGroupMoved = [&sett](int n, int position) { sett.sizeGroupUpDown(n).setPosition(position); };
  links.writeSetting = [state](const std::string& name, int32_t value) {
    // A failed single write leaves the working copy as it is; the next full
    // save stores it.
    (void)state.store.writeInteger(name, value);
  };
  sett.hooks.Stillamultiteljara = [&w] { w.FrmAdal->Stillamultiteljara(); };
  sett.hooks.renameChannel = [&w](int n, const std::string& name) {
    w.FrmAdal->renameChannel(n, QString::fromStdString(name));
  };
  // The settings controls outlive the windows: once the main window is gone
  // they must not call into it.
  QObject::connect(w.FrmAdal, &QObject::destroyed, [&sett] { sett.hooks = SettingsWindowHooks{}; });
  links.langText = [&texts = state.texts](int index) {
    if (index < 0 || index >= kLangTextSize) return QString();
    return QString::fromStdString(texts.LangText[index]);
  };
  links.showTimedMessage = [&w](const QString& text) { w.Messagedialog->showMessage(text); };
  // The viewers hook in here: links.openRecord and links.openReport.
  links.openReport = [&w] { static_cast<Tfrmreport*>(w.frmreport)->viewreport(); };
  links.openRecord = [&w] { static_cast<TfrmRecord*>(w.frmRecord)->OpenBlbFile(); };
}

}  // namespace

void setUpApplication() {
  QApplication::setApplicationName(QStringLiteral("Lumencounter"));
  QApplication::setQuitOnLastWindowClosed(false);
}

bool createWindows(AppWindows& w, AppState state, MainWindowEnvironment environment) {
  MainWindowLinks startLinks;
  startLinks.portoff = [&port = state.port] { portoff(port); };
  startLinks.createSettingsStore = [&store = state.store] { store.setPath(defaultStorePath()); };
  w.FrmAdal = new TFrmAdal({state.settings, state.session, state.camera, state.counting}, std::move(environment),
                           std::move(startLinks));
  if (w.FrmAdal->endedAtCreate()) return false;
  w.Form2 = new stand_in::TForm2;
  w.Form4 = new stand_in::TForm4;
  w.frmscope = new stand_in::Tfrmscope;
  w.Waitforlamp = new TWaitforlamp(LampWaitHooks{[&w] { w.FrmAdal->firstini->start(); },
                                                 [&w] { w.FrmAdal->Timer1->start(); }});
  w.sett = new stand_in::Tsett;
  w.FrmInsert = new TFrmInsert([&w](QWidget* target, bool digitsOnly) {
                                 openSoftKeyboard(w.FrmSoftkeyb, target, digitsOnly);
                               },
                               [&w](const QString& description) { w.FrmAdal->startcounting(description); });
  w.FrmSoftkeyb = new TFrmSoftkeyb(gSoftKeyb);
  w.saverepform = new stand_in::Tsaverepform;
  w.frmquattro = new stand_in::Tfrmquattro;
  w.OKBottomDlg = new TOKBottomDlg;
  w.Messagedialog = new TMessagedialog;
  w.frmRecord = new TfrmRecord({&gDetection, &state.settings, &gViewerCounts, &state.sett, &state.store, &state.session, &state.camera, nullptr, w.FrmAdal, {}});
  w.malatexti = new stand_in::Tmalatexti;
  w.frmreport = new Tfrmreport;
  linkMainWindow(w, state);
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
