// Decoding of the 8-bit and 16-bit text that INI files written on Windows
// carry, into UTF-8.
//
// Files written by the Windows private-profile functions are in the ANSI code
// page of the machine (Windows-1252 for the languages this program speaks), or
// UTF-16LE with a byte-order mark; files written by this program are UTF-8.
// The standard library has no Windows-1252 codec and its UTF-8 conversion
// facets are deprecated, and these readers must not pull Qt in, so the small
// table and the UTF-8 check are written here.
#ifndef TINDAVEL_SETTINGS_TEXT_ENCODING_H_
#define TINDAVEL_SETTINGS_TEXT_ENCODING_H_

#include <string>
#include <string_view>
#include <vector>

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same number, as
// Windows' own conversion does.
std::string cp1252ToUtf8(std::string_view bytes);

// Appends one line of 8-bit text to `out` as UTF-8: as it is when it is
// valid UTF-8, else read as Windows-1252.
void appendLineAsUtf8(std::string& out, std::string_view bytes);

// Lines of text kept back to back in one string: line i is
// text.substr(lines[i].at, lines[i].size).
struct TextLines {
  struct Span {
    size_t at;
    size_t size;
  };
  std::string text;
  std::vector<Span> lines;
};

// Splits a whole file into lines of UTF-8 text without their line ends. Lines
// end in LF, CRLF or a lone CR. A UTF-8 byte-order mark is dropped; a UTF-16LE
// or UTF-16BE mark makes the file decode as UTF-16 (bad surrogates become
// U+FFFD, an odd last byte is dropped). Further marks right after the first
// are dropped too (the rule is beside decodeTextLines). Otherwise each line is decoded on its own by appendLineAsUtf8, so one
// line typed in another editor does not spoil the rest. A NUL ends a line's
// text, as it ends a C string for the Windows functions.
TextLines decodeTextLines(std::string_view bytes);

// A file name as messages show it: `bytes` as they are where they are valid
// UTF-8, each byte that is not replaced by U+FFFD. (Names are bytes on the
// systems this runs on; what is printed about them stays valid UTF-8.)
std::string printableName(std::string_view bytes);

// Number of code points in a UTF-8 string, and its first `count` code points.
size_t utf8Length(std::string_view text);
std::string utf8Prefix(std::string_view text, size_t count);

#endif  // TINDAVEL_SETTINGS_TEXT_ENCODING_H_
