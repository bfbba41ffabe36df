// Writes report files (format in reports/report_file.h). No operation of the
// counter program writes one; the simulator and the tests do, and what they
// write must read back to the same values through every reader.
//
// Sections come out in the order Program, Settings, Eka, Distribution1..4,
// ThroughputChart, ThroughputChart1..4, StoredValues, and keys in the order of
// the format table; a key whose value is std::nullopt is not written, and a
// section other than "Program" with no keys is left out (an empty curve
// still writes its section: the section's presence is what makes a channel
// use its own curve).
// Integers are decimal, floats the shortest plain decimal text that reads
// back exactly (formatReportFloat), texts quoted where the INI reader would
// otherwise trim or unquote them. Line ends are CRLF.
#ifndef TINDAVEL_REPORTS_REPORT_WRITER_H_
#define TINDAVEL_REPORTS_REPORT_WRITER_H_

#include <string>
#include <vector>

#include "reports/report_file.h"

class OutputFile;

struct ReportWriteOptions {
  // The decimal separator of the floats; the report viewer of a system with
  // "," as its separator reads only ",". stringtofloat reads either.
  char decimalSeparator = '.';
};

// Values of `report` that would not read back as they are: a text with a
// line break or NUL or longer than 2047 characters, a float that is not
// finite, comments that do not match "Nocommentlines", a stored line that
// is read back differently. Empty when the file reads back to `report` exactly.
std::vector<std::string> reportWriteProblems(const ReportFile& report,
                                             const ReportWriteOptions& options = {});

// What the viewers read back of the file written for a report: one reading
// per float rule, with the options' decimal separator.
struct ReportReadBack {
  ReportFile reportViewer;  // FloatRule::kReportViewer
  ReportFile recordViewer;  // FloatRule::kRecordViewer
  const ReportFile& by(FloatRule rule) const {
    return rule == FloatRule::kRecordViewer ? recordViewer : reportViewer;
  }
};

// The same problems, and what the check read back into `readBack` (left as
// it was when a float is not finite: the file is then not read back). For a
// caller that wants both without writing and reading the file twice.
std::vector<std::string> reportWriteProblems(const ReportFile& report, const ReportWriteOptions& options,
                                             ReportReadBack& readBack);

// The file's bytes (UTF-8, CRLF).
std::string reportFileText(const ReportFile& report, const ReportWriteOptions& options = {});

// Writes the file in one piece (a temporary file renamed over the target), so
// a reader never sees half a report. False with `error` set when the file
// cannot be written (with the system's reason) or reportWriteProblems finds
// something; nothing is then written.
[[nodiscard]] bool saveReportFile(const std::string& path, const ReportFile& report,
                                  std::string& error, const ReportWriteOptions& options = {});
// The same into `out`, an output file the caller opened and commits (with
// the files that belong with the report). False with `error` set when
// reportWriteProblems finds something or a write fails.
[[nodiscard]] bool writeReportFile(OutputFile& out, const ReportFile& report, std::string& error,
                                   const ReportWriteOptions& options = {});

#endif  // TINDAVEL_REPORTS_REPORT_WRITER_H_
