// The value forms of report files (".mse", INI text) and the rules by which
// the program's readers turn a value's text into a number. The INI layer
// (settings/ini_file.h) has already trimmed the text and removed one pair of
// enclosing quotes; these functions see what is left.
//
//   type          text form                              read by
//   text          the characters after "="               everyone, as it stands
//   integer       decimal digits, optional leading "-"   parseReportInteger (all readers)
//   integer text  an integer kept as text ("AW", "Std"),  integerTextValue
//                 default "0", must be a whole number
//   float         a decimal number                       report viewer: parseReportViewerFloat
//                                                         record viewer: stringtofloat
//   date-time     float: days since 30 December 1899,    see reports/day_count.h
//                 the fraction the time of day
//   duration      float: days
//
// The two float readers differ on purpose and both are kept:
//   - the report viewer reads with ONE decimal separator, the system's
//     ("12.5" with "." gives 12.5; "12,5" with "." is not a number, so the
//     key's default is used);
//   - the record viewer's stringtofloat accepts "." or "," whatever the
//     system says ("12.5" and "12,5" both give 12.5).
// formatReportFloat writes a float that both read back to the same double.
#ifndef TINDAVEL_REPORTS_REPORT_VALUES_H_
#define TINDAVEL_REPORTS_REPORT_VALUES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An integer value: an optional "-" and decimal digits that fit 32 bits.
// Anything else (blank, "+5", "12x", "1.0", "99999999999") is not a whole
// number, and the reader then uses the key's default.
std::optional<int32_t> parseReportInteger(std::string_view text);

// An integer text ("AW", "Std"): absent reads as "0", so 0. A present text that
// is not a whole number gives nullopt; the caller decides how to show it (the
// printed report shows no value rather than a made-up 0).
std::optional<int32_t> integerTextValue(const std::optional<std::string>& text);

// The report viewer's float: a decimal number with `decimalSeparator` as the
// only separator, optional sign and exponent ("1.5E3"). Not a number, or not
// finite: nullopt (the reader's default applies).
std::optional<double> parseReportViewerFloat(std::string_view text, char decimalSeparator = '.');

// The record viewer's decimal text: empty text is 0; otherwise the first "."
// (or, if there is none, the first ",") separates the whole part from the
// fraction, and the value is whole + fraction digits / 10^(their count). Text
// without a separator is converted as a whole number (exponent allowed).
//
// Two holes of the original rule are closed here: a minus sign now negates the
// whole value ("-1.5" is -1.5, not -1 + 0.5), and a missing whole part is 0
// (",5" is 0.5). Text that is no number at all ("abc", "1.2.3", "1.5e3") gives
// nullopt, where the original stopped with a conversion error; callers use
// their default. Results are correctly rounded, so a float written by
// formatReportFloat reads back to the same double.
std::optional<double> stringtofloat(std::string_view text);

// The shortest plain decimal text (no exponent, `decimalSeparator` between the
// whole part and the fraction) that both float readers read back as exactly
// `value`. A whole number is written without a separator ("2", not "2.0").
// `value` must be finite.
std::string formatReportFloat(double value, char decimalSeparator = '.');

#endif  // TINDAVEL_REPORTS_REPORT_VALUES_H_
