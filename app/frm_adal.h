// TFrmAdal: the main window. The toolbar opens the viewers; the counter
// panel, the throughput chart and the size-group pages of the counting side
// are built here but start hidden.
//
// Controls are public and keep their form names, so the language fill, the
// settings window's links and tests reach them by name.
#ifndef TINDAVEL_APP_FRM_ADAL_H_
#define TINDAVEL_APP_FRM_ADAL_H_

#include <QMainWindow>

#include <array>
#include <string_view>

#include "analysis/size_classification.h"
#include "app/main_window_links.h"
#include "settings/settings_variables.h"
#include "texts/caption_target.h"

class QChart;
class QChartView;
class QDateTimeAxis;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class QValueAxis;

inline constexpr int kDesignWidth = 640;
inline constexpr int kDesignHeight = 480;  // the window is scaled by screen height / this

// The program-wide state the main window works on.
struct MainWindowState {
  SettingsVariables& settings;
  SessionState& session;
  CameraGeometry& camera;
  CountingState& counting;
};

class TFrmAdal : public QMainWindow, public CaptionTarget, public SizeDisplay {
  Q_OBJECT

 public:
  TFrmAdal(MainWindowState state, MainWindowEnvironment environment, MainWindowLinks links,
           QWidget* parent = nullptr);
  ~TFrmAdal() override;

  // True when the single-instance check found another copy: the window was
  // closed in its creation and must never be shown.
  bool endedAtCreate() const { return endedAtCreate_; }
  // The scaling factor applied by FormCreate, as numerator / denominator.
  int scaleNumerator() const { return scaleNumerator_; }

  void setLinks(MainWindowLinks links) { links_ = std::move(links); }
  MainWindowLinks& links() { return links_; }

  // Operations named after their events.
  bool RunMany();            // true: another copy runs
  void firstiniTimer();      // the first-time initialisation
  void Button6Click();       // "Exit"
  void Stillamultiteljara(); // per-channel controls for NrChannels and multi
  void startcounting(const QString& sessionDescription);
  void StorebtnClick();
  void Timer1Timer();
  void TargettimerTimer();
  void TeljariDblClick(int channel);
  void SummaDblClick();
  void TotalDblClick();
  void UpDownClick(int channel);
  // Shows the program-wide counts in the count fields, Total and Summa.
  void showCounts();
  // A channel's new name: its group box, its size-group page and its chart line.
  void renameChannel(int channel, const QString& name);

  void setCaption(std::string_view control, int item, const std::string& text) override;

  // What the size classification shows: size-group names, the capacity
  // gauge, the weight estimates and their progress bars.
  void showSizeGroupName(int channel, std::string_view name) override;
  void setGaugeMaximum(int32_t maximum) override;
  void showWeightEstimate(int channel, std::string_view text) override;
  void setProgressPosition(int bar, int32_t position) override;
  void setProgressVisible(int bar, bool visible) override;

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
  std::array<QGroupBox*, 5> GroupBox{};  // [1..4]
  std::array<QLineEdit*, 5> Teljari{};   // [1..4]
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
  std::array<QSpinBox*, 5> UpDown{};           // [1..4]
  std::array<QLabel*, 5> sizelblLabel{};       // [1..4] "Size Group"
  std::array<QLineEdit*, 5> sizelbl{};         // [1..4]
  std::array<QLabel*, 5> estimlblLabel{};      // [1..4] "Average Weight"
  std::array<QLineEdit*, 5> estimlbl{};        // [1..4]
  std::array<QProgressBar*, 5> ProgressBar{};  // [1..4]
  QPushButton* Button1 = nullptr;
  // Timers.
  QTimer* firstini = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* Targettimer = nullptr;

  // The chart line of channel 1..4.
  QLineSeries* counterSeries(int channel) const;
  // Colour of the sum box's caption text.
  QColor sumBoxTextColour() const;

 signals:
  // The main window closed: the program ends.
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

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
  QString langText(int index, const char* english) const;
  QDateTime now() const;

  MainWindowState state_;
  MainWindowEnvironment env_;
  MainWindowLinks links_;
  bool endedAtCreate_ = false;
  int scaleNumerator_ = kDesignHeight;
};

#endif  // TINDAVEL_APP_FRM_ADAL_H_
