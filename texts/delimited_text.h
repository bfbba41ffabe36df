// Splitting one line of the language table into its fields.
//
// The rule is the delimited-text rule of the toolkit the table was first
// written for, kept byte for byte so that every line reads as it always did:
//   - fields are separated by commas;
//   - a field that starts with a double quote runs to the next lone double
//     quote; inside it a doubled double quote stands for one;
//   - any other field ends at the next comma or at the next blank or control
//     character (bytes 1..32), so an unquoted blank separates fields too, and
//     a double quote inside such a field is an ordinary character;
//   - blanks and control characters before a field and around a comma are
//     skipped; a comma at the very end gives one more, empty field;
//   - a NUL byte ends the line.
//
// Examples:
//   7,,Settings,Stillingar         -> "7" "" "Settings" "Stillingar"
//   9,,"Multi Channels"            -> "9" "" "Multi Channels"
//   1,"say ""hi""",x               -> "1" "say \"hi\"" "x"
//   27,,"Sea Bass",Barri",Torsk    -> "27" "" "Sea Bass" "Barri\"" "Torsk"
//   a b,c                          -> "a" "b" "c"
//
// Bytes of 0x80 and above are letters (the table is UTF-8), never separators.
#ifndef TINDAVEL_TEXTS_DELIMITED_TEXT_H_
#define TINDAVEL_TEXTS_DELIMITED_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

// Splits `line` into its fields by the rule above. An empty line (or one of
// blanks only) has no fields.
std::vector<std::string> splitDelimitedText(std::string_view line);

#endif  // TINDAVEL_TEXTS_DELIMITED_TEXT_H_
