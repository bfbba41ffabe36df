#include "reports/report_values.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view text) {
  for (char c : text) {
    if (!isDigit(c)) return false;
  }
  return true;
}

// from_chars over the whole text, finite results only. from_chars would also
// take "inf", "nan" and hexadecimal forms; callers let only digits, one ".",
// a sign and an exponent through.
std::optional<double> parseWholeText(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);  // from_chars takes no "+"
  double value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A decimal number in the C form: [-+]digits[.digits][(e|E)[-+]digits], at
// least one digit before the exponent.
bool isPlainDecimal(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    size_t exponentDigits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == text.size();
}

}  // namespace

std::optional<int32_t> parseReportInteger(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const bool negative = text.front() == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() || !allDigits(digits)) return std::nullopt;
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int32_t> integerTextValue(const std::optional<std::string>& text) {
  if (!text) return 0;
  return parseReportInteger(*text);
}

std::optional<double> parseReportViewerFloat(std::string_view text, char decimalSeparator) {
  std::string normal(text);
  for (char& c : normal) {
    if (c == decimalSeparator) {
      c = '.';
    } else if (c == '.') {
      return std::nullopt;  // a "." that is not the system's separator
    }
  }
  if (!isPlainDecimal(normal)) return std::nullopt;
  return parseWholeText(normal);
}

std::optional<double> stringtofloat(std::string_view text) {
  if (text.empty()) return 0.0;
  size_t p = text.find('.');
  if (p == std::string_view::npos) p = text.find(',');
  if (p == std::string_view::npos) {
    if (!isPlainDecimal(text)) return std::nullopt;
    return parseWholeText(text);
  }
  std::string_view whole = text.substr(0, p);
  const std::string_view fraction = text.substr(p + 1);
  bool negative = false;
  if (!whole.empty() && (whole.front() == '-' || whole.front() == '+')) {
    negative = whole.front() == '-';
    whole.remove_prefix(1);
  }
  if (!allDigits(whole) || !allDigits(fraction)) return std::nullopt;
  if (whole.empty() && fraction.empty()) return std::nullopt;
  // whole + fraction / 10^digits is exactly the decimal number whole.fraction;
  // converting that text rounds once, where adding two doubles would round
  // twice and could miss the written value by one unit in the last place.
  std::string exact(negative ? "-" : "");
  exact += whole.empty() ? "0" : whole;
  exact += '.';
  exact += fraction.empty() ? "0" : fraction;
  return parseWholeText(exact);
}

std::string formatReportFloat(double value, char decimalSeparator) {
  // Fixed notation, shortest form that converts back to the same double.
  // The longest fixed text of a double is about 330 characters.
  char text[400];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  if (error != std::errc()) return "0";
  std::string result(text, end);
  for (char& c : result) {
    if (c == '.') c = decimalSeparator;
  }
  return result;
}
