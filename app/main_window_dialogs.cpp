#include "app/main_window_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton ask(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, buttons, parent);
  box.setDefaultButton(defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

bool QtMainWindowDialogs::askYesNo(const QString& text) {
  return ask(parent_, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtMainWindowDialogs::askOkCancel(const QString& text) {
  return ask(parent_, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

void QtMainWindowDialogs::inform(const QString& text) {
  QMessageBox::information(parent_, QApplication::applicationName(), text, QMessageBox::Ok);
}

void QtMainWindowDialogs::showError(const QString& text) {
  QMessageBox::critical(parent_, QApplication::applicationName(), text, QMessageBox::Ok);
}
