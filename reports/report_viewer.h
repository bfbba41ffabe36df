// Tfrmreport: the report viewer behind "View Report". It is never shown
// itself: viewreport asks for a report file, reads it into the three
// layouts (the counting report QuickRep1, the weight distribution page
// QuickRep3 and the stored values page QuickRep2, see report_bands.h) and
// shows the pages in the print preview, from which the operator prints.
//
// The file dialog, the preview and the error message are reached through
// one small interface, so tests run the viewer without a person in front of
// it; the command line prints without the viewer (loadReportDocument).
#ifndef TINDAVEL_REPORTS_REPORT_VIEWER_H_
#define TINDAVEL_REPORTS_REPORT_VIEWER_H_

#include <memory>
#include <optional>
#include <string>

#include <QWidget>

#include "reports/report_painter.h"
#include "widgets/dialog_seam.h"

class QPrintPreviewDialog;
class QPrinter;
class SettingsModel;
struct SettingsVariables;

// The viewer's dialogs: a Qt implementation for the program, a scripted one
// for tests.
class ReportViewerDialogs {
 public:
  virtual ~ReportViewerDialogs() = default;
  // The open dialog for report files, starting in `folder`; nullopt when the
  // operator cancels.
  virtual std::optional<std::string> chooseReportFile(const std::string& folder) = 0;
  // Shows a finished report to the operator, who prints it from there.
  virtual void showPreview(const ReportDocument& document) = 0;
  // Tells the operator that something went wrong.
  virtual void showError(const std::string& text) = 0;
};

// What the preview's toolbar says of the paper.
inline constexpr const char* kPaperNote = "Printed on A4 paper";

// Readies Qt's print preview for a viewing: maximised, and as large as the
// screen's free area where the window system keeps dialogs from maximising,
// showing the whole page (the "Fit page" button down). The buttons for
// another paper or orientation are off, and the toolbar says kPaperNote.
void preparePreviewDialog(QPrintPreviewDialog& dialog);

// Paints the report for the preview and for the printer chosen from it: on
// A4 portrait whatever paper the print dialog set (what the preview shows is
// what is printed), the pages of the range chosen in the print dialog only,
// and the job named by the report's title.
bool printReport(QPrinter& printer, const ReportDocument& document);

// The open dialog with the filter "Report files (*.mse)", Qt's print preview
// on an A4 portrait printer (its print button prints the same pages), readied
// by preparePreviewDialog for every viewing, and a modal error box.
class QtReportViewerDialogs : public ReportViewerDialogs {
 public:
  explicit QtReportViewerDialogs(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> chooseReportFile(const std::string& folder) override;
  void showPreview(const ReportDocument& document) override;
  void showError(const std::string& text) override;

 protected:
  // Runs the readied preview, modal; tests look at it here instead.
  virtual void execPreview(QPrintPreviewDialog& dialog);

 private:
  QWidget* parent_;
};

// What the viewer works on: the program's state, or a test's own.
struct ReportViewerEnvironment {
  SettingsVariables* settings = nullptr;       // a viewing sets its NrChannels
  const SettingsModel* controls = nullptr;  // its `reportpath`: where the dialog starts
  ReportViewerDialogs* dialogs = nullptr;      // null: Qt's
};

// The decimal separator of the system's number settings (QLocale::system());
// '.' when the system's separator is not a single ASCII character.
char systemDecimalSeparator();

// Reads a report file and prepares its pages. Floats are read with
// `decimalSeparator` only, by default the system's. The file's channel count,
// bounded to the four channels the layouts hold, becomes `settings`'
// NrChannels, as it always did. nullopt, with the reason in `error`, only
// when the file cannot be read at all; a readable file that is no report
// prints an empty one-channel report.
std::optional<ReportDocument> loadReportDocument(const std::string& path, SettingsVariables& settings,
                                                 std::string* error,
                                                 char decimalSeparator = systemDecimalSeparator());

class Tfrmreport : public QWidget {
  Q_OBJECT

 public:
  // `settings` and `controls` of the environment are required. The viewer is
  // never shown itself, so its own Qt dialogs open over `parent` (none: on
  // their own).
  explicit Tfrmreport(const ReportViewerEnvironment& environment, QWidget* parent = nullptr);
  ~Tfrmreport() override;

  // "View Report": ask for a file, then preview it. Cancel ends quietly.
  void viewreport();
  // Reads `path` and previews it, without the dialog. False (after telling
  // the operator) when the file cannot be read.
  bool viewreportFile(const std::string& path);

  // The report of the latest viewing; nullptr before the first.
  const ReportDocument* currentReport() const { return current_.get(); }

 private:
  ReportViewerEnvironment env_;
  DialogSeam<ReportViewerDialogs, QtReportViewerDialogs> dialogs_;
  std::unique_ptr<ReportDocument> current_;
};

#endif  // TINDAVEL_REPORTS_REPORT_VIEWER_H_
