// The recording writer of the counting window: names a recording after the
// session's report file, creates its binary record file (format in
// records/record_format.h), collects the words of the recorded scan lines in
// a buffer and writes them out when the buffer fills and when the recording
// stops. Recording is continuous, or in samples of 10 seconds every 5 minutes
// driven by the sampling timer.
//
// No Qt here: the main window owns a RecordingWriter, mirrors rectimer() on
// its QTimer after each call, and calls rectimerTimer() when that timer fires.
//
// Two things differ from a writer that ignores its file errors:
//  - a record file that cannot be created, or a write or close that fails
//    (disk full), is told to the operator through RecordingMessages, once
//    per recording; the rest of that recording is not written;
//  - preparing a new recording while one is open first stops the open one
//    (flushes its waiting words and closes it), so nothing recorded is lost.
#ifndef TINDAVEL_RECORDS_RECORDING_WRITER_H_
#define TINDAVEL_RECORDS_RECORDING_WRITER_H_

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "records/record_format.h"

struct DetectionState;
struct SettingsVariables;

// Where the writer's messages to the operator go (a message box in the window).
class RecordingMessages {
 public:
  virtual ~RecordingMessages() = default;
  virtual void recordingFailed(const std::string& message) = 0;
};

// The sampling timer as the writer sets it; the window's timer follows it.
struct RecTimer {
  bool Enabled = false;
  int IntervalMs = kFirstTickMs;
};

// What a recording is prepared from: the settings and the session.
struct RecordingRequest {
  int Recordmethod = kRecordNone;  // kRecordNone, kRecordSampling or kRecordContinuous
  std::string reportpath;          // the report folder as set, ending in a path separator
  std::string EditTank;            // the session's tank text
  std::chrono::year_month_day today;  // the date the name carries
};

// The local date today, for RecordingRequest::today.
std::chrono::year_month_day localToday();

class RecordingWriter {
 public:
  explicit RecordingWriter(RecordingMessages* messages = nullptr);
  // Stops an open recording (its words are written; failures go unreported
  // because the window that shows them may already be gone).
  virtual ~RecordingWriter();
  RecordingWriter(const RecordingWriter&) = delete;
  RecordingWriter& operator=(const RecordingWriter&) = delete;

  void setMessages(RecordingMessages* messages) { messages_ = messages; }

  // Builds MeasurementName: reportpath + "yyyymmdd" + ("_" + first 15
  // characters of the tank, when there is a tank) + "_" + n + ".mse", with the
  // smallest n >= 0 for which neither that report file nor its record file
  // exists. Characters that cannot stand in a file name (path separators
  // among them) are written as "_".
  const std::string& NafnAMaelingu(const RecordingRequest& request);
  // Prepares a recording: stops an open one, builds the name, creates the
  // ".blb" file, puts the header (LeftEdge, RightEdge) into the buffer and
  // starts Continuous mode or the sampling timer.
  void UndirbuaUpptoku(const RecordingRequest& request, const SettingsVariables& s);
  // Appends the line d.Segments[1..d.SegmentCount]. Above kRecordFlushLimit
  // waiting words the line is not recorded; during a sample (or in
  // Continuous mode) the buffer is written out instead.
  void skraiskra(const DetectionState& d);
  // The sampling timer's tick: ends a sample (appending the sampling marker)
  // or begins one.
  void rectimerTimer(const SettingsVariables& s);
  // Writes the waiting words to the record file and empties the buffer.
  void samfeldskraning();
  // Stops the recording: timer off, not sampling, flush, close.
  void HaettaSkraninguISkra();
  // The settings window's recording mode changed. During a session a
  // recording mode prepares a recording; "None" stops sampling.
  void RecordonchkClick(const RecordingRequest& request, const SettingsVariables& s,
                        bool sessionRunning);
  // SamplingOn = false and nothing else: the first-time initialisation's
  // clear (app/first_time_initialisation.h).
  void clearSamplingOn() { samplingOn_ = false; }

  const std::string& MeasurementName() const { return measurementName_; }
  const std::string& recordPath() const { return recordPath_; }
  int32_t RecordWords() const { return recordWords_; }
  bool SamplingOn() const { return samplingOn_; }
  const RecTimer& rectimer() const { return rectimer_; }
  bool isOpen() const { return RecordFile != nullptr; }

 protected:
  // Creates (truncates) the record file for writing; null when it cannot.
  // Tests put a full disk here.
  virtual std::FILE* createFile(const std::string& path);

 private:
  void append(int16_t word) { RecordBuffer[recordWords_++] = word; }
  void fail(const std::string& message);
  void closeFile(bool reportFailure);

  RecordingMessages* messages_;
  std::string measurementName_;
  std::string recordPath_;
  std::FILE* RecordFile = nullptr;
  std::unique_ptr<int16_t[]> RecordBuffer;  // [0..kRecordBufferWords - 1]
  int32_t recordWords_ = 0;
  bool samplingOn_ = false;
  RecTimer rectimer_;
  bool failed_ = false;  // this recording has failed and was reported
};

#endif  // TINDAVEL_RECORDS_RECORDING_WRITER_H_
