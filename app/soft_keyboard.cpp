#include "app/soft_keyboard.h"

#include <QAbstractSpinBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTextEdit>

#include "widgets/fonts.h"

namespace {

constexpr int kKeyWidth = 55;
constexpr int kKeyHeight = 32;
constexpr int kSpaceX = 184;
constexpr int kSpaceWidth = 249;

struct KeyPlace {
  const char* caption;
  int x;
};
struct KeyRow {
  int top;
  std::vector<KeyPlace> keys;
};

const std::vector<KeyRow>& keyRows() {
  static const std::vector<KeyRow> rows = {
      {0, {{"1", 0}, {"2", 56}, {"3", 112}, {"4", 168}, {"5", 224}, {"6", 280}, {"7", 336}, {"8", 392},
           {"9", 448}, {"0", 504}, {"Del", 560}}},
      {32, {{"Q", 24}, {"W", 80}, {"E", 136}, {"R", 192}, {"T", 248}, {"Y", 304}, {"U", 360}, {"I", 416},
            {"O", 472}, {"P", 528}}},
      {64, {{"A", 48}, {"S", 104}, {"D", 160}, {"F", 216}, {"G", 272}, {"H", 328}, {"J", 384}, {"K", 440},
            {"L", 496}, {"Enter", 552}}},
      {96, {{"\\", 24}, {"Z", 80}, {"X", 136}, {"C", 192}, {"V", 248}, {"B", 304}, {"N", 360}, {"M", 416},
            {"=", 472}, {":", 528}}},
  };
  return rows;
}

}  // namespace

SoftKeyResult applySoftKey(QString& text, const QString& key, bool digitsOnly) {
  if (key == QLatin1String("Enter")) return SoftKeyResult::kClose;
  if (key == QLatin1String("Del")) {
    if (text.isEmpty()) return SoftKeyResult::kIgnored;
    text.chop(1);
    return SoftKeyResult::kChanged;
  }
  const bool digit = !key.isEmpty() && key[0] >= QLatin1Char('0') && key[0] <= QLatin1Char('9');
  if (digitsOnly && !digit) return SoftKeyResult::kIgnored;
  text += key;
  return SoftKeyResult::kChanged;
}

QString softKeybText(const QWidget* target) {
  if (auto* edit = qobject_cast<const QLineEdit*>(target)) return edit->text();
  if (auto* spin = qobject_cast<const QAbstractSpinBox*>(target)) return spin->text();
  if (auto* plain = qobject_cast<const QPlainTextEdit*>(target)) return plain->toPlainText();
  if (auto* rich = qobject_cast<const QTextEdit*>(target)) return rich->toPlainText();
  return {};
}

void setSoftKeybText(QWidget* target, const QString& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(target)) {
    edit->setText(text);
  } else if (auto* spin = qobject_cast<QSpinBox*>(target)) {
    // A spin box takes the number; an empty or partial text gives its
    // lowest value, as clearing the field would.
    bool ok = false;
    const int value = text.toInt(&ok);
    spin->setValue(ok ? value : spin->minimum());
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(target)) {
    plain->setPlainText(text);
  } else if (auto* rich = qobject_cast<QTextEdit*>(target)) {
    rich->setPlainText(text);
  }
}

TFrmSoftkeyb::TFrmSoftkeyb(SoftKeybState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("FrmSoftkeyb"));
  setWindowTitle(QStringLiteral("Keyboard"));
  setFont(pixelFont(kDialogFontFamily, 11));
  setFixedSize(kSoftKeybWidth, kSoftKeybHeight);
  auto addKey = [this](const QString& caption, int x, int y, int width) {
    auto* b = new QPushButton(caption, this);
    b->setGeometry(x, y, width, kKeyHeight);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, [this, caption] { Button1Click(caption); });
    keys_.push_back(b);
  };
  for (const KeyRow& row : keyRows()) {
    for (const KeyPlace& k : row.keys) addKey(QString::fromLatin1(k.caption), k.x, row.top, kKeyWidth);
  }
  addKey(QStringLiteral("  "), kSpaceX, 128, kSpaceWidth);  // the space bar types two blanks
}

QPushButton* TFrmSoftkeyb::key(const QString& caption) const {
  for (QPushButton* b : keys_) {
    if (b->text() == caption) return b;
  }
  return nullptr;
}

void TFrmSoftkeyb::FormShow(const QSize& screen) {
  // 624 x 188 is the keyboard's outer size, its frame included: under a
  // window manager the inside gives up what the frame takes, and the frame's
  // bottom lies on the screen's bottom edge.
  const QSize frame = frameGeometry().size() - geometry().size();
  setFixedSize(kSoftKeybWidth - frame.width(), kSoftKeybHeight - frame.height());
  move((screen.width() - kSoftKeybWidth) / 2, screen.height() - kSoftKeybHeight);
}

void TFrmSoftkeyb::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) FormShow(screen->geometry().size());
}

void TFrmSoftkeyb::Button1Click(const QString& caption) {
  QWidget* target = state_.SoftKeybTarget;
  QString text = target != nullptr ? softKeybText(target) : QString();
  switch (applySoftKey(text, caption, state_.SoftKeybDigitsOnly)) {
    case SoftKeyResult::kClose:
      accept();
      break;
    case SoftKeyResult::kChanged:
      if (target != nullptr) setSoftKeybText(target, text);
      break;
    case SoftKeyResult::kIgnored:
      break;
  }
}

void TFrmSoftkeyb::openOn(QWidget* target, bool digitsOnly) {
  state_.SoftKeybTarget = target;
  state_.SoftKeybDigitsOnly = digitsOnly;
  exec();
}
