#include "reports/page_painter.h"

#include <QTextLayout>
#include <QTextOption>

QFont reportFont(double points, bool bold, bool italic, bool fixedPitch) {
  QFont f(fixedPitch ? "DejaVu Sans Mono" : "DejaVu Sans");
  if (fixedPitch) f.setStyleHint(QFont::TypeWriter);
  f.setPointSizeF(points);
  f.setBold(bold);
  f.setItalic(italic);
  // No ligatures: the PDF's text should read "file", not "ﬁle", when
  // searched or copied.
  f.setStyleStrategy(QFont::PreferNoShaping);
  return f;
}

QStringList wrapLines(const QString& text, const QFont& font, QPaintDevice* device, double width) {
  if (text.isEmpty()) return {QString()};
  QTextLayout layout(text, font, device);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    QString piece = text.mid(line.textStart(), line.textLength());
    while (!piece.isEmpty() && piece.back().isSpace()) piece.chop(1);
    lines << piece;
  }
  layout.endLayout();
  return lines;
}

