#include "texts/language_fill.h"

namespace {

enum class Window { kMain, kSettings };

// Where a caption's text comes from.
enum class Source {
  kEntry,          // the entry of its index
  kVersionLine,    // versionLine()
  kSessionButton,  // entry 66 during a session, else entry 49
};

struct Caption {
  int index;            // text-table index
  Window window;
  const char* control;  // form name of the control
  int item;             // -1 the control's own caption, else the 0-based item
  Source source = Source::kEntry;
};

// Which text goes where, in index order. Lines the windows do not use are
// not listed.
constexpr Caption kCaptions[] = {
    {2, Window::kSettings, "ComboBox1", 0},
    {3, Window::kSettings, "ComboBox1", 1},
    {4, Window::kSettings, "ComboBox1", 2},
    {5, Window::kSettings, "ComboBox1", 3},
    {6, Window::kSettings, "GroupBox11", -1},
    {7, Window::kSettings, "Caption", -1},
    {8, Window::kSettings, "TabSheet1", -1},
    {9, Window::kSettings, "TabSheet2", -1},
    {10, Window::kSettings, "TabSheet3", -1},
    {11, Window::kSettings, "autosence", -1},
    {12, Window::kSettings, "Recordmethod", -1},
    {13, Window::kSettings, "Recordmethod", 0},
    {14, Window::kSettings, "Recordmethod", 1},
    {15, Window::kSettings, "Recordmethod", 2},
    {16, Window::kSettings, "GroupBox2", -1},
    {17, Window::kSettings, "CtrlNone", -1},
    {18, Window::kSettings, "CtrlOverload", -1},
    {19, Window::kSettings, "CtrlBatchAlarm", -1},
    {20, Window::kSettings, "CtrlBatchSplitter", -1},
    {21, Window::kSettings, "GroupBox7", -1},
    {22, Window::kSettings, "Label4", -1},
    {23, Window::kSettings, "Button4", -1},
    {24, Window::kSettings, "FishtypeWeight", -1},
    {25, Window::kSettings, "FishtypeWeight", 0},
    {26, Window::kSettings, "FishtypeWeight", 1},
    {27, Window::kSettings, "FishtypeWeight", 2},
    {29, Window::kSettings, "BitBtn1", -1},
    {30, Window::kSettings, "BitBtn2", -1},
    {31, Window::kSettings, "GroupBox5", -1},
    {32, Window::kSettings, "GroupBox8", -1},
    {37, Window::kSettings, "Enablemulti", -1},
    {38, Window::kSettings, "GroupBox1", -1},
    {39, Window::kSettings, "Label1", -1},
    {40, Window::kSettings, "Label2", -1},
    {41, Window::kSettings, "GroupBox3", -1},
    {48, Window::kSettings, "Label3", -1, Source::kVersionLine},
    {49, Window::kMain, "Button4", -1, Source::kSessionButton},
    {50, Window::kMain, "Storebtn", -1},
    {51, Window::kMain, "Button5", -1},
    {52, Window::kMain, "scopebtn", -1},
    {53, Window::kMain, "Button3", -1},
    {54, Window::kMain, "Viewfilebtn", -1},
    {55, Window::kMain, "Reportbtn", -1},
    {56, Window::kMain, "Button6", -1},
    {57, Window::kSettings, "Cname1", -1},  // the edits' labels
    {58, Window::kSettings, "cname2", -1},
    {59, Window::kSettings, "Cname3", -1},
    {60, Window::kSettings, "Cname4", -1},
    {61, Window::kMain, "SumGroupBox", -1},
    {62, Window::kMain, "sizelbl1", -1},  // the four size-group fields' labels
    {62, Window::kMain, "sizelbl2", -1},
    {62, Window::kMain, "sizelbl3", -1},
    {62, Window::kMain, "sizelbl4", -1},
    {63, Window::kMain, "estimlbl1", -1},  // the four estimate fields' labels
    {63, Window::kMain, "estimlbl2", -1},
    {63, Window::kMain, "estimlbl3", -1},
    {63, Window::kMain, "estimlbl4", -1},
    {64, Window::kMain, "Throughput", -1},  // the page
    {65, Window::kMain, "Caption", -1},
};

constexpr int kLanguageListItems = 4;

}  // namespace

std::string versionLine(const TextTable& table) {
  return table.LangText[kVersionLineIndex] + kVersionText + " # " + "0";
}

void uppfaeraTungumal(TextTable& table, int languageNumber, CaptionTarget& mainWindow,
                      CaptionTarget& settingsWindow, const SessionState& session) {
  fillLangText(table, languageNumber);
  for (const Caption& caption : kCaptions) {
    CaptionTarget& target = caption.window == Window::kMain ? mainWindow : settingsWindow;
    switch (caption.source) {
      case Source::kEntry:
        target.setCaption(caption.control, caption.item, table.LangText[caption.index]);
        break;
      case Source::kVersionLine:
        target.setCaption(caption.control, caption.item, versionLine(table));
        break;
      case Source::kSessionButton:
        target.setCaption(caption.control, caption.item,
                          table.LangText[session.SessionActive ? kEndSessionIndex : kNewSessionIndex]);
        break;
    }
  }
}

void chooseLanguage(int position, SettingsVariables& settings, TextTable& table,
                    CaptionTarget& mainWindow, CaptionTarget& settingsWindow,
                    const SessionState& session) {
  // The list only reports -1 when nothing is selected; that is no language.
  if (position < 0 || position >= kLanguageListItems) return;
  settings.LanguageNumber = position + 1;
  uppfaeraTungumal(table, settings.LanguageNumber, mainWindow, settingsWindow, session);
  settingsWindow.selectItem("ComboBox1", settings.LanguageNumber - 1);
}
