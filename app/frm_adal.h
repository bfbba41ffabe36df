// TFrmAdal: the main window. The toolbar opens the viewers; the counter
// panel, the throughput chart and the size-group pages of the counting side
// are built here but start hidden.
//
// The window works on the program's state directly (settings, store, texts,
// analysis, port). What it asks of the other windows it asks through its
// signals, which the window wiring (app_windows.cpp) connects; its controls
// are its own, and tests look at them through ui().
#ifndef TINDAVEL_APP_FRM_ADAL_H_
#define TINDAVEL_APP_FRM_ADAL_H_

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "analysis/size_classification.h"
#include "records/recording_writer.h"
#include "settings/settings_model.h"
#include "texts/caption_target.h"

class MainWindowDialogs;
class MainWindowEnvironment;
class QChartView;
class QDateTimeAxis;
class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class QValueAxis;
class UpDownSelector;
struct ProgramState;

inline constexpr int kDesignWidth = 640;
inline constexpr int kDesignHeight = 480;  // the window is scaled by screen height / this

// The main window's controls under their form names; arrays are indexed by
// channel 1..4 ([0] unused).
struct FrmAdalUi {
  // Toolbar (left to right).
  QWidget* ToolBar1 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* startstop = nullptr;
  QPushButton* Storebtn = nullptr;
  QPushButton* Button5 = nullptr;
  QPushButton* scopebtn = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Debugrec = nullptr;
  QPushButton* Viewfilebtn = nullptr;
  QPushButton* Reportbtn = nullptr;
  QPushButton* Button6 = nullptr;
  QProgressBar* Gauge1 = nullptr;
  std::array<QLabel*, 3> StatusPanels{};
  // Counter panel.
  QFrame* Panel1 = nullptr;
  QFrame* Panel4 = nullptr;
  std::array<QGroupBox*, 5> GroupBox{};
  std::array<QLineEdit*, 5> Teljari{};
  QGroupBox* SumGroupBox = nullptr;
  QLineEdit* Total = nullptr;
  QLineEdit* Summa = nullptr;
  // Chart and size-group pages.
  QFrame* Panel3 = nullptr;
  QTabWidget* pagectrl = nullptr;
  QChartView* Chart1 = nullptr;
  QLineSeries* Series1 = nullptr;  // "Counter 1"
  QLineSeries* Series3 = nullptr;  // "Counter 2"
  QLineSeries* Series4 = nullptr;  // "Counter 3"
  QLineSeries* Series5 = nullptr;  // "Counter 4"
  QLineSeries* Series2 = nullptr;  // "Max capacity"
  QDateTimeAxis* bottomAxis = nullptr;
  QValueAxis* leftAxis = nullptr;
  QFrame* Panel5 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  std::array<UpDownSelector*, 5> UpDown{};
  std::array<QLabel*, 5> sizelblLabel{};   // "Size Group"
  std::array<QLineEdit*, 5> sizelbl{};
  std::array<QLabel*, 5> estimlblLabel{};  // "Average Weight"
  std::array<QLineEdit*, 5> estimlbl{};
  std::array<QProgressBar*, 5> ProgressBar{};
  QPushButton* Button1 = nullptr;
  // Timers.
  QTimer* firstini = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* Targettimer = nullptr;
  QTimer* rectimer = nullptr;  // the recording's sampling timer; follows the writer
};

class TFrmAdal : public QMainWindow,
                 public MainWindowCaptions,
                 public SizeDisplay,
                 public MainWindowListener,
                 public RecordingMessages {
  Q_OBJECT

 public:
  // `dialogs` and `environment` may be null: the window then uses message
  // boxes and the real machine.
  explicit TFrmAdal(ProgramState& state, MainWindowDialogs* dialogs = nullptr,
                    MainWindowEnvironment* environment = nullptr, QWidget* parent = nullptr);
  ~TFrmAdal() override;

  // True when the single-instance check found another copy: the window was
  // closed in its creation and must never be shown.
  bool endedAtCreate() const { return endedAtCreate_; }
  // The scaling factor applied by FormCreate, as numerator / denominator.
  int scaleNumerator() const { return scaleNumerator_; }
  const FrmAdalUi& ui() const { return ui_; }

  // Operations named after their events.
  bool RunMany();            // true: another copy runs
  void firstiniTimer();      // the first-time initialisation
  void Button6Click();       // "Exit"
  void Stillamultiteljara() override;  // per-channel controls for NrChannels and multi
  void startcounting(const QString& sessionDescription);
  void StorebtnClick();
  void Timer1Timer();
  void TargettimerTimer();
  void TeljariDblClick(int channel);
  void SummaDblClick();
  void TotalDblClick();
  void UpDownClick(int channel);
  // The lamp wait ended: starts `firstini` and the throughput timer `Timer1`.
  void lampWaitEnded();
  // Shows the program-wide counts in the count fields, Total and Summa.
  void showCounts();
  // A channel's new name: its group box, its size-group page and its chart line.
  void renameChannel(int channel, const std::string& name) override;
  void showSizeGroupPosition(int channel, int32_t position) override;
  // The recording mode changed: during a session Sampling and Continuous
  // prepare a recording and None stops the sampling; outside one nothing.
  void RecordonchkClick() override;
  // The sampling timer's tick.
  void rectimerTimer();
  // The recording writer's failures, in an error box.
  void recordingFailed(const std::string& message) override;

  void setCaption(MainCaption control, const std::string& text) override;
  // The caption a control shows now.
  QString captionText(MainCaption control) const;

  // What the size classification shows: size-group names, the capacity
  // gauge, the weight estimates and their progress bars.
  void showSizeGroupName(int channel, std::string_view name) override;
  void setGaugeMaximum(int32_t maximum) override;
  void showWeightEstimate(int channel, std::string_view text) override;
  void setProgressPosition(int bar, int32_t position) override;
  void setProgressVisible(int bar, bool visible) override;

  // The names of this window's signals that nothing is connected to: what
  // it would ask for in vain. The wiring's test reads it.
  QStringList unansweredRequests() const;

  // The maximum of the capacity gauge as set, which "Max capacity" plots from.
  int32_t gaugeMaximum() const { return gaugeMaximum_; }

  // The chart line of channel 1..4.
  QLineSeries* counterSeries(int channel) const;
  // Colour of the sum box's caption text.
  QColor sumBoxTextColour() const;

 signals:
  // Toolbar buttons that open other windows.
  void recordViewerRequested();    // "View Record": the record viewer's OpenBlbFile
  void reportViewerRequested();    // "View Report": the report viewer's viewreport
  void settingsWindowRequested();  // "Settings", modal
  void scopeRequested();           // "Visibility", modal
  void debugViewerRequested();     // "Debug Rec", modal
  // The first-time initialisation fills the settings window's channel table.
  void channelTableRequested();
  // Store shows its note in the timed message window.
  void timedMessageRequested(const QString& text);
  // The main window closed: the program ends.
  void closed();
  // Files were dropped on the window (local paths, in their order).
  void filesDropped(const QStringList& paths);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void createToolBar();
  void createCounterPanel();
  void createChartPage();
  void createSizeGroupPages();
  void createStatusBar();
  void createTimers();
  void FormCreate();
  void FormShow();
  void Series1AfterAdd();
  void fitLeftAxis();
  void setSumBox(bool summaShown, const QString& caption, const QColor& colour);
  void applySizeGroup(int channel);
  QString langText(int index) const;
  RecordingRequest recordingRequest() const;
  void followRecTimer();
  QWidget* captionControl(MainCaption control) const;

  ProgramState& state_;
  std::unique_ptr<MainWindowDialogs> ownDialogs_;
  std::unique_ptr<MainWindowEnvironment> ownEnvironment_;
  MainWindowDialogs* dialogs_;
  MainWindowEnvironment* env_;
  FrmAdalUi ui_;
  std::string sessionTank_;  // the session's tank text, for the recording's name
  int32_t gaugeMaximum_ = 100;  // Gauge1's maximum as the size classification set it
  bool endedAtCreate_ = false;
  int scaleNumerator_ = kDesignHeight;
};

#endif  // TINDAVEL_APP_FRM_ADAL_H_
