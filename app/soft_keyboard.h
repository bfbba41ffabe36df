// TFrmSoftkeyb: the on-screen keyboard for touch screens. Whoever opens it
// sets the program-wide target first (openOn does both); each key then edits
// the target's text at its end, and "Enter" closes the keyboard.
#ifndef TINDAVEL_APP_SOFT_KEYBOARD_H_
#define TINDAVEL_APP_SOFT_KEYBOARD_H_

#include <QDialog>
#include <QPointer>
#include <QString>

#include <vector>

class QPushButton;

// The program-wide keyboard target.
struct SoftKeybState {
  QPointer<QWidget> SoftKeybTarget;  // a line edit, spin box, plain or rich text edit
  bool SoftKeybDigitsOnly = false;   // only keys whose caption starts with a digit type
};

enum class SoftKeyResult { kClose, kChanged, kIgnored };

// One key press on a text: "Enter" closes, "Del" drops the last character,
// any other caption is appended unless digits-only refuses it.
SoftKeyResult applySoftKey(QString& text, const QString& key, bool digitsOnly);

// The text of a keyboard target, and setting it so that the control's own
// change handler runs as after typing.
QString softKeybText(const QWidget* target);
void setSoftKeybText(QWidget* target, const QString& text);

inline constexpr int kSoftKeybWidth = 624;   // outer size, frame included
inline constexpr int kSoftKeybHeight = 188;

class TFrmSoftkeyb : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmSoftkeyb(SoftKeybState& state, QWidget* parent = nullptr);

  // Places the keyboard at the bottom edge of a screen of this size, centred.
  void FormShow(const QSize& screen);
  // A key press with the key's caption.
  void Button1Click(const QString& caption);
  // The keys, in their rows from top left.
  const std::vector<QPushButton*>& keys() const { return keys_; }
  QPushButton* key(const QString& caption) const;
  SoftKeybState& state() { return state_; }

  // Sets the target and shows the keyboard modally; returns after "Enter"
  // or the close box.
  void openOn(QWidget* target, bool digitsOnly);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  SoftKeybState& state_;
  std::vector<QPushButton*> keys_;
};

#endif  // TINDAVEL_APP_SOFT_KEYBOARD_H_
