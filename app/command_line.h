// What `tindavel` is asked on its command line: files to open, or its usage
// or version only. Read with QCommandLineParser before any window exists, so
// --help and --version answer without a display.
#ifndef TINDAVEL_APP_COMMAND_LINE_H_
#define TINDAVEL_APP_COMMAND_LINE_H_

#include <QString>
#include <QStringList>

struct CommandLine {
  enum class Action {
    kRun,      // start; open `files` (may be none)
    kUsage,    // print `text` on standard output, exit 0 (--help, --version)
    kBadArgs,  // print `text` on standard error, exit 2 (an unknown option)
  };
  Action action = Action::kRun;
  QStringList files;  // in the order given
  QString text;
};

// Reads `arguments` (the program's name first).
CommandLine parseCommandLine(const QStringList& arguments);

#endif  // TINDAVEL_APP_COMMAND_LINE_H_
