// The language table: the translated texts of the program, carried inside it.
//
// One text line per index, counted from 0. Each line holds six fields in the
// syntax of delimited_text.h:
//   1  the index written as text (not read; the line's position counts)
//   2  empty
//   3  English   4  Icelandic   5  Norwegian   6  Spanish
// Example, line 50:   50,,Store,Vista,Lagre,Almacenar
// Lines 2..67 hold the texts the windows use; the others keep their place
// with empty texts. The table is texts/language_table.csv, UTF-8, embedded
// into the library when it is built.
#ifndef TINDAVEL_TEXTS_LANGUAGE_TABLE_H_
#define TINDAVEL_TEXTS_LANGUAGE_TABLE_H_

#include <string_view>
#include <vector>

inline constexpr int kLanguageTableLines = 270;  // lines 0..269
inline constexpr int kFirstLanguageField = 3;    // field of language 1 (English), counted from 1

// The table's bytes as embedded. Valid for the whole run.
std::string_view languageTableText();

// Splits text into lines at CR, LF or CR LF, the way the toolkit split a text
// into a string list: a line break at the very end opens no further line.
// The views point into `text`.
std::vector<std::string_view> splitTextLines(std::string_view text);

// The embedded table, one view per line. Valid for the whole run.
const std::vector<std::string_view>& languageTableLines();

#endif  // TINDAVEL_TEXTS_LANGUAGE_TABLE_H_
