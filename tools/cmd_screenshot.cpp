// tindavel-cli screenshot WINDOW --out FILE.png [--page N] [--record FILE.blb [--autocount]]
//
// Renders one of the program's windows to a PNG, for support and the
// manual, without a screen: on a machine with no display the offscreen
// platform is used.
//
// The windows come from the program's own start-up: one program state, all
// windows created and connected as main() does, then the first-time
// initialisation, so they show the current user's settings and language
// texts. The settings store is read-only for the whole run (nothing the
// windows save reaches the file) and the control port is never opened.
// Questions of the main window are answered No on stderr, and a message box
// that any window opens on its own is printed on stderr and closed, so
// nothing waits for a person.
//
// Sizes: a window of a fixed size (the small dialogs, the keyboard) is shot
// at that size; any other (the main window, the viewers) at 1024x768. The
// main window scales its controls to the screen height as at start-up.
//
// --page N (from 1) shows page N of the window's first page control that is
// on show. frmRecord shows the recording given by --record, whose report
// (.mse) must lie beside it; Form4 (the debug viewer) shows the first window
// of lines of a --record, in debug mode so its markers show. --autocount
// shows frmRecord after an Autocount of the whole recording, its re-count
// beside the live count.
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QMessageBox>
#include <QMetaObject>
#include <QPixmap>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/app_windows.h"
#include "app/frm_adal.h"
#include "app/main_window_dialogs.h"
#include "app/main_window_environment.h"
#include "app/program_state.h"
#include "app/stand_in_windows.h"
#include "records/debug_viewer_window.h"
#include "records/record_viewer_window.h"
#include "records/recording_settings.h"
#include "settings/output_file.h"
#include "settings/regular_file.h"
#include "settings/text_encoding.h"
#include "tools/cli_command.h"
#include "tools/cli_args.h"
#include "tools/cli_numbers.h"
#include "tools/window_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: tindavel-cli screenshot WINDOW --out FILE.png [--page N] [--record FILE.blb [--autocount]]";
constexpr int kShotWidth = 1024;
constexpr int kShotHeight = 768;

int fail(const std::string& message, int status = 2) {
  std::fprintf(stderr, "tindavel-cli screenshot: %s\n", message.c_str());
  return status;
}

// A window is a stand-in when its type in AppWindows is one of the
// stand_in classes; a real window's class may be no more than declared
// there, which the second overload takes.
constexpr bool isStandIn(const stand_in::StandInWindow*) { return true; }
constexpr bool isStandIn(const void*) { return false; }

// A window that can be shot: its form name, what it is, and its place in
// AppWindows. The window itself is known by its address only, so a class
// that app_windows.h merely declares is enough here.
struct ShotWindow {
  const char* name;
  const char* what;
  bool standIn;
  const void* (*pick)(const AppWindows&);
};

template <auto Member>
constexpr ShotWindow shotWindow(const char* name, const char* what) {
  using Pointer = std::remove_cvref_t<decltype(std::declval<AppWindows&>().*Member)>;
  return {name, what, isStandIn(static_cast<Pointer>(nullptr)),
          [](const AppWindows& w) -> const void* { return w.*Member; }};
}

// The windows the program shows, in their creation order. The holders of
// routines and tables that never show are left out.
constexpr ShotWindow kWindows[] = {
    shotWindow<&AppWindows::FrmAdal>("FrmAdal", "main window"),
    shotWindow<&AppWindows::Form4>("Form4", "debug recording viewer"),
    shotWindow<&AppWindows::frmscope>("frmscope", "visibility scope"),
    shotWindow<&AppWindows::Waitforlamp>("Waitforlamp", "lamp warm-up wait"),
    shotWindow<&AppWindows::sett>("sett", "settings window"),
    shotWindow<&AppWindows::FrmInsert>("FrmInsert", "session information"),
    shotWindow<&AppWindows::FrmSoftkeyb>("FrmSoftkeyb", "on-screen keyboard"),
    shotWindow<&AppWindows::OKBottomDlg>("OKBottomDlg", "calibrating"),
    shotWindow<&AppWindows::Messagedialog>("Messagedialog", "timed message"),
    shotWindow<&AppWindows::frmRecord>("frmRecord", "record viewer"),
};

const ShotWindow* findWindow(const std::string& name) {
  for (const ShotWindow& w : kWindows) {
    if (name == w.name) return &w;
  }
  return nullptr;
}

std::string windowNames() {
  std::string names;
  for (const ShotWindow& w : kWindows) {
    if (!names.empty()) names += ", ";
    names += w.name;
  }
  return names;
}

// The created window at the address `pick` gives: the same object as one of
// windowsInOrder().
QWidget* createdWindow(const AppWindows& windows, const ShotWindow& shot) {
  const void* address = shot.pick(windows);
  for (QWidget* w : windowsInOrder(windows)) {
    if (w != nullptr && dynamic_cast<const void*>(w) == address) return w;
  }
  return nullptr;
}

struct Options {
  std::string window;
  std::string out;
  std::optional<int> page;
  std::string record;
  bool autocount = false;
};

std::optional<std::string> parseArgs(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--out") {
      if (!takeOptionValue(args, i, o.out) || o.out.empty()) return "--out needs a file name";
    } else if (a == "--record") {
      if (!takeOptionValue(args, i, o.record) || o.record.empty()) return "--record needs a record file";
    } else if (a == "--autocount") {
      o.autocount = true;
    } else if (a == "--page") {
      std::string v;
      if (!takeOptionValue(args, i, v) || v.empty()) return "--page needs a page number";
      o.page = parsePositive(v, 4);
      if (!o.page) return "--page needs a page number of 1 or more, not '" + v + "'";
    } else if (isOption(a)) {
      return "unknown option '" + a + "'";
    } else if (o.window.empty()) {
      o.window = a;
    } else {
      return "more than one window given";
    }
  }
  if (o.window.empty()) return "no window given";
  if (o.out.empty()) return "--out FILE.png is needed";
  return std::nullopt;
}

// Why `path` cannot be read, or kNone.
FileProblem readProblem(const std::string& path) {
  std::ifstream in;
  return openRegularFile(path, in);
}

// The main window's questions, answered at once: No, Cancel, and what it
// tells is printed.
class AnsweringDialogs : public MainWindowDialogs {
 public:
  bool askYesNo(const QString& text) override {
    say(text, " (answered No)");
    return false;
  }
  bool askOkCancel(const QString& text) override {
    say(text, " (answered Cancel)");
    return false;
  }
  void inform(const QString& text) override { say(text, ""); }
  void showError(const QString& text) override { say(text, ""); }

 private:
  static void say(const QString& text, const char* answer) {
    std::fprintf(stderr, "tindavel-cli screenshot: %s%s\n", text.toLocal8Bit().constData(), answer);
  }
};

// Closes every modal window but the one being shot as it shows, printing a
// message box's text: the record viewer reports through message boxes of its
// own.
class ModalCloser : public QObject {
 public:
  void keep(const QWidget* window) { kept_ = window; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType() && watched != kept_) {
      auto* widget = static_cast<QWidget*>(watched);
      if (widget->isWindow() && widget->isModal()) {
        const auto* box = qobject_cast<QMessageBox*>(widget);
        const QString text = box != nullptr ? box->text() : widget->windowTitle();
        std::fprintf(stderr, "tindavel-cli screenshot: %s\n", text.toLocal8Bit().constData());
        if (auto* dialog = qobject_cast<QDialog*>(widget)) {
          QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        } else {
          QMetaObject::invokeMethod(widget, &QWidget::close, Qt::QueuedConnection);
        }
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  const QWidget* kept_ = nullptr;
};

// Lets the window lay itself out and paint: shows, resizes and chart
// updates arrive as posted events.
void settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

// The window's first page control that shows when the window does.
QTabWidget* pageControl(QWidget* window) {
  for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
    if (tabs->isVisibleTo(window)) return tabs;
  }
  return nullptr;
}

// The windows exist between creation and destruction of this object.
// The machine as the screenshot's windows see it. The command is not a copy
// of the program: a program running beside it (or two, for a moment, while
// one hands a file over to the other) must not stop its windows being made,
// so the single-instance check is given no process list and passes.
class ScreenshotEnvironment : public SystemEnvironment {
 public:
  std::optional<std::vector<std::string>> processNames() override { return std::nullopt; }
};

class StartedProgram {
 public:
  StartedProgram() : state_(std::make_unique<ProgramState>()) {}
  ~StartedProgram() { destroyWindows(windows_); }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  // The start-up of main(), on a read-only store and without the port.
  bool start() {
    // No window's creation may write the store; the main window's creation
    // points the store at the user's file, which keeps it read-only.
    state_->store.setReadOnly(true);
    if (!createWindows(windows_, *state_, &dialogs_, &environment_)) return false;
    state_->store.setReadOnly(true);
    windows_.FrmAdal->firstiniTimer();
    return true;
  }
  const AppWindows& windows() const { return windows_; }
  void setDebugMode(bool on) { state_->settings.DebugMode = on; }

 private:
  std::unique_ptr<ProgramState> state_;
  AnsweringDialogs dialogs_;
  ScreenshotEnvironment environment_;
  AppWindows windows_;
};

int shoot(const Options& o, const ShotWindow& shot, ModalCloser& closer, OutputFile& out) {
  StartedProgram program;
  if (!program.start()) return fail("the program's windows were not created", 1);
  QWidget* window = createdWindow(program.windows(), shot);
  if (window == nullptr) return fail(std::string("the window ") + shot.name + " was not created", 1);
  closer.keep(window);

  const bool fixedSize = window->minimumSize() == window->maximumSize();
  if (!fixedSize) window->resize(kShotWidth, kShotHeight);
  // The debug viewer shows a recording in debug mode, so its markers and
  // their panel show; it takes the mode when it is shown.
  const bool debugRecording = qobject_cast<TForm4*>(window) != nullptr && !o.record.empty();
  if (debugRecording) program.setDebugMode(true);
  window->show();
  settle();

  if (!o.record.empty()) {
    if (auto* debug = qobject_cast<TForm4*>(window)) {
      // The debug viewer's first window of lines.
      if (!debug->loadFile(o.record)) return fail("cannot open the record file " + o.record);
      debug->nextClick();
    } else {
      auto* viewer = qobject_cast<TfrmRecord*>(window);
      if (viewer == nullptr || !viewer->loadFile(o.record)) {
        return fail("cannot open the record file " + o.record);
      }
      if (o.autocount) {
        // Autocount down on the first frame, up on the last: the whole recording.
        viewer->beginbtnClick();
        viewer->button("autocountbtn")->click();
        viewer->endbtnClick();
        viewer->button("autocountbtn")->click();
      }
    }
    settle();
  }

  if (o.page) {
    QTabWidget* tabs = pageControl(window);
    if (tabs == nullptr) return fail(std::string(shot.name) + " has no pages; leave out --page");
    if (*o.page > tabs->count()) {
      return fail(std::string(shot.name) + " has pages 1 to " + std::to_string(tabs->count()) + ", not " +
                  std::to_string(*o.page));
    }
    tabs->setCurrentIndex(*o.page - 1);
    settle();
  }

  const QImage image = window->grab().toImage();
  if (image.isNull()) return fail(std::string("could not render ") + shot.name, 1);
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  if (!image.save(&png, "PNG")) return fail("cannot write " + printableName(o.out) + ": the picture could not be encoded");
  out.write(std::string_view(png.data().constData(), static_cast<size_t>(png.data().size())));
  if (!out.commit()) return fail(out.error());
  std::printf("%s: %s, %dx%d\n", printableName(o.out).c_str(), shot.name, image.width(), image.height());
  return 0;
}

int runScreenshot(const std::vector<std::string>& args) {
  Options o;
  if (const std::optional<std::string> error = parseArgs(args, o)) return fail(*error + " (" + kUsage + ")");
  const ShotWindow* shot = findWindow(o.window);
  if (shot == nullptr) return fail("unknown window '" + o.window + "'; the windows are " + windowNames());
  if (shot->standIn) {
    return fail(std::string(shot->name) + " (" + shot->what +
                ") is not built yet: the program has only a stand-in for it");
  }
  const bool viewer = std::string(shot->name) == "frmRecord";
  const bool debugViewer = std::string(shot->name) == "Form4";  // a recording is optional here
  if (viewer && o.record.empty()) return fail("frmRecord needs --record FILE.blb");
  if (!viewer && !debugViewer && !o.record.empty()) return fail("--record is for frmRecord and Form4 only");
  if (!viewer && o.autocount) return fail("--autocount is for frmRecord only");
  if ((viewer || debugViewer) && !o.record.empty()) {
    if (const FileProblem problem = readProblem(o.record); problem != FileProblem::kNone) {
      return fail("cannot read the record file " + printableName(o.record) + ": " + fileProblemReason(o.record, problem));
    }
  }
  if (viewer) {
    const std::string report = companionReportPath(o.record);
    if (readProblem(report) != FileProblem::kNone) return fail(std::string(kMissingReportMessage) + ": " + printableName(report));
  }
  // The picture's file is made ready (and refused, before any window is
  // built, when it is an input or cannot be made) once the inputs are known.
  OutputFile out;
  const std::vector<std::string> inputs = {o.record, o.record.empty() ? "" : companionReportPath(o.record)};
  if (!out.open(o.out, inputs)) return fail(out.error());

  // Only this command needs a GUI application; on a machine without a
  // display it renders offscreen.
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  int argc = 1;
  char program[] = "tindavel-cli";
  char* argv[] = {program, nullptr};
  QApplication app(argc, argv);
  setUpApplication();
  ModalCloser closer;
  app.installEventFilter(&closer);
  return shoot(o, *shot, closer, out);
}

const bool kRegistered =
    registerCliCommand({kScreenshotCommand.name, kScreenshotCommand.summary, runScreenshot, kUsage});

}  // namespace
