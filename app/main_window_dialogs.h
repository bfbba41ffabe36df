// The main window's dialogs: how the counting side asks the operator
// something or tells them something. QtMainWindowDialogs shows message boxes;
// tests pass a scripted implementation so no window waits for a person.
#ifndef TINDAVEL_APP_MAIN_WINDOW_DIALOGS_H_
#define TINDAVEL_APP_MAIN_WINDOW_DIALOGS_H_

class QString;
class QWidget;

class MainWindowDialogs {
 public:
  virtual ~MainWindowDialogs() = default;
  // Confirmation icon, Yes and No; true for Yes.
  virtual bool askYesNo(const QString& text) = 0;
  // Confirmation icon, OK and Cancel; true for OK.
  virtual bool askOkCancel(const QString& text) = 0;
  // Information icon and OK; returns when the operator has read it.
  virtual void inform(const QString& text) = 0;
  // Error icon and OK.
  virtual void showError(const QString& text) = 0;
};

// Modal message boxes over `parent`, titled with the application title.
class QtMainWindowDialogs : public MainWindowDialogs {
 public:
  explicit QtMainWindowDialogs(QWidget* parent) : parent_(parent) {}
  bool askYesNo(const QString& text) override;
  bool askOkCancel(const QString& text) override;
  void inform(const QString& text) override;
  void showError(const QString& text) override;

 private:
  QWidget* parent_;
};

#endif  // TINDAVEL_APP_MAIN_WINDOW_DIALOGS_H_
