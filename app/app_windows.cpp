#include "app/app_windows.h"

#include <QTimer>

#include <algorithm>

#include "app/small_dialogs.h"
#include "app/soft_keyboard.h"
#include "app/stand_in_windows.h"
#include "portio/control_output.h"
#include "portio/waitforlamp.h"
#include "texts/language_fill.h"

AppWindows gWindows;

namespace {

// Captions for a window that has no caption target of its own yet.
class NoCaptions : public CaptionTarget {
 public:
  void setCaption(std::string_view, int, const std::string&) override {}
};

// The main window's links into the windows and cores created after it.
void linkMainWindow(AppWindows& w, AppState state) {
  MainWindowLinks& links = w.FrmAdal->links();
  links.toggleport = [&port = state.port] { toggleport(port); };
  links.languageFill = [&w, state] {
    static NoCaptions settingsCaptions;  // the settings window takes its captions once it has a target
    uppfaeraTungumal(state.texts, state.settings.LanguageNumber, *w.FrmAdal, settingsCaptions, state.session);
  };
  links.langText = [&texts = state.texts](int index) {
    if (index < 0 || index >= kLangTextSize) return QString();
    return QString::fromStdString(texts.LangText[index]);
  };
  links.showTimedMessage = [&w](const QString& text) { w.Messagedialog->showMessage(text); };
  // The viewers hook in here: links.openRecord and links.openReport.
}

}  // namespace

bool createWindows(AppWindows& w, AppState state, MainWindowEnvironment environment) {
  MainWindowLinks startLinks;
  startLinks.portoff = [&port = state.port] { portoff(port); };
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
  w.frmRecord = new stand_in::TfrmRecord;
  w.malatexti = new stand_in::Tmalatexti;
  w.frmreport = new stand_in::Tfrmreport;
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
