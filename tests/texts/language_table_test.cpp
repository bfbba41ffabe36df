#include "texts/language_table.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "texts/delimited_text.h"
#include "texts/text_table.h"

namespace {

using Fields = std::vector<std::string>;

TEST(LanguageTable, HasItsFixedLineCount) {
  EXPECT_EQ(languageTableLines().size(), static_cast<size_t>(kLanguageTableLines));
  EXPECT_LE(kLanguageTableLines, kLangTextSize);
}

// The index column is not read, but it must match the line's position: a
// line lost or added while editing the table would shift every text after it.
TEST(LanguageTable, IndexColumnMatchesPosition) {
  const auto& lines = languageTableLines();
  for (size_t i = 0; i < lines.size(); ++i) {
    const Fields fields = splitDelimitedText(lines[i]);
    ASSERT_FALSE(fields.empty()) << "line " << i;
    EXPECT_EQ(fields[0], std::to_string(i)) << "line " << i;
  }
}

TEST(LanguageTable, UsedLinesHaveAllLanguages) {
  const auto& lines = languageTableLines();
  for (int i = 2; i <= 67; ++i) {
    if (i == 28 || (i >= 33 && i <= 36) || (i >= 42 && i <= 47)) continue;
    const Fields fields = splitDelimitedText(lines[i]);
    ASSERT_EQ(fields.size(), 6u) << "line " << i;
    EXPECT_TRUE(fields[1].empty()) << "line " << i;
    for (int f = 2; f < 6; ++f) EXPECT_FALSE(fields[f].empty()) << "line " << i << " field " << f + 1;
  }
}

TEST(LanguageTable, Row27KeepsItsUnbalancedQuote) {
  EXPECT_EQ(splitDelimitedText(languageTableLines()[27]),
            (Fields{"27", "", "Sea Bass", "Barri\"", "Torsk", "Sea Bass"}));
}

TEST(LanguageTable, BlanksInsideTextsAreKept) {
  const auto& lines = languageTableLines();
  EXPECT_EQ(splitDelimitedText(lines[48])[2], "TOLU    Lumen/Norde counter  Version ");
  EXPECT_EQ(splitDelimitedText(lines[40])[5], "Intensidad de luz ");
  EXPECT_EQ(splitDelimitedText(lines[14])[2], "Sampling[10sec/5min]");
}

TEST(SplitTextLines, BreaksAtCrLfAndCrLf) {
  const std::vector<std::string_view> expected{"a", "b", "c", "", "d"};
  EXPECT_EQ(splitTextLines("a\nb\r\nc\r\rd\n"), expected);
  EXPECT_EQ(splitTextLines("a\nb\r\nc\r\rd"), expected);
  EXPECT_TRUE(splitTextLines("").empty());
  EXPECT_EQ(splitTextLines("\n"), std::vector<std::string_view>{""});
}

}  // namespace
