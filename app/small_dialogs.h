// The small dialogs of the counting side: the session information dialog,
// the timed message and the calibrating progress dialog.
#ifndef TINDAVEL_APP_SMALL_DIALOGS_H_
#define TINDAVEL_APP_SMALL_DIALOGS_H_

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// TFrmInsert: "Insert session information ". OK asks for a counting session
// to start; the fields keep their text between showings.
class TFrmInsert : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmInsert(QWidget* parent = nullptr);

  QLineEdit* EditTank = nullptr;     // session description
  QLineEdit* editperson = nullptr;   // person in charge
  QPlainTextEdit* Memo1 = nullptr;   // comments
  QPushButton* Button1 = nullptr;    // keyboard for EditTank
  QPushButton* Button3 = nullptr;    // keyboard for editperson
  QPushButton* Button2 = nullptr;    // keyboard for Memo1
  QPushButton* BitBtn1 = nullptr;    // Cancel
  QPushButton* BitBtn2 = nullptr;    // OK

  void done(int result) override;

 signals:
  // A "...." button: the on-screen keyboard on `target`.
  void keyboardRequested(QWidget* target, bool digitsOnly);
  // OK: the main window starts a counting session with this description.
  void sessionStartRequested(const QString& description);
};

// TMessagedialog: "Message", a note that closes itself one second after its
// timer starts. The timer runs once from creation, closing the hidden window.
class TMessagedialog : public QDialog {
  Q_OBJECT

 public:
  explicit TMessagedialog(QWidget* parent = nullptr);
  // Sets the text, starts the timer and shows the window without waiting.
  // A second call within the second leaves the running timer alone.
  void showMessage(const QString& text);
  void Timer1Timer();

  QLabel* Label1 = nullptr;
  QTimer* Timer1 = nullptr;
};

// TOKBottomDlg: "Calibrating", a progress dialog; showing it empties the bar.
class TOKBottomDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TOKBottomDlg(QWidget* parent = nullptr);
  QLabel* Label1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
};

#endif  // TINDAVEL_APP_SMALL_DIALOGS_H_
