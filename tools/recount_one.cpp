#include "tools/recount_one.h"

#include <fstream>
#include <memory>

#include "analysis/detection_state.h"
#include "analysis/size_groups.h"
#include "analysis/viewer_counts.h"
#include "records/recording_opener.h"
#include "settings/regular_file.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/text_encoding.h"

std::optional<std::string> recordFileProblem(const std::string& file) {
  std::ifstream probe;
  const FileProblem problem = openRegularFile(file, probe);
  if (problem == FileProblem::kNone) return std::nullopt;
  return "cannot read the record file " + printableName(file) + ": " + fileProblemReason(file, problem);
}

Recount recountOne(const std::string& file, const RecountRange& range, const SettingsStore& store,
                   std::ostream* trace, std::optional<std::string> fishRows) {
  Recount r;
  // The command counts on state of its own: no session, no camera, no size
  // displays. The detection tables are large, so they live on the heap.
  const auto detection = std::make_unique<DetectionState>();
  SettingsVariables settings;
  SettingsModel controls;
  ViewerCounts viewerCounts;
  RecountContext ctx;
  ctx.detection = detection.get();
  ctx.settings = &settings;
  ctx.counts = &viewerCounts;
  ctx.controls = &controls;
  ctx.trace = trace;
  ctx.listener = &r.fish;

  if (std::optional<std::string> problem = recordFileProblem(file)) {
    r.error = std::move(*problem);
    return r;
  }
  CollectingDamageReporter damage;
  const std::optional<RecordingReport> reading = readRecordingReport(file, store);
  const OpenedRecording opened = openRecording(file, reading, ctx, range.frameWidth, &damage);
  if (opened.error == RecordingOpenError::kNoReport) {
    const std::string message = noReportMessage(file);
    r.error = message == kMissingReportMessage ? message + ": " + companionReportPath(file) : message;
    return r;
  }
  if (!opened.engine) {
    r.error = "cannot read the record file " + file;
    return r;
  }
  RecountEngine& engine = *opened.engine;

  r.frames = engine.state().FrameCount;
  r.first = range.from.value_or(1);
  r.last = range.to.value_or(r.frames);
  if (r.first > r.frames) {
    r.error = "--from " + std::to_string(r.first) + " is past the last frame " + std::to_string(r.frames);
  } else if (r.last > r.frames) {
    r.error = "--to " + std::to_string(r.last) + " is past the last frame " + std::to_string(r.frames);
  } else if (r.first > r.last) {
    r.error = "--from " + std::to_string(r.first) + " is after --to " + std::to_string(r.last);
  }
  if (!r.error.empty()) return r;

  r.channels = settings.NrChannels;
  FishScale scale;
  scale.file = printableName(file);
  scale.channels = r.channels;
  scale.leftEdge = settings.LeftEdge;
  scale.rightEdge = settings.RightEdge;
  scale.channelWidthMm = settings.ChannelWidthMm;
  for (int c = 1; c <= r.channels; ++c) {
    r.names[c] = opened.recording.ChannelNames[c];
    r.sizeGroups[c] = settings.SizeGroup[c];
    r.live[c] = reading->report.channels[c].Counters;
    r.liveCurves[c] = opened.recording.Series[c];
    scale.channelNames[c] = r.names[c];
    scale.sizeGroups[c] = std::string(SizeGroupNames[sizeGroupIndex(r.sizeGroups[c])]);
  }
  if (reading->report.DateTime) r.startTime = opened.recording.StartTime;
  scale.startTime = r.startTime;
  r.fish.begin(scale, std::move(fishRows));

  engine.countFrames(r.first, r.last);
  r.frameWidth = engine.frameWidth();
  r.lines = engine.linesAnalysed();
  r.fileLines = engine.state().TotalLines;
  for (int c = 1; c <= r.channels; ++c) r.counts[c] = viewerCounts.ViewerCount[c];
  r.damage = std::move(damage.reports);
  return r;
}

std::optional<int64_t> liveDifference(const Recount& r, int c) {
  if (!r.live[c]) return std::nullopt;
  return int64_t{r.counts[c]} - *r.live[c];
}
