#include "settings/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; 0xA0..0xFF equal
// their Latin-1 code points.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Length of the UTF-8 sequence that starts at `lead`, 0 for a byte that
// cannot start one.
size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Length of the well-formed UTF-8 sequence at bytes[i] (no overlong forms,
// no surrogates, nothing above U+10FFFF); 0 when there is none.
size_t validSequenceAt(std::string_view bytes, size_t i) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  const size_t len = sequenceLength(lead);
  if (len == 0 || i + len > bytes.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return 0;
  }
  if (len >= 3) {
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    if (lead == 0xE0 && second < 0xA0) return 0;  // overlong
    if (lead == 0xED && second > 0x9F) return 0;  // surrogate
    if (lead == 0xF0 && second < 0x90) return 0;  // overlong
    if (lead == 0xF4 && second > 0x8F) return 0;  // above U+10FFFF
  }
  return len;
}

std::string decodeUtf16(std::string_view bytes, bool littleEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unitAt = [&](size_t i) -> char16_t {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char16_t>(littleEndian ? (b0 | (b1 << 8)) : ((b0 << 8) | b1));
  };
  const size_t units = bytes.size() / 2;  // a dangling odd byte is dropped
  for (size_t u = 0; u < units; ++u) {
    const char16_t unit = unitAt(2 * u);
    if (unit >= 0xD800 && unit <= 0xDBFF && u + 1 < units) {
      const char16_t low = unitAt(2 * (u + 1));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        appendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
        ++u;
        continue;
      }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) {
      appendUtf8(out, 0xFFFD);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

// Where `c` next occurs in `text` at or after `from`; npos when it does not.
size_t findFrom(std::string_view text, char c, size_t from) {
  const void* at = std::memchr(text.data() + from, c, text.size() - from);
  return at == nullptr ? std::string_view::npos : static_cast<size_t>(static_cast<const char*>(at) - text.data());
}

// Appends the lines of `text` to `out`. With `decodeEach`, each line is
// taken to UTF-8 on its own (appendLineAsUtf8); else it is UTF-8 already.
void splitLines(std::string_view text, bool decodeEach, TextLines& out) {
  // The next CR and the next LF are each looked for again only once passed,
  // so a file of one kind of line end is still read in one pass.
  size_t cr = findFrom(text, '\r', 0);
  size_t lf = findFrom(text, '\n', 0);
  size_t start = 0;
  while (start <= text.size()) {
    if (cr < start) cr = findFrom(text, '\r', start);
    if (lf < start) lf = findFrom(text, '\n', start);
    size_t end = std::min(cr, lf);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (const size_t nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
    if (!(last && start == text.size())) {  // no empty line after the last line end
      const size_t at = out.text.size();
      if (decodeEach) {
        appendLineAsUtf8(out.text, line);
      } else {
        out.text.append(line);
      }
      out.lines.push_back({at, out.text.size() - at});
    }
    if (last) break;
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    // Runs of ASCII, most of these files, eight bytes at a time.
    constexpr uint64_t kHighBits = 0x8080808080808080ULL;
    uint64_t word;
    for (; i + sizeof word <= bytes.size(); i += sizeof word) {
      std::memcpy(&word, bytes.data() + i, sizeof word);
      if ((word & kHighBits) != 0) break;
    }
    if (i == bytes.size()) break;
    const size_t len = validSequenceAt(bytes, i);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string printableName(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const size_t len = validSequenceAt(bytes, i);
    if (len == 0) {
      appendUtf8(out, 0xFFFD);
      ++i;
    } else {
      out.append(bytes.substr(i, len));
      i += len;
    }
  }
  return out;
}

std::string cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else if (b < 0xA0) {
      appendUtf8(out, kCp1252High[b - 0x80]);
    } else {
      appendUtf8(out, b);
    }
  }
  return out;
}

void appendLineAsUtf8(std::string& out, std::string_view bytes) {
  if (isValidUtf8(bytes)) {
    out.append(bytes);
  } else {
    out += cp1252ToUtf8(bytes);
  }
}

// How the encodings are told apart, and what the odd cases mean:
//
//   - FF FE or FE FF first: UTF-16 (LE or BE); EF BB BF first: UTF-8 with a
//     mark; anything else: 8-bit text, each line UTF-8 or Windows-1252.
//   - Every byte-order mark at the start of the file is a mark, not text: a
//     second or third one (a file saved "as Unicode" twice over, FF FE FF FE,
//     or EF BB BF EF BB BF) is dropped like the first. The writer
//     (IniFile::serialize) writes UTF-8 without a mark, and a U+FEFF it wrote
//     at the start of the text would read back as a mark, so keeping one as
//     text would turn a first line "\uFEFF[Eka]", which is no section, into
//     the section [Eka] after one save.
//   - UTF-16 of an odd number of bytes: the last byte is half a code unit and
//     is dropped (the writer never writes UTF-16, so nothing of it comes back).
TextLines decodeTextLines(std::string_view bytes) {
  // Room for lines of this length or longer from the start; shorter ones
  // grow the list as usual.
  constexpr size_t kTypicalLineBytes = 16;
  TextLines lines;
  if (bytes.empty()) return lines;
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  auto dropMarks = [&](std::string_view& text) {
    while (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  };
  if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
    const std::string text = decodeUtf16(bytes.substr(2), bytes[0] == '\xFF');
    std::string_view view = text;
    dropMarks(view);  // U+FEFF decoded: the marks after the first
    lines.text.reserve(view.size());
    lines.lines.reserve(view.size() / kTypicalLineBytes + 1);
    splitLines(view, false, lines);
  } else {
    dropMarks(bytes);
    lines.text.reserve(bytes.size());
    lines.lines.reserve(bytes.size() / kTypicalLineBytes + 1);
    splitLines(bytes, true, lines);
  }
  return lines;
}

size_t utf8Length(std::string_view text) {
  size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string utf8Prefix(std::string_view text, size_t count) {
  size_t seen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (seen == count) return std::string(text.substr(0, i));
      ++seen;
    }
  }
  return std::string(text);
}
