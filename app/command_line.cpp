#include "app/command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include "texts/language_fill.h"

namespace {

constexpr const char* kDescription =
    "The desktop viewer of the fish counter. A recording (.blb, .bla) opens in the record viewer,\n"
    "a report (.mse) in the report preview.";

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromLatin1(kDescription));
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("a recording or a report to open"),
                               QStringLiteral("[FILE...]"));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  CommandLine line;
  // The usage names the program as it is installed, whatever the folder.
  const QString usage = parser.helpText().replace(
      QRegularExpression(QStringLiteral("^Usage: \\S+")), QStringLiteral("Usage: tindavel"));
  if (!parser.parse(arguments)) {
    line.action = CommandLine::Action::kBadArgs;
    line.text = QStringLiteral("tindavel: %1\n\n%2").arg(parser.errorText(), usage);
    return line;
  }
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    line.action = CommandLine::Action::kUsage;
    line.text = usage;
  } else if (parser.isSet(version)) {
    line.action = CommandLine::Action::kUsage;
    line.text = QStringLiteral("tindavel %1\n").arg(QString::fromStdString(versionNumber()));
  } else {
    line.files = parser.positionalArguments();
  }
  return line;
}
