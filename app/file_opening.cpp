#include "app/file_opening.h"

#include <QDir>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/main_window_dialogs.h"
#include "records/record_viewer_window.h"
#include "reports/report_viewer.h"

OpenedFileKind openedFileKind(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".blb" || extension == ".bla") return OpenedFileKind::kRecording;
  if (extension == ".mse") return OpenedFileKind::kReport;
  return OpenedFileKind::kOther;
}

QString unknownFileMessage(const QString& path) {
  return QStringLiteral("Cannot open %1: it is neither a recording (.blb, .bla) nor a report (.mse).")
      .arg(QDir::toNativeSeparators(path));
}

QString moreFilesMessage(const QStringList& rest) {
  QStringList shown;
  for (const QString& p : rest) shown.append(QDir::toNativeSeparators(p));
  return QStringLiteral("One file opens at a time. Not opened:\n%1").arg(shown.join(QLatin1Char('\n')));
}

FileOpener::FileOpener(QWidget* mainWindow, TfrmRecord* record, Tfrmreport* report, MainWindowDialogs* dialogs)
    : QObject(mainWindow), mainWindow_(mainWindow), record_(record), report_(report), dialogs_(dialogs, mainWindow) {
  Q_ASSERT(mainWindow_ && record_ && report_);
}

FileOpener::~FileOpener() = default;

void FileOpener::openHandedOver(const QString& path) {
  if (mainWindow_->isMinimized()) mainWindow_->showMaximized();
  mainWindow_->raise();
  mainWindow_->activateWindow();
  openFiles({path});
}

bool FileOpener::openFiles(const QStringList& paths) {
  if (paths.isEmpty()) return false;
  if (paths.size() > 1) dialogs_->inform(moreFilesMessage(paths.mid(1)));
  const QString& path = paths.first();
  const std::string name = path.toStdString();
  switch (openedFileKind(name)) {
    case OpenedFileKind::kRecording:
      if (!record_->openRecordFile(name)) return false;
      record_->raise();
      record_->activateWindow();
      return true;
    case OpenedFileKind::kReport:
      // The preview is modal: it is on top while it shows.
      return report_->viewreportFile(name);
    case OpenedFileKind::kOther:
      break;
  }
  dialogs_->showError(unknownFileMessage(path));
  return false;
}
