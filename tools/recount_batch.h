// tindavel-cli recount over one recording or many: the words of the
// command, and one run that counts every recording given, on up to --jobs
// threads, and writes what was asked in the order the files were given.
//
//   standard output   --csv: a CSV row per recording and channel; --json: a
//                     JSON object per recording, one a line; else the text
//                     summary of each recording
//   --fish OUT.csv    a CSV row per fish counted (tools/recount_fish_rows.h),
//                     written as each recording is done and put in place
//                     only when the run ends (settings/output_file.h)
//   standard error    errors and damage; a progress line while many
//                     recordings are counted on a terminal
//
// Each recording is counted on state of its own, so what a recording gives
// does not depend on --jobs or on the other files: the CSV, the fish rows,
// the printed report and the exit status are the same bytes whatever --jobs
// is. At most --jobs recordings are open or waiting to be written at once.
#ifndef TINDAVEL_TOOLS_RECOUNT_BATCH_H_
#define TINDAVEL_TOOLS_RECOUNT_BATCH_H_

#include <optional>
#include <string>
#include <vector>

#include "tools/recount_one.h"

extern const char* const kRecountUsage;

enum class PaperSize { kA4, kLetter };

struct RecountOptions {
  std::vector<std::string> files;
  RecountRange range;
  std::string trace;  // one recording only
  bool json = false;
  bool csv = false;
  std::string fish;   // the fish CSV; empty: none
  std::string pdf;    // the printed re-count report; empty: none
  PaperSize paper = PaperSize::kA4;
  int jobs = 0;       // 0: as many as the process has cores
};

// Parses the words after "recount"; an error text when they are bad.
std::optional<std::string> parseRecountArgs(const std::vector<std::string>& args, RecountOptions& o);

// Told of each recording once it is written, in the order the files were
// given (the printed report collects them).
class RecountBatchListener {
 public:
  virtual void recordingCounted(const std::string& file, const Recount& r) = 0;

 protected:
  ~RecountBatchListener() = default;
};

// Runs the command as the options say (all but --pdf, which the caller
// writes from what `listener` was told). Returns the exit status: 0 when
// every recording was counted and every output written, 2 otherwise.
int runRecountBatch(const RecountOptions& o, RecountBatchListener* listener);

#endif  // TINDAVEL_TOOLS_RECOUNT_BATCH_H_
