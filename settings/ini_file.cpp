#include "settings/ini_file.h"

#include <cassert>
#include <fstream>

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
  // In blocks: a character at a time (istreambuf_iterator) costs a call for
  // every byte.
  std::string bytes;
  char block[8192];
  while (in.read(block, sizeof block) || in.gcount() > 0) bytes.append(block, static_cast<size_t>(in.gcount()));
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
      repeated = file.sectionIndex_.contains(parsed.name);
      if (!repeated) {
        file.sectionIndex_.emplace(std::string(parsed.name), file.sections_.size());
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
    size_t valueAt = kNotSearched;
    if (parsed.kind == IniLine::Kind::kValue && !repeated) {
      valueAt = static_cast<size_t>(parsed.rawValue.data() - line.data());
      section.keyIndex.emplace(std::string(parsed.name), section.lines.size());  // the first line of a key wins
      section.lastValueLine = section.lines.size();
    }
    section.lines.push_back(Line{std::move(line), valueAt});
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

std::optional<std::string> IniFile::SectionView::value(std::string_view key) const {
  if (section_ == nullptr) return std::nullopt;
  const auto it = section_->keyIndex.find(key);
  if (it == section_->keyIndex.end()) return std::nullopt;
  const Line& line = section_->lines[it->second];
  return iniValueText(std::string_view(line.text).substr(line.valueAt));
}

IniFile::SectionView IniFile::section(std::string_view name) const { return SectionView(findSection(name)); }

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  return this->section(section).value(key);
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
    if (line.valueAt == kNotSearched) continue;
    const std::string_view name = parseIniLine(line.text).name;
    if (s->keyIndex.find(name)->second == i) names.emplace_back(name);
  }
  return names;
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
  assert(!trimIniBlanks(section).empty() && !trimIniBlanks(key).empty());
  const std::string sectionName = safeName(section, "]");
  const std::string keyName = safeName(key, "=");
  if (sectionName.empty() || keyName.empty()) return;
  std::string line;
  line.reserve(keyName.size() + 1 + value.size() + 2);
  line.append(keyName).append(1, '=');
  const size_t valueAt = line.size();
  appendIniQuotedValue(line, value);

  Section* s = findSection(sectionName);
  if (s == nullptr) {
    sectionIndex_.emplace(sectionName, sections_.size());
    s = &sections_.emplace_back(Section{"[" + sectionName + "]", {}, {}, kNone});
  }
  const auto it = s->keyIndex.find(keyName);
  if (it != s->keyIndex.end()) {
    s->lines[it->second] = Line{std::move(line), valueAt};
    return;
  }
  // After the last value line; with none, right after the header, ahead of
  // any comments or blank lines that lead into the next section. No searched
  // value line follows that place, so no index moves.
  const size_t at = s->lastValueLine == kNone ? 0 : s->lastValueLine + 1;
  s->keyIndex.emplace(keyName, at);
  s->lastValueLine = at;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(line), valueAt});
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
