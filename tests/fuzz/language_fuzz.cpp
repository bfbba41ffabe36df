// Fuzz target: the language table's field parser, on single lines and on a
// whole table filled into the text table for every language number.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "texts/delimited_text.h"
#include "texts/language_table.h"
#include "texts/text_table.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> fields = splitDelimitedText(text);
  size_t bytes = 0;
  for (const std::string& f : fields) bytes += f.size();
  fuzz::check(bytes <= text.size(), "fields hold no more than the line");

  const std::vector<std::string_view> lines = splitTextLines(text);
  TextTable table;
  for (int language = 0; language <= kLanguageCount + 1; ++language) fillLangText(table, language, lines);
  return 0;
}
