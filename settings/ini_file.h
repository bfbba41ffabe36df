// Read-only view of an INI file (settings store, report files), read with the
// rules of the Windows private-profile functions that wrote and read these
// files on the counter's PCs (line syntax in ini_line.h):
//
//   - section and key names match without regard to case;
//   - the first section of a name is the one that counts (later sections of
//     the same name are not searched), and in it the first line of a key wins;
//   - a value is trimmed of blanks, loses one pair of enclosing quotes and is
//     cut to 2047 characters;
//   - ";" lines are comments; lines before the first section, lines without
//     "=" and other junk are skipped without complaint;
//   - LF, CRLF or CR line ends; UTF-8, Windows-1252 (line by line) or UTF-16
//     with a byte-order mark. Values come out as UTF-8.
//
// QSettings is not fit for these files: it escapes "%" in key names (the
// store's "%width1" would become "%25width1"), treats "\" and ";" in values
// as its own syntax, and matches names with case on Linux.
//
// Example: the bytes "[Eka]\r\nReportpath = 'C:\\Reports\\'\r\n" give
// value("EKA", "reportpath") == "C:\Reports\".
#ifndef TINDAVEL_SETTINGS_INI_FILE_H_
#define TINDAVEL_SETTINGS_INI_FILE_H_

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniFile {
 public:
  IniFile() = default;

  // Never throws on content; garbage lines are ignored.
  static IniFile fromBytes(std::string_view bytes);
  // nullopt when the file cannot be read (missing, a folder, no permission).
  static std::optional<IniFile> fromFile(const std::string& path);

  // The value as the private-profile functions would give it, nullopt when
  // the section or key is absent.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  bool hasSection(std::string_view section) const;
  std::vector<std::string> sectionNames() const;                  // file order, first spelling
  std::vector<std::string> keys(std::string_view section) const;  // file order, first spelling

 private:
  struct Section {
    std::string name;
    std::vector<std::string> keyOrder;                     // first spelling of each key
    std::unordered_map<std::string, std::string> values;   // folded key -> value
  };

  const Section* findSection(std::string_view section) const;

  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // folded name -> sections_ index
};

// Reads a whole file into memory; nullopt when it cannot be read.
std::optional<std::string> readFileBytes(const std::string& path);

#endif  // TINDAVEL_SETTINGS_INI_FILE_H_
