#include "records/debug_viewer_engine.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "analysis/detection_state.h"
#include "analysis/line_analysis.h"
#include "analysis/number_format.h"
#include "analysis/size_classification.h"
#include "analysis/size_groups.h"
#include "analysis/viewer_counts.h"
#include "records/record_format.h"
#include "records/recording_settings.h"
#include "reports/report_values.h"
#include "settings/channel_width.h"
#include "settings/regular_file.h"
#include "settings/settings_model.h"

namespace {

// This viewer's report defaults.
constexpr int32_t kDebugChannelwidthItem = 1;
constexpr int32_t kDebugNrChannels = 0;
constexpr int32_t kDebugChannelWidthPercent = 25;
constexpr int32_t kDebugChannelSpan = 500;
constexpr int32_t kDebugBeginOffset = 10;
constexpr int32_t kMarkerOffset = 15;
constexpr int32_t kEnterKey = 13;

int32_t clampToInt32(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int32_t>(std::clamp(v, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

}  // namespace

uint32_t objectPen(int32_t colour) {
  if (colour <= 0) return ObjectColours[0];
  if (colour <= 10) return ObjectColours[static_cast<size_t>(colour)];
  return ObjectColours[static_cast<size_t>((colour - 1) % 10 + 1)];
}

int32_t debugY(int32_t v, int32_t leftEdge, int32_t rightEdge, int32_t height) {
  const double span = static_cast<double>(rightEdge) - leftEdge;
  if (span == 0) return 0;
  return clampToInt32((static_cast<double>(v) - leftEdge) / span * (static_cast<double>(height) - kBottomMargin));
}

double weightEstimate(double area, int32_t leftEdge, int32_t rightEdge, int32_t channelWidthMm) {
  const double span = static_cast<double>(rightEdge) - leftEdge;
  const double w = span == 0 ? 0 : std::pow(area / span * channelWidthMm, 1.5) / 1200;
  return std::isfinite(w) ? w : 0;  // a negative base: no estimate
}

std::string estimateText(double avgArea, int32_t leftEdge, int32_t rightEdge, int32_t channelWidthMm) {
  const double w = weightEstimate(avgArea, leftEdge, rightEdge, channelWidthMm);
  return formatFixed(w, w < 1 ? 1 : 0) + " gr";
}

std::string manualCountPath(const std::string& recordPath) {
  const std::filesystem::path p(recordPath);
  const std::string name = p.filename().string();
  const std::string stem = name.size() >= 4 ? name.substr(0, name.size() - 4) : name;
  return (p.parent_path() / (stem + ".tal")).string();
}

void applyDebugViewerSettings(const RecordingReport& reading, SettingsVariables& s, SettingsModel& controls,
                              DetectionState& d) {
  const ReportFile& report = reading.report;
  // Row 1. A choice outside the items keeps the width in force.
  controls.Channelwidth.setItemIndex(report.channelwidth.value_or(kDebugChannelwidthItem));
  if (const auto width = channelWidthAt(controls.Channelwidth.itemIndex())) {
    s.ChannelWidthMm = channelWidthItem(*width).millimetres;
  }
  // The detection's constants follow the recording's own width, not the
  // width this computer's settings hold: ChannelWidthMm and the constants
  // chosen by it never disagree, and a recording counts the same here, in
  // the record viewer and on any computer. Closing the viewer sets them from
  // the user's settings again.
  setDetectionConstants(d, s.ChannelWidthMm);
  // Rows 2-5; the tables hold four channels.
  s.NrChannels = std::clamp(report.NrChannels.value_or(kDebugNrChannels), 0, kMaxChannels);
  for (int n = 1; n <= s.NrChannels; ++n) {
    const ReportChannel& c = report.channels[n];
    s.ChannelPositions[n].Width = c.Width.value_or(kDebugChannelWidthPercent);
    s.ChannelPositions[n].Begin = c.Multib.value_or((n - 1) * kDebugChannelSpan + kDebugBeginOffset);
    s.ChannelPositions[n].End = c.Multie.value_or(n * kDebugChannelSpan);
  }
  // Row 6: the store's, not the report's.
  controls.Enablemulti.setChecked(reading.enableMulti);
  // Rows 7-8. The scale divides by their difference.
  s.LeftEdge = report.Ledge.value_or(kDefaultLedge);
  s.RightEdge = report.Redge.value_or(kDefaultRedge);
  if (s.LeftEdge >= s.RightEdge) {
    s.LeftEdge = kDefaultLedge;
    s.RightEdge = kDefaultRedge;
  }
}

std::string markerText(const DebugMarker& m, DebugView view) {
  switch (view) {
    case DebugView::Area: return std::to_string(m.Area);
    case DebugView::Length: return std::to_string(m.Lines);
    case DebugView::Width: return std::to_string(m.MaxWidth);
    case DebugView::PosFile: return std::to_string(m.LineCounter);
    case DebugView::PosiWidth: return std::to_string(m.Start) + " " + std::to_string(m.End);
    case DebugView::MeanWeight: {
      const double breadth = static_cast<double>(m.MaxRight) - m.MinLeft;
      if (breadth == 0 || m.Lines == 0) return formatFixed(0, 2);
      return formatFixed(m.Area / breadth / m.Lines, 2);
    }
  }
  return {};
}

DebugViewerEngine::DebugViewerEngine(const DebugViewerContext& context)
    : ctx_(context),
      columns_(new DebugColumn[kMaxFrameWidth]),
      markers_(new DebugMarker[kMaxWindowMarkers]),
      colourTaken_(new uint8_t[kMaxTracked + 2]) {
  assert(ctx_.detection && ctx_.settings && ctx_.counts && ctx_.controls);
  for (int32_t c = 0; c < kMaxFrameWidth; ++c) columns_[c].Count = 0;
}

DebugViewerEngine::~DebugViewerEngine() { closeFiles(); }

void DebugViewerEngine::setPictureSize(int32_t width, int32_t height) {
  width_ = std::clamp(width, int32_t{1}, kMaxFrameWidth);
  height_ = height;
}

void DebugViewerEngine::FormShow() { st_.nextEnabled = false; }

bool DebugViewerEngine::enableMulti() const { return ctx_.controls->Enablemulti.checked(); }

void DebugViewerEngine::closeFiles() {
  reader_.close();
  reader_.setDamageReporter(nullptr);
  if (manualFile_.is_open()) manualFile_.close();
  manualFile_.clear();
}

void DebugViewerEngine::setUpChannels() {
  for (int c = 1; c <= std::clamp(ctx_.settings->NrChannels, 0, kMaxChannels); ++c) {
    stillafiskiflokk(c, *ctx_.detection, *ctx_.settings, ctx_.linesPerBuffer, enableMulti(), ctx_.display);
    ctx_.counts->ViewerCount[c] = 0;
  }
}

void DebugViewerEngine::openCancelled() {
  st_.count = "0";
  setUpChannels();
}

bool DebugViewerEngine::openFile(const std::string& path, const std::optional<RecordingReport>& reading,
                                 DamageReporter* damage) {
  DetectionState& d = *ctx_.detection;
  SettingsVariables& s = *ctx_.settings;
  ViewerCounts& v = *ctx_.counts;
  st_.count = "0";
  closeFiles();
  st_.nextEnabled = true;
  s.NrChannels = 1;

  // byrtaskra.
  d.ObjectTotal = 0;
  d.LineCounter = 0;
  d.clearLines();
  linesRead_ = 0;
  st_.Windows = 0;
  st_.ColumnCount = 0;
  markerCount_ = 0;
  st_.IsTextFile = recordKindForPath(path) == RecordKind::Text;
  reader_.setDamageReporter(damage);
  const bool opened = reader_.open(path);
  if (opened) {
    int16_t left = 0;
    int16_t right = 0;
    if (reader_.readHeader(left, right)) {
      s.LeftEdge = s.ChannelPositions[1].Begin = left;
      s.RightEdge = s.ChannelPositions[1].End = right;
    }
  }

  // nyjarstillingar.
  if (reading) applyDebugViewerSettings(*reading, s, *ctx_.controls, d);
  if (s.NrChannels == 0) s.NrChannels = 1;
  for (int c = 1; c <= s.NrChannels; ++c) {
    s.ChannelCounter[c] = 0;
    v.AspectLimit[c] = kStartAspectLimit;
    v.WeightSamples[c] = 0;
    v.WeightSum[c] = 0;
  }

  st_.WindowStartTotal = 0;
  st_.ManualTotal = 0;
  st_.ManualClicks = 0;
  st_.Caption = path + "      " + std::string(SizeGroupNames[sizeGroupIndex(s.SizeGroup[1])]);
  const std::string tal = manualCountPath(path);
  if (opened && isRegularFile(tal)) {
    (void)openRegularFile(tal, manualFile_);  // a folder or FIFO there is no manual count
    // Line 1 is shown, not added: each window adds the line it shows.
    if (!st_.handtal) {
      if (const std::optional<int32_t> first = readManualLine()) st_.Edit3 = std::to_string(*first);
    }
  }
  setUpChannels();
  if (!opened) {
    closeFiles();
    st_.nextEnabled = false;
  }
  return opened;
}

std::optional<int32_t> DebugViewerEngine::readManualLine() {
  if (!manualFile_.is_open()) return std::nullopt;
  std::string line;
  if (!std::getline(manualFile_, line)) return std::nullopt;
  std::istringstream words(line);
  long long first = 0;
  long long second = 0;
  if (!(words >> first >> second)) return std::nullopt;
  return static_cast<int32_t>(low16(static_cast<int32_t>(first)));
}

void DebugViewerEngine::nextClick() {
  if (!reader_.isOpen()) return;
  do {
    oneWindow();
  } while (st_.Hradspolun && reader_.isOpen());
}

void DebugViewerEngine::Edit3KeyDown(int key) {
  if (key == kEnterKey) nextClick();
}

void DebugViewerEngine::oneWindow() {
  DetectionState& d = *ctx_.detection;
  const SettingsVariables& s = *ctx_.settings;
  ViewerCounts& v = *ctx_.counts;
  st_.WindowStartTotal = d.ObjectTotal;
  markerCount_ = 0;
  st_.MarkersDropped = 0;
  DebugWindowSummary summary;
  summary.Number = ++st_.Windows;
  summary.FirstLine = int64_t{d.LineCounter} + 1;

  readColumns();

  const int channels = std::clamp(s.NrChannels, 0, kMaxChannels);
  for (int c = 1; c <= channels; ++c) {
    const double span = static_cast<double>(s.RightEdge) - s.LeftEdge;
    const double root = span == 0 ? 0 : std::sqrt(d.AvgArea[c] / span * 511);
    const double denominator = (root + 11) * (root + 11);
    const double channel = static_cast<double>(s.ChannelPositions[c].End) - s.ChannelPositions[c].Begin;
    st_.Edit2 = std::to_string(clampToInt32(channel * width_ / denominator / 25));
  }

  if (st_.handtal) {
    st_.Edit3 = "0";
  } else if (manualFile_.is_open()) {
    summary.Manual = readManualLine();
    if (summary.Manual) {
      st_.Edit3 = std::to_string(*summary.Manual);
      st_.ManualTotal += *summary.Manual;
      st_.Edit5 = std::to_string(st_.ManualTotal);
    } else {
      // The file has no line for this window: no number, rather than the
      // last window's standing as if it were this one's.
      st_.Edit3.clear();
    }
  }
  st_.ManualClicks = 0;
  summary.Automatic = d.ObjectTotal - st_.WindowStartTotal;
  st_.Edit4 = std::to_string(summary.Automatic);
  summary.Lines = st_.ColumnCount;

  for (int c = 1; c <= channels; ++c) {
    autofiskiflokkur(c, d, v, sessionActive(), ctx_.display);
    st_.EstimateText[c] = estimateText(d.AvgArea[c], s.LeftEdge, s.RightEdge, s.ChannelWidthMm);
  }
  showActiveChannel();
  last_ = summary;

  if (reader_.atEnd()) {
    st_.nextEnabled = false;
    closeFiles();
  }
}

void DebugViewerEngine::readColumns() {
  DetectionState& d = *ctx_.detection;
  const SettingsVariables& s = *ctx_.settings;
  const bool draw = !st_.Hradspolun;
  const bool mark = s.DebugMode && !st_.Hradspolun && !st_.handtal;
  int32_t c = 0;
  // The window stops at the end of the data.
  for (; c < width_; ++c) {
    st_.Column = c;
    if (!reader_.readLine(d, s)) break;
    ++linesRead_;
    porun(d, s, ctx_.trace);
    columns_[c].Count = 0;
    if (draw) colourObjects(c);
    if (mark) markFinished(c);
    countFinishedObjects(d, s, ctx_.counts->ViewerCount);
  }
  st_.ColumnCount = c;
  st_.Total = std::to_string(d.ObjectTotal);
  for (int32_t k = c; k < width_; ++k) columns_[k].Count = 0;
}

void DebugViewerEngine::colourObjects(int32_t column) {
  DetectionState& d = *ctx_.detection;
  const int32_t n = d.PreviousCount;
  // Numbers 1..n+1 are all the smallest free number can be.
  std::fill_n(colourTaken_.get(), n + 2, uint8_t{0});
  for (int32_t j = 1; j <= n; ++j) {
    const int32_t colour = d.PreviousObjects[j].Colour;
    if (colour >= 1 && colour <= n + 1) colourTaken_[colour] = 1;
  }
  int32_t next = 1;
  DebugColumn& out = columns_[column];
  for (int32_t j = 1; j <= n; ++j) {
    ObjectRecord& o = d.PreviousObjects[j];
    if (o.Colour == 0) {
      while (colourTaken_[next]) ++next;
      o.Colour = next;
      colourTaken_[next] = 1;
    }
    if (out.Count < kMaxColumnObjects) {
      out.Objects[out.Count++] = {static_cast<int16_t>(o.Start), static_cast<int16_t>(o.End), o.Colour};
    }
  }
}

void DebugViewerEngine::markFinished(int32_t column) {
  const DetectionState& d = *ctx_.detection;
  const int ch = std::clamp(d.CurrentChannel, 1, kMaxChannels);
  for (int32_t j = 1; j <= d.FinishedCount; ++j) {
    if (markerCount_ >= kMaxWindowMarkers) {
      ++st_.MarkersDropped;
      continue;
    }
    const ObjectRecord& o = d.FinishedObjects[j];
    DebugMarker& m = markers_[static_cast<size_t>(markerCount_++)];
    m.Column = column;
    m.Start = o.Start;
    m.End = o.End;
    m.Lines = o.Lines;
    m.Area = o.Area;
    m.MaxWidth = o.MaxWidth;
    m.MinLeft = o.MinLeft;
    m.MaxRight = o.MaxRight;
    m.LineCounter = d.LineCounter;
    m.Offset = o.Start <= kMarkerOffset ? kMarkerOffset : -kMarkerOffset;
    m.Tick = o.Shape == 3;
    const int64_t breadth = int64_t{o.MaxRight} - o.MinLeft;
    const double aspect = o.Lines != 0 ? static_cast<double>(breadth) / o.Lines : 0;
    m.Frame = aspect > ctx_.counts->AspectLimit[ch] && o.Group == 0 && breadth < d.MaxBreadth[ch];
  }
}

void DebugViewerEngine::showActiveChannel() {
  const int c = std::clamp(st_.ActiveC, 0, kMaxChannels - 1) + 1;
  st_.estimt = st_.EstimateText[c];
  st_.count = std::to_string(ctx_.counts->ViewerCount[c]);
}

void DebugViewerEngine::ActiveCClick(int item) {
  st_.ActiveC = std::clamp(item, 0, kMaxChannels - 1);
  showActiveChannel();
}

std::optional<int32_t> DebugViewerEngine::PaintBox1MouseDown() {
  if (!st_.handtal) return std::nullopt;
  ++st_.ManualClicks;
  ++st_.ManualTotal;
  st_.Edit3 = std::to_string(st_.ManualClicks);
  st_.Edit5 = std::to_string(st_.ManualTotal);
  return ctx_.settings->SizeGroup[1] + 2;
}

int32_t DebugViewerEngine::SpeedButton1Click() {
  if (!reader_.isOpen()) return 0;
  int32_t skipped = 0;
  while (skipped < kSkipLines && reader_.skipLine()) {
    ++skipped;
    ++ctx_.detection->LineCounter;
  }
  linesRead_ += skipped;
  // Nothing tracked before the gap continues after it.
  if (skipped > 0) ctx_.detection->clearLines();
  return skipped;
}

void DebugViewerEngine::FormClose() {
  for (int c = 1; c <= std::clamp(ctx_.settings->NrChannels, 0, kMaxChannels); ++c) {
    stillafiskiflokk(c, *ctx_.detection, *ctx_.settings, ctx_.linesPerBuffer, enableMulti(), ctx_.display);
  }
  ctx_.detection->PreviousCount = 0;
  closeFiles();
  st_.nextEnabled = false;
}
