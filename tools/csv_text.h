// CSV fields and rows for the commands' spreadsheet output (RFC 4180: fields
// separated by commas, rows ended by CR LF, a field quoted when it needs it).
#ifndef TINDAVEL_TOOLS_CSV_TEXT_H_
#define TINDAVEL_TOOLS_CSV_TEXT_H_

#include <string>
#include <vector>

#include "settings/text_encoding.h"

// `text` as one CSV field: in double quotes, with every quote doubled, when it
// holds a comma, a quote, a CR or an LF. A field that starts or ends with a
// blank is quoted too: the blank belongs to the value (" 1 gr"), and some
// spreadsheets drop blanks from unquoted fields. Bytes that are not UTF-8 (a
// file name from an older system) become U+FFFD, so the file stays UTF-8.
inline std::string csvField(const std::string& raw) {
  std::string text = isValidUtf8(raw) ? raw : printableName(raw);
  const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

// One CSV row: the fields joined by commas, ended by CR LF.
inline std::string csvRow(const std::vector<std::string>& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += csvField(fields[i]);
  }
  return out + "\r\n";
}

#endif  // TINDAVEL_TOOLS_CSV_TEXT_H_
