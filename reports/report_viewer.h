// Tfrmreport: the report viewer behind "View Report". It is never shown
// itself: viewreport asks for a report file, reads it into the three
// layouts (the counting report QuickRep1, the weight distribution page
// QuickRep3 and the stored values page QuickRep2, see report_bands.h) and
// shows the pages in the print preview, from which the operator prints.
//
// The file dialog, the preview and the error message are reached through
// small interfaces, so tests and the command line run the viewer without a
// person in front of it.
#ifndef TINDAVEL_REPORTS_REPORT_VIEWER_H_
#define TINDAVEL_REPORTS_REPORT_VIEWER_H_

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QWidget>

#include "reports/report_painter.h"

struct SettingsVariables;

// Asks for a report file, starting in `folder`. nullopt: cancelled.
class ReportFileChooser {
 public:
  virtual ~ReportFileChooser() = default;
  virtual std::optional<std::string> chooseReportFile(QWidget* parent, const std::string& folder) = 0;
};

// Shows a finished report to the operator.
class ReportPreviewer {
 public:
  virtual ~ReportPreviewer() = default;
  virtual void showPreview(QWidget* parent, const ReportDocument& document) = 0;
};

// Tells the operator that something went wrong.
class ReportMessageSink {
 public:
  virtual ~ReportMessageSink() = default;
  virtual void showError(QWidget* parent, const std::string& text) = 0;
};

// The open dialog with the filter "Report files|*.mse".
class QtReportFileChooser : public ReportFileChooser {
 public:
  std::optional<std::string> chooseReportFile(QWidget* parent, const std::string& folder) override;
};

// Qt's print preview on an A4 portrait printer, opened zoomed to fit the
// page; its print button prints the same pages.
class PrintPreviewer : public ReportPreviewer {
 public:
  void showPreview(QWidget* parent, const ReportDocument& document) override;
};

// A modal error box.
class QtReportMessageSink : public ReportMessageSink {
 public:
  void showError(QWidget* parent, const std::string& text) override;
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
  explicit Tfrmreport(QWidget* parent = nullptr);
  ~Tfrmreport() override;

  // The seams. Each setter takes ownership; nullptr puts Qt's own back.
  void setFileChooser(std::unique_ptr<ReportFileChooser> chooser);
  void setPreviewer(std::unique_ptr<ReportPreviewer> previewer);
  void setMessageSink(std::unique_ptr<ReportMessageSink> sink);
  // Where the dialog starts; by default the settings window's report folder
  // (`reportpath` of gSett). nullptr puts that back.
  void setReportFolder(std::function<std::string()> folder);
  // The settings whose NrChannels a viewing sets (gSettings unless told).
  void setSettings(SettingsVariables& settings);

  // "View Report": ask for a file, then preview it. Cancel ends quietly.
  void viewreport();
  // Reads `path` and previews it, without the dialog. False (after telling
  // the operator) when the file cannot be read.
  bool viewreportFile(const std::string& path);

  // The report of the latest viewing; nullptr before the first.
  const ReportDocument* currentReport() const { return current_.get(); }

 private:
  std::unique_ptr<ReportFileChooser> chooser_;
  std::unique_ptr<ReportPreviewer> previewer_;
  std::unique_ptr<ReportMessageSink> messages_;
  std::function<std::string()> reportFolder_;
  SettingsVariables* settings_;
  std::unique_ptr<ReportDocument> current_;
};

#endif  // TINDAVEL_REPORTS_REPORT_VIEWER_H_
