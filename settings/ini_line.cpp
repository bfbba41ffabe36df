#include "settings/ini_line.h"

#include <array>
#include <cstdint>

#include "settings/text_encoding.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// ASCII lower case by table: names are hashed and compared a character at a
// time on every look-up, and a table does it without a branch.
constexpr std::array<unsigned char, 256> kFoldTable = [] {
  std::array<unsigned char, 256> table{};
  for (size_t i = 0; i < table.size(); ++i) {
    table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i - 'A' + 'a' : i);
  }
  return table;
}();

char foldChar(char c) { return static_cast<char>(kFoldTable[static_cast<unsigned char>(c)]); }

bool isQuote(char c) { return c == '"' || c == '\''; }

}  // namespace

std::string_view trimIniBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

IniLine parseIniLine(std::string_view line) {
  IniLine result;
  const std::string_view text = trimIniBlanks(line);
  if (text.empty() || text.front() == ';') return result;
  if (text.front() == '[') {
    const size_t close = text.find(']');
    if (close == std::string_view::npos) return result;  // a broken header is junk
    result.kind = IniLine::Kind::kSection;
    result.name = trimIniBlanks(text.substr(1, close - 1));
    return result;
  }
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos) return result;
  const std::string_view key = trimIniBlanks(text.substr(0, eq));
  if (key.empty()) return result;
  result.kind = IniLine::Kind::kValue;
  result.name = key;
  // From the original line, not the trimmed one, so the writer could keep it.
  const size_t lineEq = line.find('=');
  result.rawValue = line.substr(lineEq + 1);
  return result;
}

std::string iniValueText(std::string_view rawValue) {
  std::string_view value = trimIniBlanks(rawValue);
  if (value.size() >= 2 && isQuote(value.front()) && value.front() == value.back()) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.size() > kMaxIniValueChars) return utf8Prefix(value, kMaxIniValueChars);
  return std::string(value);
}

std::string iniQuoteValue(std::string_view value) {
  std::string text;
  appendIniQuotedValue(text, value);
  return text;
}

void appendIniQuotedValue(std::string& out, std::string_view value) {
  const size_t from = out.size();
  out.append(value);
  for (size_t i = from; i < out.size(); ++i) {
    if (out[i] == '\r' || out[i] == '\n' || out[i] == '\0') out[i] = ' ';
  }
  // Judged on the text as written, blanks for line ends included.
  const std::string_view text = std::string_view(out).substr(from);
  const bool trimmed = !text.empty() && (isBlank(text.front()) || isBlank(text.back()));
  const bool unquoted = text.size() >= 2 && isQuote(text.front()) && text.front() == text.back();
  if (trimmed || unquoted) {
    out.insert(from, 1, '"');
    out += '"';
  }
}

size_t iniNameHash(std::string_view name) {
  // FNV-1a over the folded bytes.
  uint64_t hash = 14695981039346656037ULL;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(foldChar(c));
    hash *= 1099511628211ULL;
  }
  return static_cast<size_t>(hash);
}

bool iniNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // mostly spelled alike
  for (size_t i = 0; i < a.size(); ++i) {
    if (foldChar(a[i]) != foldChar(b[i])) return false;
  }
  return true;
}
