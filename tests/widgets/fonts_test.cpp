#include "widgets/fonts.h"

#include <gtest/gtest.h>

namespace {

struct ScaleRow {
  const char* name;
  QFont font;
  int numerator;
  int denominator;
  int pixels;     // expected pixel size; -1: set in points
  double points;  // expected point size when set in points
};

QFont inPoints(double points) {
  QFont font;
  font.setPointSizeF(points);
  return font;
}

// Each font keeps the unit it was set in; a pixel font never shrinks to
// nothing, which Qt refuses.
TEST(Fonts, ScaledFontKeepsItsUnit) {
  const ScaleRow rows[] = {
      {"pixels grow, truncated", pixelFont("Arial", 13), 1024, 480, 27, -1},
      {"pixels shrink", pixelFont("Arial", 37), 480, 1024, 17, -1},
      {"one pixel stays one", pixelFont("Arial", 1), 1, 2, 1, -1},
      {"large pixels do not overflow", pixelFont("Arial", 30000), 100000, 100000, 30000, -1},
      {"points", inPoints(12), 1024, 640, -1, 19.2},
  };
  for (const ScaleRow& row : rows) {
    const QFont scaled = scaledFont(row.font, row.numerator, row.denominator);
    EXPECT_EQ(scaled.pixelSize(), row.pixels) << row.name;
    if (row.pixels < 0) {
      EXPECT_DOUBLE_EQ(scaled.pointSizeF(), row.points) << row.name;
    }
    EXPECT_EQ(scaled.family(), row.font.family()) << row.name;
  }
}

}  // namespace
