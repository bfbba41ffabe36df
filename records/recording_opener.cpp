#include "records/recording_opener.h"

#include <cassert>

#include "records/damage_reporter.h"

OpenedRecording openRecording(const std::string& recordPath, const std::optional<RecordingReport>& reading,
                              const RecountContext& context, int32_t frameWidth, DamageReporter* damage,
                              std::unique_ptr<RecountEngine> reuse) {
  assert(context.detection && context.settings && context.controls);
  OpenedRecording opened;
  if (!reading) {
    opened.error = RecordingOpenError::kNoReport;
    return opened;
  }
  if (!reading->reportSections && damage) damage->corruption(0, damage::kNotAReport);
  opened.recording = applyRecordingSettings(*reading, *context.settings, *context.controls, *context.detection);
  std::unique_ptr<RecountEngine> engine = std::move(reuse);
  if (engine) {
    engine->renew(context);
  } else {
    engine = std::make_unique<RecountEngine>(context);
  }
  engine->setFrameWidth(frameWidth);
  engine->beginOpen();
  if (!engine->openRecord(recordPath, damage)) {
    opened.error = RecordingOpenError::kCannotOpen;
    return opened;
  }
  opened.engine = std::move(engine);
  return opened;
}
