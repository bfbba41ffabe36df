#include "portio/waitforlamp.h"

#include <utility>

#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include "widgets/fonts.h"

TWaitforlamp::TWaitforlamp(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Waitforlamp"));
  setWindowTitle(QString());
  setFixedSize(336, 210);

  Label1 = new QLabel(QStringLiteral("Please wait while the lamp heats up..."), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(pixelFont(kDialogFontFamily, 15));
  Label1->setGeometry(24, 32, 288, 24);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, kWarmUpSeconds);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setGeometry(24, 80, 288, 24);

  Button1 = new QPushButton(QStringLiteral("Cancel"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setFont(pixelFont(kDialogFontFamily, 16));
  Button1->setGeometry(118, 140, 100, 32);

  delaytimer = new QTimer(this);
  delaytimer->setObjectName(QStringLiteral("delaytimer"));
  delaytimer->setInterval(kTickMs);

  connect(delaytimer, &QTimer::timeout, this, &TWaitforlamp::delaytimerTimer);
  connect(Button1, &QPushButton::clicked, this, &TWaitforlamp::Button1Click);
}

void TWaitforlamp::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restoring a minimised dialog is no new show. The bar is not reset: shown
  // again, the wait goes on from where it stood.
  if (!event->spontaneous()) delaytimer->start();
}

void TWaitforlamp::delaytimerTimer() {
  // One step; a full bar stays full.
  if (ProgressBar1->value() < ProgressBar1->maximum()) ProgressBar1->setValue(ProgressBar1->value() + 1);
  // done() stops the timer and ends the wait.
  if (ProgressBar1->value() >= ProgressBar1->maximum()) done(QDialog::Accepted);
}

void TWaitforlamp::Button1Click() { reject(); }

void TWaitforlamp::done(int result) {
  delaytimer->stop();
  emit ended();
  QDialog::done(result);
}
