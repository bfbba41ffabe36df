// The subcommands that need Qt (windows, Qt's printing). They are built into
// tindavel-cli-windows; tindavel-cli, which links no Qt and so starts at
// once, lists them in its usage text and hands them over to that program
// (tools/cli_hand_over.cpp). A command file that includes this header is
// built into tindavel-cli-windows (tools/CMakeLists.txt) and registers with
// its entry below, so its name and summary have this one home.
#ifndef TINDAVEL_TOOLS_WINDOW_COMMANDS_H_
#define TINDAVEL_TOOLS_WINDOW_COMMANDS_H_

struct WindowCommand {
  const char* name;
  const char* summary;
};

inline constexpr WindowCommand kReportCommand{
    "report", "write a report file's printed pages to a PDF (FILE.mse --pdf OUT.pdf)"};
inline constexpr WindowCommand kScreenshotCommand{"screenshot", "render one of the program's windows to a PNG"};

inline constexpr WindowCommand kWindowCommands[] = {kReportCommand, kScreenshotCommand};

// `recount --pdf`: tindavel-cli's own recount counts without Qt and hands a
// run that prints over whole, under its own name (handOverRecountReport,
// tools/cli_hand_over.h). Not in the list above: tindavel-cli has its
// recount already.
inline constexpr WindowCommand kRecountReportCommand{
    "recount", "count recordings again and print the re-count report (FILE... --pdf OUT.pdf)"};

#endif  // TINDAVEL_TOOLS_WINDOW_COMMANDS_H_
