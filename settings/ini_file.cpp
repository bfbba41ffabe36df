#include "settings/ini_file.h"

#include <algorithm>
#include <cassert>
#include <fstream>

#include "settings/ini_line.h"
#include "settings/regular_file.h"
#include "settings/text_encoding.h"

namespace {

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

std::optional<std::string> readFileBytes(const std::string& path, FileProblem* problem) {
  std::ifstream in;
  // Unbuffered: the file is read in one piece, straight into the string.
  in.rdbuf()->pubsetbuf(nullptr, 0);
  const FileProblem opened = openRegularFile(path, in);
  if (problem != nullptr) *problem = opened;
  if (opened != FileProblem::kNone) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size < 0) in.clear();  // no size to be had: read on to the end
  // One byte more than the size asks for the end of the file in the same
  // read; a file that grows meanwhile is read on to its new end.
  std::string bytes;
  size_t want = size > 0 ? static_cast<size_t>(size) + 1 : 4096;
  while (in) {
    const size_t have = bytes.size();
    bytes.resize(have + want);
    in.read(bytes.data() + have, static_cast<std::streamsize>(want));
    bytes.resize(have + static_cast<size_t>(in.gcount()));
    want = 4096;
  }
  if (in.bad()) {
    if (problem != nullptr) *problem = FileProblem::kUnreadable;
    return std::nullopt;
  }
  return bytes;
}

IniFile IniFile::fromBytes(std::string_view bytes) {
  IniFile file;
  TextLines decoded = decodeTextLines(bytes);
  file.text_ = std::move(decoded.text);
  // The lines of the section being read, moved into it whole when it ends,
  // so that no section's list grows a line at a time.
  std::vector<Line> lines;
  lines.reserve(decoded.lines.size());
  const auto endSection = [&] {
    if (file.sections_.empty()) return;
    Section& section = file.sections_.back();
    section.lines.assign(lines.begin(), lines.end());
    file.indexKeys(section);
    lines.clear();
  };
  bool repeated = false;  // inside a repeated section, whose keys readers never see
  for (const TextLines::Span& span : decoded.lines) {
    Line line{span.at, span.size};
    const std::string_view text = file.textOf(line);
    const IniLine parsed = parseIniLine(text);
    if (parsed.kind != IniLine::Kind::kOther) {
      line.nameAt = static_cast<size_t>(parsed.name.data() - text.data());
      line.nameSize = parsed.name.size();
    }
    if (parsed.kind == IniLine::Kind::kSection) {
      repeated = file.sectionIndex_.contains(parsed.name);
      if (!repeated) {
        endSection();
        file.sectionIndex_.emplace(std::string(parsed.name), file.sections_.size());
        file.sections_.push_back(Section{line, {}, {}, kNone});
        continue;
      }
      // A repeated header stays where it is, as a plain line of the section before.
    }
    if (file.sections_.empty()) {
      file.preamble_.push_back(line);
      continue;
    }
    if (parsed.kind == IniLine::Kind::kValue && !repeated) {
      line.valueAt = static_cast<size_t>(parsed.rawValue.data() - text.data());
      file.sections_.back().lastValueLine = lines.size();
    }
    lines.push_back(line);
  }
  endSection();
  return file;
}

void IniFile::indexKeys(Section& section) const {
  std::vector<Key>& keys = section.keys;
  size_t count = 0;
  for (const Line& line : section.lines) count += line.valueAt != kNone ? 1 : 0;
  keys.clear();
  keys.reserve(count);
  for (size_t i = 0; i < section.lines.size(); ++i) {
    if (section.lines[i].valueAt != kNone) keys.push_back({iniNameHash(nameOf(section.lines[i])), i});
  }
  std::sort(keys.begin(), keys.end(),
            [](const Key& a, const Key& b) { return a.hash != b.hash ? a.hash < b.hash : a.line < b.line; });
  // Of the lines of one name, the first is the key's: within a hash, a line
  // is kept unless a line before it (kept already) has its name.
  size_t kept = 0;
  size_t hashStart = 0;  // where the kept keys of the current hash begin
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i == 0 || keys[i].hash != keys[i - 1].hash) hashStart = kept;
    const std::string_view name = nameOf(section.lines[keys[i].line]);
    bool seen = false;
    for (size_t k = hashStart; k < kept && !seen; ++k) seen = iniNamesEqual(nameOf(section.lines[keys[k].line]), name);
    if (!seen) keys[kept++] = keys[i];
  }
  keys.resize(kept);
}

size_t IniFile::findKey(const Section& section, std::string_view name) const {
  const size_t hash = iniNameHash(name);
  auto it = std::lower_bound(section.keys.begin(), section.keys.end(), hash,
                             [](const Key& key, size_t h) { return key.hash < h; });
  for (; it != section.keys.end() && it->hash == hash; ++it) {
    if (iniNamesEqual(nameOf(section.lines[it->line]), name)) return it->line;
  }
  return kNone;
}

std::optional<IniFile> IniFile::fromFile(const std::string& path, FileProblem* problem) {
  const std::optional<std::string> bytes = readFileBytes(path, problem);
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
  const size_t i = file_->findKey(*section_, key);
  if (i == kNone) return std::nullopt;
  const Line& line = section_->lines[i];
  return iniValueText(file_->textOf(line).substr(line.valueAt));
}

IniFile::SectionView IniFile::section(std::string_view name) const { return SectionView(this, findSection(name)); }

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  return this->section(section).value(key);
}

bool IniFile::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::vector<std::string> IniFile::sectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& s : sections_) names.emplace_back(nameOf(s.header));
  return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::vector<std::string> names;
  const Section* s = findSection(section);
  if (s == nullptr) return names;
  names.reserve(s->keys.size());
  for (size_t i = 0; i < s->lines.size(); ++i) {
    const Line& line = s->lines[i];
    if (line.valueAt == kNone) continue;
    const std::string_view name = nameOf(line);
    if (findKey(*s, name) == i) names.emplace_back(name);
  }
  return names;
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
  assert(!trimIniBlanks(section).empty() && !trimIniBlanks(key).empty());
  const std::string sectionName = safeName(section, "]");
  const std::string keyName = safeName(key, "=");
  if (sectionName.empty() || keyName.empty()) return;

  Section* s = findSection(sectionName);
  if (s == nullptr) {
    sectionIndex_.emplace(sectionName, sections_.size());
    const size_t at = text_.size();
    text_.append(1, '[').append(sectionName).append(1, ']');
    s = &sections_.emplace_back(Section{Line{at, text_.size() - at, 1, sectionName.size()}, {}, {}, kNone});
  }
  // The new text goes at the end of text_; a line it replaces stays there unused.
  const size_t at = text_.size();
  text_.append(keyName).append(1, '=');
  appendIniQuotedValue(text_, value);
  const Line line{at, text_.size() - at, 0, keyName.size(), keyName.size() + 1};

  if (const size_t existing = findKey(*s, keyName); existing != kNone) {
    s->lines[existing] = line;
    return;
  }
  // After the last value line; with none, right after the header, ahead of
  // any comments or blank lines that lead into the next section. No searched
  // value line follows that place, so no key's line moves.
  const size_t place = s->lastValueLine == kNone ? 0 : s->lastValueLine + 1;
  const size_t hash = iniNameHash(keyName);
  const auto keyAt = std::upper_bound(s->keys.begin(), s->keys.end(), hash,
                                      [](size_t h, const Key& k) { return h < k.hash; });
  s->keys.insert(keyAt, Key{hash, place});
  s->lastValueLine = place;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(place), line);
}

std::string IniFile::serialize() const {
  std::string out;
  size_t lines = preamble_.size() + sections_.size();
  for (const Section& s : sections_) lines += s.lines.size();
  out.reserve(text_.size() + lines * kLineEnd.size());
  for (const Line& line : preamble_) out.append(textOf(line)).append(kLineEnd);
  for (const Section& s : sections_) {
    out.append(textOf(s.header)).append(kLineEnd);
    for (const Line& line : s.lines) out.append(textOf(line)).append(kLineEnd);
  }
  return out;
}
