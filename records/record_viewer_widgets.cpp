#include "records/record_viewer_widgets.h"

#include <QPainter>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cassert>

#include "records/record_viewer_window.h"

namespace {

// The band of the selection: its height and its gap to the groove and the
// handle above it. Its colours are the track bar's own, so no style can
// hide it and it needs no style's help.
constexpr int kBandHeight = 5;
constexpr int kBandGap = 2;
const QColor kBandFill(0x1E, 0x78, 0xD2);
const QColor kBandEdge(0x0A, 0x3C, 0x78);

}  // namespace

SelectionTrackBar::SelectionTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  setTickPosition(QSlider::NoTicks);
}

void SelectionTrackBar::setSelection(int start, int end) {
  if (start == selStart_ && end == selEnd_) return;
  selStart_ = start;
  selEnd_ = end;
  update();
}

QColor SelectionTrackBar::bandColor() { return kBandFill; }

QSize SelectionTrackBar::sizeHint() const {
  // Room for the band under the slider; the styles centre the groove, so
  // the room is added above as well.
  const QSize hint = QSlider::sizeHint();
  return {hint.width(), hint.height() + 2 * (kBandGap + kBandHeight)};
}

QSize SelectionTrackBar::minimumSizeHint() const {
  const QSize hint = QSlider::minimumSizeHint();
  return {hint.width(), hint.height() + 2 * (kBandGap + kBandHeight)};
}

QRect SelectionTrackBar::selectionBand() const {
  if (maximum() <= minimum() || (selStart_ == 0 && selEnd_ == 0)) return {};
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
  int a = xOf(std::min(selStart_, selEnd_));
  int b = xOf(std::max(selStart_, selEnd_));
  if (b - a < kBandHeight) {
    // A stretch of one position is still seen: a short band around it.
    a -= kBandHeight / 2;
    b = a + kBandHeight;
  }
  const int top = std::min(std::max(groove.bottom(), handle.bottom()) + 1 + kBandGap, height() - kBandHeight);
  return QRect(QPoint(a, top), QPoint(b, top + kBandHeight - 1));
}

void SelectionTrackBar::paintEvent(QPaintEvent* event) {
  QSlider::paintEvent(event);
  const QRect band = selectionBand();
  if (band.isEmpty()) return;
  QPainter p(this);
  p.fillRect(band, kBandFill);
  p.setPen(kBandEdge);
  p.drawRect(band.adjusted(0, 0, -1, -1));
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
