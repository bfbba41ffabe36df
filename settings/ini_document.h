// An INI file kept line by line for rewriting: the settings store rewrites
// the values it owns and keeps every other line (unknown names, channels
// above the number in use, comments) as it was; report-file writers build
// whole files with it.
//
// Reading follows IniFile's rules (ini_file.h). setValue matches names
// without regard to case, like the reader: it replaces the line of the first
// matching key of the first matching section, or appends the key to that
// section, or appends a new section at the end. New sections and keys thus
// come out in insertion order.
//
// serialize() writes UTF-8 (lines read as Windows-1252 or UTF-16 are
// converted) with CRLF line ends, the form Windows' own tools expect of these
// files; the readers here accept either.
#ifndef TINDAVEL_SETTINGS_INI_DOCUMENT_H_
#define TINDAVEL_SETTINGS_INI_DOCUMENT_H_

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
 public:
  IniDocument() = default;

  static IniDocument fromBytes(std::string_view bytes);
  // nullopt when the file cannot be read; a file that does not exist is
  // reported as such by the caller's own check, not here.
  static std::optional<IniDocument> fromFile(const std::string& path);

  // Same answers as IniFile::value on the serialized document.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  bool hasSection(std::string_view section) const;

  // Sets a value as "key=value" (quoted where a reader would otherwise trim
  // or unquote it; line ends in the value become blanks). Section and key must
  // be non-empty; a key must not contain "=", a section not "]".
  void setValue(std::string_view section, std::string_view key, std::string_view value);

  std::string serialize() const;

 private:
  struct Line {
    std::string text;
    std::string foldedKey;  // empty unless a value line
  };
  struct Section {
    std::string header;  // the header line as it stands; empty for the lines before any section
    std::vector<Line> lines;
    std::unordered_map<std::string, size_t> keyIndex;  // folded key -> first line index
    size_t lastValueLine = static_cast<size_t>(-1);    // index of the last value line
  };

  void addLine(Section& section, std::string text, std::string foldedKey);
  const Section* findSection(std::string_view name) const;
  Section* findSection(std::string_view name);

  std::vector<Section> sections_;  // sections_[0] holds the lines before the first header
  std::unordered_map<std::string, size_t> sectionIndex_;  // folded name -> first section
};

#endif  // TINDAVEL_SETTINGS_INI_DOCUMENT_H_
