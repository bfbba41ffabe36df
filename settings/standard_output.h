// Standard output as Unix tools treat it: what could not be written in full
// (a full disk, a closed descriptor, an I/O error) is a failure of the
// command, while a reader that went away (`| head`) ends it quietly.
#ifndef TINDAVEL_SETTINGS_STANDARD_OUTPUT_H_
#define TINDAVEL_SETTINGS_STANDARD_OUTPUT_H_

#include <optional>
#include <string>

// Lets a write into a closed pipe end the program quietly, as it does for
// other tools (SIGPIPE's default), whatever the parent set.
void endQuietlyWhenReaderGoes();

// endQuietlyWhenReaderGoes, and standard output (stdio's stdout) from now on
// written through a stream that keeps the system's reason of its first
// failure, for standardOutputProblem. Called first thing in main.
void watchStandardOutput();

// Writes out what standard output still buffers. The system's reason when
// anything written to it since the start was lost, none when all arrived. A
// pipe whose reader went away ends the program here, quietly, by SIGPIPE.
[[nodiscard]] std::optional<std::string> standardOutputProblem();

#endif  // TINDAVEL_SETTINGS_STANDARD_OUTPUT_H_
