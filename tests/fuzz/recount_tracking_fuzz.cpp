// Fuzz target: the tracking across lines, frames and channels, fed
// recordings that are mostly well formed. The input is recount_block's (an
// options byte, then a ".blb"), but a custom mutator changes it as a list of
// scan lines of segments: a segment added, dropped, widened or shifted; a
// line split in two or two lines joined; a run of lines copied elsewhere
// (fish that meet, cross a channel border, or lie on a frame edge); empty
// lines put in or taken out before a run (moving its frame edges); the
// options byte changed; the tail cut. One mutation in four is libFuzzer's
// own, on the bytes, so damaged files keep coming.
//
// What the tracking must hold whatever the input:
//   - an Autocount over every frame reads every line exactly once, and so
//     does stepping through the frames one by one;
//   - stepping frame by frame counts what one Autocount pass counts;
//   - the same words written as a text record (".bla", the twin) give the
//     same lines and the same counts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "analysis/viewer_counts.h"
#include "records/recount_engine.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/recount_fuzz.h"

namespace {

// ---- the recording as lines of segments -------------------------------------

struct Segment {
  int16_t start;
  int16_t end;
};

struct Recording {
  uint8_t options = 0;
  bool hasHeader = false;
  int16_t left = 0;
  int16_t right = 511;
  std::vector<std::vector<Segment>> lines;
  std::string tail;  // bytes after the last whole line record (kept as they are)
};

int16_t wordAt(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8))); }

void putWord(std::string& out, int32_t w) {
  const auto u = static_cast<uint16_t>(w);
  out += static_cast<char>(u & 0xFF);
  out += static_cast<char>(u >> 8);
}

Recording parse(const uint8_t* data, size_t size) {
  Recording r;
  if (size == 0) return r;
  r.options = data[0];
  const uint8_t* p = data + 1;
  const uint8_t* end = data + size;
  if (end - p < 4) {
    r.tail.assign(reinterpret_cast<const char*>(p), static_cast<size_t>(end - p));
    return r;
  }
  r.hasHeader = true;
  r.left = wordAt(p);
  r.right = wordAt(p + 2);
  p += 4;
  while (end - p >= 2) {
    const int16_t n = wordAt(p);
    const size_t pairs = n > 0 ? static_cast<size_t>(n) : 0;
    if (static_cast<size_t>(end - p) < 2 + 4 * pairs) break;  // a cut line stays in the tail
    std::vector<Segment> line(pairs);
    for (size_t k = 0; k < pairs; ++k) line[k] = {wordAt(p + 2 + 4 * k), wordAt(p + 4 + 4 * k)};
    r.lines.push_back(std::move(line));
    p += 2 + 4 * pairs;
  }
  r.tail.assign(reinterpret_cast<const char*>(p), static_cast<size_t>(end - p));
  return r;
}

std::string serialize(const Recording& r, size_t maxSize) {
  std::string out(1, static_cast<char>(r.options));
  if (r.hasHeader) {
    putWord(out, r.left);
    putWord(out, r.right);
    for (const std::vector<Segment>& line : r.lines) {
      if (out.size() + 2 + 4 * line.size() > maxSize) return out;
      putWord(out, static_cast<int32_t>(line.size()));
      for (const Segment& s : line) {
        putWord(out, s.start);
        putWord(out, s.end);
      }
    }
  }
  out += r.tail.substr(0, maxSize > out.size() ? maxSize - out.size() : 0);
  return out;
}

// ---- the mutations ------------------------------------------------------------

class Mutator {
 public:
  Mutator(Recording& r, unsigned seed) : r_(r), rng_(seed) {}

  void mutateOnce() {
    if (!r_.hasHeader) {
      r_.hasHeader = true;
      r_.tail.clear();
    }
    if (r_.lines.empty()) r_.lines.emplace_back();
    switch (below(12)) {
      case 0: addSegment(); break;
      case 1: dropSegment(); break;
      case 2: widenSegment(); break;
      case 3: shiftSegment(); break;
      case 4: splitLine(); break;
      case 5: joinLines(); break;
      case 6: copyRun(); break;
      case 7: insertEmptyLines(); break;
      case 8: eraseLines(); break;
      case 9: r_.options ^= static_cast<uint8_t>(1u << below(8)); break;
      case 10: r_.tail.assign(below(4), static_cast<char>(below(256))); break;  // a damaged tail
      default: addFish(); break;
    }
  }

 private:
  size_t below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
  int32_t between(int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng_); }
  std::vector<Segment>& someLine() { return r_.lines[below(r_.lines.size())]; }
  int32_t scanLow() const { return std::min(r_.left, r_.right); }
  int32_t scanHigh() const { return std::max(r_.left, r_.right); }
  static int16_t clamp16(int32_t v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }

  // Segments stay left to right, as the counter writes them, but for one
  // mutation in eight.
  void tidy(std::vector<Segment>& line) {
    if (below(8) == 0) return;
    std::sort(line.begin(), line.end(), [](Segment a, Segment b) { return a.start < b.start; });
  }
  void addSegment() {
    std::vector<Segment>& line = someLine();
    const int32_t start = between(scanLow() - 4, scanHigh() + 4);
    line.push_back({clamp16(start), clamp16(start + between(0, 80))});
    tidy(line);
  }
  void dropSegment() {
    std::vector<Segment>& line = someLine();
    if (!line.empty()) line.erase(line.begin() + static_cast<std::ptrdiff_t>(below(line.size())));
  }
  void widenSegment() {
    std::vector<Segment>& line = someLine();
    if (line.empty()) return;
    Segment& s = line[below(line.size())];
    const int32_t by = between(-8, 24);
    s = {clamp16(s.start - by), clamp16(s.end + by)};
    tidy(line);
  }
  void shiftSegment() {
    std::vector<Segment>& line = someLine();
    if (line.empty()) return;
    Segment& s = line[below(line.size())];
    const int32_t by = between(-40, 40);
    s = {clamp16(s.start + by), clamp16(s.end + by)};
    tidy(line);
  }
  void splitLine() {
    const size_t at = below(r_.lines.size());
    std::vector<Segment> first = r_.lines[at];
    const size_t keep = below(first.size() + 1);
    std::vector<Segment> second(first.begin() + static_cast<std::ptrdiff_t>(keep), first.end());
    first.resize(keep);
    r_.lines[at] = std::move(first);
    r_.lines.insert(r_.lines.begin() + static_cast<std::ptrdiff_t>(at) + 1, std::move(second));
  }
  void joinLines() {
    if (r_.lines.size() < 2) return;
    const size_t at = below(r_.lines.size() - 1);
    std::vector<Segment>& line = r_.lines[at];
    line.insert(line.end(), r_.lines[at + 1].begin(), r_.lines[at + 1].end());
    tidy(line);
    r_.lines.erase(r_.lines.begin() + static_cast<std::ptrdiff_t>(at) + 1);
  }
  // A run of lines laid over (or inserted at) another place, shifted across
  // the scan line: two fish meet, or one crosses into the next channel.
  void copyRun() {
    const size_t from = below(r_.lines.size());
    const size_t length = 1 + below(std::min<size_t>(r_.lines.size() - from, 60));
    const std::vector<std::vector<Segment>> run(r_.lines.begin() + static_cast<std::ptrdiff_t>(from),
                                                r_.lines.begin() + static_cast<std::ptrdiff_t>(from + length));
    const int32_t by = below(2) == 0 ? 0 : between(-200, 200);
    const size_t to = below(r_.lines.size() + 1);
    const bool overlay = below(2) == 0;
    for (size_t k = 0; k < run.size(); ++k) {
      std::vector<Segment> moved = run[k];
      for (Segment& s : moved) s = {clamp16(s.start + by), clamp16(s.end + by)};
      if (overlay && to + k < r_.lines.size()) {
        std::vector<Segment>& line = r_.lines[to + k];
        line.insert(line.end(), moved.begin(), moved.end());
        tidy(line);
      } else {
        r_.lines.insert(r_.lines.begin() + static_cast<std::ptrdiff_t>(std::min(to + k, r_.lines.size())),
                        std::move(moved));
      }
    }
  }
  // Empty lines before a place: what follows moves across frame edges.
  void insertEmptyLines() {
    const size_t at = below(r_.lines.size() + 1);
    static constexpr size_t kCounts[] = {1, 2, 3, 6, 7, 249, 250};
    r_.lines.insert(r_.lines.begin() + static_cast<std::ptrdiff_t>(at), kCounts[below(std::size(kCounts))],
                    std::vector<Segment>{});
  }
  void eraseLines() {
    const size_t at = below(r_.lines.size());
    const size_t length = 1 + below(std::min<size_t>(r_.lines.size() - at, 8));
    r_.lines.erase(r_.lines.begin() + static_cast<std::ptrdiff_t>(at),
                   r_.lines.begin() + static_cast<std::ptrdiff_t>(at + length));
  }
  // A fish drawn anew: a segment that opens, holds and closes over 8 to 40
  // lines, put over the lines from a place on.
  void addFish() {
    const int32_t lines = between(8, 40);
    const int32_t centre = between(scanLow(), scanHigh());
    const int32_t breadth = between(4, 60);
    const size_t at = below(r_.lines.size());
    for (int32_t k = 0; k < lines; ++k) {
      const double t = (k + 0.5) / lines;
      const auto half = static_cast<int32_t>(breadth * 0.5 * (1.0 - (2 * t - 1) * (2 * t - 1))) + 1;
      const size_t place = at + static_cast<size_t>(k);
      if (place >= r_.lines.size()) r_.lines.emplace_back();
      std::vector<Segment>& line = r_.lines[place];
      line.push_back({clamp16(centre - half), clamp16(centre + half)});
      tidy(line);
    }
  }

  Recording& r_;
  std::minstd_rand rng_;
};

// ---- the invariants ------------------------------------------------------------

struct CountResult {
  int32_t lines = 0;
  ChannelArray<int32_t> counts{};
};

// Counts the record file at `path`: one Autocount over every frame, or the
// frames stepped one after the other as an operator does with the forward
// button.
CountResult count(const std::string& path, const fuzz::RecountOptions& o, bool stepped) {
  fuzz::RecountTables t;
  RecountEngine& engine = fuzz::openForRecount(path, o, t);
  const RecordViewerState& st = engine.state();
  if (stepped) {
    engine.show();
    while (st.CurrentFrame < st.FrameCount) engine.FarwardbtnClick();
  } else {
    engine.countFrames(1, st.FrameCount);
  }
  fuzz::check(engine.linesAnalysed() == st.TotalLines, "every line read exactly once");
  return {st.TotalLines, t.counts.ViewerCount};
}

// The text twin of a binary record's bytes: the same words as numbers, the
// two edges alone on the first line. An odd last byte is no word.
std::string textTwin(std::string_view bytes) {
  std::string out;
  const size_t words = bytes.size() / 2;
  for (size_t i = 0; i < words; ++i) {
    out += std::to_string(wordAt(reinterpret_cast<const uint8_t*>(bytes.data()) + 2 * i));
    out += i == 1 ? '\n' : ' ';
  }
  return out;
}

}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  // Room for the options byte and the two edges at least.
  if (seed % 4 == 0 || maxSize < 5) return LLVMFuzzerMutate(data, size, maxSize);
  Recording r = parse(data, size);
  Mutator m(r, seed);
  const int times = 1 + static_cast<int>(seed / 4 % 3);
  for (int i = 0; i < times; ++i) m.mutateOnce();
  const std::string out = serialize(r, maxSize);
  std::memcpy(data, out.data(), out.size());
  return out.size();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const fuzz::RecountOptions o = fuzz::recountOptions(data[0]);
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::string binary = fuzz::writeScratchFile("tracking.blb", bytes);
  const CountResult autocount = count(binary, o, false);
  const CountResult stepped = count(binary, o, true);
  fuzz::check(stepped.lines == autocount.lines && stepped.counts == autocount.counts,
              "stepping frame by frame counts what one Autocount counts");

  const std::string text = fuzz::writeScratchFile("tracking.bla", textTwin(bytes));
  const CountResult twin = count(text, o, false);
  fuzz::check(twin.lines == autocount.lines && twin.counts == autocount.counts,
              "a .blb and its .bla twin count the same");
  return 0;
}
