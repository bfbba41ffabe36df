#include "records/recording_settings.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "analysis/detection_state.h"
#include "analysis/size_groups.h"
#include "reports/day_count.h"
#include "settings/channel_width.h"
#include "settings/ini_file.h"
#include "settings/regular_file.h"
#include "settings/text_encoding.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"

std::string companionReportPath(const std::string& recordPath) {
  std::filesystem::path p(recordPath);
  p.replace_extension(".mse");
  if (!isRegularFile(p.string())) {
    std::filesystem::path upper(recordPath);
    upper.replace_extension(".MSE");
    if (isRegularFile(upper.string())) return upper.string();
  }
  return p.string();
}

std::vector<ChartPoint> throughputSeries(double startTime, const ThroughputCurve& curve) {
  std::vector<ChartPoint> series;
  series.reserve(curve.size() + 1);
  series.push_back({static_cast<double>(timeOfDayMilliseconds(startTime)) / kMillisecondsPerDay, 0});
  double previous = 0;
  for (const ThroughputChartPoint& point : curve) {
    double x = point.x;
    if (std::isfinite(x) && std::isfinite(previous) && x < previous) {
      // The chart passed midnight. A session of more than a day passes it
      // more than once, so move on by whole days until the time is not
      // behind the one before (computed, not looped: x may be huge).
      x += std::ceil(previous - x);
      if (x < previous) x += 1;
    }
    series.push_back({x, point.y});
    previous = x;
  }
  return series;
}

RecordingReport readRecordingReport(const IniFile& ini, bool enableMulti) {
  ReportReadOptions options;
  options.floats = FloatRule::kRecordViewer;
  return {readReportFile(ini, options), enableMulti, holdsReportSections(ini)};
}

std::string noReportMessage(const std::string& recordPath) {
  const std::string reportPath = companionReportPath(recordPath);
  FileProblem problem = regularFileProblem(reportPath);
  if (problem == FileProblem::kMissing) return std::string(kMissingReportMessage);
  if (problem == FileProblem::kNone) problem = FileProblem::kUnreadable;  // it failed while reading
  return "Cannot read the report file " + printableName(reportPath) + ": " + fileProblemReason(reportPath, problem) + ".";
}

std::optional<RecordingReport> readRecordingReport(const std::string& recordPath, bool enableMulti) {
  const std::string reportPath = companionReportPath(recordPath);
  if (!isRegularFile(reportPath)) return std::nullopt;
  const std::optional<IniFile> ini = IniFile::fromFile(reportPath);
  if (!ini) return std::nullopt;
  return readRecordingReport(*ini, enableMulti);
}

std::optional<RecordingReport> readRecordingReport(const std::string& recordPath, const SettingsStore& store) {
  return readRecordingReport(recordPath, store.readBool("Enablemulti", false));
}

RecordingSettings applyRecordingSettings(const RecordingReport& reading, SettingsVariables& s,
                                         SettingsModel& controls, DetectionState& d) {
  const ReportFile& report = reading.report;
  RecordingSettings r;

  // Rows 1-4: the caption.
  const std::string dateText = formatDayCount("dd MMM yyyy", report.DateTime.value_or(0));
  r.Caption = "Tank: " + report.Tank.value_or("") + "  " + report.Generation.value_or("") + "     " + dateText;

  // Rows 5-7. The tables hold four channels, and the picture divides by the
  // width of the used scan line: a damaged report must not break either, so
  // the channel count is kept to 1..4 and edges out of order get the
  // defaults, as the settings store does with its own.
  s.NrChannels = std::clamp(report.NrChannels.value_or(kDefaultNrChannels), 1, kMaxChannels);
  s.LeftEdge = report.Ledge.value_or(kDefaultLedge);
  s.RightEdge = report.Redge.value_or(kDefaultRedge);
  if (s.LeftEdge >= s.RightEdge) {
    s.LeftEdge = kDefaultLedge;
    s.RightEdge = kDefaultRedge;
  }

  // Row 8: the channel width choice.
  controls.Channelwidth.setItemIndex(report.channelwidth.value_or(kDefaultChannelwidthItem));
  if (controls.Channelwidth.itemIndex() < 0) {
    controls.Channelwidth.setItemIndex(int64_t{s.RightEdge} - s.LeftEdge >= 1500 ? 1 : 0);
  }
  s.ChannelWidthMm = channelWidthMm(controls.Channelwidth.itemIndex());
  // Row 9. A report without "Skuffubreidd" would leave -1 mm for as long as
  // the viewer is open; the width of the chosen item is the recording's own
  // and is kept instead.
  if (report.Skuffubreidd && *report.Skuffubreidd > 0) s.ChannelWidthMm = *report.Skuffubreidd;
  setDetectionConstants(d, s.ChannelWidthMm);

  // Rows 10-12: the channel table.
  for (int n = 1; n <= s.NrChannels; ++n) {
    const ReportChannel& c = report.channels[n];
    s.ChannelPositions[n].Width = c.Width.value_or(s.ChannelWidthMm / s.NrChannels);
    s.ChannelPositions[n].Begin = c.Multib.value_or(s.LeftEdge);
    s.ChannelPositions[n].End = c.Multie.value_or(s.RightEdge);
  }

  // Row 13: from the settings store, not from the report.
  controls.Enablemulti.setChecked(reading.enableMulti);

  // Rows 14-15.
  r.StartTime = report.DateTime.value_or(0) - report.Lasting.value_or(0);

  // Row 16: kept to 0..8 as the selectors do.
  for (int n = 1; n <= kMaxChannels; ++n) {
    controls.setSizeGroup(s, n, report.channels[n].SizeGroup.value_or(kDefaultRecordViewerSizeGroup));
  }

  // Rows 17-18.
  for (int n = 1; n <= kMaxChannels; ++n) {
    const std::string name = report.channels[n].Countname.value_or("Counter " + std::to_string(n));
    r.CountLabels[n] = name + "   " + std::string(SizeGroupNames[sizeGroupIndex(s.SizeGroup[n])]);
    r.ChannelNames[n] = name;
  }

  // Row 19.
  for (int n = 1; n <= s.NrChannels; ++n) r.Series[n] = throughputSeries(r.StartTime, throughputCurve(report, n));
  return r;
}
