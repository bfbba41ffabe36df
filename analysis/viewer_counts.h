// The counts the record viewers keep while they count a recording again, and
// the weight estimate per channel that the counting paths collect.
#ifndef TINDAVEL_ANALYSIS_VIEWER_COUNTS_H_
#define TINDAVEL_ANALYSIS_VIEWER_COUNTS_H_

#include <cstdint>

#include "settings/settings_variables.h"

// A channel's aspect limit when a session starts or a file is opened.
inline constexpr int32_t kStartAspectLimit = 12;

struct ViewerCounts {
  ChannelArray<int32_t> ViewerCount{};    // fish counted per channel [1..4]
  ChannelArray<int32_t> WeightSamples{};  // fish weighed per channel
  ChannelArray<long double> WeightSum{};  // their summed weight, grams
  // The debug viewer's limit of (MaxRight - MinLeft) / Lines above which a
  // finished object gets its frame rectangle.
  ChannelArray<int32_t> AspectLimit{};
};

#endif  // TINDAVEL_ANALYSIS_VIEWER_COUNTS_H_
