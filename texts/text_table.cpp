#include "texts/text_table.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "texts/delimited_text.h"
#include "texts/language_table.h"

void fillLangText(TextTable& table, int languageNumber, const std::vector<std::string_view>& lines) {
  const bool knownLanguage = languageNumber >= 1 && languageNumber <= kLanguageCount;
  // Field languageNumber + 2 counted from 1, here counted from 0.
  const auto field = static_cast<std::size_t>(kFirstLanguageField - 1 + languageNumber - 1);
  const std::size_t lineCount = std::min(lines.size(), table.LangText.size());
  for (std::size_t i = 0; i < lineCount; ++i) {
    std::string& entry = table.LangText[i];
    entry.clear();
    if (!knownLanguage) continue;
    std::vector<std::string> fields = splitDelimitedText(lines[i]);
    if (field < fields.size()) entry = std::move(fields[field]);
  }
}

void fillLangText(TextTable& table, int languageNumber) {
  fillLangText(table, languageNumber, languageTableLines());
}
