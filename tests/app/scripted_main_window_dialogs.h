// The main window's dialogs for tests: answers its questions from a script
// and keeps what it said.
#ifndef TINDAVEL_TESTS_APP_SCRIPTED_MAIN_WINDOW_DIALOGS_H_
#define TINDAVEL_TESTS_APP_SCRIPTED_MAIN_WINDOW_DIALOGS_H_

#include <QString>
#include <QStringList>

#include <deque>

#include "app/main_window_dialogs.h"

class ScriptedMainWindowDialogs : public MainWindowDialogs {
 public:
  bool askYesNo(const QString& text) override { return answer(text); }
  bool askOkCancel(const QString& text) override { return answer(text); }
  void inform(const QString& text) override { told.append(text); }
  void showError(const QString& text) override { errors.append(text); }

  std::deque<bool> answers;  // next answers; an unscripted question is a test failure
  QStringList asked;
  QStringList told;
  QStringList errors;
  bool unscripted = false;

 private:
  bool answer(const QString& text) {
    asked.append(text);
    if (answers.empty()) {
      unscripted = true;
      return false;
    }
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
};

#endif  // TINDAVEL_TESTS_APP_SCRIPTED_MAIN_WINDOW_DIALOGS_H_
