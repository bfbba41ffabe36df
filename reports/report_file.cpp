#include "reports/report_file.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "reports/report_values.h"
#include "settings/ini_file.h"

namespace {

class SectionReader {
 public:
  SectionReader(const IniFile& ini, std::string_view section, const ReportReadOptions& options)
      : section_(ini.section(section)), options_(options) {}

  std::optional<std::string> text(std::string_view key) const { return section_.value(key); }

  std::optional<int32_t> integer(std::string_view key) const {
    const std::optional<std::string> t = text(key);
    if (!t) return std::nullopt;
    return parseReportInteger(*t);
  }

  std::optional<double> floating(std::string_view key) const {
    const std::optional<std::string> t = text(key);
    if (!t) return std::nullopt;
    return floatOf(*t);
  }
  std::optional<double> floatOf(const std::string& t) const {
    if (options_.floats == FloatRule::kRecordViewer) return stringtofloat(t);
    return parseReportViewerFloat(t, options_.decimalSeparator);
  }

  bool exists() const { return section_.exists(); }

 private:
  IniFile::SectionView section_;
  const ReportReadOptions& options_;
};

ThroughputCurve readCurve(const SectionReader& section) {
  ThroughputCurve curve;
  // A curve is as long as its "X" keys, and a file holds finitely many.
  for (int i = 1;; ++i) {
    const std::optional<std::string> x = section.text(numberedName("X", i));
    if (!x) break;
    ThroughputChartPoint point;
    point.x = section.floatOf(*x).value_or(0.0);
    point.y = section.floating(numberedName("Y", i)).value_or(0.0);
    curve.push_back(point);
  }
  return curve;
}

}  // namespace

std::string numberedName(std::string_view stem, int n) {
  std::array<char, 16> digits;
  const size_t length = static_cast<size_t>(std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr - digits.data());
  std::string name;
  name.reserve(stem.size() + length);
  name.append(stem).append(digits.data(), length);
  return name;
}

ReportFile readReportFile(const IniFile& ini, const ReportReadOptions& options) {
  ReportFile r;

  const SectionReader program(ini, kProgramSection, options);
  r.logoimage = program.text("logoimage");
  r.Nocommentlines = program.integer("Nocommentlines");
  const int commentCount = std::min(r.Nocommentlines.value_or(0), kReportCommentLimit);
  for (int i = 0; i < commentCount; ++i) {
    r.comments.push_back(program.text(numberedName("comment", i)).value_or(""));
  }
  r.Generation = program.text("Generation");
  r.Personincharge = program.text("Personincharge");
  r.Total = program.text("Total");
  r.Overload = program.floating("Overload");
  r.Lasting = program.floating("Lasting");
  r.operatorName = program.text("operator");
  r.Tank = program.text("Tank");
  r.DateTime = program.floating("DateTime");

  const SectionReader settings(ini, kSettingsSection, options);
  r.NrChannels = settings.integer("NrChannels");
  r.Ledge = settings.integer("Ledge");
  r.Redge = settings.integer("Redge");

  const SectionReader eka(ini, kEkaSection, options);
  r.channelwidth = eka.integer("channelwidth");
  r.Skuffubreidd = eka.integer("Skuffubreidd");
  for (int n = 1; n <= kReportChannels; ++n) {
    ReportChannel& c = r.channels[n];
    c.Counters = eka.integer(numberedName("Counters", n));
    c.CountersT = eka.integer(numberedName("CountersT", n));
    c.Countname = eka.text(numberedName("Countname", n));
    c.SizeGroup = eka.integer(numberedName("Size Group", n));
    c.Width = eka.integer(numberedName("%width", n));
    c.Multib = eka.integer(numberedName("Multib", n));
    c.Multie = eka.integer(numberedName("Multie", n));

    const SectionReader distribution(ini, numberedName(kDistributionSection, n), options);
    ReportDistribution& d = r.distributions[n];
    d.hasG0Key = distribution.text("G0").has_value();
    d.G0 = distribution.integer("G0");
    for (int k = 1; k <= kReportWeightClasses; ++k) d.G[k] = distribution.integer(numberedName("G", k));
    d.AW = distribution.text("AW");
    d.Std = distribution.text("Std");
    d.DNr = distribution.text("DNr");

    const SectionReader chart(ini, numberedName(kThroughputSection, n), options);
    if (chart.exists()) r.channelThroughput[n] = readCurve(chart);
  }

  const SectionReader shared(ini, kThroughputSection, options);
  if (shared.exists()) r.sharedThroughput = readCurve(shared);

  const SectionReader stored(ini, kStoredValuesSection, options);
  for (int i = 0;; ++i) {
    std::optional<std::string> line = stored.text(std::to_string(i));
    if (!line) break;
    r.storedValues.push_back(std::move(*line));
  }
  return r;
}

bool holdsReportSections(const IniFile& ini) {
  for (std::string_view name : {kProgramSection, kSettingsSection, kEkaSection, kThroughputSection,
                                kStoredValuesSection}) {
    if (ini.hasSection(name)) return true;
  }
  for (int n = 1; n <= kReportChannels; ++n) {
    if (ini.hasSection(numberedName(kDistributionSection, n)) || ini.hasSection(numberedName(kThroughputSection, n))) {
      return true;
    }
  }
  return false;
}

std::vector<std::string> commentLines(const ReportFile& report) {
  if (report.Nocommentlines && *report.Nocommentlines != kDefaultNocommentlines) return report.comments;
  return {report.Generation.value_or("")};
}

const ThroughputCurve& throughputCurve(const ReportFile& report, int n) {
  static const ThroughputCurve kNoPoints;
  if (n >= 1 && n <= kReportChannels && report.channelThroughput[n]) return *report.channelThroughput[n];
  if (report.sharedThroughput) return *report.sharedThroughput;
  return kNoPoints;
}
