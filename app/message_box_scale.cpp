#include "app/message_box_scale.h"

#include <QApplication>

int scaledMessageBoxSize(int designPixels, int numerator, int denominator) {
  return designPixels * numerator / denominator;
}

QString messageBoxStyleSheet(int numerator, int denominator) {
  if (numerator <= 0 || denominator <= 0 || numerator == denominator) return QString();
  auto px = [&](int design) { return QString::number(scaledMessageBoxSize(design, numerator, denominator)); };
  // Qt style sheets hand no font down to children, so the box's label and
  // buttons are named as well. The least width goes on the button row, not
  // on the text: a text held to a least width would keep the box from
  // wrapping it and be cut instead.
  return QStringLiteral(
             "QMessageBox, QMessageBox QLabel, QMessageBox QPushButton { font-size: %1px; }\n"
             "QMessageBox QPushButton { min-width: %2px; min-height: %3px; }\n"
             "QMessageBox QDialogButtonBox { min-width: %4px; }\n")
      .arg(px(kMessageBoxFontPixels), px(kMessageBoxButtonWidth), px(kMessageBoxButtonHeight),
           px(kMessageBoxRowMinWidth));
}

void applyMessageBoxScale(int numerator, int denominator) {
  qApp->setStyleSheet(messageBoxStyleSheet(numerator, denominator));
}
