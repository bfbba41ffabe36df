#include "settings/settings_store.h"

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <system_error>

#include "settings/atomic_file.h"
#include "settings/regular_file.h"

namespace fs = std::filesystem;

std::string defaultStorePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  fs::path folder;
  if (config != nullptr && fs::path(config).is_absolute()) {
    folder = config;
  } else {
    const char* home = std::getenv("HOME");
    folder = fs::path(home != nullptr ? home : ".") / ".config";
  }
  return (folder / std::string(kStoreFileName)).string();
}

std::optional<int32_t> parseStoreInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    magnitude = magnitude * base + digit;
    if (magnitude > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) { reload(); }

void SettingsStore::setPath(std::string path) {
  path_ = std::move(path);
  reload();
}

bool SettingsStore::reload() {
  FileProblem problem = FileProblem::kMissing;
  std::optional<IniFile> doc = path_.empty() ? std::nullopt : IniFile::fromFile(path_, &problem);
  if (!doc && problem == FileProblem::kMissing) {
    document_ = IniFile();
    readable_ = true;
    return true;
  }
  readable_ = doc.has_value();
  document_ = doc ? std::move(*doc) : IniFile();
  return readable_;
}

std::optional<std::string> SettingsStore::readValue(std::string_view name) const {
  return document_.value(kStoreSection, name);
}

int32_t SettingsStore::readInteger(std::string_view name, int32_t defaultValue) const {
  const std::optional<std::string> text = readValue(name);
  if (!text) return defaultValue;
  return parseStoreInteger(*text).value_or(defaultValue);
}

bool SettingsStore::readBool(std::string_view name, bool defaultValue) const {
  return readInteger(name, defaultValue ? 1 : 0) != 0;
}

std::string SettingsStore::readString(std::string_view name, std::string_view defaultValue) const {
  return readValue(name).value_or(std::string(defaultValue));
}

bool SettingsStore::writeValues(const std::vector<StoreValue>& values) {
  if (!readOnly_) reload();
  for (const auto& [name, text] : values) document_.setValue(kStoreSection, name, text);
  if (readOnly_) return true;
  if (!readable_) return false;
  return saveAtomically(path_, document_.serialize());
}

bool SettingsStore::writeString(std::string_view name, std::string_view value) {
  return writeValues({{std::string(name), std::string(value)}});
}

bool SettingsStore::writeInteger(std::string_view name, int32_t value) {
  return writeString(name, std::to_string(value));
}

bool SettingsStore::writeBool(std::string_view name, bool value) { return writeString(name, value ? "1" : "0"); }
