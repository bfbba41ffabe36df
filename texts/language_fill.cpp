#include "texts/language_fill.h"

namespace {

// Where a caption's text comes from.
enum class Source {
  kEntry,          // the entry of its index
  kVersionLine,    // versionLine()
  kSessionButton,  // entry 66 during a session, else entry 49
};

// A control of one of the two windows.
struct Target {
  bool mainWindow;
  MainCaption mainControl;
  SettingsCaption settingsControl;
  int item;  // -1 the control's own caption, else the 0-based item

  static constexpr Target main(MainCaption control) { return {true, control, SettingsCaption::Caption, -1}; }
  static constexpr Target settings(SettingsCaption control, int item) {
    return {false, MainCaption::Caption, control, item};
  }
};

struct Caption {
  int index;  // text-table index
  Target target;
  Source source = Source::kEntry;
};

// Which text goes where, in index order. Lines the windows do not use are
// not listed.
constexpr Caption kCaptions[] = {
    {2, Target::settings(SettingsCaption::ComboBox1, 0)},
    {3, Target::settings(SettingsCaption::ComboBox1, 1)},
    {4, Target::settings(SettingsCaption::ComboBox1, 2)},
    {5, Target::settings(SettingsCaption::ComboBox1, 3)},
    {6, Target::settings(SettingsCaption::GroupBox11, -1)},
    {7, Target::settings(SettingsCaption::Caption, -1)},
    {8, Target::settings(SettingsCaption::TabSheet1, -1)},
    {9, Target::settings(SettingsCaption::TabSheet2, -1)},
    {10, Target::settings(SettingsCaption::TabSheet3, -1)},
    {11, Target::settings(SettingsCaption::autosence, -1)},
    {12, Target::settings(SettingsCaption::Recordmethod, -1)},
    {13, Target::settings(SettingsCaption::Recordmethod, 0)},
    {14, Target::settings(SettingsCaption::Recordmethod, 1)},
    {15, Target::settings(SettingsCaption::Recordmethod, 2)},
    {16, Target::settings(SettingsCaption::GroupBox2, -1)},
    {17, Target::settings(SettingsCaption::CtrlNone, -1)},
    {18, Target::settings(SettingsCaption::CtrlOverload, -1)},
    {19, Target::settings(SettingsCaption::CtrlBatchAlarm, -1)},
    {20, Target::settings(SettingsCaption::CtrlBatchSplitter, -1)},
    {21, Target::settings(SettingsCaption::GroupBox7, -1)},
    {22, Target::settings(SettingsCaption::Label4, -1)},
    {23, Target::settings(SettingsCaption::Button4, -1)},
    {24, Target::settings(SettingsCaption::FishtypeWeight, -1)},
    {25, Target::settings(SettingsCaption::FishtypeWeight, 0)},
    {26, Target::settings(SettingsCaption::FishtypeWeight, 1)},
    {27, Target::settings(SettingsCaption::FishtypeWeight, 2)},
    {29, Target::settings(SettingsCaption::BitBtn1, -1)},
    {30, Target::settings(SettingsCaption::BitBtn2, -1)},
    {31, Target::settings(SettingsCaption::GroupBox5, -1)},
    {32, Target::settings(SettingsCaption::GroupBox8, -1)},
    {37, Target::settings(SettingsCaption::Enablemulti, -1)},
    {38, Target::settings(SettingsCaption::GroupBox1, -1)},
    {39, Target::settings(SettingsCaption::Label1, -1)},
    {40, Target::settings(SettingsCaption::Label2, -1)},
    {41, Target::settings(SettingsCaption::GroupBox3, -1)},
    {48, Target::settings(SettingsCaption::Label3, -1), Source::kVersionLine},
    {49, Target::main(MainCaption::Button4), Source::kSessionButton},
    {50, Target::main(MainCaption::Storebtn)},
    {51, Target::main(MainCaption::Button5)},
    {52, Target::main(MainCaption::scopebtn)},
    {53, Target::main(MainCaption::Button3)},
    {54, Target::main(MainCaption::Viewfilebtn)},
    {55, Target::main(MainCaption::Reportbtn)},
    {56, Target::main(MainCaption::Button6)},
    {57, Target::settings(SettingsCaption::Cname1, -1)},  // the edits' labels
    {58, Target::settings(SettingsCaption::cname2, -1)},
    {59, Target::settings(SettingsCaption::Cname3, -1)},
    {60, Target::settings(SettingsCaption::Cname4, -1)},
    {61, Target::main(MainCaption::SumGroupBox)},
    {62, Target::main(MainCaption::sizelbl1)},  // the four size-group fields' labels
    {62, Target::main(MainCaption::sizelbl2)},
    {62, Target::main(MainCaption::sizelbl3)},
    {62, Target::main(MainCaption::sizelbl4)},
    {63, Target::main(MainCaption::estimlbl1)},  // the four estimate fields' labels
    {63, Target::main(MainCaption::estimlbl2)},
    {63, Target::main(MainCaption::estimlbl3)},
    {63, Target::main(MainCaption::estimlbl4)},
    {64, Target::main(MainCaption::Throughput)},  // the page
    {65, Target::main(MainCaption::Caption)},
};

constexpr int kLanguageListItems = 4;

}  // namespace

std::string versionLine(const TextTable& table) {
  return table.LangText[kVersionLineIndex] + kVersionText + " # " + "0";
}

void uppfaeraTungumal(TextTable& table, int languageNumber, MainWindowCaptions& mainWindow,
                      SettingsWindowCaptions& settingsWindow, bool sessionActive) {
  fillLangText(table, languageNumber);
  for (const Caption& caption : kCaptions) {
    std::string text;
    switch (caption.source) {
      case Source::kEntry:
        text = table.LangText[caption.index];
        break;
      case Source::kVersionLine:
        text = versionLine(table);
        break;
      case Source::kSessionButton:
        text = table.LangText[sessionActive ? kEndSessionIndex : kNewSessionIndex];
        break;
    }
    const Target& t = caption.target;
    if (t.mainWindow) {
      mainWindow.setCaption(t.mainControl, text);
    } else {
      settingsWindow.setCaption(t.settingsControl, t.item, text);
    }
  }
}

void chooseLanguage(int position, int32_t& languageNumber, TextTable& table, MainWindowCaptions& mainWindow,
                    SettingsWindowCaptions& settingsWindow, bool sessionActive) {
  // The list only reports -1 when nothing is selected; that is no language.
  if (position < 0 || position >= kLanguageListItems) return;
  languageNumber = position + 1;
  uppfaeraTungumal(table, languageNumber, mainWindow, settingsWindow, sessionActive);
  settingsWindow.selectItem(SettingsCaption::ComboBox1, languageNumber - 1);
}
