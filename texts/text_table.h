// The shared text table `LangText`: the windows' translated captions and
// messages, filled from the language table (language_table.h) for the chosen
// language and read by fixed index.
#ifndef TINDAVEL_TEXTS_TEXT_TABLE_H_
#define TINDAVEL_TEXTS_TEXT_TABLE_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kLangTextSize = 301;  // LangText[0..300]
inline constexpr int kLanguageCount = 4;   // 1 English, 2 Icelandic, 3 Norwegian, 4 Spanish

struct TextTable {
  std::array<std::string, kLangTextSize> LangText;  // UTF-8; empty until the first fill
};

// Fills `table` from the given language table lines: entry i becomes field
// languageNumber + 2 (counted from 1) of line i, or the empty text when the
// line has fewer fields. Entries past the last line keep their contents;
// lines past index 300 are ignored.
//
// A languageNumber outside 1..4 fills every entry of the table's lines with
// the empty text: there is no such language, and the index column must never
// show up as captions.
void fillLangText(TextTable& table, int languageNumber, const std::vector<std::string_view>& lines);

// The same from the embedded language table.
void fillLangText(TextTable& table, int languageNumber);

#endif  // TINDAVEL_TEXTS_TEXT_TABLE_H_
