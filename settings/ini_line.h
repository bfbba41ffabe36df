// The line syntax of INI files, used by IniFile (ini_file.h) to read and
// rewrite them and by the report writer to quote values, with the rules of the
// Windows private-profile functions:
//
//   [Section]        a section header; the name is the text up to the first "]"
//   key=value        a value line; key and value are trimmed of blanks and tabs
//   ; comment        ignored, as are blank lines and lines without "="
//
// Names match without regard to case (ASCII folding: the names this program
// uses are ASCII). A value loses one pair of enclosing single or double quotes
// and is cut to its first kMaxIniValueChars characters.
#ifndef TINDAVEL_SETTINGS_INI_LINE_H_
#define TINDAVEL_SETTINGS_INI_LINE_H_

#include <cstddef>
#include <string>
#include <string_view>

// The private-profile functions hand out at most this many characters of a value.
inline constexpr size_t kMaxIniValueChars = 2047;

struct IniLine {
  enum class Kind { kOther, kSection, kValue };
  Kind kind = Kind::kOther;
  std::string_view name;      // section name or key, trimmed; views into the line
  std::string_view rawValue;  // text after the first "=", untouched
};

// Classifies one line (without its line end).
IniLine parseIniLine(std::string_view line);

// The value as a reader sees it: trimmed, unquoted, cut to kMaxIniValueChars.
std::string iniValueText(std::string_view rawValue);

// The text to write after "=" so that iniValueText gives `value` back: line
// ends and NULs become blanks (a value must not break its line), and values
// that a reader would trim or unquote are wrapped in double quotes.
std::string iniQuoteValue(std::string_view value);
// The same, appended to `out`.
void appendIniQuotedValue(std::string& out, std::string_view value);

// Whether two names are the same in ASCII lower case.
bool iniNamesEqual(std::string_view a, std::string_view b);
// A hash of a name that ignores its case as iniNamesEqual does, so that
// tables of names are searched by a name as it is given, with no folded copy.
size_t iniNameHash(std::string_view name);

// Blanks and tabs are what the private-profile functions trim.
std::string_view trimIniBlanks(std::string_view text);

#endif  // TINDAVEL_SETTINGS_INI_LINE_H_
