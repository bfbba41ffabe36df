#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "app/app_windows.h"
#include "app/frm_adal.h"
#include "app/small_dialogs.h"
#include "portio/waitforlamp.h"
#include "portio/port_io.h"
#include "tests/app/scripted_prompts.h"
#include "texts/text_table.h"

namespace {

class WindowListTest : public ::testing::Test {
 protected:
  WindowListTest() {
    env.prompts = &prompts;
    env.processNames = [this] { return processes; };
    env.screenHeight = [] { return 480; };
    env.freeBytes = [] { return int64_t{1} << 40; };
  }
  void TearDown() override { destroyWindows(windows); }
  bool create() { return createWindows(windows, {settings, session, camera, counting, texts, port}, env); }

  SettingsVariables settings;
  SessionState session;
  CameraGeometry camera;
  CountingState counting;
  TextTable texts;
  PortIo port;
  ScriptedPrompts prompts;
  MainWindowEnvironment env;
  std::optional<std::vector<std::string>> processes = std::vector<std::string>{"/usr/bin/tindavel"};
  AppWindows windows;
};

TEST_F(WindowListTest, FifteenWindowsInOrderWithTheirCaptions) {
  ASSERT_TRUE(create());
  const std::vector<QWidget*> all = windowsInOrder(windows);
  ASSERT_EQ(all.size(), 15u);
  const std::vector<QString> captions = {
      QString(), "Form2", "View File", "Visibility scope", QString(), "Settings",
      "Insert session information ", "Keyboard", QString(), "frmquattro", "Calibrating", "Message",
      "View Record", "malatexti", "frmreport"};
  for (std::size_t i = 0; i < all.size(); ++i) {
    ASSERT_NE(all[i], nullptr) << i;
    EXPECT_FALSE(all[i]->isVisible()) << i;
    if (i != 0 && i != 4) {
      EXPECT_EQ(all[i]->windowTitle(), captions[i]) << i;
    }
  }
  EXPECT_EQ(all[0], windows.FrmAdal);
}

TEST_F(WindowListTest, FirstiniFillsTheTextsAndTheShownTitleStands) {
  ASSERT_TRUE(create());
  windows.FrmAdal->firstiniTimer();
  EXPECT_EQ(texts.LangText[65], "Tolu Lumen/Norde Counter");
  EXPECT_EQ(windows.FrmAdal->windowTitle(), QStringLiteral("Tolu Lumen/Norde Counter"));
  EXPECT_EQ(windows.FrmAdal->Storebtn->text(), QStringLiteral("Store"));
  windows.FrmAdal->show();
  EXPECT_EQ(windows.FrmAdal->windowTitle(), QStringLiteral("Tolu Report viewer  1.46"));
}

TEST_F(WindowListTest, TheLampWaitStartsFirstiniAndTheChart) {
  ASSERT_TRUE(create());
  windows.Waitforlamp->show();
  windows.Waitforlamp->close();
  EXPECT_TRUE(windows.FrmAdal->firstini->isActive());
  EXPECT_TRUE(windows.FrmAdal->Timer1->isActive());
}

TEST_F(WindowListTest, SessionDialogOkStartsCountingInTheMainWindow) {
  ASSERT_TRUE(create());
  settings.NrChannels = 1;
  windows.FrmAdal->firstiniTimer();
  windows.FrmInsert->open();
  windows.FrmInsert->accept();
  EXPECT_TRUE(session.SessionActive);
  EXPECT_EQ(windows.FrmAdal->Button4->text(), QStringLiteral("End counting session"));
  ASSERT_TRUE(counting.ReportLines.has_value());
  windows.FrmAdal->StorebtnClick();
  EXPECT_EQ(counting.ReportLines->size(), 1u);
  EXPECT_TRUE(windows.Messagedialog->isVisible());
}

TEST_F(WindowListTest, SecondCopyCreatesOnlyTheMainWindow) {
  processes = std::vector<std::string>{"/usr/bin/tindavel", "/opt/Tindavel"};
  EXPECT_FALSE(create());
  EXPECT_NE(windows.FrmAdal, nullptr);
  EXPECT_TRUE(windows.FrmAdal->endedAtCreate());
  EXPECT_EQ(windows.Form2, nullptr);
  EXPECT_EQ(windows.frmreport, nullptr);
}

}  // namespace
