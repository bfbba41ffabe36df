#include "texts/delimited_text.h"

#include <cstddef>

namespace {

constexpr char kDelimiter = ',';
constexpr char kQuote = '"';

// Blanks and control characters: the bytes 1..32. Compared unsigned, so the
// bytes of UTF-8 letters (0x80 and above) never count as blanks.
bool isBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

// Reads a quoted field starting at the opening quote at line[pos]. Leaves pos
// just after the closing quote. A doubled quote inside stands for one.
// A quote that is never closed takes the rest of the line as the text.
std::string readQuoted(std::string_view line, std::size_t& pos) {
  std::string text;
  ++pos;  // the opening quote
  while (pos < line.size() && line[pos] != '\0') {
    if (line[pos] == kQuote) {
      if (pos + 1 < line.size() && line[pos + 1] == kQuote) {
        text.push_back(kQuote);
        pos += 2;
        continue;
      }
      ++pos;  // the closing quote
      return text;
    }
    text.push_back(line[pos]);
    ++pos;
  }
  return text;
}

}  // namespace

std::vector<std::string> splitDelimitedText(std::string_view line) {
  // A NUL byte ends the line, as it ended the toolkit's C string.
  if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) {
    line = line.substr(0, nul);
  }
  std::vector<std::string> fields;
  std::size_t pos = 0;
  const auto skipBlanks = [&] {
    while (pos < line.size() && isBlank(line[pos])) ++pos;
  };
  skipBlanks();
  while (pos < line.size()) {
    if (line[pos] == kQuote) {
      fields.push_back(readQuoted(line, pos));
    } else {
      const std::size_t begin = pos;
      while (pos < line.size() && !isBlank(line[pos]) && line[pos] != kDelimiter) ++pos;
      fields.emplace_back(line.substr(begin, pos - begin));
    }
    skipBlanks();
    if (pos < line.size() && line[pos] == kDelimiter) {
      // A comma that ends the line still opens one more, empty field.
      if (pos + 1 == line.size()) fields.emplace_back();
      ++pos;
      skipBlanks();
    }
  }
  return fields;
}
