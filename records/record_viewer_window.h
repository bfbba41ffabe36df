// The record viewer `TfrmRecord` ("View Record"): a recording shown frame by
// frame, one scan line per pixel column, counted again per channel. The frame
// logic is the re-count engine's (recount_engine.h); this window shows its
// state and hands the operator's clicks to it.
//
//   Chart1        (top, 88 high) the session's throughput, one channel at a
//                 time; a click shows the next channel. Label3: its name.
//                 Over it, the re-count's fish per minute of that channel
//                 (records/live_comparison.h); the session outside the
//                 recording is veiled. A double-click goes to the frame that
//                 holds the time clicked.
//   TrackBar1     where the frame lies in the file; its selection marks the
//                 frames counted since the count last restarted
//   ToolBar1      begin, back, forward, end, FrameLabel ("Frame 125 / 250"),
//                 Autocount (a check button), close; Alt+B, Alt+P, Alt+N,
//                 Alt+E, Alt+A, Alt+C press them. Left/Right step a frame,
//                 Home/End go to the first/last, Escape closes.
//   Panel3        (left, 111 wide) Label2 the time of the frame's first line,
//                 Label1 the sum of the counts (TotalLabel "Total" beside
//                 it), LabeledEdit1..4 the counts,
//                 each in the middle of its channel's band, under each
//                 LiveLabel1..4: the live count of the report and, after a
//                 whole re-count, the difference
//   PaintBox1     the frame: objects in navy, channel dividers
#ifndef TINDAVEL_RECORDS_RECORD_VIEWER_WINDOW_H_
#define TINDAVEL_RECORDS_RECORD_VIEWER_WINDOW_H_

#include <QWidget>

#include <array>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "records/damage_reporter.h"
#include "records/recording_settings.h"
#include "widgets/dialog_seam.h"

class LiveComparison;
class QAreaSeries;
class QChart;
class QLineSeries;
class QTimer;
class QChartView;
class QDateTimeAxis;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QToolBar;
class QToolButton;
class QValueAxis;
class RecordPicture;
class RecountEngine;
class SelectionTrackBar;
class SettingsModel;
class SettingsStore;
class SizeDisplay;
struct CameraGeometry;
struct DetectionState;
struct RecountContext;
struct SessionState;
struct ViewerCounts;

// The viewer's dialogs: a Qt implementation for the program, a scripted one
// for tests.
class RecordViewerDialogs {
 public:
  virtual ~RecordViewerDialogs() = default;
  // The open dialog: a record file, or nothing when the operator cancels.
  virtual std::optional<std::string> chooseRecordFile(const std::string& folder, const std::string& filter) = 0;
  // An error box with an OK button.
  virtual void showError(const std::string& text) = 0;
  // A warning box with an OK button: the file is open, but not all of it
  // could be read.
  virtual void showWarning(const std::string& text) = 0;
};

// File dialog and message boxes of Qt.
class QtRecordViewerDialogs : public RecordViewerDialogs {
 public:
  explicit QtRecordViewerDialogs(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> chooseRecordFile(const std::string& folder, const std::string& filter) override;
  void showError(const std::string& text) override;
  void showWarning(const std::string& text) override;

 private:
  QWidget* parent_;
};

// What the viewer works on: the program-wide state, or a test's own.
struct RecordViewerEnvironment {
  DetectionState* detection = nullptr;
  SettingsVariables* settings = nullptr;
  ViewerCounts* counts = nullptr;
  SettingsModel* controls = nullptr;
  SettingsStore* store = nullptr;
  SessionState* session = nullptr;
  CameraGeometry* camera = nullptr;
  RecordViewerDialogs* dialogs = nullptr;  // null: Qt's
  SizeDisplay* sizeDisplay = nullptr;      // the main window's size displays; may be null
  std::string tracePath;                   // empty: defaultTracePath()
};

// Where the open dialog starts: the settings' report folder, or the user's
// home folder `home` when that folder does not exist (a first start).
std::string recordDialogFolder(const std::string& reportFolder, const std::string& home);

// The open dialog's filter.
inline constexpr const char* kRecordFileFilter = "eka files binary (*.blb);;Eka files text (*.bla)";

class TfrmRecord : public QWidget {
  Q_OBJECT

 public:
  // Every pointer of `environment` but dialogs and sizeDisplay is required.
  explicit TfrmRecord(const RecordViewerEnvironment& environment, QWidget* parent = nullptr);
  ~TfrmRecord() override;

  // "View Record": choose a record file, take over its settings, show it.
  void OpenBlbFile();
  // Opens `path` without the dialog (the rest of OpenBlbFile). False when
  // the file or its report file cannot be read (the operator was told).
  bool loadFile(const std::string& path);
  // Opens `path` as "View Record" does once the dialog has chosen it: the
  // trace made afresh, then loadFile. A path that is no readable file is
  // told as the viewer tells a record file it cannot open.
  bool openRecordFile(const std::string& path);

  // Navigation, as the toolbar's buttons and the track bar.
  void beginbtnClick();
  void backwardbtnClick();
  void FarwardbtnClick();
  void endbtnClick();
  void AutocountbtnClick();  // after the check button changed state
  void Chart1Click();
  // A double-click on the chart at time `x` (days, as the chart's x values):
  // the frame holding it is shown as a jump. Outside the recording, nothing.
  void Chart1DblClick(double x);

  // Parts the tests look at.
  RecountEngine& engine() { return *engine_; }
  QToolButton* button(const char* name) const;
  QLineEdit* countEdit(int channel) const { return edits_[static_cast<size_t>(channel)]; }
  QLabel* countLabel(int channel) const { return editLabels_[static_cast<size_t>(channel)]; }
  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QLabel* Label3() const { return label3_; }
  QLabel* liveLabel(int channel) const { return liveLabels_[static_cast<size_t>(channel)]; }
  const LiveComparison& comparison() const { return *comparison_; }
  QLineSeries* recountSeries() const { return recountSeries_; }
  QLabel* FrameLabel() const { return frameLabel_; }
  SelectionTrackBar* TrackBar1() const { return trackBar_; }
  QWidget* PaintBox1() const;
  QChart* Chart1() const { return chart_; }
  // Index (0-based) of the chart series shown, -1 when none.
  int activeSeries() const;
  const RecordingSettings& recording() const { return recording_; }

  // skal: a pixel of the scan line to y in a picture `height` high.
  int skal(int32_t pixel, int height) const;
  // teiknaramman: draws the current frame on `painter` (size `width` x `height`).
  void teiknaramman(QPainter& painter, int width, int height) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createChart();
  void createToolBar();
  void createPanel();
  void createShortcuts();
  friend class RecordPicture;  // hands on its painting and its width changes

  RecountContext recountContext();  // the tables of env_, the trace when open
  void beginOpen();                  // OpenBlbFile's steps before the dialog: frame 1, the trace afresh
  void FormShow();
  void FormClose();
  void stillaafteljara();
  void showSeries(int index);
  void refresh();  // shows the engine's state: counts, labels, buttons, track bar, picture
  void PaintBox1Paint(QPainter& painter, int width, int height) const;
  void pictureResized(int width);
  void trackBarMoved(int position);
  void reportDamage();
  void step(void (RecountEngine::*move)());  // one of the engine's moves, then shown
  void showComparison();
  void createVeils();
  double chartTimeAt(const QPoint& position) const;
  void teiknaskilrum(QPainter& painter, int width, int height) const;

  RecordViewerEnvironment env_;
  DialogSeam<RecordViewerDialogs, QtRecordViewerDialogs> dialogs_;
  std::unique_ptr<LiveComparison> comparison_;
  std::unique_ptr<RecountEngine> engine_;
  std::ofstream trace_;
  RecordingSettings recording_;
  bool fileShown_ = false;  // FormShow ran for the open file
  bool settingsReplaced_ = false;  // a recording's settings are the working copy until FormClose

  std::unique_ptr<OperatorDamageReporter> damage_;  // the file on show's

  QChartView* chartView_ = nullptr;
  QChart* chart_ = nullptr;
  std::array<QAreaSeries*, kMaxChannels> series_{};  // Series1..Series4
  QDateTimeAxis* axisX_ = nullptr;
  QValueAxis* axisY_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* legend_ = nullptr;
  QLineSeries* recountSeries_ = nullptr;
  std::array<QAreaSeries*, 2> veils_{};  // the session before and after the recording
  QTimer* clickTimer_ = nullptr;          // a single click waits to see it is no double-click
  SelectionTrackBar* trackBar_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QWidget* panel3_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* totalLabel_ = nullptr;
  QLabel* frameLabel_ = nullptr;
  std::array<QLineEdit*, kMaxChannels + 1> edits_{};        // [1..4] LabeledEdit1..4
  std::array<QLabel*, kMaxChannels + 1> editLabels_{};     // [1..4] their labels
  std::array<QLabel*, kMaxChannels + 1> liveLabels_{};     // [1..4] live count and difference
  QGroupBox* channelinfo1x_ = nullptr;
  QLabel* channelcount1_ = nullptr;
  QLabel* channelweight1_ = nullptr;
  RecordPicture* picture_ = nullptr;
};

#endif  // TINDAVEL_RECORDS_RECORD_VIEWER_WINDOW_H_
