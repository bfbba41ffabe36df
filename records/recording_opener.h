// Opening a recording for counting. The record viewer window, tindavel-cli
// recount, the bench and the tests open a recording here and nowhere else, so
// none of them can leave out a step or take the steps in another order:
//
//   1  the caller reads what the recording is counted with
//      (readRecordingReport, or a reading of its own); reading changes nothing
//   2  no reading: kNoReport, and nothing has been changed
//   3  the reading is applied to the settings, controls and detection tables
//   4  a fresh engine on those tables: frame width, beginOpen, openRecord
//      (which applies the size groups and clears the counts)
//   5  the record file cannot be opened: kCannotOpen. The recording's
//      settings stay applied; a caller that saved its own brings them back.
//
// The engine handed back is open at frame 1 with nothing read yet: show()
// shows that frame, countFrames counts a stretch.
#ifndef TINDAVEL_RECORDS_RECORDING_OPENER_H_
#define TINDAVEL_RECORDS_RECORDING_OPENER_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "records/recording_settings.h"
#include "records/recount_engine.h"

class DamageReporter;

enum class RecordingOpenError {
  kNone,
  kNoReport,    // no companion report file, or it cannot be read
  kCannotOpen,  // the record file cannot be opened
};

struct OpenedRecording {
  std::unique_ptr<RecountEngine> engine;  // open at frame 1; null unless error is kNone
  RecordingSettings recording;            // what a viewer shows of the session besides the frames
  RecordingOpenError error = RecordingOpenError::kNone;
};

// Opens `recordPath` for counting with `reading` (nullopt: the recording has
// no report) on the tables of `context`, whose controls are required here.
// The engine's frames are `frameWidth` columns wide; the detection's trace
// goes to context.trace, the reader's damage to `damage` (may be null).
// `reuse`, when given, is renewed (RecountEngine::renew) and opens the file
// in place of a new engine: a caller that opens many recordings allocates
// the engine's buffers once. It is handed back in the result, or dropped on
// an error.
[[nodiscard]] OpenedRecording openRecording(const std::string& recordPath,
                                            const std::optional<RecordingReport>& reading,
                                            const RecountContext& context, int32_t frameWidth,
                                            DamageReporter* damage,
                                            std::unique_ptr<RecountEngine> reuse = nullptr);

#endif  // TINDAVEL_RECORDS_RECORDING_OPENER_H_
