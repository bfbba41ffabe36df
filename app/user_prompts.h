// How the windows of the counting side ask the operator something or tell
// them something. The program uses message boxes; tests pass a scripted
// implementation so no window waits for a person.
#ifndef TINDAVEL_APP_USER_PROMPTS_H_
#define TINDAVEL_APP_USER_PROMPTS_H_

class QString;
class QWidget;

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // Confirmation icon, Yes and No; true for Yes.
  virtual bool askYesNo(const QString& text) = 0;
  // Confirmation icon, OK and Cancel; true for OK.
  virtual bool askOkCancel(const QString& text) = 0;
  // Information icon and OK; returns when the operator has read it.
  virtual void inform(const QString& text) = 0;
};

// Modal message boxes over `parent`, titled with the application title.
class MessageBoxPrompts : public UserPrompts {
 public:
  explicit MessageBoxPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  bool askYesNo(const QString& text) override;
  bool askOkCancel(const QString& text) override;
  void inform(const QString& text) override;

 private:
  QWidget* parent_;
};

#endif  // TINDAVEL_APP_USER_PROMPTS_H_
