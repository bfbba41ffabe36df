// Proportional scaling of a window designed for one screen size to another:
// positions, sizes and fonts of the window and every control in it.
#ifndef TINDAVEL_APP_SCALE_WIDGETS_H_
#define TINDAVEL_APP_SCALE_WIDGETS_H_

class QWidget;

// Scales by numerator / denominator (integer arithmetic, truncating). Fixed,
// minimum and maximum sizes, the geometry of controls that no layout places,
// layout margins and spacings and every font are scaled; what a layout
// places follows from those. Call once, before the window is first shown.
void scaleWidgetTree(QWidget* root, int numerator, int denominator);

#endif  // TINDAVEL_APP_SCALE_WIDGETS_H_
