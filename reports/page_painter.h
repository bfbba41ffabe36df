// Drawing the printed reports' pages in millimetres: the type, the line
// breaking and the painter that both the session report and the re-count
// report place their items with, so the two look alike.
#ifndef TINDAVEL_REPORTS_PAGE_PAINTER_H_
#define TINDAVEL_REPORTS_PAGE_PAINTER_H_

#include <algorithm>
#include <string>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>

#include "reports/report_bands.h"

// The smallest type a value is set in to make it fit its place.
inline constexpr double kMinTextPoints = 6.0;

// The reports' type: DejaVu Sans (or Sans Mono), no ligatures.
QFont reportFont(double points, bool bold = false, bool italic = false, bool fixedPitch = false);

// The lines `text` takes at `width` device pixels: broken between words, or
// inside a word too long for a line (a file path). Blanks at a break are
// dropped.
QStringList wrapLines(const QString& text, const QFont& font, QPaintDevice* device, double width);

// Draws in millimetres from the top left of the printable body; converts to
// device pixels itself so fonts keep their point sizes.
class PagePainter {
 public:
  PagePainter(QPainter& painter, QPagedPaintDevice& device)
      : p_(painter), pxPerMm_(device.logicalDpiX() / 25.4) {
    // The device's own printable area may start inside our margins (a
    // printer's unprintable edge); we place the body where our margins say.
    const QRect full = device.pageLayout().fullRectPixels(device.logicalDpiX());
    const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    origin_ = QPointF(kPageMarginMm * pxPerMm_ - paint.left() + full.left(),
                      kPageMarginMm * pxPerMm_ - paint.top() + full.top());
  }

  double px(double mm) const { return mm * pxPerMm_; }
  QPointF at(double xMm, double yMm) const { return origin_ + QPointF(px(xMm), px(yMm)); }
  QRectF rect(double xMm, double yMm, double wMm, double hMm) const {
    return QRectF(at(xMm, yMm), QSizeF(px(wMm), px(hMm)));
  }

  void font(double points, bool bold = false, bool italic = false, bool fixedPitch = false) {
    p_.setFont(reportFont(points, bold, italic, fixedPitch));
  }

  // Text on one line in the box, vertically centred. Text too long for the
  // box is set smaller, down to three quarters of its size, and only then
  // cut with an ellipsis where it would run into the next item.
  void text(double xMm, double yMm, double wMm, double hMm, const std::string& s,
            Qt::Alignment align = Qt::AlignLeft, Qt::TextElideMode elide = Qt::ElideRight) {
    const QRectF box = rect(xMm, yMm, wMm, hMm);
    const QFont original = p_.font();
    const QString t = QString::fromStdString(s);
    QFont f = original;
    const double floor = std::max(kMinTextPoints, original.pointSizeF() * 0.75);
    while (QFontMetricsF(f, p_.device()).horizontalAdvance(t) > box.width() && f.pointSizeF() - 0.5 >= floor) {
      f.setPointSizeF(f.pointSizeF() - 0.5);
    }
    p_.setFont(f);
    const QString elided = QFontMetricsF(f, p_.device()).elidedText(t, elide, box.width());
    p_.drawText(box, static_cast<int>(align | Qt::AlignVCenter), elided);
    p_.setFont(original);
  }

  // Text that must be read whole (a file name, a heading of names): set on
  // up to `maxLines` lines in the box, smaller where needed down to
  // kMinTextPoints; what still does not fit is cut in the way `elide` says.
  void wrappedText(double xMm, double yMm, double wMm, double hMm, const std::string& s, int maxLines,
                   Qt::TextElideMode elide, Qt::Alignment align = Qt::AlignLeft) {
    const QRectF box = rect(xMm, yMm, wMm, hMm);
    const QFont original = p_.font();
    const QString t = QString::fromStdString(s);
    for (QFont f = original; f.pointSizeF() >= kMinTextPoints; f.setPointSizeF(f.pointSizeF() - 0.5)) {
      const QStringList lines = wrapLines(t, f, p_.device(), box.width());
      const double spacing = QFontMetricsF(f, p_.device()).lineSpacing();
      if (lines.size() > maxLines || static_cast<double>(lines.size()) * spacing > box.height()) continue;
      p_.setFont(f);
      double top = box.top() + (box.height() - static_cast<double>(lines.size()) * spacing) / 2;
      for (const QString& line : lines) {
        p_.drawText(QRectF(box.left(), top, box.width(), spacing), static_cast<int>(align | Qt::AlignVCenter), line);
        top += spacing;
      }
      p_.setFont(original);
      return;
    }
    QFont smallest = original;
    smallest.setPointSizeF(kMinTextPoints);
    p_.setFont(smallest);
    const QString elided = QFontMetricsF(smallest, p_.device()).elidedText(t, elide, box.width());
    p_.drawText(box, static_cast<int>(align | Qt::AlignVCenter), elided);
    p_.setFont(original);
  }

  // The picture scaled into the box, keeping its proportions, centred.
  void picture(double xMm, double yMm, double wMm, double hMm, const QImage& image,
               Qt::Alignment align = Qt::AlignCenter) {
    if (image.isNull()) return;  // an empty place, as for a missing logo
    const QRectF box = rect(xMm, yMm, wMm, hMm);
    QSizeF size = QSizeF(image.size()).scaled(box.size(), Qt::KeepAspectRatio);
    double x = box.left() + (box.width() - size.width()) / 2;
    if (align & Qt::AlignLeft) x = box.left();
    if (align & Qt::AlignRight) x = box.right() - size.width();
    p_.drawImage(QRectF(QPointF(x, box.top() + (box.height() - size.height()) / 2), size), image);
  }

  void hline(double xMm, double yMm, double wMm) {
    p_.setPen(QPen(Qt::black, px(0.3)));
    p_.drawLine(at(xMm, yMm), at(xMm + wMm, yMm));
  }

  void frame(double xMm, double yMm, double wMm, double hMm) {
    p_.setPen(QPen(Qt::gray, px(0.2)));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(rect(xMm, yMm, wMm, hMm));
    p_.setPen(Qt::black);
  }

 private:
  QPainter& p_;
  double pxPerMm_;
  QPointF origin_;
};

#endif  // TINDAVEL_REPORTS_PAGE_PAINTER_H_
