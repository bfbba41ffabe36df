#include "app/small_dialogs.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "widgets/fonts.h"

namespace {

QFrame* framedBevel(QWidget* parent, const QRect& place) {
  auto* bevel = new QFrame(parent);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(place);
  return bevel;
}

}  // namespace

TFrmInsert::TFrmInsert(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmInsert"));
  setWindowTitle(QStringLiteral("Insert session information "));
  setFont(pixelFont(kDialogFontFamily, 15));
  setFixedSize(493, 316);
  auto* label3 = new QLabel(QStringLiteral("Session description"), this);
  label3->move(48, 12);
  EditTank = new QLineEdit(this);
  EditTank->setGeometry(48, 34, 366, 24);
  Button1 = new QPushButton(QStringLiteral("...."), this);
  Button1->setGeometry(420, 34, 41, 24);
  auto* personLabel = new QLabel(QStringLiteral("Person in charge:"), this);
  personLabel->move(48, 63);
  editperson = new QLineEdit(this);
  editperson->setGeometry(48, 81, 185, 24);
  Button3 = new QPushButton(QStringLiteral("...."), this);
  Button3->setGeometry(239, 81, 41, 24);
  auto* label2 = new QLabel(QStringLiteral("Comments:"), this);
  label2->move(48, 111);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setGeometry(48, 133, 345, 76);
  Button2 = new QPushButton(QStringLiteral("...."), this);
  Button2->setGeometry(396, 133, 41, 24);
  BitBtn1 = new QPushButton(QStringLiteral("Cancel"), this);
  BitBtn1->setGeometry(280, 248, 81, 25);
  BitBtn2 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn2->setGeometry(380, 248, 81, 25);
  BitBtn2->setDefault(true);
  for (QPushButton* b : {Button1, Button2, Button3}) b->setAutoDefault(false);

  // The keyboard opens in text mode on the field beside its button.
  connect(Button1, &QPushButton::clicked, this, [this] { emit keyboardRequested(EditTank, false); });
  connect(Button2, &QPushButton::clicked, this, [this] { emit keyboardRequested(Memo1, false); });
  connect(Button3, &QPushButton::clicked, this, [this] { emit keyboardRequested(editperson, false); });
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmInsert::done(int result) {
  QDialog::done(result);
  // FormClose: only OK starts a session; Cancel and the close box start nothing.
  if (result == QDialog::Accepted) emit sessionStartRequested(EditTank->text());
}

TMessagedialog::TMessagedialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Messagedialog"));
  setWindowTitle(QStringLiteral("Message"));
  setFixedSize(405, 131);
  framedBevel(this, {8, 8, 385, 113});
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(pixelFont(kDialogFontFamily, 11));
  Label1->setGeometry(40, 56, 340, 20);
  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TMessagedialog::Timer1Timer);
  Timer1->start();
}

void TMessagedialog::showMessage(const QString& text) {
  Label1->setText(text);
  if (!Timer1->isActive()) Timer1->start();
  show();
}

void TMessagedialog::Timer1Timer() {
  Timer1->stop();
  close();
}

TOKBottomDlg::TOKBottomDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OKBottomDlg"));
  setWindowTitle(QStringLiteral("Calibrating"));
  setFixedSize(313, 178);
  framedBevel(this, {8, 8, 297, 161});
  Label1 = new QLabel(QStringLiteral("Calibrating Counter......"), this);
  Label1->move(72, 72);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setGeometry(32, 112, 257, 16);
  ProgressBar1->setRange(0, 24);
  ProgressBar1->setTextVisible(false);
}

void TOKBottomDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ProgressBar1->setValue(0);
}
