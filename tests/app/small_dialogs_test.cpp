#include <gtest/gtest.h>

#include <QThread>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/small_dialogs.h"
#include "app/soft_keyboard.h"

namespace {

class KeyboardTest : public ::testing::Test {
 protected:
  void press(std::initializer_list<const char*> captions) {
    for (const char* c : captions) {
      QPushButton* key = keyboard.key(QString::fromLatin1(c));
      ASSERT_NE(key, nullptr) << c;
      key->click();
    }
  }
  SoftKeybState state;
  TFrmSoftkeyb keyboard{state};
  QLineEdit edit;
};

TEST_F(KeyboardTest, LayoutHas42KeysAtTheirPlaces) {
  EXPECT_EQ(keyboard.windowTitle(), QStringLiteral("Keyboard"));
  EXPECT_EQ(keyboard.keys().size(), 42u);
  EXPECT_EQ(keyboard.size(), QSize(624, 188));
  EXPECT_EQ(keyboard.key(QStringLiteral("Del"))->geometry(), QRect(560, 0, 55, 32));
  EXPECT_EQ(keyboard.key(QStringLiteral("Enter"))->geometry(), QRect(552, 64, 55, 32));
  EXPECT_EQ(keyboard.key(QStringLiteral("\\"))->geometry(), QRect(24, 96, 55, 32));
  EXPECT_EQ(keyboard.key(QStringLiteral("  "))->geometry(), QRect(184, 128, 249, 32));
}

TEST_F(KeyboardTest, TextModeTypesEveryKeyAtTheEnd) {
  state.SoftKeybTarget = &edit;
  press({"A", "B", "  ", "1"});
  EXPECT_EQ(edit.text(), QStringLiteral("AB  1"));
  edit.setCursorPosition(0);  // the caret does not matter
  press({"=", ":", "\\"});
  EXPECT_EQ(edit.text(), QStringLiteral("AB  1=:\\"));
}

TEST_F(KeyboardTest, DigitsOnlyIgnoresEverythingButDigits) {
  state.SoftKeybTarget = &edit;
  state.SoftKeybDigitsOnly = true;
  press({"A", "B", "  ", "1", "\\", "=", ":", "Q", "0"});
  EXPECT_EQ(edit.text(), QStringLiteral("10"));
  press({"Del"});  // Del still works
  EXPECT_EQ(edit.text(), QStringLiteral("1"));
}

TEST_F(KeyboardTest, DelEmptiesAndStopsAtEmpty) {
  edit.setText(QStringLiteral("xy"));
  state.SoftKeybTarget = &edit;
  press({"Del", "Del", "Del"});
  EXPECT_EQ(edit.text(), QString());
}

TEST_F(KeyboardTest, EnterClosesAndLeavesTheText) {
  state.SoftKeybTarget = &edit;
  int finished = -1;
  QObject::connect(&keyboard, &QDialog::finished, [&](int r) { finished = r; });
  keyboard.open();
  press({"K", "Enter"});
  EXPECT_EQ(finished, QDialog::Accepted);
  EXPECT_FALSE(keyboard.isVisible());
  EXPECT_EQ(edit.text(), QStringLiteral("K"));
}

TEST_F(KeyboardTest, OtherTargetsAndAVanishedTarget) {
  QSpinBox spin;
  spin.setRange(0, 90000000);
  spin.setValue(100);
  state.SoftKeybTarget = &spin;
  state.SoftKeybDigitsOnly = true;
  press({"5"});
  EXPECT_EQ(spin.value(), 1005);
  press({"Del", "Del", "Del", "Del"});
  EXPECT_EQ(spin.value(), 0);
  QPlainTextEdit memo;
  memo.setPlainText(QStringLiteral("line"));
  state.SoftKeybTarget = &memo;
  state.SoftKeybDigitsOnly = false;
  press({"S"});
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("lineS"));
  {
    QLineEdit gone;
    state.SoftKeybTarget = &gone;
  }
  press({"A", "Del"});  // no target any more: nothing happens, nothing crashes
  EXPECT_TRUE(state.SoftKeybTarget.isNull());
}

TEST_F(KeyboardTest, SitsAtTheBottomCentre) {
  keyboard.FormShow(QSize(1024, 768));
  EXPECT_EQ(keyboard.pos(), QPoint(200, 580));
}

TEST(SessionInformation, OkStartsASessionEveryTimeCancelNever) {
  QStringList started;
  std::vector<std::pair<QWidget*, bool>> keyboards;
  TFrmInsert dialog;
  QObject::connect(&dialog, &TFrmInsert::keyboardRequested,
                   [&](QWidget* target, bool digits) { keyboards.emplace_back(target, digits); });
  QObject::connect(&dialog, &TFrmInsert::sessionStartRequested, [&](const QString& d) { started.append(d); });
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insert session information "));
  dialog.EditTank->setText(QStringLiteral("Tank 4"));
  dialog.open();
  dialog.BitBtn1->click();
  EXPECT_TRUE(started.isEmpty());
  dialog.open();
  dialog.BitBtn2->click();
  dialog.open();
  dialog.BitBtn2->click();
  EXPECT_EQ(started, (QStringList{QStringLiteral("Tank 4"), QStringLiteral("Tank 4")}));
  EXPECT_EQ(dialog.EditTank->text(), QStringLiteral("Tank 4"));  // kept between showings
  dialog.Button1->click();
  dialog.Button2->click();
  dialog.Button3->click();
  ASSERT_EQ(keyboards.size(), 3u);
  EXPECT_EQ(keyboards[0].first, dialog.EditTank);
  EXPECT_EQ(keyboards[1].first, dialog.Memo1);
  EXPECT_EQ(keyboards[2].first, dialog.editperson);
  for (const auto& k : keyboards) EXPECT_FALSE(k.second);
}

TEST(TimedMessage, ClosesItselfAndASecondStoreKeepsTheFirstTimer) {
  TMessagedialog message;
  EXPECT_EQ(message.windowTitle(), QStringLiteral("Message"));
  EXPECT_TRUE(message.Timer1->isActive());  // runs from creation
  message.Timer1Timer();
  EXPECT_FALSE(message.Timer1->isActive());
  message.showMessage(QStringLiteral("Storing numbers to report.."));
  EXPECT_TRUE(message.isVisible());
  EXPECT_EQ(message.Label1->text(), QStringLiteral("Storing numbers to report.."));
  const int left = message.Timer1->remainingTime();
  QThread::msleep(60);
  message.showMessage(QStringLiteral("again"));
  EXPECT_LE(message.Timer1->remainingTime(), left - 30);  // not restarted: the first second runs on
  message.Timer1Timer();
  EXPECT_FALSE(message.isVisible());
}

TEST(Calibrating, ShowingEmptiesTheBar) {
  TOKBottomDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Calibrating"));
  EXPECT_EQ(dialog.ProgressBar1->maximum(), 24);
  dialog.ProgressBar1->setValue(17);
  dialog.show();
  EXPECT_EQ(dialog.ProgressBar1->value(), 0);
}

}  // namespace
