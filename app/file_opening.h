// Files opened from outside the toolbar: named on the command line, dropped
// on the main window, or handed over by a second start of the program. Each
// opens as the main window's buttons would open it after their dialogs: a
// recording in the record viewer, a report in the report preview, with the
// viewers' own checks and messages. What no viewer takes is told here.
#ifndef TINDAVEL_APP_FILE_OPENING_H_
#define TINDAVEL_APP_FILE_OPENING_H_

#include <QObject>
#include <QStringList>

#include <memory>
#include <string>

#include "app/main_window_dialogs.h"
#include "widgets/dialog_seam.h"

class QWidget;
class TfrmRecord;
class Tfrmreport;

enum class OpenedFileKind {
  kRecording,  // ".blb" or ".bla": the record viewer
  kReport,     // ".mse": the report preview
  kOther,
};

// The kind of `path` by its extension, in any case.
OpenedFileKind openedFileKind(const std::string& path);

// The message for a file of no kind the program opens.
QString unknownFileMessage(const QString& path);
// The message naming the files left unopened when several were given.
QString moreFilesMessage(const QStringList& rest);

class FileOpener : public QObject {
  Q_OBJECT

 public:
  // The viewers open what they take; `dialogs` tells the rest over
  // `mainWindow` (null: message boxes). The opener is the main window's child.
  FileOpener(QWidget* mainWindow, TfrmRecord* record, Tfrmreport* report, MainWindowDialogs* dialogs);
  ~FileOpener() override;

  // Opens the first of `paths` and names the others in one message. True
  // when a viewer opened the first.
  bool openFiles(const QStringList& paths);
  // A file handed over by a second start: the main window comes to the
  // front, then the file opens as above.
  void openHandedOver(const QString& path);

 private:
  QWidget* mainWindow_;
  TfrmRecord* record_;
  Tfrmreport* report_;
  DialogSeam<MainWindowDialogs, QtMainWindowDialogs> dialogs_;
};

#endif  // TINDAVEL_APP_FILE_OPENING_H_
