// RFC 4180 read back independently of the commands' CSV writer, for the
// tests of their CSV output.
#ifndef TINDAVEL_TESTS_TOOLS_CSV_READER_H_
#define TINDAVEL_TESTS_TOOLS_CSV_READER_H_

#include <string>
#include <vector>

using Row = std::vector<std::string>;

// RFC 4180 read independently of the writer: quoted fields with doubled
// quotes, commas and line ends inside them; rows end with CR LF. A stray
// character after a closing quote or a row without its CR LF fails the read.
inline bool parseCsv(const std::string& text, std::vector<Row>& rows) {
  size_t i = 0;
  while (i < text.size()) {
    Row row;
    for (;;) {
      std::string field;
      if (i < text.size() && text[i] == '"') {
        for (++i;; ++i) {
          if (i >= text.size()) return false;
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              field += '"';
              ++i;
            } else {
              ++i;
              break;
            }
          } else {
            field += text[i];
          }
        }
      } else {
        while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n' && text[i] != '"') {
          field += text[i++];
        }
      }
      row.push_back(field);
      if (i < text.size() && text[i] == ',') {
        ++i;
        continue;
      }
      if (text.compare(i, 2, "\r\n") != 0) return false;
      i += 2;
      break;
    }
    rows.push_back(row);
  }
  return true;
}

#endif  // TINDAVEL_TESTS_TOOLS_CSV_READER_H_
