// The debug recording viewer `TForm4` ("View File"): a recording stepped one
// window of lines per "Next", the tracked objects drawn in their colours and,
// in debug mode, the finished ones marked with their values. The frame logic
// is the debug viewer engine's (debug_viewer_engine.h); this window shows its
// state, draws its data and hands the operator's clicks to it.
//
//   Panel1     (left, 105 wide) open, next, SpeedButton1 (skip), BitBtn1
//              "&Close"; Total, Edit4; Panel2 (debug mode only): handtal,
//              Edit5, Edit3, view, Edit2, Hradspolun, count, estimt, ActiveC
//   PaintBox1  the window of lines, one column per line; a click counts one
//              fish in manual mode
//
// Shown, it saves the program's settings to the store; closed, it loads them
// again, so a recording's own settings never outlive the viewer.
#ifndef TINDAVEL_RECORDS_DEBUG_VIEWER_WINDOW_H_
#define TINDAVEL_RECORDS_DEBUG_VIEWER_WINDOW_H_

#include <QDialog>
#include <QRect>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "records/debug_viewer_engine.h"
#include "records/record_viewer_window.h"  // the record viewers' dialogs

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPainter;
class QPushButton;
class QToolButton;
class SettingsModel;
class SettingsStore;
class SizeDisplay;
struct CameraGeometry;
struct DetectionState;
struct SessionState;
struct SettingsVariables;
struct ViewerCounts;

// What the viewer works on: the program-wide state, or a test's own.
struct DebugViewerEnvironment {
  DetectionState* detection = nullptr;
  SettingsVariables* settings = nullptr;
  ViewerCounts* counts = nullptr;
  SettingsModel* controls = nullptr;
  SettingsStore* store = nullptr;
  SessionState* session = nullptr;
  CameraGeometry* camera = nullptr;
  RecordViewerDialogs* dialogs = nullptr;  // the record viewers' dialogs; null: Qt's
  SizeDisplay* sizeDisplay = nullptr;     // the main window's size displays; may be null
};

class DebugPicture;

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  // Every pointer of `environment` but dialogs and sizeDisplay is required.
  explicit TForm4(const DebugViewerEnvironment& environment, QWidget* parent = nullptr);
  ~TForm4() override;

  void openClick();
  // Opens `path` without the dialog (the rest of openClick). False when the
  // record file cannot be opened.
  bool loadFile(const std::string& path);
  void nextClick();
  void SpeedButton1Click();
  void ActiveCClick(int item);

  // Parts the tests look at.
  DebugViewerEngine& engine() { return *engine_; }
  QWidget* PaintBox1() const;
  QPushButton* openButton() const { return open_; }
  QPushButton* nextButton() const { return next_; }
  QLineEdit* edit(const char* name) const;  // Total, Edit2..Edit5, count, estimt
  QCheckBox* handtal() const { return handtal_; }
  QCheckBox* Hradspolun() const { return hradspolun_; }
  QWidget* Panel2() const { return panel2_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  friend class DebugPicture;  // hands on its painting and its clicks

  void createPanel();
  void FormShow();
  void FormClose();
  void refresh();  // the engine's texts into the edits, "Next" enabled or not
  void PaintBox1Paint(QPainter& painter, int width, int height) const;
  void PaintBox1MouseDown(const QPoint& at);
  void Edit3KeyDown();

  DebugViewerEnvironment env_;
  std::unique_ptr<QtRecordViewerDialogs> qtDialogs_;
  RecordViewerDialogs* dialogs_ = nullptr;
  std::unique_ptr<DebugViewerEngine> engine_;
  bool shown_ = false;            // FormShow ran and FormClose has not yet
  DebugView drawnView_ = DebugView::Area;  // the view choice of the window on show
  bool windowDrawn_ = false;      // a window was read and drawn: the channel edges show
  std::vector<QRect> clicks_;     // the manual clicks' squares in the window on show

  QWidget* panel1_ = nullptr;
  QWidget* panel2_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* next_ = nullptr;
  QToolButton* speedButton1_ = nullptr;
  QPushButton* bitBtn1_ = nullptr;
  QLineEdit* total_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QLineEdit* edit3_ = nullptr;
  QLineEdit* edit4_ = nullptr;
  QLineEdit* edit5_ = nullptr;
  QLineEdit* count_ = nullptr;
  QLineEdit* estimt_ = nullptr;
  QCheckBox* handtal_ = nullptr;
  QCheckBox* hradspolun_ = nullptr;
  QButtonGroup* view_ = nullptr;
  QButtonGroup* activeC_ = nullptr;
  DebugPicture* picture_ = nullptr;
};

#endif  // TINDAVEL_RECORDS_DEBUG_VIEWER_WINDOW_H_
