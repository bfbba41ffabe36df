// tindavel-cli debugcount against the debug viewer window on the same
// recording: both on the program's state after its first-time
// initialisation, the window stepped to the end with "Next". Every window's
// automatic and manual count, the totals and the channel counts must agree.
#include <gtest/gtest.h>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "app/first_time_initialisation.h"
#include "records/debug_viewer_window.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "tests/command_runner.h"
#include "tests/records/recount_test_support.h"
#include "tests/records/viewer_test_state.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

// What a run showed: per window "automatic/manual" (no manual: nothing after
// the slash), then "total <Total> manual <Edit5> counts <c1> <c2>...".
using Shown = std::vector<std::string>;

// A number of the command's JSON as the window writes it; null as "".
std::string shownAs(const QJsonValue& v) { return v.isNull() ? std::string() : std::to_string(v.toInteger()); }

std::string totals(const std::string& total, const std::string& manual, const std::vector<int32_t>& counts) {
  std::string t = "total " + total + " manual " + manual + " counts";
  for (const int32_t c : counts) t += " " + std::to_string(c);
  return t;
}

Shown fromJson(const std::string& out) {
  const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
  Shown s;
  for (const QJsonValue& w : o.value(QStringLiteral("per_window")).toArray())
    s.push_back(shownAs(w[QStringLiteral("automatic")]) + "/" + shownAs(w[QStringLiteral("manual")]));
  std::vector<int32_t> counts;
  for (const QJsonValue& c : o.value(QStringLiteral("counts")).toArray()) counts.push_back(c.toInt());
  s.push_back(totals(shownAs(o.value(QStringLiteral("total"))), shownAs(o.value(QStringLiteral("manual_total"))),
                     counts));
  return s;
}

// Fish of many lengths, the short ones near the length limits, so that the
// detection constants decide some of them.
std::vector<Fish> mixedFish(int32_t lines) {
  std::vector<Fish> fish;
  int k = 0;
  for (int32_t line = 5; line + 40 <= lines; line += 31, ++k) {
    fish.push_back({line, 2 + k % 9 * 4, 60 + k % 4 * 120, 4 + k % 5 * 3});
  }
  return fish;
}

struct Case {
  const char* name;
  bool report;
  const char* tal;  // the ".tal" file; null: none
};

class DebugcountWindowTest : public TempFolderTest, public ::testing::WithParamInterface<Case> {
 protected:
  // The window on a program state of its own, initialised from an empty
  // store as the command's is.
  Shown stepWindow(const std::string& path, int32_t& width) {
    SettingsStore store((dir / "Eka Registry.ini").string());
    ViewerTestState state;
    auto& [d, s, controls, v, session, camera, dialogs] = state;
    firstTimeInitialisation(s, controls, store, *d, session, nullptr);
    TForm4 window(state.environment<DebugViewerEnvironment>(&store));
    window.resize(900, 650);
    window.show();
    QApplication::processEvents();
    width = window.PaintBox1()->width();
    Shown shown;
    if (!window.loadFile(path)) return shown;
    while (window.nextButton()->isEnabled()) {
      QTest::mouseClick(window.nextButton(), Qt::LeftButton);
      shown.push_back(window.edit("Edit4")->text().toStdString() + "/" + window.edit("Edit3")->text().toStdString());
    }
    std::vector<int32_t> counts(v.ViewerCount.begin() + 1, v.ViewerCount.begin() + 1 + s.NrChannels);
    shown.push_back(totals(window.edit("Total")->text().toStdString(), window.edit("Edit5")->text().toStdString(),
                           counts));
    EXPECT_TRUE(dialogs.errors.empty());
    return shown;
  }
};

TEST_P(DebugcountWindowTest, TheCommandShowsWhatTheWindowShows) {
  const Case& c = GetParam();
  const int32_t lines = 3300;
  const std::string path = writeRecording(dir / "r", recordWords(drawFish(lines, mixedFish(lines))), reportFor(2));
  if (!c.report) fs::remove(dir / "r.mse");
  if (c.tal) writeFile(dir / "r.tal", c.tal);

  int32_t width = 0;
  const Shown window = stepWindow(path, width);
  ASSERT_GE(window.size(), 5u) << "width " << width;  // four windows or more, and the totals
  const CliRun run = runCli("debugcount", {path, "--json", "--window-width", std::to_string(width)}, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(fromJson(run.out), window);
  EXPECT_NE(window.back().rfind("total 0 ", 0), 0u);  // fish were counted
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, DebugcountWindowTest,
    ::testing::Values(Case{"NoReportTalLongerThanTheWindows", false, "7 0\n1 0\n2 0\n3 0\n4 0\n5 0\n6 0\n8 0\n"},
                      Case{"ReportTalShorterThanTheWindows", true, "7 0\n1 0\n2 0\n"},
                      Case{"ReportNoTal", true, nullptr}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
