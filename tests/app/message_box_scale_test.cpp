// Message boxes on a touch screen: the application style sheet scales them
// by the main window's factor, screen height / 480.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <string>

#include "app/message_box_scale.h"

namespace {

struct ShownBox {
  QSize size;
  QSize smallestButton;
  int buttonFontPixels = 0;
};

// The Exit question as the main window asks it, shown offscreen under `sheet`.
ShownBox showExitQuestion(const QString& sheet) {
  qApp->setStyleSheet(sheet);
  QMessageBox box(QMessageBox::Question, QStringLiteral("Lumencounter"), QStringLiteral("Confirm, exit now"),
                  QMessageBox::Yes | QMessageBox::No);
  box.show();
  QApplication::processEvents();
  ShownBox shown;
  shown.size = box.size();
  shown.smallestButton = QSize(1 << 20, 1 << 20);
  for (QAbstractButton* b : box.buttons()) {
    shown.smallestButton = shown.smallestButton.boundedTo(b->size());
    shown.buttonFontPixels = QFontInfo(b->font()).pixelSize();
  }
  box.hide();
  qApp->setStyleSheet(QString());
  return shown;
}

TEST(MessageBoxScale, DesignScreenLeavesBoxesAsQtMakesThem) {
  EXPECT_TRUE(messageBoxStyleSheet(480, 480).isEmpty());
  EXPECT_TRUE(messageBoxStyleSheet(0, 480).isEmpty());  // no screen height known
}

TEST(MessageBoxScale, SheetScalesTypeButtonsAndButtonRow) {
  const QString sheet = messageBoxStyleSheet(1024, 480);
  EXPECT_TRUE(sheet.contains(QStringLiteral("QMessageBox")));
  EXPECT_TRUE(sheet.contains(QStringLiteral("font-size: 27px")));   // 13 x 1024 / 480, as the main window
  EXPECT_TRUE(sheet.contains(QStringLiteral("min-width: 160px")));  // 75 x 1024 / 480
  EXPECT_TRUE(sheet.contains(QStringLiteral("min-height: 64px")));  // 30 x 1024 / 480
  EXPECT_TRUE(sheet.contains(QStringLiteral("min-width: 426px")));  // 200 x 1024 / 480
}

TEST(MessageBoxScale, BoxOnA1024PixelScreenIsLargerWithButtonsAtLeastTheScaledSize) {
  const ShownBox design = showExitQuestion(QString());
  const ShownBox tall = showExitQuestion(messageBoxStyleSheet(1024, 480));
  EXPECT_GT(tall.size.width(), design.size.width());
  EXPECT_GT(tall.size.height(), design.size.height());
  EXPECT_GE(tall.smallestButton.width(), scaledMessageBoxSize(kMessageBoxButtonWidth, 1024, 480));
  EXPECT_GE(tall.smallestButton.height(), scaledMessageBoxSize(kMessageBoxButtonHeight, 1024, 480));
  EXPECT_EQ(tall.buttonFontPixels, 27);
  // Wide enough for the title bar to show "Lumencounter" whole.
  EXPECT_GE(tall.size.width(), scaledMessageBoxSize(kMessageBoxRowMinWidth, 1024, 480));
}

// However long the text, the box shows it whole: on one line when it fits,
// else wrapped to the lines it needs.
TEST(MessageBoxScale, TextIsNeverCut) {
  const QString texts[] = {
      QStringLiteral("Confirm, exit now"),
      QStringLiteral("Cannot read the report file /x.mse."),
      QStringLiteral("Cannot read the report file /nonexistent/report.mse."),
      QStringLiteral("Cannot read the report file /data/fish reports/north fjord station/spring smolt count.mse.")};
  for (int height : {600, 768, 1024}) {
    qApp->setStyleSheet(messageBoxStyleSheet(height, 480));
    for (const QString& text : texts) {
      QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Ok);
      box.show();
      QApplication::processEvents();
      const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      ASSERT_NE(label, nullptr);
      const std::string where = std::to_string(height) + ": " + text.toStdString();
      if (label->wordWrap()) {
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << where;
      } else {
        EXPECT_GE(label->width(), label->sizeHint().width()) << where;
      }
      EXPECT_LE(label->geometry().right(), box.width()) << where;
    }
  }
  qApp->setStyleSheet(QString());
}

}  // namespace
