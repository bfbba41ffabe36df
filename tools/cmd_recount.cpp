// tindavel-cli recount FILE [--frame-width W] [--from A] [--to B]
//                           [--trace TRACEFILE] [--json]
// tindavel-cli recount FILE... [--csv | --json] [--fish OUT.csv]
//                              [--pdf OUT.pdf [--paper a4|letter]] [--jobs N]
//
// Counts a recording again exactly as the record viewer's Autocount does from
// frame A to frame B: the settings come from the companion report file, the
// count restarts at frame A as a jump does, and the size limits adapt after
// every frame. One engine (records/recount_engine.h) serves both. Beside each
// channel's re-count stands the count the counter made live, as its report
// keeps it ("Eka"/"Counters"n), and the difference re-count minus live count.
//
// JSON keys (stable): file, channels, frame_width, frames, first_frame,
// last_frame, lines, counts, live_counts, differences, total, seconds,
// lines_per_second, damage. A live count the report does not hold (and its
// difference) is null: a missing key is no count of 0.
//
// --csv counts every recording given on state of its own, as if it were the
// only one, and writes one row per recording and channel under a header row.
// A recording that cannot be counted gets one row with the reason in
// "error"; the others are still counted, and the exit status is 2 at the end.
// --fish writes a row per fish counted; --jobs counts on several threads
// (tools/recount_batch.h). --pdf prints the re-count report, which needs Qt:
// the command then goes to tindavel-cli-windows whole (tools/cmd_recount_pdf.cpp).
#include <cstdio>
#include <string>
#include <vector>

#include "tools/cli_command.h"
#include "tools/cli_hand_over.h"
#include "tools/recount_batch.h"

namespace {

int runRecount(const std::vector<std::string>& args) {
  RecountOptions o;
  if (const std::optional<std::string> error = parseRecountArgs(args, o)) {
    std::fprintf(stderr, "tindavel-cli recount: %s\n%s\n", error->c_str(), kRecountUsage);
    return 2;
  }
  if (!o.pdf.empty()) return handOverRecountReport(args);
  return runRecountBatch(o, nullptr);
}

const bool registered = registerCliCommand(
    {"recount", "count a recording again as the record viewer's Autocount does", runRecount, kRecountUsage});

}  // namespace
