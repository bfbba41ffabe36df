#include "texts/language_table.h"

#include <cstddef>

// Generated from language_table.csv (see embed_file.cmake).
extern const unsigned char kLanguageTableBytes[];
extern const std::size_t kLanguageTableBytesSize;

std::string_view languageTableText() {
  return {reinterpret_cast<const char*>(kLanguageTableBytes), kLanguageTableBytesSize};
}

std::vector<std::string_view> splitTextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c != '\r' && c != '\n') {
      ++pos;
      continue;
    }
    lines.push_back(text.substr(begin, pos - begin));
    ++pos;
    if (c == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    begin = pos;
  }
  if (begin < text.size()) lines.push_back(text.substr(begin));
  return lines;
}

const std::vector<std::string_view>& languageTableLines() {
  // Split once; the views point into the embedded bytes, which never move.
  // Never destroyed, so no exit-time destructor runs for it.
  static const auto* lines = new std::vector<std::string_view>(splitTextLines(languageTableText()));
  return *lines;
}
