// tindavel: the desktop viewer of the fish counter.
//
//   tindavel [FILE...]   a recording (.blb, .bla) or a report (.mse) opens as
//                        the toolbar's buttons open it; while a copy of this
//                        user's runs, it takes the file and this start ends
#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "app/app_windows.h"
#include "app/command_line.h"
#include "app/file_opening.h"
#include "app/frm_adal.h"
#include "app/program_state.h"
#include "app/single_instance_handover.h"
#include "portio/port_driver.h"
#include "portio/port_io.h"

int main(int argc, char** argv) {
  // The command line is read before anything needs a display.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  const CommandLine line = parseCommandLine(arguments);
  if (line.action != CommandLine::Action::kRun) {
    const bool usage = line.action == CommandLine::Action::kUsage;
    std::fputs(line.text.toLocal8Bit().constData(), usage ? stdout : stderr);
    return usage ? 0 : 2;
  }
  QStringList files;
  for (const QString& file : line.files) files.append(QFileInfo(file).absoluteFilePath());

  QApplication app(argc, argv);
  setUpApplication();

  // A copy of this user's that runs already opens the file instead.
  const QString socketPath = handOverSocketPath();
  if (!files.isEmpty() && handOverFile(socketPath, files.first())) return 0;

  // The program's state, one of each, for the whole run.
  auto state = std::make_unique<ProgramState>();

  // The port driver comes up before any window and goes down after the last.
  std::unique_ptr<PortDriver> portDriver = makeSystemPortDriver();
  portIoStartup(state->port, portDriver.get());

  AppWindows windows;
  int status = 0;
  if (createWindows(windows, *state)) {
    HandOverServer handOver;
    handOver.listen(socketPath);  // without it, a second start ends as it always did
    QObject::connect(&handOver, &HandOverServer::fileHandedOver, windows.fileOpener, &FileOpener::openHandedOver,
                     Qt::QueuedConnection);
    // The first-time initialisation runs once, before the main window takes
    // input: the settings are loaded before anything can save them, and the
    // texts are filled. The window's own title is set when it shows.
    windows.FrmAdal->firstiniTimer();
    windows.FrmAdal->showMaximized();
    // The files open once the main window is up, over it.
    if (!files.isEmpty()) {
      QTimer::singleShot(0, windows.fileOpener, [&windows, files] { windows.fileOpener->openFiles(files); });
    }
    status = QApplication::exec();
  }
  destroyWindows(windows);
  portIoShutdown(state->port);
  return status;
}
