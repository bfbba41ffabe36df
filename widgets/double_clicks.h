// Double-clicks on the controls a window names, told as a signal with the
// control each one stands for (a spin box's editor stands for the spin box),
// so the window needs no event filter of its own.
#ifndef TINDAVEL_WIDGETS_DOUBLE_CLICKS_H_
#define TINDAVEL_WIDGETS_DOUBLE_CLICKS_H_

#include <QObject>

#include <utility>
#include <vector>

class QWidget;

class DoubleClicks : public QObject {
  Q_OBJECT

 public:
  explicit DoubleClicks(QObject* parent) : QObject(parent) {}

  // A double-click on `clicked` is told as one on `target` and goes no
  // further.
  void watch(QWidget* clicked, QWidget* target);

 signals:
  void doubleClicked(QWidget* target);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<std::pair<QObject*, QWidget*>> watched_;  // clicked, target
};

#endif  // TINDAVEL_WIDGETS_DOUBLE_CLICKS_H_
