// Files from outside the toolbar: the command line, a drop on the main
// window and the hand-over of a second start, each opening the right viewer
// or telling why not.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QDropEvent>
#include <QMimeData>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QUrl>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <filesystem>
#include <memory>
#include <string>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "app/command_line.h"
#include "app/file_opening.h"
#include "app/frm_adal.h"
#include "app/single_instance_handover.h"
#include "records/record_viewer_window.h"
#include "reports/report_viewer.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "tests/app/app_test_support.h"
#include "tests/app/scripted_main_window_dialogs.h"
#include "tests/records/recount_test_support.h"
#include "tests/records/scripted_record_viewer_dialogs.h"
#include "tests/reports/scripted_report_viewer_dialogs.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(CommandLine, FilesUsageVersionAndUnknownOptions) {
  struct Case {
    QStringList args;
    CommandLine::Action action;
    QStringList files;
    QString textHas;
  };
  const Case cases[] = {
      {{"tindavel"}, CommandLine::Action::kRun, {}, {}},
      {{"/opt/x/tindavel", "a.blb", "b c.mse"}, CommandLine::Action::kRun, {"a.blb", "b c.mse"}, {}},
      {{"tindavel", "--", "-odd.blb"}, CommandLine::Action::kRun, {"-odd.blb"}, {}},
      {{"tindavel", "--help"}, CommandLine::Action::kUsage, {}, "Usage: tindavel [options] [FILE...]"},
      {{"/opt/x/tindavel", "-h", "a.blb"}, CommandLine::Action::kUsage, {}, "Usage: tindavel [options]"},
      {{"tindavel", "--version"}, CommandLine::Action::kUsage, {}, "tindavel 1.46\n"},
      {{"tindavel", "--bogus", "a.blb"}, CommandLine::Action::kBadArgs, {}, "Unknown option 'bogus'"},
  };
  for (const Case& c : cases) {
    const CommandLine line = parseCommandLine(c.args);
    const std::string name = c.args.join(' ').toStdString();
    EXPECT_EQ(line.action, c.action) << name;
    EXPECT_EQ(line.files, c.files) << name;
    EXPECT_TRUE(line.text.contains(c.textHas)) << name << ": " << line.text.toStdString();
  }
  // An unknown option also prints the usage.
  EXPECT_TRUE(parseCommandLine({"tindavel", "-x"}).text.contains("Usage: tindavel"));
}

TEST(OpenedFileKind, ByExtensionInAnyCase) {
  EXPECT_EQ(openedFileKind("/a/rec.blb"), OpenedFileKind::kRecording);
  EXPECT_EQ(openedFileKind("REC.BLA"), OpenedFileKind::kRecording);
  EXPECT_EQ(openedFileKind("/a.mse/session.Mse"), OpenedFileKind::kReport);
  EXPECT_EQ(openedFileKind("/a.blb/notes.txt"), OpenedFileKind::kOther);
  EXPECT_EQ(openedFileKind("/a/blb"), OpenedFileKind::kOther);
}

// The record viewer and the report viewer on the test's own state, with
// scripted dialogs, and the opener over a main window of its own.
class FileOpeningTest : public TempFolderTest {
 protected:
  void SetUp() override {
    store = std::make_unique<SettingsStore>((dir / "store.ini").string());
    RecordViewerEnvironment record;
    record.detection = detection.get();
    record.settings = &settings;
    record.counts = &counts;
    record.controls = &controls;
    record.store = store.get();
    record.session = &session;
    record.camera = &camera;
    record.dialogs = &recordDialogs;
    record.tracePath = (dir / "test.txt").string();
    viewer = std::make_unique<TfrmRecord>(record);
    ReportViewerEnvironment report;
    report.settings = &settings;
    report.controls = &controls;
    report.dialogs = &reportDialogs;
    reports = std::make_unique<Tfrmreport>(report);
    opener = new FileOpener(&mainWindow, viewer.get(), reports.get(), &mainDialogs);
  }
  void TearDown() override { viewer.reset(); }
  QString recording() {
    using namespace recount_test;
    return QString::fromStdString(
        writeRecording(dir / "rec", recordWords(drawFish(3000, fishEvery(3000, 40, 1))), reportFor(1)));
  }
  QString path(const char* name) const { return QString::fromStdString((dir / name).string()); }
  int messages() const {
    return static_cast<int>(recordDialogs.errors.size() + reportDialogs.errors.size()) + mainDialogs.errors.size() +
           mainDialogs.told.size();
  }

  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<DetectionState> detection = std::make_unique<DetectionState>();
  SettingsVariables settings;
  SettingsModel controls;
  ViewerCounts counts;
  SessionState session;
  CameraGeometry camera;
  ScriptedRecordViewerDialogs recordDialogs;
  ScriptedReportViewerDialogs reportDialogs;
  ScriptedMainWindowDialogs mainDialogs;
  QWidget mainWindow;
  std::unique_ptr<TfrmRecord> viewer;
  std::unique_ptr<Tfrmreport> reports;
  FileOpener* opener = nullptr;  // the main window's child
};

TEST_F(FileOpeningTest, EachKindOpensItsViewer) {
  EXPECT_TRUE(opener->openFiles({recording()}));
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Tank: T7  Spring     15 Mar 2023"));
  EXPECT_EQ(viewer->FrameLabel()->text().left(8), QStringLiteral("Frame 1 "));  // the first frame, as View Record
  EXPECT_TRUE(fs::exists(dir / "test.txt"));  // the trace made as View Record makes it
  EXPECT_EQ(reportDialogs.previews, 0);
  EXPECT_TRUE(opener->openFiles({path("rec.mse")}));
  EXPECT_EQ(reportDialogs.previews, 1);
  EXPECT_EQ(messages(), 0);
  // Of several files the first opens, the others are named in one message.
  EXPECT_TRUE(opener->openFiles({path("rec.mse"), path("rec.blb"), path("b.txt")}));
  EXPECT_EQ(reportDialogs.previews, 2);
  EXPECT_EQ(mainDialogs.told, QStringList{moreFilesMessage({path("rec.blb"), path("b.txt")})});
  EXPECT_TRUE(mainDialogs.told[0].contains(path("b.txt")));
}

TEST_F(FileOpeningTest, WhatCannotOpenIsToldWithTheViewersTexts) {
  fs::create_directories(dir / "folder.blb");
  std::ofstream(dir / "notes.txt") << "x";
  struct Case {
    QString file;
    std::vector<std::string>* errors;
    std::string text;
  };
  const std::string d = dir.string();
  const Case cases[] = {
      {path("none.blb"), &recordDialogs.errors, "Cannot open the record file " + d + "/none.blb: it does not exist."},
      {path("folder.blb"), &recordDialogs.errors, "Cannot open the record file " + d + "/folder.blb: it is a folder."},
      {path("none.mse"), &reportDialogs.errors, ""},
  };
  for (const Case& c : cases) {
    const size_t before = c.errors->size();
    EXPECT_FALSE(opener->openFiles({c.file})) << c.file.toStdString();
    ASSERT_EQ(c.errors->size(), before + 1) << c.file.toStdString();
    if (!c.text.empty()) {
      EXPECT_EQ(c.errors->back(), c.text);
    }
  }
  EXPECT_NE(reportDialogs.errors.back().find("none.mse"), std::string::npos) << reportDialogs.errors.back();
  EXPECT_FALSE(opener->openFiles({path("notes.txt")}));
  EXPECT_EQ(mainDialogs.errors, QStringList{unknownFileMessage(path("notes.txt"))});
  EXPECT_FALSE(viewer->isVisible());
  EXPECT_EQ(reportDialogs.previews, 0);
}

class DropTest : public ProgramStateTest {};

TEST_F(DropTest, LocalFilesDroppedOnTheMainWindowAreAskedToOpen) {
  TFrmAdal window(*state, &prompts, &env);
  QSignalSpy dropped(&window, &TFrmAdal::filesDropped);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/data/a.blb"), QUrl(QStringLiteral("https://example.org/b.mse")),
                QUrl::fromLocalFile("/data/c.mse")});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &drop);
  ASSERT_EQ(dropped.size(), 1);
  EXPECT_EQ(dropped[0][0].toStringList(), (QStringList{"/data/a.blb", "/data/c.mse"}));
}

TEST(HandOverMessage, OnePathOfBoundedLength) {
  const QString longest = QStringLiteral("/") + QString(kMaxHandOverPathBytes - 1, QLatin1Char('a'));
  EXPECT_EQ(decodeHandOver(encodeHandOver(QStringLiteral("/d/rec.blb"))), QStringLiteral("/d/rec.blb"));
  EXPECT_EQ(decodeHandOver(encodeHandOver(longest)), longest);
  EXPECT_TRUE(encodeHandOver(longest + QLatin1Char('a')).isEmpty());
  EXPECT_TRUE(encodeHandOver(QString()).isEmpty());
  const QByteArray good = encodeHandOver(QStringLiteral("/d/rec.blb"));
  struct Case {
    const char* name;
    QByteArray message;
  };
  QByteArray tooLong(kHandOverLengthBytes, '\0');
  tooLong[2] = 0x10;  // 4096
  tooLong[3] = 0x01;  // 4097
  tooLong += QByteArray(4097, 'a');
  const Case bad[] = {
      {"nothing", QByteArray()},
      {"a length only", good.left(kHandOverLengthBytes)},
      {"cut short", good.chopped(1)},
      {"a byte more", good + 'x'},
      {"two messages", good + good},
      {"over the bound", tooLong},
      {"a NUL in the path", encodeHandOver(QStringLiteral("/d/a")).replace('a', QByteArray(1, '\0'))},
  };
  for (const Case& c : bad) EXPECT_EQ(decodeHandOver(c.message), std::nullopt) << c.name;
}

class HandOverTest : public FileOpeningTest {
 protected:
  // Socket paths are short (sun_path): a folder of its own under /tmp, not
  // the test's deep temporary folder.
  void SetUp() override {
    FileOpeningTest::SetUp();
    runtime = fs::path("/tmp") / ("tv-handover-" + std::to_string(::getpid()));
    fs::remove_all(runtime);
    fs::create_directories(runtime);
    socketPath = QString::fromStdString((runtime / "handover").string());
  }
  void TearDown() override {
    fs::remove_all(runtime);
    FileOpeningTest::TearDown();
  }
  // Runs the event loop until `done` or a few seconds passed.
  template <typename Done>
  void waitFor(Done done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  fs::path runtime;
  QString socketPath;
};

TEST_F(HandOverTest, SecondProcessHandsItsFileOverAndEnds) {
  const QString file = recording();
  // This process is the running copy: its socket sits in the private folder
  // of the runtime folder the second process is given.
  qputenv("XDG_RUNTIME_DIR", runtime.string().c_str());
  const QString folderSocket = handOverSocketPath();
  ASSERT_EQ(folderSocket, QString::fromStdString((runtime / "tindavel" / "handover").string()));
  HandOverServer server;
  ASSERT_TRUE(server.listen(folderSocket));
  QObject::connect(&server, &HandOverServer::fileHandedOver, opener, &FileOpener::openHandedOver);

  QProcess second;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  second.setProcessEnvironment(environment);
  second.setWorkingDirectory(QString::fromStdString(dir.string()));
  second.start(QStringLiteral(TINDAVEL_BINARY_DIR "/app/tindavel"), {QStringLiteral("rec.blb")});  // relative: made absolute
  waitFor([&] { return second.state() == QProcess::NotRunning && viewer->isVisible(); });
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(messages(), 0);
  EXPECT_EQ(viewer->recording().Caption, "Tank: T7  Spring     15 Mar 2023");
  EXPECT_EQ(viewer->windowTitle(), QString::fromStdString(viewer->recording().Caption));
  EXPECT_FALSE(file.isEmpty());
  qunsetenv("XDG_RUNTIME_DIR");
}

// A stale socket file, left by a copy that ended without removing it.
void leaveStaleSocket(const QString& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray name = QFile::encodeName(path);
  ASSERT_LT(static_cast<size_t>(name.size()), sizeof address.sun_path);
  std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

TEST_F(HandOverTest, StaleSocketIsTakenOverAndALiveOneIsNot) {
  leaveStaleSocket(socketPath);
  ASSERT_TRUE(fs::exists(socketPath.toStdString()));
  EXPECT_FALSE(handOverFile(socketPath, path("rec.blb"), 500));  // nobody answers there
  HandOverServer first;
  EXPECT_TRUE(first.listen(socketPath));
  HandOverServer second;
  EXPECT_FALSE(second.listen(socketPath));  // a copy answers: its socket stays
  QSignalSpy handed(&first, &HandOverServer::fileHandedOver);
  EXPECT_TRUE(handOverFile(socketPath, path("rec.blb")));
  waitFor([&] { return handed.size() > 0; });
  ASSERT_EQ(handed.size(), 1);
  EXPECT_EQ(handed[0][0].toString(), path("rec.blb"));
}

TEST_F(HandOverTest, MessageOverTheBoundIsDroppedAndAFolderIsToldAsOne) {
  HandOverServer server;
  ASSERT_TRUE(server.listen(socketPath));
  QObject::connect(&server, &HandOverServer::fileHandedOver, opener, &FileOpener::openHandedOver);
  QSignalSpy handed(&server, &HandOverServer::fileHandedOver);
  {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    ASSERT_TRUE(socket.waitForConnected(3000));
    QByteArray flood = encodeHandOver(path("rec.blb"));
    flood += QByteArray(2 * kMaxHandOverPathBytes, 'a');
    socket.write(flood);
    socket.waitForBytesWritten(3000);
    waitFor([&] { return socket.state() == QLocalSocket::UnconnectedState; });  // the server hung up
    EXPECT_EQ(socket.state(), QLocalSocket::UnconnectedState);
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(handed.size(), 0);

  fs::create_directories(dir / "folder.blb");
  EXPECT_TRUE(handOverFile(socketPath, path("folder.blb")));
  waitFor([&] { return !recordDialogs.errors.empty(); });
  ASSERT_EQ(handed.size(), 1);
  ASSERT_EQ(recordDialogs.errors.size(), 1u);
  EXPECT_NE(recordDialogs.errors[0].find("it is a folder"), std::string::npos) << recordDialogs.errors[0];
  EXPECT_FALSE(viewer->isVisible());
}

}  // namespace
