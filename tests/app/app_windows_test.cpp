#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>

#include <QTableWidget>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/app_windows.h"
#include "app/frm_adal.h"
#include "app/message_box_scale.h"
#include "app/program_state.h"
#include "app/small_dialogs.h"
#include "app/soft_keyboard.h"
#include "app/up_down_selector.h"
#include "portio/waitforlamp.h"
#include "records/record_format.h"
#include "settings/settings_window.h"
#include "tests/app/app_test_support.h"
#include "tests/app/scripted_main_window_dialogs.h"
#include "tests/temp_folder.h"

namespace {

class WindowListTest : public ProgramStateTest {
 protected:
  WindowListTest() { env.processes = std::vector<std::string>{"/usr/bin/tindavel"}; }
  void TearDown() override { destroyWindows(windows); }
  bool create() { return createWindows(windows, *state, &prompts, &env); }

  AppWindows windows;
};

// A display name of its own would make Qt append " — Lumencounter" to every
// window title, so the main window would not read "Tolu Report viewer  1.46".
TEST(ApplicationSetUp, TitleIsTheNameAndAddsNothingToWindowTitles) {
  const QString nameBefore = QCoreApplication::applicationName();
  setUpApplication();
  EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Lumencounter"));
  EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
  // Without a display name of its own the display name follows the name.
  QCoreApplication::setApplicationName(QStringLiteral("probe"));
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
  QCoreApplication::setApplicationName(nameBefore);
  QGuiApplication::setQuitOnLastWindowClosed(true);
}

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
  EXPECT_EQ(windows.FrmAdal->ui().Storebtn->text(), QStringLiteral("Store"));
  windows.FrmAdal->show();
  EXPECT_EQ(windows.FrmAdal->windowTitle(), QStringLiteral("Tolu Report viewer  1.46"));
}

TEST_F(WindowListTest, TheLampWaitStartsFirstiniAndTheChart) {
  ASSERT_TRUE(create());
  windows.Waitforlamp->show();
  windows.Waitforlamp->close();
  EXPECT_TRUE(windows.FrmAdal->ui().firstini->isActive());
  EXPECT_TRUE(windows.FrmAdal->ui().Timer1->isActive());
}

TEST_F(WindowListTest, SessionDialogOkStartsCountingInTheMainWindow) {
  ASSERT_TRUE(create());
  settings.NrChannels = 1;
  windows.FrmAdal->firstiniTimer();
  windows.FrmInsert->open();
  windows.FrmInsert->accept();
  EXPECT_TRUE(session.SessionActive);
  EXPECT_EQ(windows.FrmAdal->ui().Button4->text(), QStringLiteral("End counting session"));
  ASSERT_TRUE(counting.ReportLines.has_value());
  windows.FrmAdal->StorebtnClick();
  EXPECT_EQ(counting.ReportLines->size(), 1u);
  EXPECT_TRUE(windows.Messagedialog->isVisible());
}

TEST_F(WindowListTest, FirstiniLoadsTheStoredSettingsIntoTheWindows) {
  const std::string path = defaultStorePath();
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path) << "[Eka]\nNrChannels=3\nEnablemulti=1\nCounters1=5\nCounters2=6\nCounters3=7\n"
                         "Counters4=99\nTotal=40\nSize Group2=5\nchannelwidth=2\nCountname2=Smolt\nMalanr=3\n";
  ASSERT_TRUE(create());
  windows.FrmAdal->firstiniTimer();
  const FrmAdalUi& w = windows.FrmAdal->ui();
  EXPECT_EQ(settings.NrChannels, 3);
  EXPECT_EQ(w.Summa->text(), QStringLiteral("18"));
  EXPECT_EQ(w.Total->text(), QStringLiteral("40"));
  EXPECT_EQ(w.Teljari[4]->text(), QStringLiteral("0"));  // channel 4 is not loaded with three in use
  EXPECT_FALSE(w.GroupBox[3]->isHidden());
  EXPECT_TRUE(w.GroupBox[4]->isHidden());
  EXPECT_EQ(w.SumGroupBox->title(), QStringLiteral("Sub Total"));
  EXPECT_EQ(w.GroupBox[2]->title(), QStringLiteral("Smolt"));
  EXPECT_EQ(w.UpDown[2]->value(), 5);
  EXPECT_EQ(w.Storebtn->text(), QStringLiteral("Lagre"));  // Norwegian
  EXPECT_FALSE(sett.channelName(4).visible);
  EXPECT_TRUE(sett.channelName(3).visible);
  EXPECT_TRUE(sett.FishtypeWeight.visible);
  // A click on a selector is stored at once.
  w.UpDown[2]->stepBy(1);
  EXPECT_EQ(settings.SizeGroup[2], 6);
  SettingsStore reread(path);
  EXPECT_EQ(reread.readInteger("Size Group2", -1), 6);
  EXPECT_EQ(reread.readInteger("Counters2", -1), 6);  // the stored counts were not overwritten
}

TEST_F(WindowListTest, SelectorClickAppliesTheSizeGroupToTheDisplays) {
  ASSERT_TRUE(create());
  windows.FrmAdal->firstiniTimer();
  const FrmAdalUi& w = windows.FrmAdal->ui();
  EXPECT_TRUE(w.sizelbl[1]->text().isEmpty());
  EXPECT_EQ(w.UpDown[1]->value(), 2);  // the stored default, over the creation's 1
  w.UpDown[1]->stepBy(1);
  EXPECT_EQ(settings.SizeGroup[1], 3);
  EXPECT_FALSE(w.sizelbl[1]->text().isEmpty());
  EXPECT_GE(w.Gauge1->maximum(), 1);  // no lines per buffer: an empty gauge, never a broken range
}

TEST_F(WindowListTest, OneChannelSwitchesMultiOffAndDisablesIt) {
  ASSERT_TRUE(create());  // no stored settings: one channel
  EXPECT_TRUE(sett.Enablemulti.checked());  // the designed state
  windows.FrmAdal->firstiniTimer();
  EXPECT_FALSE(sett.Enablemulti.checked());
  EXPECT_FALSE(sett.Enablemulti.enabled);
  EXPECT_EQ(windows.FrmAdal->ui().SumGroupBox->title(), QStringLiteral("Total"));
}

TEST_F(WindowListTest, SecondCopyCreatesOnlyTheMainWindow) {
  env.processes = std::vector<std::string>{"/usr/bin/tindavel", "/opt/Tindavel"};
  EXPECT_FALSE(create());
  EXPECT_NE(windows.FrmAdal, nullptr);
  EXPECT_TRUE(windows.FrmAdal->endedAtCreate());
  EXPECT_EQ(windows.Form2, nullptr);
  EXPECT_EQ(windows.frmreport, nullptr);
}

// The message boxes take the factor the main window scaled itself by.
TEST_F(WindowListTest, MessageBoxesScaleWithTheMainWindow) {
  env.height = 1024;
  ASSERT_TRUE(create());
  EXPECT_EQ(windows.FrmAdal->scaleNumerator(), 1024);
  EXPECT_FALSE(qApp->styleSheet().isEmpty());
  EXPECT_EQ(qApp->styleSheet(), messageBoxStyleSheet(1024, 480));
  destroyWindows(windows);
  env.height = 480;
  ASSERT_TRUE(create());
  EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

// Every request of the main window reaches the window that answers it.
TEST_F(WindowListTest, EveryRequestOfTheMainWindowIsAnswered) {
  ASSERT_TRUE(create());
  EXPECT_EQ(windows.FrmAdal->unansweredRequests(), QStringList{});
}

TEST_F(WindowListTest, SessionDialogOpensTheKeyboardOnItsField) {
  ASSERT_TRUE(create());
  QWidget* target = nullptr;
  bool shown = false;
  // The keyboard is modal: look at it and close it from inside its own loop.
  QTimer::singleShot(0, windows.FrmSoftkeyb, [&] {
    shown = windows.FrmSoftkeyb->isVisible();
    target = state->softKeyb.SoftKeybTarget;
    windows.FrmSoftkeyb->close();
  });
  windows.FrmInsert->Button3->click();
  EXPECT_TRUE(shown);
  EXPECT_EQ(target, windows.FrmInsert->editperson);
  EXPECT_FALSE(state->softKeyb.SoftKeybDigitsOnly);
}

// The selectors show the model's positions whoever reads the store: here the
// settings window's close, after the file changed behind it.
TEST_F(WindowListTest, SettingsReadAfterTheStartMovesTheSelectorsToo) {
  ASSERT_TRUE(create());
  windows.FrmAdal->firstiniTimer();
  EXPECT_EQ(windows.FrmAdal->ui().UpDown[3]->value(), 2);
  writeStoreFile("[Eka]\nSize Group3=7\n");
  windows.sett->open();
  windows.sett->reject();
  EXPECT_EQ(settings.SizeGroup[3], 7);
  EXPECT_EQ(windows.FrmAdal->ui().UpDown[3]->value(), 7);
}

TEST_F(WindowListTest, SettingsWindowGetsTheChannelTableAndTheKeyboard) {
  writeStoreFile("[Eka]\nNrChannels=2\n");
  ASSERT_TRUE(create());
  windows.FrmAdal->firstiniTimer();
  EXPECT_EQ(windows.sett->findChild<QTableWidget*>("strmul")->rowCount(), 3);  // header and two channels
  QWidget* target = nullptr;
  QTimer::singleShot(0, windows.FrmSoftkeyb, [&] {
    target = state->softKeyb.SoftKeybTarget;
    windows.FrmSoftkeyb->close();
  });
  windows.sett->findChild<QPushButton*>("Numberkeyb")->click();
  EXPECT_EQ(target, windows.sett->findChild<QSpinBox*>("Targetvalue"));
  EXPECT_TRUE(state->softKeyb.SoftKeybDigitsOnly);
}

// Recording while counting: the mode acts only during a session, the
// sampling timer follows the writer, and closing the main window leaves the
// recording complete on disk.
TEST_F(WindowListTest, RecordingWhileCountingFollowsTheModeAndEndsWithTheWindow) {
  const std::filesystem::path folder = testFolder();
  ASSERT_TRUE(create());
  windows.FrmAdal->firstiniTimer();
  const FrmAdalUi& w = windows.FrmAdal->ui();
  sett.reportpath.setText((folder / "").string());
  sett.Recordmethod.setItemIndex(kRecordSampling);
  EXPECT_FALSE(state->recorder.isOpen());  // no session: the mode change does nothing
  EXPECT_FALSE(w.rectimer->isActive());

  windows.FrmInsert->open();
  windows.FrmInsert->accept();  // the session starts and prepares its recording
  ASSERT_TRUE(state->recorder.isOpen());
  const std::string record = state->recorder.recordPath();
  EXPECT_TRUE(w.rectimer->isActive());
  EXPECT_EQ(w.rectimer->interval(), 1000);  // the first tick after a second
  windows.FrmAdal->rectimerTimer();         // a sample begins: 10 s
  EXPECT_TRUE(state->recorder.SamplingOn());
  EXPECT_EQ(w.rectimer->interval(), 10000);
  windows.FrmAdal->rectimerTimer();  // it ends with the marker; 5 min of pause
  EXPECT_FALSE(state->recorder.SamplingOn());
  EXPECT_EQ(w.rectimer->interval(), 300000);
  EXPECT_EQ(state->recorder.RecordWords(), 2 + 5);
  sett.Recordmethod.setItemIndex(kRecordNone);  // during a session: sampling stops
  EXPECT_FALSE(w.rectimer->isActive());
  EXPECT_FALSE(state->recorder.SamplingOn());
  sett.Recordmethod.setItemIndex(kRecordContinuous);  // a new recording, every line from now on
  EXPECT_TRUE(state->recorder.SamplingOn());
  EXPECT_FALSE(w.rectimer->isActive());
  const std::string continuous = state->recorder.recordPath();
  EXPECT_NE(continuous, record);

  windows.FrmAdal->close();
  EXPECT_FALSE(state->recorder.isOpen());
  auto bytesOf = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  const std::string bytes = bytesOf(record);
  ASSERT_EQ(bytes.size(), 2u * (2 + 5));  // header and marker, nothing lost
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x00\xFF\x01", 4));
  EXPECT_EQ(bytesOf(continuous), std::string("\x00\x00\xFF\x01", 4));  // its header reached the file
  EXPECT_TRUE(prompts.errors.isEmpty());
  std::filesystem::remove_all(folder);
}

TEST_F(WindowListTest, ARecordingThatCannotBeCreatedIsTold) {
  ASSERT_TRUE(create());
  windows.FrmAdal->firstiniTimer();
  sett.reportpath.setText("/nonexistent/folder/");
  windows.FrmAdal->startcounting(QStringLiteral("T7"));
  EXPECT_EQ(prompts.errors.size(), 1);
}

TEST_F(WindowListTest, TheSettingsWindowShowsTheSensorLine) {
  ASSERT_TRUE(create());
  windows.FrmAdal->firstiniTimer();
  windows.sett->show();
  EXPECT_EQ(windows.sett->findChild<QLineEdit*>("imagebuffsize")->text(), QStringLiteral("512x0"));
  windows.sett->reject();
}

}  // namespace
