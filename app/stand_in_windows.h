// Windows whose own classes live elsewhere or are not written yet: each is a
// hidden window of its class name with its caption, created in its place in
// the start-up order so the order and the captions hold. The namespace keeps
// them apart from the real classes of the same names.
#ifndef TINDAVEL_APP_STAND_IN_WINDOWS_H_
#define TINDAVEL_APP_STAND_IN_WINDOWS_H_

#include <QDialog>

namespace stand_in {

class StandInWindow : public QDialog {
  Q_OBJECT

 public:
  StandInWindow(const QString& formName, const QString& caption, QWidget* parent = nullptr);
};

// Holder of the scan-line analysis routines; never shown.
class TForm2 : public StandInWindow {
 public:
  TForm2() : StandInWindow(QStringLiteral("Form2"), QStringLiteral("Form2")) {}
};
// A window with the label "Saving report data to file"; nothing shows it.
class Tsaverepform : public StandInWindow {
 public:
  Tsaverepform();
};
// Holder of the multi-channel layout routines; never shown.
class Tfrmquattro : public StandInWindow {
 public:
  Tfrmquattro() : StandInWindow(QStringLiteral("frmquattro"), QStringLiteral("frmquattro")) {}
};
// Holder of the language table; never shown.
class Tmalatexti : public StandInWindow {
 public:
  Tmalatexti() : StandInWindow(QStringLiteral("malatexti"), QStringLiteral("malatexti")) {}
};

}  // namespace stand_in

#endif  // TINDAVEL_APP_STAND_IN_WINDOWS_H_
