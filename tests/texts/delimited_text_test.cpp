#include "texts/delimited_text.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Fields = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string line;
  Fields fields;
};

class SplitDelimitedText : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitDelimitedText, GivesTheFields) {
  EXPECT_EQ(splitDelimitedText(GetParam().line), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitDelimitedText,
    ::testing::Values(
        SplitCase{"plain", "7,,Settings,Stillingar", {"7", "", "Settings", "Stillingar"}},
        SplitCase{"quotedBlanks", "9,,\"Multi Channels\",x", {"9", "", "Multi Channels", "x"}},
        SplitCase{"quotedKeepsOuterBlanks", "\"  a b \"", {"  a b "}},
        SplitCase{"doubledQuote", "1,\"say \"\"hi\"\"\",x", {"1", "say \"hi\"", "x"}},
        SplitCase{"onlyDoubledQuote", "\"\"\"\"", {"\""}},
        SplitCase{"emptyQuoted", "\"\",a", {"", "a"}},
        SplitCase{"unquotedBlankSeparates", "a b,c", {"a", "b", "c"}},
        SplitCase{"blanksAroundComma", "  a  ,  b  ", {"a", "b"}},
        SplitCase{"tabIsBlank", "a\tb", {"a", "b"}},
        SplitCase{"controlCharSeparates", "a\x01" "b", {"a", "b"}},
        SplitCase{"quoteInsideUnquoted", "Barri\",Torsk", {"Barri\"", "Torsk"}},
        SplitCase{"textAfterClosingQuote", "\"ab\"cd,e", {"ab", "cd", "e"}},
        SplitCase{"trailingComma", "a,", {"a", ""}},
        SplitCase{"trailingCommaThenBlank", "a, ", {"a"}},
        SplitCase{"onlyCommas", ",,", {"", "", ""}},
        SplitCase{"unterminatedQuoteTakesRest", "a,\"b c", {"a", "b c"}},
        SplitCase{"nulEndsLine", std::string("a,b\0c,d", 7), {"a", "b"}},
        SplitCase{"utf8Letters", "\xC3\x9Ej\xC3\xB3\xC3\xB0,\xC3\xA6", {"\xC3\x9Ej\xC3\xB3\xC3\xB0", "\xC3\xA6"}},
        SplitCase{"empty", "", {}},
        SplitCase{"blanksOnly", " \t ", {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
