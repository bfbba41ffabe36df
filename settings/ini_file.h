// An INI file (settings store, report files), read with the rules of the
// Windows private-profile functions that wrote and read these files on the
// counter's PCs (line syntax in ini_line.h):
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
//
// The file is kept line by line, so it can also be rewritten: the settings
// store rewrites the values it owns and keeps every other line (unknown
// names, channels above the number in use, comments, repeated sections) as it
// was. setValue matches names without regard to case, like the reader: it
// replaces the line of the first matching key of the first matching section,
// or appends the key to that section after its last value line, or appends a
// new section at the end. New sections and keys thus come out in insertion
// order. Every answer is read from the lines themselves, so after any setValue
// it is the answer a fresh read of serialize() gives.
//
// serialize() writes UTF-8 without a byte-order mark (lines read as
// Windows-1252 or UTF-16 are converted) with CRLF line ends, the form
// Windows' own tools expect of these files; the reader accepts either. The
// reader drops every mark at the start of a file, so no text written here
// can begin with what would read back as one.
#ifndef TINDAVEL_SETTINGS_INI_FILE_H_
#define TINDAVEL_SETTINGS_INI_FILE_H_

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/ini_line.h"

enum class FileProblem;  // settings/regular_file.h

class IniFile {
 private:
  struct Section;

 public:
  // One section, found once for reading many of its keys. It stays valid
  // while the file is neither changed nor moved.
  class SectionView {
   public:
    bool exists() const { return section_ != nullptr; }
    // As IniFile::value for this section.
    std::optional<std::string> value(std::string_view key) const;

   private:
    friend class IniFile;
    SectionView(const IniFile* file, const Section* section) : file_(file), section_(section) {}
    const IniFile* file_;
    const Section* section_;
  };

  IniFile() = default;

  // Never throws on content; garbage lines are ignored (and kept).
  static IniFile fromBytes(std::string_view bytes);
  // nullopt when the file cannot be read (missing, a folder, no permission);
  // `problem`, where given, then says why.
  static std::optional<IniFile> fromFile(const std::string& path, FileProblem* problem = nullptr);

  // The value as the private-profile functions would give it, nullopt when
  // the section or key is absent.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  SectionView section(std::string_view name) const;
  bool hasSection(std::string_view section) const;
  std::vector<std::string> sectionNames() const;                  // file order, first spelling
  std::vector<std::string> keys(std::string_view section) const;  // file order, first spelling

  // Sets a value as "key=value" (quoted where a reader would otherwise trim
  // or unquote it; line ends in the value become blanks). Section and key must
  // be non-empty; a key must not contain "=", a section not "]".
  void setValue(std::string_view section, std::string_view key, std::string_view value);

  std::string serialize() const;

 private:
  // Section names looked up as given: the table hashes and compares them
  // folded, so it keeps a name as first spelled.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return iniNameHash(name); }
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return iniNamesEqual(a, b); }
  };
  using NameIndex = std::unordered_map<std::string, size_t, NameHash, NameEqual>;

  static constexpr size_t kNone = static_cast<size_t>(-1);

  // A line of the file: its text stands in text_, as read (in UTF-8) or as
  // setValue wrote it, without its line end. Places in it count from `at`.
  struct Line {
    size_t at = 0;
    size_t size = 0;
    size_t nameAt = 0;  // the section name of a header, the key of a value line
    size_t nameSize = 0;
    size_t valueAt = kNone;  // a value line that readers search: where the text after "=" starts
  };
  // A key of a section: the hash of its name and its first line.
  struct Key {
    size_t hash;
    size_t line;
  };
  // A section of a new name: its header and every line up to the next
  // section of a new name. The header and lines of a repeated section are
  // kept among these lines, never searched.
  struct Section {
    Line header;
    std::vector<Line> lines;
    std::vector<Key> keys;         // by hash; one per key name, with the first line of that name
    size_t lastValueLine = kNone;  // the last searched value line, if any
  };

  std::string_view textOf(const Line& line) const { return std::string_view(text_).substr(line.at, line.size); }
  std::string_view nameOf(const Line& line) const { return textOf(line).substr(line.nameAt, line.nameSize); }
  const Section* findSection(std::string_view name) const;
  Section* findSection(std::string_view name);
  // The first line of key `name` in `section`; kNone when it has none.
  size_t findKey(const Section& section, std::string_view name) const;
  // Builds section.keys from its searched value lines.
  void indexKeys(Section& section) const;

  std::string text_;               // the text of every line, back to back
  std::vector<Line> preamble_;     // the lines before the first section
  std::vector<Section> sections_;  // file order
  NameIndex sectionIndex_;         // name -> sections_ index
};

// Reads a whole regular file into memory; nullopt when it cannot be read
// (a folder, FIFO or device is not read at all), with the reason in
// `problem` where given.
std::optional<std::string> readFileBytes(const std::string& path, FileProblem* problem = nullptr);

#endif  // TINDAVEL_SETTINGS_INI_FILE_H_
