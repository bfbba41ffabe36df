// A synthetic counting session, for tests and demonstrations, since no
// recordings from counters in the field are at hand.
//
// simulateSession writes
//   PATH.blb        the recording: header edges 0 and 511, then one line record
//                   per scan line (1116 a second). Each fish is a dark, roughly
//                   elliptical silhouette in one channel, sized from the size
//                   group; some pass side by side or nose to tail, a few touch;
//                   small noise specks (too narrow to count) are scattered about.
//   PATH.mse        its report file: "Program", "Settings", "Eka",
//                   "Distribution"n, "ThroughputChart"n and "StoredValues".
//   PATH.truth.csv  one row per fish in the recording: first and last line
//                   (file line numbers from 1), channel, length in lines,
//                   breadth in pixels (the largest End - Start of its rows).
//
// fishPerMinute counts in each channel. With `sampling` the file is what the
// Sampling recording mode keeps: 10 seconds of lines every 5 minutes 10
// seconds (the first sample starting one second in), each finished sample
// followed by the sampling marker. The report then describes the whole
// session (the counter counts all the time); the truth file lists the fish
// of the recorded samples.
//
// With `crowd` the fish swim as fry do in a hatchery: no clearance is kept
// between them (they overlap in time anywhere across the channel, and the
// ones that touch show as one dark run), no partners are placed on purpose,
// kCrowdForkShare of them show as two runs for a quarter of their length
// from a third of it on (a fork the detection splits and merges again), and
// kCrowdSpeckShare of their rows have a speck two pixels beside them. This
// is the dense stream the detection benchmark uses, written as a recording.
//
// The same arguments always give the same bytes. The channel width of the
// session follows the size group (500 mm for groups 0 to 2, 1000 mm for 3 to
// 6, 1400 mm above), so that a fish of the group is broad enough in pixels to
// survive the detection's narrowest-segment limit.
#ifndef TINDAVEL_TOOLS_RECORDING_SIMULATOR_H_
#define TINDAVEL_TOOLS_RECORDING_SIMULATOR_H_

#include <cstdint>
#include <string>
#include <vector>

struct SimulationOptions {
  std::string out;  // PATH: the files are PATH.blb, PATH.mse and PATH.truth.csv
  double minutes = 5;
  int channels = 2;
  int sizeGroup = 2;
  double fishPerMinute = 30;  // in each channel
  uint64_t seed = 1;
  bool sampling = false;
  bool crowd = false;  // fish in a crowd (see above)
};

inline constexpr double kCrowdForkShare = 0.3;   // crowded fish that fork
inline constexpr double kCrowdSpeckShare = 0.3;  // rows of a crowded fish with a speck beside
// fishPerMinute a crowd has unless told: 25 fish per 1000 lines in each channel.
inline constexpr double kCrowdFishPerMinute = 25.0 * 1116 * 60 / 1000;
inline constexpr double kMaxFishPerMinute = 600;        // in each channel
inline constexpr double kMaxCrowdFishPerMinute = 6000;  // in each channel, in a crowd

struct SimulationResult {
  int64_t fileLines = 0;                  // line records in PATH.blb
  int64_t recordedFish = 0;               // fish in PATH.truth.csv
  std::vector<int64_t> countsPerChannel;  // [1..channels]: fish of the whole session
};

// Writes the three files. Returns false with a one-line `error` when one
// of them cannot be written.
bool simulateSession(const SimulationOptions& options, SimulationResult& result, std::string& error);

#endif  // TINDAVEL_TOOLS_RECORDING_SIMULATOR_H_
