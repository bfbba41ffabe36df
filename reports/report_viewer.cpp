#include "reports/report_viewer.h"

#include <filesystem>

#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include "reports/report_file.h"
#include "settings/ini_file.h"
#include "settings/settings_controls.h"
#include "settings/settings_variables.h"

namespace {

// The settings window's report folder field.
std::string defaultReportFolder() { return gSett.reportpath.text(); }

}  // namespace

std::optional<std::string> QtReportFileChooser::chooseReportFile(QWidget* parent, const std::string& folder) {
  const QString file = QFileDialog::getOpenFileName(parent, QString(), QString::fromStdString(folder),
                                                    "Report files (*.mse)");
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

void PrintPreviewer::showPreview(QWidget* parent, const ReportDocument& document) {
  QPrinter printer(QPrinter::HighResolution);
  setupReportPage(printer);
  QPrintPreviewDialog dialog(&printer, parent);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&document](QPrinter* target) { paintReport(*target, document); });
  // The preview opens showing the whole page.
  if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
    preview->setZoomMode(QPrintPreviewWidget::FitInView);
  }
  dialog.exec();
}

void QtReportMessageSink::showError(QWidget* parent, const std::string& text) {
  QMessageBox::critical(parent, QString(), QString::fromStdString(text));
}

char systemDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  if (point.size() != 1 || point.at(0).unicode() > 0x7F) return '.';
  return static_cast<char>(point.at(0).unicode());
}

std::optional<ReportDocument> loadReportDocument(const std::string& path, SettingsVariables& settings,
                                                 std::string* error, char decimalSeparator) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    if (error) *error = "Cannot read the report file " + path + ": it is a folder.";
    return std::nullopt;
  }
  std::optional<IniFile> ini = IniFile::fromFile(path);
  if (!ini) {
    if (error) *error = "Cannot read the report file " + path + ".";
    return std::nullopt;
  }
  const ReportFile report = readReportFile(*ini, {FloatRule::kReportViewer, decimalSeparator});
  const std::filesystem::path full = std::filesystem::absolute(path, ec);
  const std::string fullName = ec ? path : full.lexically_normal().string();
  ReportBands bands = buildReportBands(report, fullName, memoCommentWrapper());
  settings.NrChannels = bands.nrChannels;
  return makeReportDocument(std::move(bands), std::filesystem::path(fullName).parent_path().string());
}

Tfrmreport::Tfrmreport(QWidget* parent)
    : QWidget(parent),
      chooser_(std::make_unique<QtReportFileChooser>()),
      previewer_(std::make_unique<PrintPreviewer>()),
      messages_(std::make_unique<QtReportMessageSink>()),
      reportFolder_(defaultReportFolder),
      settings_(&gSettings) {
  // A window of its own that is never shown: it only holds the viewer.
  setWindowFlag(Qt::Window);
  setObjectName("frmreport");
  setWindowTitle("frmreport");
}

Tfrmreport::~Tfrmreport() = default;

void Tfrmreport::setFileChooser(std::unique_ptr<ReportFileChooser> chooser) {
  chooser_ = chooser ? std::move(chooser) : std::make_unique<QtReportFileChooser>();
}

void Tfrmreport::setPreviewer(std::unique_ptr<ReportPreviewer> previewer) {
  previewer_ = previewer ? std::move(previewer) : std::make_unique<PrintPreviewer>();
}

void Tfrmreport::setMessageSink(std::unique_ptr<ReportMessageSink> sink) {
  messages_ = sink ? std::move(sink) : std::make_unique<QtReportMessageSink>();
}

void Tfrmreport::setReportFolder(std::function<std::string()> folder) {
  reportFolder_ = folder ? std::move(folder) : std::function<std::string()>(defaultReportFolder);
}

void Tfrmreport::setSettings(SettingsVariables& settings) { settings_ = &settings; }

void Tfrmreport::viewreport() {
  const std::optional<std::string> file = chooser_->chooseReportFile(parentWidget(), reportFolder_());
  if (!file) return;
  viewreportFile(*file);
}

bool Tfrmreport::viewreportFile(const std::string& path) {
  std::string error;
  std::optional<ReportDocument> document = loadReportDocument(path, *settings_, &error);
  if (!document) {
    messages_->showError(parentWidget(), error);
    return false;
  }
  current_ = std::make_unique<ReportDocument>(std::move(*document));
  previewer_->showPreview(parentWidget(), *current_);
  return true;
}
