#include "settings/ini_file.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <filesystem>

#include "settings/ini_line.h"
#include "settings/text_encoding.h"

std::optional<std::string> readFileBytes(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

IniFile IniFile::fromBytes(std::string_view bytes) {
  IniFile file;
  // Values of a repeated section are not searched: -1 skips them.
  size_t current = static_cast<size_t>(-1);
  for (const std::string& line : decodeTextLines(bytes)) {
    const IniLine parsed = parseIniLine(line);
    if (parsed.kind == IniLine::Kind::kSection) {
      const std::string folded = foldIniName(parsed.name);
      if (file.sectionIndex_.count(folded) != 0) {
        current = static_cast<size_t>(-1);
        continue;
      }
      current = file.sections_.size();
      file.sectionIndex_.emplace(folded, current);
      file.sections_.push_back(Section{std::string(parsed.name), {}, {}});
    } else if (parsed.kind == IniLine::Kind::kValue && current != static_cast<size_t>(-1)) {
      Section& section = file.sections_[current];
      const auto [it, added] = section.values.emplace(foldIniName(parsed.name), iniValueText(parsed.rawValue));
      if (added) section.keyOrder.emplace_back(parsed.name);
    }
  }
  return file;
}

std::optional<IniFile> IniFile::fromFile(const std::string& path) {
  const std::optional<std::string> bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  return fromBytes(*bytes);
}

const IniFile::Section* IniFile::findSection(std::string_view section) const {
  const auto it = sectionIndex_.find(foldIniName(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const Section* found = findSection(section);
  if (found == nullptr) return std::nullopt;
  const auto it = found->values.find(foldIniName(key));
  if (it == found->values.end()) return std::nullopt;
  return it->second;
}

bool IniFile::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::vector<std::string> IniFile::sectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  const Section* found = findSection(section);
  return found == nullptr ? std::vector<std::string>{} : found->keyOrder;
}
