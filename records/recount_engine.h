// The record viewer's frame logic without the window: a recording shown as a
// row of frames, one scan line per pixel column, and counted again per
// channel. The window (record_viewer_window.h) and `tindavel-cli recount` both
// drive this one engine, so they count identically.
//
//   frames      frame k holds lines (k - 1) x FrameWidth + 1 .. k x FrameWidth;
//               FrameCount = TotalLines / FrameWidth rounded up (at least 1)
//   counting    reading frame k continues the count only when k is the frame
//               after the one shown last; any other frame is a jump, which
//               restarts it (size groups applied again, counts 0, no object
//               carried over)
//   lines       each line is read, prepared and analysed (porun); its tracked
//               objects go into the column store for drawing, the objects
//               that ended on it are counted in their channels
//   after each frame  autofiskiflokkur for every channel
//
// The track bar, its selection, the guard the buttons set before they move it,
// and the enabled state of the buttons are modelled here too, so the
// navigation can be tested without a window; the window mirrors them.
//
// The engine reads the process-wide analysis tables it is given; a frame, an
// Autocount of any length, allocates nothing per line.
#ifndef TINDAVEL_RECORDS_RECOUNT_ENGINE_H_
#define TINDAVEL_RECORDS_RECOUNT_ENGINE_H_

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "records/block_reader.h"
#include "settings/settings_variables.h"

class DamageReporter;
class SettingsModel;
class SizeDisplay;
struct DetectionState;
struct ObjectRecord;
struct ViewerCounts;

// Objects kept per column for drawing; the detection may track more (500).
inline constexpr int kMaxColumnObjects = 100;
// The widest frame, in columns. A wider picture shows this many columns.
inline constexpr int32_t kMaxFrameWidth = 4096;
// The command line's frame width.
inline constexpr int32_t kDefaultFrameWidth = 1000;
// The track bar has at most this many steps; longer files share positions.
inline constexpr int32_t kTrackBarSteps = 100;

// One pixel column of the frame: the objects of its line as the detection
// left them. The engine's columns are never cleared as a whole (they take
// 1.6 MB): those past the frame's ColumnCount hold no meaning.
struct FrameColumn {
  int16_t Count;  // pairs in use
  struct Pair {
    int16_t Start;
    int16_t End;
  };
  std::array<Pair, kMaxColumnObjects> Pairs;  // [0..Count-1]
};

// The toolkit track bar's state: a position kept to Min..Max, and a selection.
struct TrackBarState {
  int32_t Min = 1;
  int32_t Max = 10;
  int32_t Position = 1;
  int32_t SelStart = 0;
  int32_t SelEnd = 0;
};

// The viewer's state, with the names of the frame logic.
struct RecordViewerState {
  int32_t TotalLines = 0;      // lines in the open file
  int32_t FrameCount = 0;      // frames that hold them
  int32_t CurrentFrame = 1;    // frame being shown or about to be shown
  int32_t LastShownFrame = 1;  // the next frame is LastShownFrame + 1
  int32_t FirstLine = 1;       // first line of the frame being read
  int32_t AutoStartFrame = 0;  // Autocount: the frame before the first counted
  int32_t AutoTargetFrame = 0; // Autocount: the last frame counted
  bool TrackGuard = false;     // set by the buttons before they move the track bar
  bool DrawOn = true;          // false during an Autocount
  int32_t ColumnCount = 0;     // columns read into the current frame
  TrackBarState TrackBar1;
  // Enabled state of the navigation buttons.
  bool beginEnabled = false;
  bool backwardEnabled = false;
  bool forwardEnabled = false;
  bool endEnabled = false;
  bool autocountDown = false;  // the Autocount check button is down
};

// Follows a re-count line by line without taking part in it: where the count
// restarts, every fish as it is counted, how far the count has come. Called
// from the frame loop, so an implementation allocates nothing.
class RecountListener {
 public:
  virtual ~RecountListener() = default;
  // The count restarted (a jump); the next line counted is `firstLine`.
  virtual void countRestarted(int64_t /*firstLine*/) {}
  // A fish counted, in count order: the object as accepted, the channel it
  // is counted in, the frame being read and the line it ended on (counted
  // from 1 at the start of the recording).
  virtual void fishCounted(const ObjectRecord& fish, int channel, int32_t frame, int64_t line) = 0;
  // Every line up to `lastLine` has been counted (after each frame).
  virtual void linesCounted(int64_t /*lastLine*/) {}
};

// What the engine is given to work on. Pointers may be null where noted.
struct RecountContext {
  DetectionState* detection = nullptr;  // required
  SettingsVariables* settings = nullptr;  // required
  ViewerCounts* counts = nullptr;  // required
  SizeDisplay* display = nullptr;  // the main window's size displays; may be null
  std::ostream* trace = nullptr;   // trace lines of accepted objects; null: none
  int32_t linesPerBuffer = 0;      // camera geometry, for the capacity gauge
  // The settings window's controls: the engine reads their Enablemulti
  // (null: unchecked); openRecording applies a recording's settings to them
  // and needs them.
  SettingsModel* controls = nullptr;
  const SessionState* session = nullptr;      // SessionActive; null: no session
  RecountListener* listener = nullptr;        // told of restarts and of every fish; may be null
};

class RecountEngine {
 public:
  explicit RecountEngine(const RecountContext& context);
  ~RecountEngine();
  RecountEngine(const RecountEngine&) = delete;
  RecountEngine& operator=(const RecountEngine&) = delete;

  RecountContext& context() { return ctx_; }
  // Back to what a new engine on `context` is, the file closed; only the
  // buffers (3.6 MB, never cleared as a whole) are kept. For a caller that
  // opens recording after recording (openRecording's `reuse`).
  void renew(const RecountContext& context);

  // OpenBlbFile's first step, before the file dialog: frame 1, the guard
  // set, the track bar to its start.
  void beginOpen();
  // Opens a record file: ".bla" as a text record, anything else as binary.
  // Counts its lines, rewinds, applies the size group of every channel and
  // clears the counts (OpenBlbFile's steps 6, 8-10; the settings must already
  // be those of the recording, so callers open recordings through
  // openRecording, records/recording_opener.h). Damage goes to `reporter`
  // (may be null), each kind once per file. False when the file cannot be
  // opened.
  [[nodiscard]] bool openRecord(const std::string& path, DamageReporter* reporter);
  // Closes the file.
  void closeRecord();
  bool isOpen() const { return reader_.isOpen(); }

  // The columns per frame; kept to 1..kMaxFrameWidth. While a file is open a
  // change re-divides it into frames and shows the frame holding the first
  // line of the current one (a jump: the count restarts there), so frames
  // and lines never fall out of step.
  void setFrameWidth(int32_t width);
  int32_t frameWidth() const { return frameWidth_; }

  // Starts a showing of the file (FormShow): LineCounter 0, the track bar's
  // maximum, frame 1 read.
  void show();

  // Counts frames first..last as an Autocount marked on `first` and released
  // on `last` does, after a showing that has read nothing yet (LineCounter
  // counts from the first line of frame `first`). Both must lie in
  // 1..FrameCount, first <= last.
  void countFrames(int32_t first, int32_t last);

  // Reads, analyses and counts frame k (lesaramma without the drawing).
  void lesaramma(int32_t k);

  // Navigation (the window's buttons and track bar).
  void beginbtnClick();
  void backwardbtnClick();
  void FarwardbtnClick();
  void endbtnClick();
  // The operator moved the track bar to `position` (runs the change event
  // when the position changes).
  void moveTrackBar(int32_t position);
  // The Autocount check button went down (`down`) or up.
  void AutocountbtnClick(bool down);

  // Shows frame k as a jump, wherever the count stood: it restarts there.
  // The track bar follows. k is kept to 1..FrameCount.
  void jumpToFrame(int32_t k);

  // What FormClose does to the analysis: no object carried over.
  void resetLines();

  const RecordViewerState& state() const { return st_; }
  // Column c of the frame shown, for c below state().ColumnCount.
  const FrameColumn& column(int32_t c) const { return columns_[static_cast<size_t>(c)]; }
  const BlockReader& reader() const { return reader_; }
  // Lines read and analysed since the engine was made.
  int64_t linesAnalysed() const { return linesAnalysed_; }

 private:
  void restartCounting();
  void readColumns();
  bool positionReader(int32_t firstLine);
  void setTrackPosition(int32_t position);
  void TrackBar1Change();
  void setTrackMax(int32_t maximum);
  int32_t trackPositionOf(int32_t frame) const;
  void updateFrameCount();
  bool enableMulti() const;
  bool sessionActive() const { return ctx_.session && ctx_.session->SessionActive; }
  bool openText(const std::string& path, DamageReporter* reporter);
  void removeTextCopy();

  RecountContext ctx_;
  RecordViewerState st_;
  BlockReader reader_;
  std::unique_ptr<FrameColumn[]> columns_;  // [0..kMaxFrameWidth-1], allocated once
  int32_t frameWidth_ = kDefaultFrameWidth;
  int64_t linesAnalysed_ = 0;
  bool shown_ = false;  // show() ran for the open file
  std::string textCopy_;  // binary copy of an open text record, removed on close
};

// Where the detection's trace file goes: "c:\test.txt" on Windows, test.txt
// in the user's own folder elsewhere (privateFolder(): the XDG runtime or
// cache folder, never the shared /tmp). Empty when there is no such folder:
// then nothing is traced.
std::string defaultTracePath();

// Frames that hold `lines` lines of `width` columns: rounded up, at least 1
// (a file without lines shows one empty frame).
int32_t framesFor(int64_t lines, int32_t width);

#endif  // TINDAVEL_RECORDS_RECOUNT_ENGINE_H_
