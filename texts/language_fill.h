// Applying the chosen language: `uppfaeraTungumal` ("update the language",
// the operation of the language holder `Tmalatexti`) fills the text table and
// puts the translated captions on the main window and the settings window.
#ifndef TINDAVEL_TEXTS_LANGUAGE_FILL_H_
#define TINDAVEL_TEXTS_LANGUAGE_FILL_H_

#include <cstdint>
#include <string>

#include "texts/caption_target.h"
#include "texts/text_table.h"

// The program's version text: major digit, then two minor digits.
inline constexpr char kVersionText[] = "146";
// The same as the title shows it: "1.46".
inline std::string versionNumber() { return std::string(1, kVersionText[0]) + "." + std::string(kVersionText + 1, 2); }

// Text-table indexes read outside the caption fill.
inline constexpr int kVersionLineIndex = 48;     // first part of the settings window's `Label3`
inline constexpr int kNewSessionIndex = 49;      // main `Button4` while no session runs
inline constexpr int kEndSessionIndex = 66;      // main `Button4` while a session runs
inline constexpr int kSessionStatusIndex = 67;   // first part of the status text during a session

// The settings window's version line `Label3`: entry 48, then the version
// text, " # " and 0. English: "TOLU    Lumen/Norde counter  Version 146 # 0".
std::string versionLine(const TextTable& table);

// Fills `table` for `languageNumber` from the embedded language table
// (see fillLangText for a number outside 1..4), then sets every translated
// caption of both windows in index order. The main window's `Button4` reads
// "End counting session" while a counting session is active, else "New
// counting session", in the chosen language.
void uppfaeraTungumal(TextTable& table, int languageNumber, MainWindowCaptions& mainWindow,
                      SettingsWindowCaptions& settingsWindow, bool sessionActive);

// The settings window's language list `ComboBox1` changed to the 0-based
// `position`: `languageNumber` (the setting LanguageNumber) := position + 1, the texts are filled again
// (which replaces the list's items with the language names in the new
// language) and the list is re-selected at LanguageNumber - 1.
// A position outside 0..3 (no item selected) changes nothing.
void chooseLanguage(int position, int32_t& languageNumber, TextTable& table, MainWindowCaptions& mainWindow,
                    SettingsWindowCaptions& settingsWindow, bool sessionActive);

#endif  // TINDAVEL_TEXTS_LANGUAGE_FILL_H_
