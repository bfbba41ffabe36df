#include "widgets/double_clicks.h"

#include <QEvent>
#include <QWidget>

void DoubleClicks::watch(QWidget* clicked, QWidget* target) {
  clicked->installEventFilter(this);
  watched_.emplace_back(clicked, target);
}

bool DoubleClicks::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    for (const auto& [clicked, target] : watched_) {
      if (clicked == watched) {
        emit doubleClicked(target);
        return true;
      }
    }
  }
  return QObject::eventFilter(watched, event);
}
