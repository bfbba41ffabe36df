#include "widgets/fonts.h"

#include <algorithm>
#include <cassert>

QFont pixelFont(const QString& family, int pixels, bool bold) {
  assert(pixels > 0);
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QFont scaledFont(QFont font, int numerator, int denominator) {
  assert(numerator > 0 && denominator > 0);
  if (font.pixelSize() > 0) {
    const long long pixels = static_cast<long long>(font.pixelSize()) * numerator / denominator;
    font.setPixelSize(static_cast<int>(std::max(1LL, pixels)));
  } else {
    font.setPointSizeF(font.pointSizeF() * numerator / denominator);
  }
  return font;
}
