// Whole numbers in the command line's words.
#ifndef TINDAVEL_TOOLS_CLI_NUMBERS_H_
#define TINDAVEL_TOOLS_CLI_NUMBERS_H_

#include <cstdint>
#include <optional>
#include <string>

// A number of 1 or more written with at most `maxDigits` digits (no sign, no
// blanks); nothing for any other text. maxDigits of 9 or fewer cannot overflow.
inline std::optional<int32_t> parsePositive(const std::string& text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits || maxDigits > 9) return std::nullopt;
  int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1) return std::nullopt;
  return value;
}

#endif  // TINDAVEL_TOOLS_CLI_NUMBERS_H_
