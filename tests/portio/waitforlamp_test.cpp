#include "portio/waitforlamp.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class WaitforlampTest : public ::testing::Test {
 protected:
  WaitforlampTest() {
    // The main window starts `firstini` and `Timer1` on each end of the wait.
    QObject::connect(&dialog, &TWaitforlamp::ended, [this] {
      ++firstiniStarts;
      ++timer1Starts;
    });
  }

  void tick(int times) {
    for (int i = 0; i < times; ++i) dialog.delaytimerTimer();
  }

  int firstiniStarts = 0;
  int timer1Starts = 0;
  TWaitforlamp dialog;
};

TEST_F(WaitforlampTest, ShowStartsTheTimer) {
  dialog.show();
  EXPECT_TRUE(dialog.delaytimer->isActive());
  EXPECT_EQ(firstiniStarts, 0);
  EXPECT_EQ(timer1Starts, 0);
}

TEST_F(WaitforlampTest, CancelAfterTenTicksStillStartsBoth) {
  dialog.show();
  tick(10);
  EXPECT_EQ(dialog.ProgressBar1->value(), 10);
  EXPECT_TRUE(dialog.isVisible());
  dialog.Button1->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(dialog.delaytimer->isActive());
  EXPECT_EQ(firstiniStarts, 1);
  EXPECT_EQ(timer1Starts, 1);
}

TEST_F(WaitforlampTest, FullBarEndsTheWait) {
  dialog.show();
  tick(359);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(firstiniStarts, 0);
  tick(1);
  EXPECT_EQ(dialog.ProgressBar1->value(), 360);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(dialog.delaytimer->isActive());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(firstiniStarts, 1);
  EXPECT_EQ(timer1Starts, 1);
}

TEST_F(WaitforlampTest, CloseBoxEndsTheWaitToo) {
  dialog.show();
  tick(3);
  EXPECT_TRUE(dialog.close());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(dialog.delaytimer->isActive());
  EXPECT_EQ(firstiniStarts, 1);
  EXPECT_EQ(timer1Starts, 1);
}

TEST_F(WaitforlampTest, ShownAgainGoesOnWhereItStood) {
  dialog.show();
  tick(100);
  dialog.Button1->click();
  dialog.show();
  EXPECT_TRUE(dialog.delaytimer->isActive());
  EXPECT_EQ(dialog.ProgressBar1->value(), 100);
  tick(260);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(timer1Starts, 2);
}

TEST(WaitforlampEnd, NobodyListeningDoesNoHarm) {
  TWaitforlamp dialog;
  dialog.show();
  dialog.delaytimerTimer();
  dialog.Button1->click();
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
