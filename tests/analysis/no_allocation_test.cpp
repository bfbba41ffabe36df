// A line allocates nothing: preparation, line pass and counting of crowded
// lines (forks, merges, ends, accepted fish) make no call to operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>
#include <utility>
#include <vector>

#include "analysis/line_analysis.h"
#include "analysis/segment_preparation.h"
#include "detection_fixture.h"

namespace {
long long gAllocations = 0;
}  // namespace

// Counts every allocation of this test program. The replacements pair
// malloc with free, but GCC sees the library's operator new inlined against
// this free and warns of a mismatch that is not there.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using NoAllocationTest = DetectionTest;

TEST_F(NoAllocationTest, CrowdedLinesAllocateNothing) {
  // Lines made up front: pairs of runs that fork apart and join again.
  std::mt19937 rng(4711);
  std::vector<std::vector<std::pair<int, int>>> lines(3000);
  for (size_t n = 0; n < lines.size(); ++n) {
    for (int x = 10; x < 480; x += 40) {
      const bool forked = (n / 7 + x / 40) % 3 == 0;
      const int width = 10 + static_cast<int>(rng() % 12);
      if ((n / 25 + x) % 5 == 0) continue;  // a gap: objects end
      if (forked) {
        lines[n].push_back({x, x + width / 2 - 1});
        lines[n].push_back({x + width / 2 + 1, x + width});
      } else {
        lines[n].push_back({x, x + width});
      }
    }
  }
  d.MinLength[1] = 3;
  d.MinArea[1] = 30;
  ChannelArray<int32_t> counts{};
  const long long before = gAllocations;
  for (const auto& runs : lines) {
    int k = 0;
    for (const auto& [start, end] : runs) {
      ++k;
      d.Segments[k].Start = start;
      d.Segments[k].End = end;
    }
    d.SegmentCount = k;
    prepareSegments(d, s);
    porun(d, s);
    countFinishedObjects(d, s, counts);
  }
  const long long made = gAllocations - before;
  EXPECT_EQ(made, 0);
  EXPECT_GT(d.ObjectTotal, 500) << "the lines must give fish, or the test proves little";
}

}  // namespace
