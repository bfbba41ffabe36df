// The per-user settings store: the counter program kept its settings in the
// registry key "Eka Registry" of the current user, section "Eka"; here that
// key is one INI file, by default
//
//   ${XDG_CONFIG_HOME:-$HOME/.config}/Eka Registry.ini   section [Eka]
//
// Every value is text, as the registry values were: integers in decimal,
// booleans as "0" or "1". Names match without regard to case when reading and
// when replacing (the registry's rule), so the writer's "EnableMulti" replaces
// a stored "Enablemulti". Every write re-reads the file and rewrites only the
// values it is given, so unknown names and the channels above the number in
// use survive, and saves atomically.
#ifndef TINDAVEL_SETTINGS_SETTINGS_STORE_H_
#define TINDAVEL_SETTINGS_SETTINGS_STORE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/ini_file.h"

inline constexpr std::string_view kStoreSection = "Eka";
inline constexpr std::string_view kStoreFileName = "Eka Registry.ini";

// The store's file for this user: "$XDG_CONFIG_HOME/Eka Registry.ini" when
// XDG_CONFIG_HOME is an absolute path, else "$HOME/.config/Eka Registry.ini".
std::string defaultStorePath();

// Integer text as the original program's StrToIntDef took it: optional
// leading blanks, an optional sign, then decimal digits, or hexadecimal digits
// after "$" or "0x"; nothing may follow, and the number must fit 32 bits
// signed. Anything else is nullopt (and the reader's default applies).
std::optional<int32_t> parseStoreInteger(std::string_view text);

// One value as Write_Registry hands it over: name and text.
using StoreValue = std::pair<std::string, std::string>;

class SettingsStore {
 public:
  // A store on no file yet (the process-wide one until the main window opens
  // it): reads give defaults, writes fail.
  SettingsStore() = default;
  explicit SettingsStore(std::string path);

  const std::string& path() const { return path_; }
  // Opens the store on another file (and reads it).
  void setPath(std::string path);

  // A read-only store (the command line's) never touches its file: writes
  // change only the copy in memory and report success.
  void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool readOnly() const { return readOnly_; }

  // Reads the file again. A missing file is an empty store (true). A file
  // that exists but cannot be read is also read as empty, returns false, and
  // blocks every save until a later reload succeeds: saving then would throw
  // away values we could not see.
  bool reload();
  // False after a reload found the file unreadable.
  bool readable() const { return readable_; }

  // Reads from the copy taken by the last reload or write.
  std::optional<std::string> readValue(std::string_view name) const;
  int32_t readInteger(std::string_view name, int32_t defaultValue) const;
  // Read as an integer (default 0 or 1); any non-zero number is true.
  bool readBool(std::string_view name, bool defaultValue) const;
  std::string readString(std::string_view name, std::string_view defaultValue) const;

  // Re-read the file, set the values (in order), save once. False when the
  // file could not be read or saved; the copy in memory holds the values
  // either way.
  [[nodiscard]] bool writeValues(const std::vector<StoreValue>& values);
  [[nodiscard]] bool writeString(std::string_view name, std::string_view value);
  [[nodiscard]] bool writeInteger(std::string_view name, int32_t value);
  [[nodiscard]] bool writeBool(std::string_view name, bool value);

 private:
  std::string path_;
  IniFile document_;
  bool readable_ = true;
  bool readOnly_ = false;
};

#endif  // TINDAVEL_SETTINGS_SETTINGS_STORE_H_
