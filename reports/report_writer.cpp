#include "reports/report_writer.h"

#include <cmath>

#include "reports/report_values.h"
#include "settings/output_file.h"
#include "settings/ini_file.h"
#include "settings/ini_line.h"

namespace {

// Builds the text section by section. Written by hand rather than through
// IniFile::setValue because a curve section may have to be written with no
// keys at all, which setting key by key cannot express.
class ReportText {
 public:
  explicit ReportText(char decimalSeparator) : separator_(decimalSeparator) {}

  void section(std::string_view name) {
    out_ += '[';
    out_ += name;
    out_ += "]\r\n";
  }
  void text(std::string_view key, const std::optional<std::string>& value) {
    if (value) line(key, iniQuoteValue(*value));
  }
  void integer(std::string_view key, const std::optional<int32_t>& value) {
    if (value) line(key, std::to_string(*value));
  }
  void floating(std::string_view key, const std::optional<double>& value) {
    if (value) line(key, formatReportFloat(*value, separator_));
  }
  void line(std::string_view key, std::string_view value) {
    out_ += key;
    out_ += '=';
    out_ += value;
    out_ += "\r\n";
  }
  void curve(std::string_view name, const ThroughputCurve& points) {
    section(name);
    for (size_t i = 0; i < points.size(); ++i) {
      const int n = static_cast<int>(i) + 1;
      line(numberedName("X", n), formatReportFloat(points[i].x, separator_));
      line(numberedName("Y", n), formatReportFloat(points[i].y, separator_));
    }
  }

  std::string& result() { return out_; }

 private:
  char separator_;
  std::string out_;
};

bool anyChannelKey(const ReportChannel& c) {
  return c.Counters || c.CountersT || c.Countname || c.SizeGroup || c.Width || c.Multib || c.Multie;
}

bool anyDistributionKey(const ReportDistribution& d) {
  if (d.hasG0Key || d.G0 || d.AW || d.Std || d.DNr) return true;
  for (const auto& g : d.G) {
    if (g) return true;
  }
  return false;
}

bool isFinite(const std::optional<double>& v) { return !v || std::isfinite(*v); }

bool curveIsFinite(const std::optional<ThroughputCurve>& curve) {
  if (!curve) return true;
  for (const ThroughputChartPoint& p : *curve) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
  }
  return true;
}

// What a reader gets back for what the writer writes: the note of a "G0" key
// follows from the key being written.
ReportFile asWritten(const ReportFile& report) {
  ReportFile r = report;
  for (ReportDistribution& d : r.distributions) d.hasG0Key = d.hasG0Key || d.G0.has_value();
  r.distributions[0] = ReportDistribution{};
  r.channels[0] = ReportChannel{};
  r.channelThroughput[0].reset();
  return r;
}

void compareReadBack(const ReportFile& expected, const ReportFile& got, const char* reader,
                     std::vector<std::string>& problems) {
  auto check = [&](bool same, const std::string& what) {
    if (!same) problems.push_back(what + " does not read back as written (" + reader + ")");
  };
  check(expected.logoimage == got.logoimage, "Program/logoimage");
  check(expected.Nocommentlines == got.Nocommentlines, "Program/Nocommentlines");
  check(expected.comments == got.comments, "Program/comment lines");
  check(expected.Generation == got.Generation, "Program/Generation");
  check(expected.Personincharge == got.Personincharge, "Program/Personincharge");
  check(expected.Total == got.Total, "Program/Total");
  check(expected.Overload == got.Overload, "Program/Overload");
  check(expected.Lasting == got.Lasting, "Program/Lasting");
  check(expected.operatorName == got.operatorName, "Program/operator");
  check(expected.Tank == got.Tank, "Program/Tank");
  check(expected.DateTime == got.DateTime, "Program/DateTime");
  check(expected.NrChannels == got.NrChannels && expected.Ledge == got.Ledge && expected.Redge == got.Redge,
        "Settings");
  check(expected.channelwidth == got.channelwidth && expected.Skuffubreidd == got.Skuffubreidd,
        "Eka/channelwidth, Skuffubreidd");
  for (int n = 1; n <= kReportChannels; ++n) {
    check(expected.channels[n] == got.channels[n], "Eka, channel " + std::to_string(n));
    check(expected.distributions[n] == got.distributions[n], numberedName(kDistributionSection, n));
    check(expected.channelThroughput[n] == got.channelThroughput[n], numberedName(kThroughputSection, n));
  }
  check(expected.sharedThroughput == got.sharedThroughput, std::string(kThroughputSection));
  check(expected.storedValues == got.storedValues, std::string(kStoredValuesSection));
}

}  // namespace

std::string reportFileText(const ReportFile& report, const ReportWriteOptions& options) {
  ReportText t(options.decimalSeparator);

  t.section(kProgramSection);
  t.text("logoimage", report.logoimage);
  t.integer("Nocommentlines", report.Nocommentlines);
  for (size_t i = 0; i < report.comments.size(); ++i) {
    t.line(numberedName("comment", static_cast<int>(i)), iniQuoteValue(report.comments[i]));
  }
  t.text("Generation", report.Generation);
  t.text("Personincharge", report.Personincharge);
  t.text("Total", report.Total);
  t.floating("Overload", report.Overload);
  t.floating("Lasting", report.Lasting);
  t.text("operator", report.operatorName);
  t.text("Tank", report.Tank);
  t.floating("DateTime", report.DateTime);

  if (report.NrChannels || report.Ledge || report.Redge) {
    t.section(kSettingsSection);
    t.integer("NrChannels", report.NrChannels);
    t.integer("Ledge", report.Ledge);
    t.integer("Redge", report.Redge);
  }

  bool anyEka = report.channelwidth || report.Skuffubreidd;
  for (int n = 1; n <= kReportChannels; ++n) anyEka = anyEka || anyChannelKey(report.channels[n]);
  if (anyEka) {
    t.section(kEkaSection);
    for (int n = 1; n <= kReportChannels; ++n) {
      const ReportChannel& c = report.channels[n];
      t.integer(numberedName("Counters", n), c.Counters);
      t.integer(numberedName("CountersT", n), c.CountersT);
      t.text(numberedName("Countname", n), c.Countname);
      t.integer(numberedName("Size Group", n), c.SizeGroup);
    }
    t.integer("channelwidth", report.channelwidth);
    t.integer("Skuffubreidd", report.Skuffubreidd);
    for (int n = 1; n <= kReportChannels; ++n) {
      const ReportChannel& c = report.channels[n];
      t.integer(numberedName("%width", n), c.Width);
      t.integer(numberedName("Multib", n), c.Multib);
      t.integer(numberedName("Multie", n), c.Multie);
    }
  }

  for (int n = 1; n <= kReportChannels; ++n) {
    const ReportDistribution& d = report.distributions[n];
    if (!anyDistributionKey(d)) continue;
    t.section(numberedName(kDistributionSection, n));
    if (d.G0) {
      t.integer("G0", d.G0);
    } else if (d.hasG0Key) {
      t.line("G0", "");  // present but without a number: the reader's default
    }
    for (int k = 1; k <= kReportWeightClasses; ++k) t.integer(numberedName("G", k), d.G[k]);
    t.text("AW", d.AW);
    t.text("Std", d.Std);
    t.text("DNr", d.DNr);
  }

  if (report.sharedThroughput) t.curve(kThroughputSection, *report.sharedThroughput);
  for (int n = 1; n <= kReportChannels; ++n) {
    if (report.channelThroughput[n]) t.curve(numberedName(kThroughputSection, n), *report.channelThroughput[n]);
  }

  if (!report.storedValues.empty()) {
    t.section(kStoredValuesSection);
    for (size_t i = 0; i < report.storedValues.size(); ++i) {
      t.line(std::to_string(i), iniQuoteValue(report.storedValues[i]));
    }
  }
  return std::move(t.result());
}

std::vector<std::string> reportWriteProblems(const ReportFile& report, const ReportWriteOptions& options) {
  ReportReadBack readBack;
  return reportWriteProblems(report, options, readBack);
}

std::vector<std::string> reportWriteProblems(const ReportFile& report, const ReportWriteOptions& options,
                                             ReportReadBack& readBack) {
  std::vector<std::string> problems;
  // Not-finite floats have no decimal text; say so plainly rather than as a
  // read-back difference.
  bool finite = isFinite(report.Overload) && isFinite(report.Lasting) && isFinite(report.DateTime) &&
                curveIsFinite(report.sharedThroughput);
  for (int n = 1; n <= kReportChannels; ++n) finite = finite && curveIsFinite(report.channelThroughput[n]);
  if (!finite) {
    problems.push_back("a float value is not a finite number");
    return problems;
  }
  // Everything else is decided by reading the text back, through both float
  // rules, the way the viewers will.
  const IniFile ini = IniFile::fromBytes(reportFileText(report, options));
  const ReportFile expected = asWritten(report);
  readBack.reportViewer = readReportFile(ini, {FloatRule::kReportViewer, options.decimalSeparator});
  readBack.recordViewer = readReportFile(ini, {FloatRule::kRecordViewer, options.decimalSeparator});
  compareReadBack(expected, readBack.reportViewer, "report viewer", problems);
  compareReadBack(expected, readBack.recordViewer, "record viewer", problems);
  return problems;
}

bool saveReportFile(const std::string& path, const ReportFile& report, std::string& error,
                    const ReportWriteOptions& options) {
  OutputFile out;
  if (!out.open(path)) {
    error = out.error();
    return false;
  }
  if (!writeReportFile(out, report, error, options)) return false;
  if (!out.commit()) {
    error = out.error();
    return false;
  }
  return true;
}

bool writeReportFile(OutputFile& out, const ReportFile& report, std::string& error,
                     const ReportWriteOptions& options) {
  const std::vector<std::string> problems = reportWriteProblems(report, options);
  if (!problems.empty()) {
    error = problems.front();
    return false;
  }
  if (!out.write(reportFileText(report, options))) {
    error = out.error();
    return false;
  }
  return true;
}
