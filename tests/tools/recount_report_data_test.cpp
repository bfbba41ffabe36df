// The printed re-count report's histograms: every channel in the same bars.
#include "tools/recount_report_data.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace {

std::string number(int k) { return std::to_string(k); }

std::vector<int32_t> classes(size_t size, std::vector<std::pair<size_t, int32_t>> fish) {
  std::vector<int32_t> counts(size, 0);
  for (auto [k, n] : fish) counts[k] = n;
  return counts;
}

struct HistogramCase {
  const char* what;
  std::vector<std::vector<int32_t>> counts;
  std::vector<std::string> labels;  // empty: only the bar count and sums are checked
  size_t bars;
};

TEST(RecountHistogram, ChannelsShareBarsAndKeepTheirFish) {
  const std::vector<HistogramCase> cases = {
      {"channels in different ranges",
       {classes(60, {{9, 3}, {12, 5}}), classes(60, {{20, 1}, {30, 2}})},
       {"9", "12", "15", "18", "21", "24", "27", "30"},
       8},
      {"one channel without fish", {classes(60, {{40, 7}}), classes(60, {})}, {"40"}, 1},
      {"no fish at all", {classes(60, {}), classes(60, {})}, {}, 0},
      {"a wide spread keeps to the most bars", {classes(200, {{0, 1}, {199, 1}}), classes(10, {{5, 4}})}, {}, 8},
  };
  for (const HistogramCase& c : cases) {
    SCOPED_TRACE(c.what);
    const RecountHistogram h = gatherHistogram(c.counts, number);
    ASSERT_EQ(h.labels.size(), c.bars);
    if (!c.labels.empty()) {
      EXPECT_EQ(h.labels, c.labels);
    }
    ASSERT_EQ(h.heights.size(), c.counts.size());
    for (size_t ch = 0; ch < c.counts.size(); ++ch) {
      EXPECT_EQ(h.heights[ch].size(), c.bars);
      EXPECT_EQ(std::accumulate(h.heights[ch].begin(), h.heights[ch].end(), int64_t{0}),
                std::accumulate(c.counts[ch].begin(), c.counts[ch].end(), int64_t{0}));
    }
  }
}

}  // namespace
