// The form's size-group up-down: a spin box whose arrow steps (a person's
// click, not a value set by the program) emit `clicked`, as the toolkit's
// up-down runs its click operation only for a click.
#ifndef TINDAVEL_APP_UP_DOWN_SELECTOR_H_
#define TINDAVEL_APP_UP_DOWN_SELECTOR_H_

#include <QSpinBox>

class UpDownSelector : public QSpinBox {
  Q_OBJECT

 public:
  using QSpinBox::QSpinBox;
  void stepBy(int steps) override {
    QSpinBox::stepBy(steps);
    emit clicked();
  }

 signals:
  void clicked();
};

#endif  // TINDAVEL_APP_UP_DOWN_SELECTOR_H_
