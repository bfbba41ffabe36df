#include "analysis/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

int formatFixedTo(char* buffer, int size, double value, int decimals) {
  decimals = std::clamp(decimals, 0, 6);
  int written;
  if (!std::isfinite(value)) {
    written = std::snprintf(buffer, size, "%s",
                            std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF");
  } else {
    // printf rounds the exact binary value half to even; the display patterns
    // round half away from zero, so round the scaled value first.
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (!std::isfinite(rounded)) rounded = value;  // too large to scale: no fraction anyway
    rounded += 0.0;                                 // -0 becomes 0
    written = std::snprintf(buffer, size, "%.*f", decimals, rounded);
  }
  return std::clamp(written, 0, size > 0 ? size - 1 : 0);
}

std::string formatFixed(double value, int decimals) {
  char text[400];  // the largest double has 309 digits
  const int length = formatFixedTo(text, sizeof text, value, decimals);
  return std::string(text, length);
}
