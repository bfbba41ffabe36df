#include "settings/ini_document.h"

#include <cassert>

#include "settings/ini_file.h"
#include "settings/ini_line.h"
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

IniDocument IniDocument::fromBytes(std::string_view bytes) {
  IniDocument doc;
  doc.sections_.emplace_back();
  bool repeated = false;  // inside a repeated section, whose keys readers never see
  for (std::string& line : decodeTextLines(bytes)) {
    const IniLine parsed = parseIniLine(line);
    if (parsed.kind == IniLine::Kind::kSection) {
      const std::string folded = foldIniName(parsed.name);
      repeated = doc.sectionIndex_.count(folded) != 0;
      if (!repeated) doc.sectionIndex_.emplace(folded, doc.sections_.size());
      doc.sections_.emplace_back();
      doc.sections_.back().header = std::move(line);
      continue;
    }
    const bool isKey = parsed.kind == IniLine::Kind::kValue && !repeated && doc.sections_.size() > 1;
    std::string foldedKey = isKey ? foldIniName(parsed.name) : std::string();
    doc.addLine(doc.sections_.back(), std::move(line), std::move(foldedKey));
  }
  return doc;
}

std::optional<IniDocument> IniDocument::fromFile(const std::string& path) {
  const std::optional<std::string> bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  return fromBytes(*bytes);
}

void IniDocument::addLine(Section& section, std::string text, std::string foldedKey) {
  const bool isKey = !foldedKey.empty();
  if (isKey) {
    section.keyIndex.emplace(foldedKey, section.lines.size());  // the first line of a key wins
    section.lastValueLine = section.lines.size();
  }
  section.lines.push_back(Line{std::move(text), std::move(foldedKey)});
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
  const auto it = sectionIndex_.find(foldIniName(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section* IniDocument::findSection(std::string_view name) {
  const auto it = sectionIndex_.find(foldIniName(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (s == nullptr) return std::nullopt;
  const auto it = s->keyIndex.find(foldIniName(key));
  if (it == s->keyIndex.end()) return std::nullopt;
  const IniLine parsed = parseIniLine(s->lines[it->second].text);
  return iniValueText(parsed.rawValue);
}

bool IniDocument::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
  assert(!trimIniBlanks(section).empty() && !trimIniBlanks(key).empty());
  const std::string sectionName = safeName(section, "]");
  const std::string keyName = safeName(key, "=");
  if (sectionName.empty() || keyName.empty()) return;
  if (sections_.empty()) sections_.emplace_back();
  std::string line = keyName + "=" + iniQuoteValue(value);

  Section* s = findSection(sectionName);
  if (s == nullptr) {
    sectionIndex_.emplace(foldIniName(sectionName), sections_.size());
    sections_.emplace_back();
    s = &sections_.back();
    s->header = "[" + sectionName + "]";
  }
  const auto it = s->keyIndex.find(foldIniName(keyName));
  if (it != s->keyIndex.end()) {
    s->lines[it->second].text = std::move(line);
    return;
  }
  if (s->lastValueLine == kNone) {
    // Right after the header, ahead of any comments or blank lines that lead
    // into the next section. Nothing after it is a value line, so no index moves.
    s->lines.insert(s->lines.begin(), Line{std::move(line), foldIniName(keyName)});
    s->keyIndex.emplace(foldIniName(keyName), 0);
    s->lastValueLine = 0;
    return;
  }
  const size_t at = s->lastValueLine + 1;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(line), foldIniName(keyName)});
  s->keyIndex.emplace(foldIniName(keyName), at);
  s->lastValueLine = at;
}

std::string IniDocument::serialize() const {
  std::string out;
  for (const Section& s : sections_) {
    if (!s.header.empty()) out.append(s.header).append(kLineEnd);
    for (const Line& line : s.lines) out.append(line.text).append(kLineEnd);
  }
  return out;
}
