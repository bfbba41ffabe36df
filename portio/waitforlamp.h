// `TWaitforlamp`: the lamp warm-up wait. A progress bar fills by one step a
// second over six minutes; when it is full, or the operator presses
// "Cancel", or the dialog is closed any other way, the wait ends: `ended`
// tells the main window, which starts its first-time initialisation
// (`firstini`) and its throughput chart timer (`Timer1`).
//
// No operation of the program shows it; it is created with the other windows.
#ifndef TINDAVEL_PORTIO_WAITFORLAMP_H_
#define TINDAVEL_PORTIO_WAITFORLAMP_H_

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class TWaitforlamp : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWarmUpSeconds = 360;  // the progress bar's maximum
  static constexpr int kTickMs = 1000;        // `delaytimer` interval

  explicit TWaitforlamp(QWidget* parent = nullptr);

  // Every way the dialog closes passes here: the full bar, "Cancel", Escape
  // and the close box.
  void done(int result) override;

  // The form's controls, under their form names.
  QLabel* Label1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* Button1 = nullptr;  // "Cancel"
  QTimer* delaytimer = nullptr;

 public slots:
  // One tick of `delaytimer`: one step of the bar; a full bar ends the wait.
  void delaytimerTimer();
  // "Cancel": ends the wait at once.
  void Button1Click();

 signals:
  // The wait ended, in whichever way.
  void ended();

 protected:
  void showEvent(QShowEvent* event) override;
};

#endif  // TINDAVEL_PORTIO_WAITFORLAMP_H_
