#include "app/scale_widgets.h"

#include <QFont>
#include <QLayout>
#include <QList>
#include <QWidget>

#include <cassert>
#include <utility>

#include "widgets/fonts.h"

namespace {

int scaled(int v, int num, int den) { return static_cast<int>(static_cast<long long>(v) * num / den); }

QSize scaled(QSize s, int num, int den) {
  // QWIDGETSIZE_MAX means "no limit" and stays so.
  const int w = s.width() >= QWIDGETSIZE_MAX ? s.width() : scaled(s.width(), num, den);
  const int h = s.height() >= QWIDGETSIZE_MAX ? s.height() : scaled(s.height(), num, den);
  return {w, h};
}

void scaleLayout(QLayout* layout, int num, int den) {
  if (layout == nullptr) return;
  const QMargins m = layout->contentsMargins();
  layout->setContentsMargins(scaled(m.left(), num, den), scaled(m.top(), num, den),
                             scaled(m.right(), num, den), scaled(m.bottom(), num, den));
  if (layout->spacing() > 0) layout->setSpacing(scaled(layout->spacing(), num, den));
  for (int i = 0; i < layout->count(); ++i) scaleLayout(layout->itemAt(i)->layout(), num, den);
}

bool layoutHolds(const QLayout* layout, const QWidget* w) {
  if (layout == nullptr) return false;
  for (int i = 0; i < layout->count(); ++i) {
    QLayoutItem* item = layout->itemAt(i);
    if (item->widget() == w || layoutHolds(item->layout(), w)) return true;
  }
  return false;
}

// A layout-placed control gets its place from the layout: scaling its
// geometry would be undone at the next layout pass.
bool placedByLayout(const QWidget* w) {
  const QWidget* parent = w->parentWidget();
  return !w->isWindow() && parent != nullptr && layoutHolds(parent->layout(), w);
}

}  // namespace

void scaleWidgetTree(QWidget* root, int numerator, int denominator) {
  assert(root != nullptr && numerator > 0 && denominator > 0);
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  // Fonts first, all read before any is set: a child that inherits its
  // parent's font would otherwise be scaled twice.
  QList<std::pair<QWidget*, QFont>> fonts;
  for (QWidget* w : widgets) fonts.append({w, scaledFont(w->font(), numerator, denominator)});
  for (auto& [w, f] : fonts) w->setFont(f);

  for (QWidget* w : widgets) {
    const QSize minSize = w->minimumSize();
    const QSize maxSize = w->maximumSize();
    if (minSize.width() > 0 || minSize.height() > 0) w->setMinimumSize(scaled(minSize, numerator, denominator));
    if (maxSize.width() < QWIDGETSIZE_MAX || maxSize.height() < QWIDGETSIZE_MAX)
      w->setMaximumSize(scaled(maxSize, numerator, denominator));
    if (w->isWindow()) {
      w->resize(scaled(w->size(), numerator, denominator));
    } else if (!placedByLayout(w)) {
      const QRect g = w->geometry();
      w->setGeometry(scaled(g.x(), numerator, denominator), scaled(g.y(), numerator, denominator),
                     scaled(g.width(), numerator, denominator), scaled(g.height(), numerator, denominator));
    }
    scaleLayout(w->layout(), numerator, denominator);
  }
}
