// JSON string literals for the commands' machine-readable output.
#ifndef TINDAVEL_TOOLS_JSON_TEXT_H_
#define TINDAVEL_TOOLS_JSON_TEXT_H_

#include <cstdio>
#include <string>
#include <vector>

#include "records/damage_reporter.h"
#include "settings/text_encoding.h"

// `text` as a quoted JSON string: quotes, backslashes and control characters
// escaped; other bytes (UTF-8 included) pass through as they are, except
// those that are not UTF-8 (a file name's), which become U+FFFD.
inline std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (const unsigned char c : printableName(text)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char code[8];
          (void)std::snprintf(code, sizeof code, "\\u%04x", c);
          out += code;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

// The "damage" list of a command's JSON: [{"line": N, "reason": "..."}, ...].
inline std::string damageJson(const std::vector<Damage>& reports) {
  std::string out = "[";
  for (size_t i = 0; i < reports.size(); ++i) {
    if (i > 0) out += ", ";
    out += "{\"line\": " + std::to_string(reports[i].line) + ", \"reason\": " + jsonString(reports[i].reason) + "}";
  }
  return out + "]";
}

#endif  // TINDAVEL_TOOLS_JSON_TEXT_H_
