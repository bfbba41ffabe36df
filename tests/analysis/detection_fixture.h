// Shared set-up of the detection tests: a fresh state with wide-open limits
// in every channel, one channel over pixels 0..511, and lines fed by hand.
#ifndef TINDAVEL_TESTS_ANALYSIS_DETECTION_FIXTURE_H_
#define TINDAVEL_TESTS_ANALYSIS_DETECTION_FIXTURE_H_

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <utility>

#include "analysis/detection_state.h"
#include "analysis/line_analysis.h"
#include "settings/settings_variables.h"

class DetectionTest : public ::testing::Test {
 protected:
  DetectionTest() : state(std::make_unique<DetectionState>()), d(*state) {
    s.LeftEdge = 0;
    s.RightEdge = 511;
    s.NrChannels = 1;
    s.ChannelPositions[1] = {0, 511, 1000};
    for (int c = 1; c <= kMaxChannels; ++c) {
      d.MinWidth[c] = 0;
      d.GapLimit[c] = 0;
      d.MinLength[c] = 1;
      d.MaxLength[c] = 1000000;
      d.MinBreadth[c] = 1;
      d.MaxBreadth[c] = 1000000;
      d.MinArea[c] = 1;
      d.MaxArea[c] = INT32_MAX;
      d.AngleSmoothing[c] = 100;  // angles follow the edges at once
    }
    d.AngleThreshold = 10;
    d.AreaFactor = 2;
  }

  // Runs porun over one line of (Start, End) segments, as prepared.
  void line(std::initializer_list<std::pair<int, int>> segments, std::ostream* trace = nullptr) {
    int k = 0;
    for (const auto& [start, end] : segments) {
      ++k;
      d.Segments[k].Start = start;
      d.Segments[k].End = end;
    }
    d.SegmentCount = k;
    porun(d, s, trace);
  }

  // The same segment for `count` lines.
  void lines(int count, int start, int end) {
    for (int n = 0; n < count; ++n) line({{start, end}});
  }

  SettingsVariables s;
  std::unique_ptr<DetectionState> state;
  DetectionState& d;
};

#endif  // TINDAVEL_TESTS_ANALYSIS_DETECTION_FIXTURE_H_
