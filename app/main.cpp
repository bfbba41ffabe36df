// tindavel: the desktop viewer of the fish counter.
#include <QApplication>

#include <memory>

#include "app/app_windows.h"
#include "app/frm_adal.h"
#include "app/program_state.h"
#include "portio/port_driver.h"
#include "portio/port_io.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);  // no command-line arguments are read
  setUpApplication();

  // The program's state, one of each, for the whole run.
  auto state = std::make_unique<ProgramState>();

  // The port driver comes up before any window and goes down after the last.
  std::unique_ptr<PortDriver> portDriver = makeSystemPortDriver();
  portIoStartup(state->port, portDriver.get());

  AppWindows windows;
  int status = 0;
  if (createWindows(windows, *state)) {
    // The first-time initialisation runs once, before the main window takes
    // input: the settings are loaded before anything can save them, and the
    // texts are filled. The window's own title is set when it shows.
    windows.FrmAdal->firstiniTimer();
    windows.FrmAdal->showMaximized();
    status = QApplication::exec();
  }
  destroyWindows(windows);
  portIoShutdown(state->port);
  return status;
}
