// Tfrmscope: the visibility scope ("Visibility scope"). A chart of the scan
// line (x: pixel, y: light strength 0..255) with a bar at each edge of the
// used part of the line and at each divider between the channels in use, and
// the two edge fields below it:
//
//   Chart1     the chart; Series3 holds the marker bars, Series1, Series2 and
//              Series4..7 are there and stay empty
//   GroupBox2  "Left edge position":  byrjun, byr "...." (keyboard), BitBtn4 (zoom onto it)
//   GroupBox1  "Right edge position": endir, enda "...." (keyboard), BitBtn2 (zoom onto it)
//   BitBtn3    zoom out to the whole line
//   BitBtn5    "Check Visibility" (nothing behind it)
//   BitBtn1    close
//
// Every show puts up the markers of the settings (analysis/visibility_scope.h);
// an edit of either field leaves only its two edge bars. Every close checks
// the pair, stores it when it passes and says why when it does not; the
// window closes either way.
#ifndef TINDAVEL_ANALYSIS_SCOPE_WINDOW_H_
#define TINDAVEL_ANALYSIS_SCOPE_WINDOW_H_

#include <QAreaSeries>
#include <QDialog>
#include <QSize>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/visibility_scope.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "widgets/dialog_seam.h"
#include "widgets/double_clicks.h"

class QChartView;
class QGroupBox;
class QLineSeries;
class QPushButton;
class QSpinBox;
class QValueAxis;

// The scope's dialogs: its error box. QtScopeDialogs for the program; tests
// script it.
class ScopeDialogs {
 public:
  virtual ~ScopeDialogs() = default;
  // A modal error box with one OK button.
  virtual void showError(const std::string& text) = 0;
};

class QtScopeDialogs : public ScopeDialogs {
 public:
  explicit QtScopeDialogs(QWidget* parent) : parent_(parent) {}
  void showError(const std::string& text) override;

 private:
  QWidget* parent_;
};

// What the window works on. Every pointer but dialogs is required.
struct ScopeWindowEnvironment {
  SettingsVariables* settings = nullptr;  // LeftEdge, RightEdge, NrChannels, ChannelPositions
  SettingsModel* controls = nullptr;   // for Write_Registry
  SettingsStore* store = nullptr;         // where a passed pair is stored
  const CameraGeometry* camera = nullptr; // LineWidth, read at every show and close
  QSize screen;                           // the screen's size; empty: the designed size
  ScopeDialogs* dialogs = nullptr;        // null: Qt's
};

// The marker bars: a filled area over an outline of narrow blocks, one per
// bar, with the bars' x values kept in the order they were added.
class ScopeBarSeries : public QAreaSeries {
  Q_OBJECT

 public:
  explicit ScopeBarSeries(QObject* parent = nullptr);

  void clear();
  void addBar(int32_t x);
  const std::vector<int32_t>& bars() const { return bars_; }
  // Half a bar's width in x-axis units.
  void setHalfWidth(double halfWidth);
  double halfWidth() const { return halfWidth_; }

 private:
  void redraw();

  std::vector<int32_t> bars_;
  double halfWidth_ = 1.0;
};

class Tfrmscope : public QDialog {
  Q_OBJECT

 public:
  // The size the window was designed at; it opens at 80 % of the screen in
  // each direction, its fonts and fixed sizes scaled by its new width over
  // the designed one.
  static constexpr QSize kDesignSize{640, 480};

  explicit Tfrmscope(const ScopeWindowEnvironment& environment, QWidget* parent = nullptr);
  ~Tfrmscope() override;

  // Operations named after their events.
  void FormShow();
  void byrjunChange();  // also endir's
  void BitBtn4Click();  // zoom onto the left edge
  void BitBtn2Click();  // zoom onto the right edge
  void BitBtn3Click();  // zoom out

  // Every way of closing comes here: the check, the store, then the close.
  void done(int result) override;

 signals:
  // A "...." button or a double-click on an edge field: the on-screen
  // keyboard on `target`, digits only.
  void keyboardRequested(QWidget* target, bool digitsOnly);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void createChart();
  QGroupBox* createEdgeGroup(const char* name, const char* caption, QSpinBox*& field, const char* fieldName,
                             QPushButton*& keyboard, const char* keyboardName, QPushButton*& zoom,
                             const char* zoomName);
  void scaleTo(int width);
  int scaled(int designed) const;
  void showBars(const std::vector<int32_t>& bars);
  void zoomOnto(std::optional<std::size_t> bar);
  void setRange(const AxisRange& range);

  // Controls under their form names, which are also their object names
  // (tests find them by those).
  QChartView* Chart1 = nullptr;
  QValueAxis* bottomAxis = nullptr;  // pixel along the line
  QValueAxis* leftAxis = nullptr;    // "Light strength"
  QLineSeries* Series1 = nullptr;
  QLineSeries* Series2 = nullptr;
  ScopeBarSeries* Series3 = nullptr;
  QLineSeries* Series4 = nullptr;
  QLineSeries* Series5 = nullptr;
  QLineSeries* Series6 = nullptr;
  QLineSeries* Series7 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QSpinBox* byrjun = nullptr;
  QPushButton* byr = nullptr;
  QPushButton* BitBtn4 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QSpinBox* endir = nullptr;
  QPushButton* enda = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QPushButton* BitBtn3 = nullptr;
  QPushButton* BitBtn5 = nullptr;
  QPushButton* BitBtn1 = nullptr;

  ScopeWindowEnvironment env_;
  DialogSeam<ScopeDialogs, QtScopeDialogs> dialogs_;
  DoubleClicks* doubleClicks_ = nullptr;  // on the edge fields' editors
  int scaleNumerator_ = 1;    // the window's width
  int scaleDenominator_ = 1;  // the designed width
};

#endif  // TINDAVEL_ANALYSIS_SCOPE_WINDOW_H_
