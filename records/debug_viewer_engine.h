// The debug recording viewer's frame logic without the window (TForm4): a
// record file stepped one window of lines per "Next", every line prepared and
// analysed (porun), the tracked objects given colour numbers, the finished
// ones marked with their measured values, counted per channel, and compared
// with a manual count. The window and `tindavel-cli debugcount` both drive
// this one engine.
//
//   open        openClick after the dialog: NrChannels 1, byrtaskra (the
//               header's edges), nyjarstillingar (the report, with this
//               viewer's own defaults), the first line of the ".tal" file
//               into Edit3, the size group of every channel, counts 0
//   nextClick   one window of columns; the window stops at the end of the
//               data (the last line is never repeated), and at the end the
//               file is closed and "Next" disabled. With Hradspolun it goes
//               on window after window to the end, drawing nothing.
//   skip        SpeedButton1Click: up to kSkipLines lines read and dropped,
//               stopping at the end of the file; the objects tracked before
//               the skip are dropped too (they cannot last across it)
//   close       FormClose after the caller reloaded the settings
//
// The per-column drawing data (objects with colour numbers), the markers of
// the finished objects, the counts and the texts of the edits are kept here;
// the window draws and shows them. Tables are allocated once, when the engine
// is made: a window of any width allocates nothing per line.
#ifndef TINDAVEL_RECORDS_DEBUG_VIEWER_ENGINE_H_
#define TINDAVEL_RECORDS_DEBUG_VIEWER_ENGINE_H_

#include <array>
#include <cstdint>
#include <fstream>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "records/recording_settings.h"
#include "records/recount_engine.h"
#include "records/word_reader.h"
#include "reports/report_file.h"
#include "settings/settings_variables.h"

class DamageReporter;
class SettingsModel;
class SettingsStore;
class SizeDisplay;
struct DetectionState;
struct ViewerCounts;

// SpeedButton1Click skips this many lines: five minutes at 1116 lines a second.
inline constexpr int32_t kSkipLines = 334800;
// The lowest pixels of the picture stay free for the bottom ticks.
inline constexpr int32_t kBottomMargin = 50;
// Markers of finished objects kept per window; further ones are not drawn.
inline constexpr int32_t kMaxWindowMarkers = 8192;

// The pen colours of tracked objects by colour number (toolkit order: blue in
// the high byte).
inline constexpr std::array<uint32_t, 11> ObjectColours{
    0x000000, 0x008000, 0x0000FF, 0xFF0000, 0x808000, 0x800000,
    0x008080, 0x800080, 0x00FFFF, 0x000080, 0xC0C0C0};

// The pen of colour number n. Numbers above 10 (more than ten objects side by
// side) take the colours 1..10 again in turn, so every object stays visible;
// 0 and below are black.
uint32_t objectPen(int32_t colour);

// The items of the radio group `view`: what a marker prints.
enum class DebugView { Area = 0, Length, Width, PosFile, PosiWidth, MeanWeight };

// The picture's vertical scale: trunc((v - left) / (right - left) x
// (height - kBottomMargin)). Edges that coincide give 0.
int32_t debugY(int32_t v, int32_t leftEdge, int32_t rightEdge, int32_t height);

// The weight estimate of an area in pixel-lines, grams: (area / (right -
// left) x channelWidthMm)^1.5 / 1200; 0 when the edges coincide or the base
// is negative.
double weightEstimate(double area, int32_t leftEdge, int32_t rightEdge, int32_t channelWidthMm);

// The weight estimate text of a mean area: weightEstimate(avgArea, ...), "0.0"
// below 1 gram, else "0", and " gr".
std::string estimateText(double avgArea, int32_t leftEdge, int32_t rightEdge, int32_t channelWidthMm);

// The manual count file of a record: the last four characters of the name
// replaced by ".tal".
std::string manualCountPath(const std::string& recordPath);

// nyjarstillingar in two steps, as the record viewer's: the companion report
// is read as the record viewers read it (readRecordingReport, which changes
// nothing); applying the reading sets the variables, the settings window's
// Channelwidth and Enablemulti, and the channel-width constants of the
// detection. This viewer's defaults (section, key, default):
//   1 Eka channelwidth 1 -> Channelwidth item; ChannelWidthMm = its number
//   2 Settings NrChannels 0
//   3-5 Eka %width<n> 25, Multib<n> (n-1) x 500 + 10, Multie<n> n x 500
//   6 store Enablemulti false
//   7-8 Settings Ledge 0, Redge 511
// Then NrChannels 0 becomes 1 (and more than 4 becomes 4), edges out of order
// become 0 and 511, as the record viewer keeps them.
void applyDebugViewerSettings(const RecordingReport& reading, SettingsVariables& s,
                              SettingsModel& controls, DetectionState& d);

// One tracked object on one column, with the colour number it was drawn in.
struct DebugObjectLine {
  int16_t Start;
  int16_t End;
  int32_t Colour;
};
struct DebugColumn {
  int16_t Count = 0;  // objects in use
  std::array<DebugObjectLine, kMaxColumnObjects> Objects;
};

// A finished object's marker: its values as the detection left them.
struct DebugMarker {
  int32_t Column = 0;
  int32_t Start = 0;
  int32_t End = 0;
  int32_t Lines = 0;
  int32_t Area = 0;
  int32_t MaxWidth = 0;
  int32_t MinLeft = 0;
  int32_t MaxRight = 0;
  int32_t LineCounter = 0;  // "Pos file"
  int32_t Offset = 0;       // +15 when Start is 15 or less, else -15
  bool Tick = false;        // Shape 3: the tick at the bottom
  bool Frame = false;       // the aspect frame rectangle from Column - Lines to Column
};
// What a marker prints for the `view` item.
std::string markerText(const DebugMarker& m, DebugView view);

// One window as the counts saw it.
struct DebugWindowSummary {
  int32_t Number = 0;       // windows from 1 since the file was opened
  int64_t FirstLine = 0;    // LineCounter of its first column
  int32_t Lines = 0;        // columns read
  int32_t Automatic = 0;    // objects finished in it (Edit4)
  // The ".tal" line the window shows for it (in Edit3, added to Edit5): the
  // opening shows line 1 and adds nothing, so window k shows line k + 1.
  // None when the file has no such line.
  std::optional<int32_t> Manual;
};

// The viewer's state, with the names of the window's controls where they show.
struct DebugViewerState {
  bool IsTextFile = false;
  bool nextEnabled = false;
  int32_t Column = 0;            // column being read, from 0
  int32_t ColumnCount = 0;       // columns read into the current window
  int32_t WindowStartTotal = 0;  // ObjectTotal when the window began
  int32_t ManualClicks = 0;
  int64_t ManualTotal = 0;       // 64 bits: a long ".tal" file must not overflow it
  int32_t Windows = 0;           // windows read since the file was opened
  int32_t MarkersDropped = 0;    // markers of the window beyond kMaxWindowMarkers
  ChannelArray<std::string> EstimateText{};
  // The window's choices.
  bool handtal = false;          // manual counting
  bool Hradspolun = false;       // fast forward
  DebugView view = DebugView::Area;
  int ActiveC = 0;               // item 0..3: channel 1..4
  // The texts of the edits.
  std::string Caption;
  std::string Total;
  std::string Edit4;
  std::string Edit3;
  std::string Edit5;
  std::string Edit2;
  std::string count;
  std::string estimt;
};

struct DebugViewerContext {
  DetectionState* detection = nullptr;   // required
  SettingsVariables* settings = nullptr; // required
  ViewerCounts* counts = nullptr;        // required
  SettingsModel* controls = nullptr;  // required: Channelwidth, Enablemulti
  SizeDisplay* display = nullptr;        // the main window's size displays; may be null
  std::ostream* trace = nullptr;         // trace of accepted objects; null: none
  int32_t linesPerBuffer = 0;            // camera geometry, for the gauge
  const SessionState* session = nullptr; // SessionActive; null: no session
};

class DebugViewerEngine {
 public:
  explicit DebugViewerEngine(const DebugViewerContext& context);
  ~DebugViewerEngine();
  DebugViewerEngine(const DebugViewerEngine&) = delete;
  DebugViewerEngine& operator=(const DebugViewerEngine&) = delete;

  DebugViewerContext& context() { return ctx_; }

  // The picture's size: its width is the window of lines (kept to
  // 1..kMaxFrameWidth), its height sets the scale.
  void setPictureSize(int32_t width, int32_t height);
  int32_t windowWidth() const { return width_; }
  int32_t pictureHeight() const { return height_; }

  // FormShow's part: "Next" disabled (the caller saves the settings).
  void FormShow();
  // openClick after a file was chosen, with the reading of its report
  // (nullopt: none, the header's edges stand). False when the record cannot
  // be opened; the counts and size groups are set up all the same.
  [[nodiscard]] bool openFile(const std::string& path, const std::optional<RecordingReport>& reading,
                              DamageReporter* damage);
  // openClick's last step when the dialog was cancelled: count "0", the size
  // group of every channel, counts 0.
  void openCancelled();
  bool isOpen() const { return reader_.isOpen(); }

  // One window (or, with Hradspolun, every window to the end).
  void nextClick();
  // Enter (13) in Edit3 steps on; other keys do nothing.
  void Edit3KeyDown(int key);
  // The operator typed into Edit3.
  void setEdit3(const std::string& text) { st_.Edit3 = text; }
  // A click on the picture: counted only in manual mode. Returns the half
  // size of the red square to draw (UpDown1's position + 2), nothing when
  // the click does not count.
  std::optional<int32_t> PaintBox1MouseDown();
  // The channel choice: item 0..3.
  void ActiveCClick(int item);
  void setManual(bool on) { st_.handtal = on; }
  void setFastForward(bool on) { st_.Hradspolun = on; }
  void setView(DebugView view) { st_.view = view; }
  // Skips up to kSkipLines lines; returns the lines skipped.
  int32_t SpeedButton1Click();
  // FormClose after the caller reloaded the settings: the size groups again,
  // no object carried over, the files closed.
  void FormClose();

  const DebugViewerState& state() const { return st_; }
  const DebugColumn& column(int32_t c) const { return columns_[static_cast<size_t>(c)]; }
  int32_t markerCount() const { return markerCount_; }
  const DebugMarker& marker(int32_t k) const { return markers_[static_cast<size_t>(k)]; }
  const DebugWindowSummary& lastWindow() const { return last_; }
  // Lines read since the file was opened (LineCounter's count, skipped ones too).
  int64_t linesRead() const { return linesRead_; }

 private:
  void closeFiles();
  void setUpChannels();
  void oneWindow();
  void readColumns();
  void colourObjects(int32_t column);
  void markFinished(int32_t column);
  std::optional<int32_t> readManualLine();
  void showActiveChannel();
  bool enableMulti() const;
  bool sessionActive() const { return ctx_.session && ctx_.session->SessionActive; }

  DebugViewerContext ctx_;
  DebugViewerState st_;
  WordReader reader_;
  std::ifstream manualFile_;  // the ".tal" file, open while the record is
  std::unique_ptr<DebugColumn[]> columns_;   // [0..kMaxFrameWidth-1]
  std::unique_ptr<DebugMarker[]> markers_;   // [0..kMaxWindowMarkers-1]
  std::unique_ptr<uint8_t[]> colourTaken_;   // [0..kMaxTracked+1], per line
  int32_t markerCount_ = 0;
  int32_t width_ = kDefaultFrameWidth;
  int32_t height_ = 600;
  int64_t linesRead_ = 0;
  DebugWindowSummary last_;
};

#endif  // TINDAVEL_RECORDS_DEBUG_VIEWER_ENGINE_H_
