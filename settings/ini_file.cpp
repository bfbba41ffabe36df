#include "settings/ini_file.h"

#include <cassert>
#include <fstream>
#include <iterator>

#include "settings/ini_line.h"
#include "settings/regular_file.h"
#include "settings/text_encoding.h"

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);
constexpr std::string_view kLineEnd = "\r\n";

// Names are the program's own constants; this only keeps a bad one from
// breaking the file's syntax in a release build.
std::string safeName(std::string_view name, std::string_view forbidden) {
  std::string text(trimIniBlanks(name));
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\0' || forbidden.find(c) != std::string_view::npos) c = '_';
  }
  return text;
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path) {
  std::ifstream in;
  if (openRegularFile(path, in) != FileProblem::kNone) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

IniFile IniFile::fromBytes(std::string_view bytes) {
  IniFile file;
  bool repeated = false;  // inside a repeated section, whose keys readers never see
  for (std::string& line : decodeTextLines(bytes)) {
    // `parsed` views into `line`: everything is taken from it before the line moves.
    const IniLine parsed = parseIniLine(line);
    if (parsed.kind == IniLine::Kind::kSection) {
      std::string folded = foldIniName(parsed.name);
      repeated = file.sectionIndex_.count(folded) != 0;
      if (!repeated) {
        file.sectionIndex_.emplace(std::move(folded), file.sections_.size());
        file.sections_.push_back(Section{std::move(line), {}, {}, kNone});
        continue;
      }
      // A repeated header stays where it is, as a plain line of the section before.
    }
    if (file.sections_.empty()) {
      file.preamble_.push_back(std::move(line));
      continue;
    }
    Section& section = file.sections_.back();
    std::string foldedKey;
    if (parsed.kind == IniLine::Kind::kValue && !repeated) {
      foldedKey = foldIniName(parsed.name);
      section.keyIndex.emplace(foldedKey, section.lines.size());  // the first line of a key wins
      section.lastValueLine = section.lines.size();
    }
    section.lines.push_back(Line{std::move(line), std::move(foldedKey)});
  }
  return file;
}

std::optional<IniFile> IniFile::fromFile(const std::string& path) {
  const std::optional<std::string> bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  return fromBytes(*bytes);
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  const auto it = sectionIndex_.find(name);
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section* IniFile::findSection(std::string_view name) {
  const auto it = sectionIndex_.find(name);
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (s == nullptr) return std::nullopt;
  const auto it = s->keyIndex.find(key);
  if (it == s->keyIndex.end()) return std::nullopt;
  return iniValueText(parseIniLine(s->lines[it->second].text).rawValue);
}

bool IniFile::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::vector<std::string> IniFile::sectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& s : sections_) names.emplace_back(parseIniLine(s.header).name);
  return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::vector<std::string> names;
  const Section* s = findSection(section);
  if (s == nullptr) return names;
  names.reserve(s->keyIndex.size());
  for (size_t i = 0; i < s->lines.size(); ++i) {
    const Line& line = s->lines[i];
    if (line.foldedKey.empty() || s->keyIndex.at(line.foldedKey) != i) continue;
    names.emplace_back(parseIniLine(line.text).name);
  }
  return names;
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
  assert(!trimIniBlanks(section).empty() && !trimIniBlanks(key).empty());
  const std::string sectionName = safeName(section, "]");
  const std::string keyName = safeName(key, "=");
  if (sectionName.empty() || keyName.empty()) return;
  std::string line = keyName + "=" + iniQuoteValue(value);

  Section* s = findSection(sectionName);
  if (s == nullptr) {
    sectionIndex_.emplace(foldIniName(sectionName), sections_.size());
    s = &sections_.emplace_back(Section{"[" + sectionName + "]", {}, {}, kNone});
  }
  std::string foldedKey = foldIniName(keyName);
  const auto it = s->keyIndex.find(foldedKey);
  if (it != s->keyIndex.end()) {
    s->lines[it->second].text = std::move(line);
    return;
  }
  // After the last value line; with none, right after the header, ahead of
  // any comments or blank lines that lead into the next section. No searched
  // value line follows that place, so no index moves.
  const size_t at = s->lastValueLine == kNone ? 0 : s->lastValueLine + 1;
  s->keyIndex.emplace(foldedKey, at);
  s->lastValueLine = at;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(line), std::move(foldedKey)});
}

std::string IniFile::serialize() const {
  std::string out;
  for (const std::string& line : preamble_) out.append(line).append(kLineEnd);
  for (const Section& s : sections_) {
    out.append(s.header).append(kLineEnd);
    for (const Line& line : s.lines) out.append(line.text).append(kLineEnd);
  }
  return out;
}
