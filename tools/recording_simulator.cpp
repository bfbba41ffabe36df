#include "tools/recording_simulator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <utility>
#include <random>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/size_classification.h"
#include "analysis/size_groups.h"
#include "records/record_encoder.h"
#include "records/record_format.h"
#include "reports/day_count.h"
#include "reports/report_file.h"
#include "reports/report_values.h"
#include "reports/report_writer.h"
#include "reports/stored_lines.h"
#include "settings/channel_width.h"
#include "settings/output_file.h"
#include "settings/text_encoding.h"
#include "settings/settings_variables.h"

namespace {

using Options = SimulationOptions;

constexpr int32_t kLeftEdge = 0;
constexpr int32_t kRightEdge = 511;
constexpr int kDividerPixels = 8;           // dark-free band between two channels
constexpr int kChannelMargin = 2;           // fish keep this far from a channel's ends
constexpr int kLineClearance = 3;           // empty lines between unrelated fish
constexpr int kThroughputLines = 10 * kLinesPerSecond;     // one chart point per 10 s
constexpr int kStoreEveryLines = 15 * 60 * kLinesPerSecond;  // a Store line every 15 min
constexpr double kSideBySideShare = 0.10;
constexpr double kNoseToTailShare = 0.10;
constexpr double kTouchingShare = 0.03;
constexpr double kSpeckPerLine = 1.0 / 1500;  // chance of a noise speck per line and channel
// The session starts at 08:30 on 2 June 2025; any fixed moment would do.
constexpr CivilDateTime kSessionStart{2025, 6, 2, 8, 30, 0, 0};
// Typical weight of a fish of each size group, grams.
constexpr double kGroupWeight[kSizeGroupCount] = {0.1, 0.3, 1, 3, 10, 30, 100, 300, 1000, 3000};


// Random numbers from std::mt19937_64, whose output the standard fixes for
// every library. The std::*_distribution classes are left alone on purpose:
// their algorithms are the library's choice and differ between versions, so
// the same seed would give different files. The few conversions needed are
// written out here instead (the modulo bias of uniformInt is below 1e-15 for
// the small ranges used).
class Random {
 public:
  explicit Random(uint64_t seed) : engine_(seed) {}
  double uniform01() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
  double uniform(double lo, double hi) { return lo + (hi - lo) * uniform01(); }
  int64_t uniformInt(int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(engine_() % static_cast<uint64_t>(hi - lo + 1));
  }
  bool chance(double p) { return uniform01() < p; }

 private:
  std::mt19937_64 engine_;
};

struct Row {
  int32_t Start;
  int32_t End;
};

struct Fish {
  int channel = 1;
  int64_t t0 = 0;          // session line of its first row (from 0)
  std::vector<Row> rows;   // one per line, t0 .. t0 + rows.size() - 1
  int32_t left = 0;        // smallest Start of its rows
  int32_t right = 0;       // largest End of its rows
  double weight = 0;       // grams
  int64_t fileLine = 0;    // first line in the file; 0 when not recorded
  int64_t forkFrom = 0;    // rows [forkFrom, forkTo) show as two runs (a crowd's forks)
  int64_t forkTo = 0;
  int64_t t1() const { return t0 + static_cast<int64_t>(rows.size()) - 1; }
};

struct Shape {
  double length = 0;   // lines
  double breadth = 0;  // pixels
  double drift = 0;    // sideways pixels per line
  double weight = 0;   // grams
};

struct Layout {
  std::vector<ChannelPosition> channels;  // [1..N]
  ChannelWidth width = kDefaultChannelWidth;
  double typicalLength = 0;   // lines
  double typicalBreadth = 0;  // pixels
  int32_t clearance = 6;      // pixels between fish that must stay apart
};

// The rows of a fish with its middle at pixel `centre` on its first line.
// The outline is an ellipse slightly fuller towards the head; rows of no
// width at the tips are left out.
std::vector<Row> rowsFor(const Shape& s, double centre) {
  std::vector<Row> rows;
  const int lines = std::max(1, static_cast<int>(std::lround(s.length)));
  for (int i = 0; i < lines; ++i) {
    const double x = 2.0 * (i + 0.5) / lines - 1.0;  // -1 head .. 1 tail
    const double half = s.breadth / 2 * std::sqrt(std::max(0.0, 1 - x * x)) * (1 - 0.1 * x);
    const double middle = centre + s.drift * i;
    const Row row{static_cast<int32_t>(std::lround(middle - half)), static_cast<int32_t>(std::lround(middle + half))};
    if (row.End > row.Start) {
      rows.push_back(row);
    } else if (!rows.empty()) {
      break;  // past the tail
    }
  }
  return rows;
}

void setRows(Fish& f, std::vector<Row> rows) {
  f.rows = std::move(rows);
  f.left = f.rows.front().Start;
  f.right = f.rows.front().End;
  for (const Row& r : f.rows) {
    f.left = std::min(f.left, r.Start);
    f.right = std::max(f.right, r.End);
  }
}

// The detection's segment limits for a group after the automatic size
// sensing has settled on the group's typical fish: the gap it bridges,
// which fish that must stay apart have to exceed.
int32_t settledGapLimit(const SizeGroupRow& row, double breadthPixels, int32_t breadthFloorPixels,
                        int lengthDivisor) {
  const int32_t minLength = std::max(row.Length / lengthDivisor, row.LengthFloor);
  const int32_t minBreadth = std::max(static_cast<int32_t>(breadthPixels) / 4, breadthFloorPixels);
  const int32_t minArea = std::max(2 * minLength * minBreadth, 11);
  if (minArea <= 150) return 4;
  if (minArea <= 350) return 5;
  if (minArea <= 700) return 6;
  if (minArea <= 1500) return 7;
  if (minArea <= 10000) return 18;
  return std::max(row.GapLimit, 4);
}

Layout makeLayout(const Options& o) {
  Layout l;
  l.width = o.sizeGroup <= 2 ? ChannelWidth::k500 : o.sizeGroup <= 6 ? ChannelWidth::k1000 : ChannelWidth::k1400;
  const ChannelWidthItem& width = channelWidthItem(l.width);
  SettingsVariables s;
  s.LeftEdge = kLeftEdge;
  s.RightEdge = kRightEdge;
  s.ChannelWidthMm = width.millimetres;
  const SizeGroupRow& row = kSizeGroups[static_cast<size_t>(o.sizeGroup)];
  l.typicalLength = row.Length;
  l.typicalBreadth = pixelScale(s, row.BreadthMm);
  const int32_t gap =
      std::max(row.GapLimit, settledGapLimit(row, l.typicalBreadth, pixelScale(s, row.BreadthFloorMm),
                                             width.constants.LengthDivisor));
  l.clearance = gap + 3;

  const int n = o.channels;
  const int32_t span = kRightEdge - kLeftEdge + 1;
  l.channels.resize(static_cast<size_t>(n) + 1);
  for (int k = 1; k <= n; ++k) {
    ChannelPosition& c = l.channels[static_cast<size_t>(k)];
    c.Begin = kLeftEdge + (k - 1) * span / n + (k > 1 ? kDividerPixels / 2 : 0);
    c.End = kLeftEdge + k * span / n - 1 - (k < n ? kDividerPixels / 2 : 0);
    c.Width = width.millimetres / n;
  }
  return l;
}

class Simulation {
 public:
  Simulation(const Options& o, const Layout& l)
      : o_(o), l_(l), random_(o.seed), sessionLines_(static_cast<int64_t>(std::llround(o.minutes * 60 * kLinesPerSecond))) {
    placed_.resize(static_cast<size_t>(o.channels) + 1);
    buildWindows();
  }

  // Arrivals: a fish enters a channel on any line with the same small chance.
  void makeFish() {
    const double perLine = o_.fishPerMinute / (60.0 * kLinesPerSecond);
    for (int c = 1; c <= o_.channels; ++c) {
      for (int64_t t = 0; t < sessionLines_; ++t) {
        if (random_.chance(perLine)) arrive(c, t);
      }
    }
  }

  // Writes the recording; notes each recorded fish's first file line.
  bool writeRecording(OutputFile& out, std::string& error);
  bool writeTruth(OutputFile& out, std::string& error) const;
  ReportFile report() const;

  int64_t recordedFish() const {
    int64_t n = 0;
    for (const Fish& f : all_) n += f.fileLine > 0 ? 1 : 0;
    return n;
  }
  int64_t fileLines() const { return fileLines_; }
  std::vector<int64_t> countsPerChannel() const {
    std::vector<int64_t> counts(static_cast<size_t>(o_.channels) + 1, 0);
    for (const Fish& f : all_) ++counts[static_cast<size_t>(f.channel)];
    return counts;
  }

 private:
  struct Window {
    int64_t begin;  // session lines [begin, end)
    int64_t end;
    bool marker;    // the sample ended before the session did
  };

  void buildWindows() {
    if (!o_.sampling) {
      windows_.push_back({0, sessionLines_, false});
      return;
    }
    const int64_t first = int64_t{kFirstTickMs} * kLinesPerSecond / 1000;
    const int64_t sample = int64_t{kSampleMs} * kLinesPerSecond / 1000;
    const int64_t period = sample + int64_t{kPauseMs} * kLinesPerSecond / 1000;
    for (int64_t b = first; b < sessionLines_; b += period) {
      const int64_t e = b + sample;
      windows_.push_back({b, std::min(e, sessionLines_), e <= sessionLines_});
    }
  }

  // A fish lies wholly inside or wholly outside every recorded window.
  // Returns the first line at or after t0 from which a fish of `lines`
  // lines does not straddle a window edge.
  int64_t clearOfWindowEdges(int64_t t0, int64_t lines) const {
    for (const Window& w : windows_) {
      const int64_t t1 = t0 + lines - 1;
      if (t0 < w.begin && t1 >= w.begin) return w.begin;  // would be cut at the start
      if (t0 < w.end && t1 >= w.end && t0 >= w.begin) return w.end;  // would be cut at the end
    }
    return t0;
  }

  Shape randomShape() {
    Shape s;
    const double lengthFactor = random_.uniform(0.75, 1.3);
    const double breadthFactor = random_.uniform(0.75, 1.3);
    s.length = std::max(3.0, l_.typicalLength * lengthFactor);
    s.breadth = l_.typicalBreadth * breadthFactor;
    s.drift = random_.uniform(-0.15, 0.15);
    s.weight = kGroupWeight[o_.sizeGroup] * lengthFactor * breadthFactor * breadthFactor;
    return s;
  }

  // The range of middles that keeps a fish of shape s inside channel c.
  bool centreRange(int c, const Shape& s, double& lo, double& hi) const {
    const ChannelPosition& ch = l_.channels[static_cast<size_t>(c)];
    const double sway = std::fabs(s.drift) * s.length;
    lo = ch.Begin + kChannelMargin + s.breadth / 2 + (s.drift < 0 ? sway : 0);
    hi = ch.End - kChannelMargin - s.breadth / 2 - (s.drift > 0 ? sway : 0);
    return lo <= hi;
  }

  // True when f keeps its distance from every placed fish of its channel
  // except `partner` (which the caller has placed against it on purpose).
  bool isClear(const Fish& f, const Fish* partner) const {
    const std::vector<Fish*>& placed = placed_[static_cast<size_t>(f.channel)];
    for (const Fish* other : placed) {
      if (other == partner) continue;
      if (other->t0 > f.t1() + kLineClearance || other->t1() + kLineClearance < f.t0) continue;
      if (other->left > f.right + l_.clearance || other->right + l_.clearance < f.left) continue;
      return false;
    }
    return true;
  }

  // Places a fish of shape s arriving at line t in channel c: at a random
  // spot across the channel, later if the spot is taken. Returns the index
  // of the fish in all_, or -1 when it does not fit before the session ends.
  int64_t placeFree(int c, int64_t t, const Shape& s) {
    double lo = 0, hi = 0;
    Shape shape = s;
    if (!centreRange(c, shape, lo, hi)) {
      // Broader than the channel allows: the broadest fish that fits, straight.
      const ChannelPosition& ch = l_.channels[static_cast<size_t>(c)];
      shape.drift = 0;
      shape.breadth = std::max(2.0, static_cast<double>(ch.End - ch.Begin - 2 * kChannelMargin - 1));
      if (!centreRange(c, shape, lo, hi)) return -1;
    }
    Fish f;
    f.channel = c;
    f.weight = shape.weight;
    for (int attempt = 0; attempt < 200; ++attempt) {
      setRows(f, rowsFor(shape, random_.uniform(lo, hi)));
      f.t0 = clearOfWindowEdges(t, static_cast<int64_t>(f.rows.size()));
      if (f.t1() >= sessionLines_) return -1;
      if (o_.crowd || isClear(f, nullptr)) return add(std::move(f));
      if (attempt % 8 == 7) t += kLineClearance + static_cast<int64_t>(f.rows.size());  // try later
    }
    return -1;
  }

  // Places a fish against `leader` (by index) at a given middle and line;
  // -1 when that spot is outside the channel, cut by a window edge or taken.
  int64_t placeAgainst(int64_t leader, int64_t t, const Shape& s, double centre) {
    Fish f;
    f.channel = all_[static_cast<size_t>(leader)].channel;
    f.weight = s.weight;
    setRows(f, rowsFor(s, centre));
    f.t0 = t;
    const ChannelPosition& ch = l_.channels[static_cast<size_t>(f.channel)];
    if (f.left < ch.Begin + kChannelMargin || f.right > ch.End - kChannelMargin) return -1;
    if (t < 0 || f.t1() >= sessionLines_ || clearOfWindowEdges(t, static_cast<int64_t>(f.rows.size())) != t) {
      return -1;
    }
    if (!isClear(f, &all_[static_cast<size_t>(leader)])) return -1;
    return add(std::move(f));
  }

  int64_t add(Fish f) {
    all_.push_back(std::move(f));
    const int64_t index = static_cast<int64_t>(all_.size()) - 1;
    placedIndex_.push_back(index);
    return index;
  }

  void arrive(int c, int64_t t) {
    const int64_t leader = placeFree(c, t, randomShape());
    if (leader < 0) return;
    refreshPlaced(c, t);
    if (o_.crowd) {
      // In a crowd the neighbours come by chance; some fish fork.
      Fish& f = all_[static_cast<size_t>(leader)];
      if (random_.chance(kCrowdForkShare)) {
        const auto rows = static_cast<int64_t>(f.rows.size());
        f.forkFrom = rows / 3;
        f.forkTo = f.forkFrom + rows / 4;
      }
      return;
    }
    const double kind = random_.uniform01();
    const Shape s = randomShape();
    const Fish& a = all_[static_cast<size_t>(leader)];
    const double aMiddle = (a.rows.front().Start + a.rows.front().End) / 2.0;
    // A partner that does not fit where it is meant to go is left out; the
    // leader then passes alone.
    if (kind < kSideBySideShare) {
      // Beside the leader, a clear gap away, starting a few lines apart.
      const double gap = l_.clearance + static_cast<double>(random_.uniformInt(0, 4));
      const bool right = random_.chance(0.5);
      const double offset = (a.right - a.left) / 2.0 + gap + s.breadth / 2 + std::fabs(s.drift) * s.length;
      const int64_t start = a.t0 + random_.uniformInt(0, static_cast<int64_t>(a.rows.size()) / 3);
      placeAgainst(leader, start, s, right ? aMiddle + offset : aMiddle - offset);
    } else if (kind < kSideBySideShare + kNoseToTailShare) {
      // Behind the leader in the same place, one to three empty lines after it.
      placeAgainst(leader, a.t1() + 1 + random_.uniformInt(1, 3), s, aMiddle);
    } else if (kind < kSideBySideShare + kNoseToTailShare + kTouchingShare) {
      if (random_.chance(0.5)) {
        // Touching side by side: the dark runs meet.
        const double offset = (a.right - a.left) / 2.0 + s.breadth / 2 + 1;
        placeAgainst(leader, a.t0 + 1, s, aMiddle + (random_.chance(0.5) ? offset : -offset));
      } else {
        // Touching nose to tail: the follower's head overlaps the leader's tail.
        placeAgainst(leader, a.t1() - random_.uniformInt(0, 2), s, aMiddle);
      }
    }
    refreshPlaced(c, t);
  }

  // Moves newly added fish into the per-channel lists the clearance checks
  // walk (all_ is a deque, so the pointers stay valid as it grows).
  // Arrivals in a channel come in line order and no fish starts before its
  // arrival, so a fish that ended more than kLineClearance lines before the
  // arrival at line t can never be in the way again: dropping it keeps the
  // checks short.
  void refreshPlaced(int c, int64_t t) {
    for (const int64_t index : placedIndex_) {
      Fish* f = &all_[static_cast<size_t>(index)];
      placed_[static_cast<size_t>(f->channel)].push_back(f);
    }
    placedIndex_.clear();
    std::vector<Fish*>& list = placed_[static_cast<size_t>(c)];
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const Fish* g) { return g->t1() + kLineClearance < t; }),
               list.end());
  }

  const Options& o_;
  const Layout& l_;
  Random random_;
  int64_t sessionLines_;
  std::vector<Window> windows_;
  std::deque<Fish> all_;
  std::vector<int64_t> placedIndex_;
  std::vector<std::vector<Fish*>> placed_;  // [channel] fish that may still be in the way
  int64_t fileLines_ = 0;
};

bool Simulation::writeRecording(OutputFile& out, std::string& error) {
  std::vector<Fish*> order;
  for (Fish& f : all_) order.push_back(&f);
  std::stable_sort(order.begin(), order.end(), [](const Fish* a, const Fish* b) { return a->t0 < b->t0; });

  RecordFileWriter writer;
  writer.openInto(out, RecordKind::Binary);
  writer.header(kLeftEdge, kRightEdge);
  // Specks come from a stream of their own, so that changing how often they
  // appear leaves the fish as they were.
  Random specks(o_.seed ^ 0x9E3779B97F4A7C15ULL);
  std::vector<Fish*> active;
  std::vector<SegmentPair> segments;
  size_t next = 0;
  fileLines_ = 0;
  for (const Window& w : windows_) {
    while (next < order.size() && order[next]->t0 < w.begin) ++next;  // in a pause: not recorded
    for (int64_t t = w.begin; t < w.end; ++t) {
      ++fileLines_;
      while (next < order.size() && order[next]->t0 == t) {
        order[next]->fileLine = fileLines_;
        active.push_back(order[next++]);
      }
      segments.clear();
      for (const Fish* f : active) {
        const int64_t k = t - f->t0;
        const Row& r = f->rows[static_cast<size_t>(k)];
        // A fork: the row in two runs, a clear gap apart, where it is broad
        // enough for two runs of 4 pixels.
        const int32_t gap = l_.clearance;
        if (k >= f->forkFrom && k < f->forkTo && r.End - r.Start >= gap + 8) {
          const int32_t cut = (r.Start + r.End - gap) / 2;
          segments.push_back({r.Start, cut});
          segments.push_back({cut + gap, r.End});
        } else {
          segments.push_back({r.Start, r.End});
        }
        if (o_.crowd && specks.chance(kCrowdSpeckShare)) segments.push_back({r.End + 2, r.End + 3});
      }
      active.erase(std::remove_if(active.begin(), active.end(), [t](const Fish* f) { return f->t1() <= t; }),
                   active.end());
      for (int c = 1; c <= o_.channels; ++c) {
        if (!specks.chance(kSpeckPerLine)) continue;
        const ChannelPosition& ch = l_.channels[static_cast<size_t>(c)];
        const int32_t x = static_cast<int32_t>(specks.uniformInt(ch.Begin, ch.End - 1));
        const SegmentPair speck{x, x + static_cast<int32_t>(specks.uniformInt(0, 1))};
        // Too narrow to count, and far enough from every fish on the line
        // that the detection never joins it to one.
        const bool alone = std::none_of(segments.begin(), segments.end(), [&](const SegmentPair& p) {
          return p.Start <= speck.End + l_.clearance && speck.Start <= p.End + l_.clearance;
        });
        if (alone) segments.push_back(speck);
      }
      // The sensor reports dark runs: rows that overlap or touch are one run.
      std::sort(segments.begin(), segments.end(),
                [](const SegmentPair& a, const SegmentPair& b) { return a.Start < b.Start; });
      size_t kept = 0;
      for (const SegmentPair& p : segments) {
        if (kept > 0 && p.Start <= segments[kept - 1].End + 1) {
          segments[kept - 1].End = std::max(segments[kept - 1].End, p.End);
        } else {
          segments[kept++] = p;
        }
      }
      segments.resize(kept);
      writer.line(segments);
    }
    if (w.marker) {
      writer.samplingMarker(kLeftEdge, kRightEdge);
      fileLines_ += 3;
    }
  }
  if (!writer.close()) {
    error = writer.error();
    return false;
  }
  return true;
}

bool Simulation::writeTruth(OutputFile& out, std::string& error) const {
  std::vector<const Fish*> recorded;
  for (const Fish& f : all_) {
    if (f.fileLine > 0) recorded.push_back(&f);
  }
  std::sort(recorded.begin(), recorded.end(), [](const Fish* a, const Fish* b) {
    return a->fileLine != b->fileLine ? a->fileLine < b->fileLine : a->left < b->left;
  });
  std::string text = "first_line,last_line,channel,length_lines,breadth_pixels\n";
  for (const Fish* f : recorded) {
    int32_t breadth = 0;
    for (const Row& r : f->rows) breadth = std::max(breadth, r.End - r.Start);
    const int64_t length = static_cast<int64_t>(f->rows.size());
    text += std::to_string(f->fileLine) + ',' + std::to_string(f->fileLine + length - 1) + ',' +
            std::to_string(f->channel) + ',' + std::to_string(length) + ',' + std::to_string(breadth) + '\n';
  }
  if (!out.write(text)) {
    error = out.error();
    return false;
  }
  return true;
}

ReportFile Simulation::report() const {
  const int n = o_.channels;
  const double start = dayCountFromCivil(kSessionStart);
  const double lineDays = 1.0 / (kLinesPerSecond * kSecondsPerDay);
  const std::vector<int64_t> counts = countsPerChannel();
  int64_t total = 0;
  for (int c = 1; c <= n; ++c) total += counts[static_cast<size_t>(c)];

  ReportFile r;
  r.Nocommentlines = 2;
  char settings[160];  // the longest text is about 130 characters
  (void)std::snprintf(settings, sizeof settings, "%d channel%s, size group %d, %g fish per minute per channel, seed %llu%s%s",
                      n, n == 1 ? "" : "s", o_.sizeGroup, o_.fishPerMinute, static_cast<unsigned long long>(o_.seed),
                      o_.sampling ? ", sampling" : "", o_.crowd ? ", crowd" : "");
  r.comments = {"Synthetic counting session made by tindavel-cli simulate", settings};
  r.Generation = "Simulated";
  r.Personincharge = "tindavel-cli simulate";
  r.Total = std::to_string(total);
  r.Overload = 0.0;
  r.Lasting = static_cast<double>(sessionLines_) * lineDays;
  r.operatorName = "Tindavel demo";
  r.Tank = "Simulated tank";
  r.DateTime = start + *r.Lasting;

  r.NrChannels = n;
  r.Ledge = kLeftEdge;
  r.Redge = kRightEdge;
  r.channelwidth = channelWidthItem(l_.width).index;
  r.Skuffubreidd = channelWidthItem(l_.width).millimetres;

  const int32_t classWidth = std::max<int32_t>(1, static_cast<int32_t>(std::lround(kGroupWeight[o_.sizeGroup] * 2)));
  std::vector<std::vector<double>> weights(static_cast<size_t>(n) + 1);
  std::vector<std::vector<int64_t>> perInterval(static_cast<size_t>(n) + 1);
  const int64_t intervals = sessionLines_ / kThroughputLines;
  for (auto& v : perInterval) v.assign(static_cast<size_t>(intervals), 0);
  for (const Fish& f : all_) {
    weights[static_cast<size_t>(f.channel)].push_back(f.weight);
    const int64_t k = f.t0 / kThroughputLines;
    if (k < intervals) ++perInterval[static_cast<size_t>(f.channel)][static_cast<size_t>(k)];
  }

  for (int c = 1; c <= n; ++c) {
    const size_t ci = static_cast<size_t>(c);
    ReportChannel& ch = r.channels[ci];
    ch.Counters = static_cast<int32_t>(counts[ci]);
    ch.CountersT = static_cast<int32_t>(counts[ci]);
    ch.Countname = "Channel " + std::to_string(c);
    ch.SizeGroup = o_.sizeGroup;
    ch.Width = l_.channels[ci].Width;
    ch.Multib = l_.channels[ci].Begin;
    ch.Multie = l_.channels[ci].End;

    ReportDistribution& d = r.distributions[ci];
    d.hasG0Key = true;
    d.G0 = classWidth;
    for (int k = 1; k <= kReportWeightClasses; ++k) d.G[static_cast<size_t>(k)] = 0;
    double sum = 0;
    for (const double w : weights[ci]) {
      sum += w;
      const double tenths = w * 10;
      int k = static_cast<int>(std::ceil(tenths / classWidth));
      k = std::clamp(k, 1, kReportWeightClasses);
      *d.G[static_cast<size_t>(k)] += 1;
    }
    const double count = static_cast<double>(weights[ci].size());
    const double mean = count > 0 ? sum / count : 0;
    double squares = 0;
    for (const double w : weights[ci]) squares += (w - mean) * (w - mean);
    const double deviation = count > 0 ? std::sqrt(squares / count) : 0;
    d.AW = std::to_string(std::lround(mean * 10));
    d.Std = std::to_string(std::lround(deviation * 10));
    d.DNr = std::to_string(weights[ci].size());

    // A point at the end of every 10 seconds: the time of day, and the fish
    // of those 10 seconds times 6, in fish per minute.
    ThroughputCurve curve;
    const int64_t startSecond = (kSessionStart.hour * 60 + kSessionStart.minute) * 60 + kSessionStart.second;
    for (int64_t k = 0; k < intervals; ++k) {
      const int64_t second = (startSecond + (k + 1) * kThroughputLines / kLinesPerSecond) % 86400;
      curve.push_back({static_cast<double>(second) / kSecondsPerDay,
                       static_cast<double>(perInterval[ci][static_cast<size_t>(k)] * 6)});
    }
    r.channelThroughput[ci] = std::move(curve);
  }

  // Store lines every quarter of an hour and at the end of the session, with
  // the counts reached by then.
  std::vector<int64_t> storeAt;
  for (int64_t t = kStoreEveryLines; t < sessionLines_; t += kStoreEveryLines) storeAt.push_back(t);
  storeAt.push_back(sessionLines_);
  for (const int64_t t : storeAt) {
    std::vector<int32_t> reached(static_cast<size_t>(n), 0);
    for (const Fish& f : all_) {
      if (f.t0 < t) ++reached[static_cast<size_t>(f.channel - 1)];
    }
    r.storedValues.push_back(formatStoreLine(start + static_cast<double>(t) * lineDays, reached));
  }
  return r;
}

}  // namespace

bool simulateSession(const SimulationOptions& options, SimulationResult& result, std::string& error) {
  // PATH names the files, not a folder to put them in ("." would give the
  // hidden files "..blb", ...).
  const std::filesystem::path base(options.out);
  std::error_code ec;
  if (base.filename().empty() || base.filename() == "." || base.filename() == ".." ||
      std::filesystem::is_directory(base, ec)) {
    error = "--out " + printableName(options.out) + " names a folder; give the files' name as well, as in " +
            printableName((base / "session").string());
    return false;
  }
  // The three files appear together or not at all, and only once all of
  // them are written in full.
  OutputFile blb, truth, mse;
  for (auto [file, suffix] : {std::pair{&blb, std::string(kBinaryExtension)}, std::pair{&truth, std::string(".truth.csv")},
                              std::pair{&mse, std::string(kReportExtension)}}) {
    if (!file->open(options.out + suffix)) {
      error = file->error();
      return false;
    }
  }
  const Layout layout = makeLayout(options);
  Simulation sim(options, layout);
  sim.makeFish();
  OutputFile* const files[] = {&blb, &truth, &mse};
  if (!sim.writeRecording(blb, error) || !sim.writeTruth(truth, error) || !writeReportFile(mse, sim.report(), error) ||
      !commitTogether(files, error)) {
    return false;
  }
  result.fileLines = sim.fileLines();
  result.recordedFish = sim.recordedFish();
  result.countsPerChannel = sim.countsPerChannel();
  return true;
}
