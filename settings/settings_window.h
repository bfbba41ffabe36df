// Tsett: the settings window ("Settings"). It shows and edits the settings
// value model (settings_model.h), which stays the one holder of every value:
// the widgets are a view of it. Each edit goes to the model at once through
// the model's setter, so its rule runs; the widgets are then shown again from
// the model, as after any change the model announces while the window shows.
// Nothing is kept in the widgets alone.
//
//   TabSheet1 "Settings"        language, recording, control function, batch
//                               number, fish type, weight constants, folder
//   TabSheet2 "Multi channels"  channel grid, multi channel counting, names
//   TabSheet3 "Advanced"        camera figures, channel width, number of
//                               channels, resolution, hardware (and hidden:
//                               forced clamping, sensitivity, debug mode)
//   TabSheet4 "Report"          operator/company, logo file and picture
//   bottom                      Label3 (the version line), Cancel, OK
//
// Closing: OK stores the settings; every close reads them back from the
// store, so Cancel discards the edits.
#ifndef TINDAVEL_SETTINGS_SETTINGS_WINDOW_H_
#define TINDAVEL_SETTINGS_SETTINGS_WINDOW_H_

#include <QDialog>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/channel_width.h"
#include "settings/settings_model.h"
#include "settings/settings_variables.h"
#include "widgets/dialog_seam.h"

class MainWindowCaptions;
class QImage;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
struct PortIo;
struct TextTable;

// The settings window's dialogs: the folder browser and the logo's file
// dialog. QtSettingsWindowDialogs for the program; tests script them.
class SettingsWindowDialogs {
 public:
  virtual ~SettingsWindowDialogs() = default;
  // The folder browser titled `title`; nothing when the operator cancels.
  virtual std::optional<std::string> chooseFolder(const std::string& title) = 0;
  // The file-open dialog starting at `start`; nothing when cancelled.
  virtual std::optional<std::string> chooseLogoFile(const std::string& start) = 0;
  // An error box with an OK button.
  virtual void showError(const std::string& text) = 0;
};

class QtSettingsWindowDialogs : public SettingsWindowDialogs {
 public:
  explicit QtSettingsWindowDialogs(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> chooseFolder(const std::string& title) override;
  std::optional<std::string> chooseLogoFile(const std::string& start) override;
  void showError(const std::string& text) override;

 private:
  QWidget* parent_;
};

// A picture file as the window shows it: null when it cannot be read.
using LogoLoader = QImage (*)(const std::string& path);
// The date and time now, as days since 30 December 1899.
using DayClock = double (*)();

// What the window works on. Every pointer but dialogs is required.
struct SettingsWindowEnvironment {
  SettingsModel* controls = nullptr;
  SettingsVariables* settings = nullptr;   // LanguageNumber, NrChannels, DebugMode
  SettingsStore* store = nullptr;
  TextTable* texts = nullptr;               // refilled by a language change
  MainWindowCaptions* mainWindow = nullptr; // re-captioned by a language change
  const SessionState* session = nullptr;
  const CameraGeometry* camera = nullptr;
  const LineRateCount* lineRate = nullptr;  // the main window's buffer count
  PortIo* port = nullptr;                   // "Reset" toggles the control output
  LogoLoader loadLogo = nullptr;
  DayClock now = nullptr;
  SettingsWindowDialogs* dialogs = nullptr;  // null: Qt's
};

// The folder browser's title.
inline constexpr const char* kFolderBrowserTitle = "Select Folder for Record and Report files";

// The "Line scan rate" figure in lines per second: LinesPerBuffer x
// BufferCount / (days since BufferCountStart) / 24 / 3600; 0 when no time has
// passed or the figure is not finite. The window shows it as "0.0".
double lineRate(int32_t linesPerBuffer, const LineRateCount& count, double nowDays);

// "LineWidth" "x" "LinesPerBuffer": 512 and 64 give "512x64".
std::string imageBufferText(const CameraGeometry& camera);

class Tsett : public QDialog, private SettingsObserver {
  Q_OBJECT

 public:
  explicit Tsett(const SettingsWindowEnvironment& environment, QWidget* parent = nullptr);
  ~Tsett() override;

  // Shows the model in the widgets: values, enabled and visible states, the
  // captions of the language fill and the items of lists and radio groups.
  void refresh();
  // Fills the channel grid `strmul`: a header row, then a row per channel.
  void showChannelTable(const std::vector<std::array<std::string, 4>>& rows);

  // Operations named after their events.
  void FormShow();
  void FolderkeybClick();    // also a double-click on reportpath
  void reportpathExit();
  void Button2Click();       // the logo file
  void Button4Click();       // "Reset"
  void GroupBox6DblClick();

  void done(int result) override;

 signals:
  // A "...." button or a double-click: the on-screen keyboard on `target`.
  void keyboardRequested(QWidget* target, bool digitsOnly);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void settingChanged(Setting setting) override;
  QWidget* createSettingsPage();
  QWidget* createMultiChannelsPage();
  QWidget* createAdvancedPage();
  QWidget* createReportPage();
  void createBottomBar();
  void connectEdits();
  void showCaptions();
  void loadLogo();
  void edited();  // after any edit: the model's handlers ran, show it again
  QWidget* captionControl(SettingsCaption control) const;

  // The controls under their form names. Tests and other windows find them
  // by object name (findChild), as the form names them: the radio buttons of
  // a radio group are its name and the item index ("Recordmethod2"), the
  // channel names and their buttons Cname1, cname2, ..., Keyb1, keyb2, ....
  QComboBox* ComboBox1 = nullptr;
  std::array<QRadioButton*, 3> Recordmethod{};
  std::array<QRadioButton*, 4> ctrl{};  // CtrlNone, CtrlOverload, CtrlBatchAlarm, CtrlBatchSplitter
  QSpinBox* Targetvalue = nullptr;
  QPushButton* Numberkeyb = nullptr;
  QPushButton* Button4 = nullptr;
  std::array<QRadioButton*, 3> FishtypeWeight{};
  QSpinBox* wcsalmon = nullptr;
  QSpinBox* wcbream = nullptr;
  QSpinBox* wcbass = nullptr;
  QLineEdit* reportpath = nullptr;
  QPushButton* Folderkeyb = nullptr;
  QCheckBox* autosence = nullptr;
  QTableWidget* strmul = nullptr;
  QCheckBox* Enablemulti = nullptr;
  std::array<QLineEdit*, 5> Cname{};       // [1..4] Cname1, cname2, Cname3, Cname4
  std::array<QLabel*, 5> CnameLabel{};     // [1..4] their labels
  std::array<QPushButton*, 5> Keyb{};      // [1..4] Keyb1, keyb2, Keyb3, keyb4
  QLineEdit* Linescan = nullptr;
  QLineEdit* ampl = nullptr;
  QLineEdit* imagebuffsize = nullptr;
  std::array<QRadioButton*, kChannelWidthItems.size()> Channelwidth{};  // one per width
  QGroupBox* GroupBox6 = nullptr;
  QSpinBox* Nrch = nullptr;
  QSpinBox* Resolution = nullptr;
  std::array<QRadioButton*, 2> hardware{};
  QCheckBox* ForcedClamping = nullptr;
  std::array<QRadioButton*, 5> sensitivity{};
  QCheckBox* debugmode = nullptr;
  QLineEdit* editoperator = nullptr;
  QPushButton* Button3 = nullptr;
  QLineEdit* logoimagepath = nullptr;
  QPushButton* Button2 = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Label3 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel

  SettingsWindowEnvironment env_;
  SettingsModel& c_;
  DialogSeam<SettingsWindowDialogs, QtSettingsWindowDialogs> dialogs_;
  QTabWidget* PageControl1 = nullptr;
  std::array<QWidget*, 4> TabSheet{};
  QGroupBox* GroupBox11 = nullptr;
  QGroupBox* RecordmethodBox = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QGroupBox* GroupBox7 = nullptr;
  QLabel* Label4 = nullptr;
  QGroupBox* FishtypeWeightBox = nullptr;
  QGroupBox* GroupBox12 = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  QGroupBox* GroupBox5 = nullptr;
  QGroupBox* GroupBox8 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QLabel* Label1 = nullptr;  // beside Linescan
  QLabel* Label2 = nullptr;  // beside ampl
  QGroupBox* ChannelwidthBox = nullptr;
  QGroupBox* hardwareBox = nullptr;
  QGroupBox* sensitivityBox = nullptr;
  bool shownBefore_ = false;
  bool refreshing_ = false;
  bool editing_ = false;  // an edit of the window is going to the model
};

#endif  // TINDAVEL_SETTINGS_SETTINGS_WINDOW_H_
