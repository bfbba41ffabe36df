// tindavel: the desktop viewer of the fish counter.
#include <QApplication>

#include <memory>

#include "app/app_windows.h"
#include "app/user_prompts.h"
#include "portio/port_driver.h"
#include "portio/port_io.h"
#include "settings/settings_controls.h"
#include "settings/settings_store.h"
#include "texts/text_table.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);  // no command-line arguments are read
  setUpApplication();

  // The port driver comes up before any window and goes down after the last.
  std::unique_ptr<PortDriver> portDriver = makeSystemPortDriver();
  portIoStartup(gPortIo, portDriver.get());

  MessageBoxPrompts prompts;
  MainWindowEnvironment environment;
  environment.prompts = &prompts;
  int status = 0;
  if (createWindows(gWindows, {gSettings, gSession, gCamera, gCounting, gTexts, gPortIo, gSett, gRegistry},
                    environment)) {
    QObject::connect(gWindows.FrmAdal, &TFrmAdal::closed, &app, &QApplication::quit);
    // The first-time initialisation runs once, before the main window takes
    // input: the settings are loaded before anything can save them, and the
    // texts are filled. The window's own title is set when it shows.
    gWindows.FrmAdal->firstiniTimer();
    gWindows.FrmAdal->showMaximized();
    status = QApplication::exec();
  }
  destroyWindows(gWindows);
  portIoShutdown(gPortIo);
  return status;
}
