#include "reports/report_viewer.h"

#include <filesystem>

#include <QAction>
#include <QLabel>
#include <QToolBar>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>

#include "reports/report_file.h"
#include "settings/ini_file.h"
#include "settings/regular_file.h"
#include "settings/text_encoding.h"
#include "settings/settings_model.h"
#include "settings/settings_variables.h"

std::optional<std::string> QtReportViewerDialogs::chooseReportFile(const std::string& folder) {
  // Names are bytes: decoded for the dialog, given back as the same bytes.
  const QString file = QFileDialog::getOpenFileName(parent_, QString(), QFile::decodeName(QByteArray::fromStdString(folder)),
                                                    "Report files (*.mse)");
  if (file.isEmpty()) return std::nullopt;
  return QFile::encodeName(file).toStdString();
}

void preparePreviewDialog(QPrintPreviewDialog& dialog) {
  if (const QScreen* screen = dialog.screen()) dialog.resize(screen->availableGeometry().size());
  dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
  // The whole page, and the toolbar's "Fit page" down with it, so the fit
  // follows every later resize of the window and the buttons tell the truth.
  if (auto* fitPage = dialog.findChild<QAction*>(QStringLiteral("fitPageAction"))) {
    fitPage->setChecked(true);
  }
  if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
    preview->setZoomMode(QPrintPreviewWidget::FitInView);
  }
  // Alt and a letter on the preview's own toolbar, beside the keys it has.
  // Qt names only some of its actions, so they are found by their (English,
  // untranslated) texts.
  const struct {
    const char* text;
    const char* key;
  } altKeys[] = {{"Print", "Alt+P"},     {"First page", "Alt+F"}, {"Previous page", "Alt+B"},
                 {"Next page", "Alt+N"}, {"Last page", "Alt+L"}};
  const QList<QAction*> actions = dialog.findChildren<QAction*>();
  // The report is laid out for A4 portrait only: the buttons that would
  // choose another paper or turn the page are off, and the toolbar says so.
  for (QAction* action : actions) {
    const QString text = action->text();
    if (text == QLatin1String("Page setup") || text == QLatin1String("Portrait") ||
        text == QLatin1String("Landscape")) {
      action->setEnabled(false);
    }
  }
  if (auto* toolbar = dialog.findChild<QToolBar*>()) {
    if (toolbar->findChild<QLabel*>(QStringLiteral("paperLabel")) == nullptr) {
      auto* paper = new QLabel(QString::fromUtf8(kPaperNote), toolbar);
      paper->setObjectName(QStringLiteral("paperLabel"));
      paper->setContentsMargins(8, 0, 8, 0);
      toolbar->addSeparator();
      toolbar->addWidget(paper);
    }
  }
  for (const auto& k : altKeys) {
    for (QAction* action : actions) {
      if (action->text() != QLatin1String(k.text)) continue;
      QList<QKeySequence> keys = action->shortcuts();
      const QKeySequence alt(QString::fromLatin1(k.key));
      if (!keys.contains(alt)) keys.append(alt);
      action->setShortcuts(keys);
    }
  }
}

bool printReport(QPrinter& printer, const ReportDocument& document) {
  // The print dialog sets the paper of the printer chosen there; the pages
  // are laid out for A4, as the preview shows them, and go out on A4.
  setupReportPage(printer);
  printer.setDocName(QString::fromStdString(document.bands.title));
  return paintReport(printer, document);
}

void QtReportViewerDialogs::showPreview(const ReportDocument& document) {
  QPrinter printer(QPrinter::HighResolution);
  setupReportPage(printer);
  printer.setDocName(QString::fromStdString(document.bands.title));
  QPrintPreviewDialog dialog(&printer, parent_);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&document](QPrinter* target) { printReport(*target, document); });
  preparePreviewDialog(dialog);
  execPreview(dialog);
}

void QtReportViewerDialogs::execPreview(QPrintPreviewDialog& dialog) { dialog.exec(); }

void QtReportViewerDialogs::showError(const std::string& text) {
  QMessageBox::critical(parent_, QString(), QString::fromStdString(text));
}

char systemDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  if (point.size() != 1 || point.at(0).unicode() > 0x7F) return '.';
  return static_cast<char>(point.at(0).unicode());
}

std::optional<ReportDocument> loadReportDocument(const std::string& path, SettingsVariables& settings,
                                                 std::string* error, char decimalSeparator) {
  std::error_code ec;
  FileProblem problem = regularFileProblem(path);
  std::optional<IniFile> ini;
  if (problem == FileProblem::kNone) {
    ini = IniFile::fromFile(path);
    if (!ini) problem = FileProblem::kUnreadable;  // it failed while reading
  }
  if (!ini) {
    if (error) *error = "Cannot read the report file " + printableName(path) + ": " + fileProblemReason(path, problem) + ".";
    return std::nullopt;
  }
  const ReportFile report = readReportFile(*ini, {FloatRule::kReportViewer, decimalSeparator});
  const std::filesystem::path full = std::filesystem::absolute(path, ec);
  const std::string fullName = ec ? path : full.lexically_normal().string();
  ReportBands bands = buildReportBands(report, fullName, memoCommentWrapper());
  settings.NrChannels = bands.nrChannels;
  return makeReportDocument(std::move(bands), std::filesystem::path(fullName).parent_path().string());
}

Tfrmreport::Tfrmreport(const ReportViewerEnvironment& environment, QWidget* parent)
    : QWidget(parent), env_(environment), dialogs_(environment.dialogs, parent) {
  Q_ASSERT(env_.settings && env_.controls);
  // A window of its own that is never shown: it only holds the viewer.
  setWindowFlag(Qt::Window);
  setObjectName("frmreport");
  setWindowTitle("frmreport");
}

Tfrmreport::~Tfrmreport() = default;

void Tfrmreport::viewreport() {
  // A first start has no report folder yet: the dialog starts at home.
  std::string folder = env_.controls->reportpath.text();
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) folder = QFile::encodeName(QDir::homePath()).toStdString();
  const std::optional<std::string> file = dialogs_->chooseReportFile(folder);
  if (!file) return;
  viewreportFile(*file);
}

bool Tfrmreport::viewreportFile(const std::string& path) {
  std::string error;
  std::optional<ReportDocument> document = loadReportDocument(path, *env_.settings, &error);
  if (!document) {
    dialogs_->showError(error);
    return false;
  }
  current_ = std::make_unique<ReportDocument>(std::move(*document));
  dialogs_->showPreview(*current_);
  return true;
}
