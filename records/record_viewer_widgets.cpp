#include "records/record_viewer_widgets.h"

#include <QPainter>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cassert>

#include "records/record_viewer_window.h"

SelectionTrackBar::SelectionTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  setTickPosition(QSlider::NoTicks);
}

void SelectionTrackBar::setSelection(int start, int end) {
  if (start == selStart_ && end == selEnd_) return;
  selStart_ = start;
  selEnd_ = end;
  update();
}

void SelectionTrackBar::paintEvent(QPaintEvent* event) {
  QSlider::paintEvent(event);
  if (maximum() <= minimum()) return;
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  const int span = groove.width() - handle.width();
  auto xOf = [&](int value) {
    const int v = std::clamp(value, minimum(), maximum());
    return groove.left() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), v, span);
  };
  const int a = xOf(std::min(selStart_, selEnd_));
  const int b = xOf(std::max(selStart_, selEnd_));
  QPainter p(this);
  p.fillRect(QRect(QPoint(a, height() - 4), QPoint(std::max(a + 1, b), height() - 2)),
             palette().color(QPalette::Highlight));
}

RecordPicture::RecordPicture(TfrmRecord* viewer, QWidget* parent) : QWidget(parent), viewer_(viewer) {
  assert(viewer_);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void RecordPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  viewer_->PaintBox1Paint(p, width(), height());
}

void RecordPicture::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->size().width() != event->oldSize().width()) viewer_->pictureResized(event->size().width());
}
