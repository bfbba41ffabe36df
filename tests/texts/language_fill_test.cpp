#include "texts/language_fill.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "texts/language_table.h"
#include "texts/text_table.h"

namespace {

// Remembers every caption it is given, the latest per control (by its form
// name) and item.
class RecordingTarget : public MainWindowCaptions, public SettingsWindowCaptions {
 public:
  void setCaption(MainCaption control, const std::string& text) override {
    captions[{std::string(controlName(control)), -1}] = text;
    ++calls;
  }
  void setCaption(SettingsCaption control, int item, const std::string& text) override {
    captions[{std::string(controlName(control)), item}] = text;
    ++calls;
  }
  void selectItem(SettingsCaption control, int item) override {
    selected[std::string(controlName(control))] = item;
  }
  std::string at(const std::string& control, int item = -1) const {
    const auto it = captions.find({control, item});
    return it == captions.end() ? "<unset>" : it->second;
  }

  std::map<std::pair<std::string, int>, std::string> captions;
  std::map<std::string, int> selected;
  int calls = 0;
};

class LanguageFill : public ::testing::Test {
 protected:
  void fill(int languageNumber) {
    uppfaeraTungumal(table, languageNumber, mainWindow, settingsWindow, sessionActive);
  }

  TextTable table;
  RecordingTarget mainWindow;
  RecordingTarget settingsWindow;
  bool sessionActive = false;
  int32_t languageNumber = 1;
};

TEST_F(LanguageFill, NorwegianCaptionsOnBothWindows) {
  fill(3);
  EXPECT_EQ(mainWindow.at("Storebtn"), "Lagre");
  EXPECT_EQ(mainWindow.at("Button4"), "Ny telling");
  EXPECT_EQ(mainWindow.at("Caption"), "Tolu Lumen/Norde teller");
  EXPECT_EQ(mainWindow.at("Throughput"), "Gjennomstr\xC3\xB8m");
  EXPECT_EQ(settingsWindow.at("Caption"), "Innstillinger");
  EXPECT_EQ(settingsWindow.at("GroupBox11"), "Spr\xC3\xA5k");
  EXPECT_EQ(settingsWindow.at("Button4"), "Reset");
  EXPECT_EQ(settingsWindow.at("BitBtn2"), "Avbryt");
  EXPECT_EQ(settingsWindow.at("cname2"), "Teller 2");
  EXPECT_EQ(settingsWindow.at("Recordmethod", 1), "Opptak[10sec/5min]");
  EXPECT_EQ(settingsWindow.at("FishtypeWeight", 2), "Torsk");
  const std::vector<std::string> names{"Engelsk", "Islandsk", "Norsk", "Spansk"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(settingsWindow.at("ComboBox1", i), names[i]);
  EXPECT_EQ(table.LangText[50], "Lagre");
}

// Captions go to their own window only: the main window never gets a settings
// control and the other way round.
TEST_F(LanguageFill, CaptionsGoToTheirOwnWindow) {
  fill(1);
  EXPECT_EQ(mainWindow.at("ComboBox1", 0), "<unset>");
  EXPECT_EQ(mainWindow.at("Label3"), "<unset>");
  EXPECT_EQ(settingsWindow.at("Storebtn"), "<unset>");
  EXPECT_EQ(settingsWindow.at("Caption"), "Settings");
  EXPECT_EQ(mainWindow.at("Caption"), "Tolu Lumen/Norde Counter");
  EXPECT_EQ(mainWindow.at("Button4"), "New counting session");
  EXPECT_EQ(settingsWindow.at("Button4"), "Reset");
}

TEST_F(LanguageFill, EveryCaptionIsTranslatedInEveryLanguage) {
  int callsInEnglish = 0;
  for (int language = 1; language <= 4; ++language) {
    RecordingTarget main;
    RecordingTarget sett;
    uppfaeraTungumal(table, language, main, sett, false);
    for (const auto* target : {&main, &sett}) {
      for (const auto& [key, text] : target->captions) {
        EXPECT_FALSE(text.empty()) << "language " << language << " " << key.first << " " << key.second;
      }
    }
    if (language == 1) callsInEnglish = main.calls + sett.calls;
    EXPECT_EQ(main.calls + sett.calls, callsInEnglish) << "language " << language;
  }
  EXPECT_GT(callsInEnglish, 50);
}

TEST_F(LanguageFill, Row27IcelandicEndsInAQuote) {
  fill(2);
  EXPECT_EQ(settingsWindow.at("FishtypeWeight", 2), "Barri\"");
  fill(4);
  EXPECT_EQ(settingsWindow.at("FishtypeWeight", 2), "Sea Bass");
}

TEST_F(LanguageFill, VersionLine) {
  fill(1);
  EXPECT_EQ(settingsWindow.at("Label3"), "TOLU    Lumen/Norde counter  Version 146 # 0");
  EXPECT_EQ(versionLine(table), settingsWindow.at("Label3"));
  fill(4);
  EXPECT_EQ(settingsWindow.at("Label3"), "TOLU   Lumen/Norde   contador    versi\xC3\xB3n146 # 0");
}

TEST_F(LanguageFill, SizeAndEstimateLabelsAllFour) {
  fill(2);
  for (const char* name : {"sizelbl1", "sizelbl2", "sizelbl3", "sizelbl4"}) {
    EXPECT_EQ(mainWindow.at(name), "St\xC3\xA6r\xC3\xB0" "arflokkur") << name;
  }
  for (const char* name : {"estimlbl1", "estimlbl2", "estimlbl3", "estimlbl4"}) {
    EXPECT_EQ(mainWindow.at(name), "\xC3\x81\xC3\xA6tlu\xC3\xB0 \xC3\xBEyngd") << name;
  }
}

TEST_F(LanguageFill, SessionButtonFollowsTheSession) {
  sessionActive = true;
  fill(1);
  EXPECT_EQ(mainWindow.at("Button4"), "End counting session");
  // Switching language during a session keeps the end text, translated.
  chooseLanguage(1, languageNumber, table, mainWindow, settingsWindow, sessionActive);
  EXPECT_EQ(mainWindow.at("Button4"), "Enda talningu");
  sessionActive = false;
  chooseLanguage(1, languageNumber, table, mainWindow, settingsWindow, sessionActive);
  EXPECT_EQ(mainWindow.at("Button4"), "N\xC3\xBD talning");
}

TEST_F(LanguageFill, ChoosingALanguageRefillsAndReselects) {
  fill(1);
  chooseLanguage(2, languageNumber, table, mainWindow, settingsWindow, sessionActive);
  EXPECT_EQ(languageNumber, 3);
  EXPECT_EQ(settingsWindow.selected["ComboBox1"], 2);
  EXPECT_EQ(settingsWindow.at("ComboBox1", 2), "Norsk");
  EXPECT_EQ(mainWindow.at("Storebtn"), "Lagre");
}

TEST_F(LanguageFill, NoSelectionChangesNothing) {
  languageNumber = 2;
  fill(2);
  const auto before = settingsWindow.captions;
  chooseLanguage(-1, languageNumber, table, mainWindow, settingsWindow, sessionActive);
  chooseLanguage(4, languageNumber, table, mainWindow, settingsWindow, sessionActive);
  EXPECT_EQ(languageNumber, 2);
  EXPECT_EQ(settingsWindow.captions, before);
  EXPECT_TRUE(settingsWindow.selected.empty());
}

TEST_F(LanguageFill, UnknownLanguageGivesEmptyTextsWithoutCrashing) {
  for (int language : {0, -1, -7, 5, 1000}) {
    fill(1);
    fill(language);
    EXPECT_EQ(mainWindow.at("Storebtn"), "") << language;
    EXPECT_EQ(settingsWindow.at("ComboBox1", 0), "") << language;
    // Never the index column.
    EXPECT_EQ(table.LangText[7], "") << language;
    EXPECT_EQ(settingsWindow.at("Label3"), "146 # 0") << language;
  }
}

TEST(FillLangText, EntriesPastTheTableKeepTheirContents) {
  TextTable table;
  table.LangText[kLanguageTableLines] = "kept";
  table.LangText[kLangTextSize - 1] = "kept too";
  table.LangText[kLanguageTableLines - 1] = "overwritten";
  fillLangText(table, 1);
  EXPECT_EQ(table.LangText[kLanguageTableLines], "kept");
  EXPECT_EQ(table.LangText[kLangTextSize - 1], "kept too");
  EXPECT_EQ(table.LangText[kLanguageTableLines - 1], "");
}

TEST(FillLangText, FewerFieldsGiveEmptyTexts) {
  TextTable table;
  table.LangText[1] = table.LangText[2] = "old";
  const std::vector<std::string_view> lines{"0,,Zero,Null", "1,,One", "2"};
  fillLangText(table, 2, lines);
  EXPECT_EQ(table.LangText[0], "Null");
  EXPECT_EQ(table.LangText[1], "");
  EXPECT_EQ(table.LangText[2], "");
  fillLangText(table, 1, lines);
  EXPECT_EQ(table.LangText[1], "One");
}

TEST(FillLangText, ATableLongerThanTheTextTableStopsAtItsEnd) {
  TextTable table;
  std::vector<std::string> text(kLangTextSize + 20, "i,,x");
  const std::vector<std::string_view> lines(text.begin(), text.end());
  fillLangText(table, 1, lines);
  EXPECT_EQ(table.LangText[kLangTextSize - 1], "x");
}

}  // namespace
