// The fonts the windows are drawn in: sizes in pixels, as the windows were
// designed, and grown with the screen.
#ifndef TINDAVEL_WIDGETS_FONTS_H_
#define TINDAVEL_WIDGETS_FONTS_H_

#include <QFont>
#include <QString>

// The family the small dialogs and the keyboard were designed in.
inline constexpr char kDialogFontFamily[] = "MS Sans Serif";

// `family` at `pixels` pixels. A family the system lacks falls back to one
// it has, as Qt chooses.
QFont pixelFont(const QString& family, int pixels, bool bold = false);

// `font` scaled by numerator / denominator in the unit it is set in: pixels
// (truncated, never below 1) or points.
QFont scaledFont(QFont font, int numerator, int denominator);

#endif  // TINDAVEL_WIDGETS_FONTS_H_
