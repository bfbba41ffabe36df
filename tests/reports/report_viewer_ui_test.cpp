// The report viewer with its dialogs scripted: the logo decoder, the viewing
// steps of Tfrmreport, the charts, and the PDF the command line writes,
// checked through its text (pdftotext) and page count (pdfinfo).
#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QTimer>

#include <jpeglib.h>

#include "reports/jpeg_logo.h"
#include "reports/report_charts.h"
#include "reports/report_viewer.h"
#include "settings/settings_model.h"
#include "settings/settings_variables.h"
#include "tests/command_runner.h"
#include "tests/reports/scripted_report_viewer_dialogs.h"
#include "tests/reports/test_jpeg.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = TINDAVEL_SOURCE_DIR "/tests/reports/data/";
const std::string kTwoChannels = kData + "report_viewer_two_channels.mse";

fs::path scratch(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / "report_viewer_ui_test";
  fs::create_directories(dir);
  return dir / name;
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

CommandResult run(const std::string& command) { return runCommand(command + " 2>/dev/null"); }


// Text pulled out of a PDF keeps words, not the exact run of blanks between
// them: compare with every run of blanks as one.
std::string squeezed(const std::string& s) {
  std::string out;
  for (char c : s) {
    const bool blank = c == ' ' || c == '\t';
    if (blank && !out.empty() && out.back() == ' ') continue;
    out += blank ? ' ' : c;
  }
  return out;
}

int pdfPages(const fs::path& pdf) {
  const CommandResult info = run("pdfinfo " + shellQuoted(pdf.string()));
  const size_t at = info.out.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.out.substr(at + 6));
}

// ---- The viewer with scripted dialogs --------------------------------------------

class ViewerTest : public ::testing::Test {
 protected:
  ViewerTest() { controls.reportpath.setText("/srv/reports/"); }
  void choose(std::optional<std::string> file) { dialogs.answers.push_back(std::move(file)); }

  SettingsVariables settings;
  SettingsModel controls;
  ScriptedReportViewerDialogs dialogs;
  Tfrmreport viewer{{&settings, &controls, &dialogs}};
};

// ---- Logo -----------------------------------------------------------------------

TEST(JpegLogo, DecodesColourAndGreyJpegs) {
  for (J_COLOR_SPACE space : {JCS_RGB, JCS_GRAYSCALE}) {
    std::optional<DecodedJpeg> d = decodeJpeg(makeJpeg(64, 20, space));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->width, 64);
    EXPECT_EQ(d->height, 20);
    ASSERT_EQ(d->rgb.size(), 64u * 20 * 3);
    const uint8_t* left = &d->rgb[(10 * 64 + 5) * 3];
    const uint8_t* right = &d->rgb[(10 * 64 + 58) * 3];
    if (space == JCS_RGB) {
      EXPECT_GT(left[0], 180);   // red
      EXPECT_LT(left[2], 60);
      EXPECT_GT(right[2], 180);  // blue
      EXPECT_LT(right[0], 60);
    } else {
      EXPECT_LT(left[0], 80);
      EXPECT_EQ(left[0], left[1]);
      EXPECT_GT(right[0], 180);
    }
  }
}

TEST(JpegLogo, DamagedJpegNeverEndsTheProcess) {
  const std::string good = makeJpeg(32, 32);
  EXPECT_FALSE(decodeJpeg(""));
  EXPECT_FALSE(decodeJpeg(std::string("\xFF\xD8\xFF", 3)));          // nothing after the marker
  EXPECT_FALSE(decodeJpeg(std::string("\xFF\xD8\xFF\xE0garbage", 11)));
  std::string bad = good;
  for (size_t i = 20; i < 200 && i < bad.size(); ++i) bad[i] = static_cast<char>(0xA5);  // header smashed
  EXPECT_FALSE(decodeJpeg(bad));
  // Cut short inside the picture data: what libjpeg recovers, at full size.
  std::optional<DecodedJpeg> cut = decodeJpeg(good.substr(0, good.size() * 2 / 3));
  if (cut) {
    EXPECT_EQ(cut->rgb.size(), 32u * 32 * 3);
  }
}

// A progressive JPEG whose header claims 60000 x 60000 pixels: libjpeg would
// set aside the whole picture's coefficients (gigabytes) as soon as decoding
// starts, so the size is refused straight after the header is read.
TEST(JpegLogo, RegressionHugeProgressiveHeaderIsRefusedBeforeDecoding) {
  std::string bytes = makeJpeg(16, 16, JCS_RGB, true);
  size_t sof = std::string::npos;
  for (size_t i = 0; i + 8 < bytes.size(); ++i) {
    if (static_cast<uint8_t>(bytes[i]) == 0xFF && static_cast<uint8_t>(bytes[i + 1]) == 0xC2) {
      sof = i;
      break;
    }
  }
  ASSERT_NE(sof, std::string::npos);
  // FF C2, length (2 bytes), precision, height (2 bytes), width (2 bytes).
  for (size_t at : {sof + 5, sof + 7}) {
    bytes[at] = static_cast<char>(60000 >> 8);
    bytes[at + 1] = static_cast<char>(60000 & 0xFF);
  }
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  EXPECT_FALSE(decodeJpeg(bytes));
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 512L * 1024) << "peak grew by " << after.ru_maxrss - before.ru_maxrss
                                                               << " kB";
  // The same picture at its real size still decodes.
  EXPECT_TRUE(decodeJpeg(makeJpeg(16, 16, JCS_RGB, true)));
}

TEST(JpegLogo, LoadsJpegAndOtherFormatsAndNothingElse) {
  const fs::path jpg = scratch("logo.jpg");
  writeFile(jpg, makeJpeg(40, 30));
  EXPECT_EQ(loadLogoImage(jpg.string()).size(), QSize(40, 30));
  const fs::path png = scratch("logo.png");
  QImage square(12, 12, QImage::Format_RGB32);
  square.fill(Qt::green);
  ASSERT_TRUE(square.save(QString::fromStdString(png.string()), "PNG"));
  EXPECT_EQ(loadLogoImage(png.string()).size(), QSize(12, 12));
  EXPECT_TRUE(loadLogoImage("").isNull());
  EXPECT_TRUE(loadLogoImage(scratch("missing.jpg").string()).isNull());
  EXPECT_TRUE(loadLogoImage(fs::temp_directory_path().string()).isNull());  // a folder
  const fs::path text = scratch("not_a_picture.jpg");
  writeFile(text, "just words");
  EXPECT_TRUE(loadLogoImage(text.string()).isNull());
}

// ---- Viewing ---------------------------------------------------------------------

TEST_F(ViewerTest, CancelEndsQuietly) {
  choose(std::nullopt);
  viewer.viewreport();
  EXPECT_EQ(dialogs.folders.size(), 1u);
  EXPECT_EQ(dialogs.previews, 0);
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_EQ(viewer.currentReport(), nullptr);
}

TEST_F(ViewerTest, DialogStartsInTheSettingsReportFolder) {
  const std::string folder = scratch("fish reports").string() + "/";
  fs::create_directories(folder);
  controls.reportpath.setText(folder);
  choose(std::nullopt);
  viewer.viewreport();
  EXPECT_EQ(dialogs.folders, (std::vector<std::string>{folder}));
}

TEST_F(ViewerTest, MissingReportFolderStartsTheDialogAtHome) {
  const fs::path gone = scratch("no such folder");
  fs::remove_all(gone);
  controls.reportpath.setText(gone.string() + "/");  // a first start
  choose(std::nullopt);
  viewer.viewreport();
  EXPECT_EQ(dialogs.folders, (std::vector<std::string>{QDir::homePath().toStdString()}));
}

TEST_F(ViewerTest, ChosenReportIsPreviewedAndSetsTheChannelCount) {
  choose(kTwoChannels);
  viewer.viewreport();
  EXPECT_EQ(dialogs.previews, 1);
  EXPECT_TRUE(dialogs.errors.empty());
  ASSERT_NE(viewer.currentReport(), nullptr);
  const ReportDocument& doc = *viewer.currentReport();
  EXPECT_EQ(settings.NrChannels, 2);
  EXPECT_EQ(doc.bands.counting.at(0).channelName, "North");
  EXPECT_EQ(doc.bands.counting.at(0).fileName, fs::path(kTwoChannels).lexically_normal().string());
  // Every picture of the pages is there; the logo was not found, its place stays empty.
  EXPECT_FALSE(doc.pictures.fixedPicture.isNull());
  EXPECT_TRUE(doc.pictures.logo.isNull());
  EXPECT_FALSE(doc.pictures.distribution.isNull());
  ASSERT_EQ(doc.pictures.throughput.size(), 2u);
  ASSERT_EQ(doc.pictures.channelDistribution.size(), 2u);
  EXPECT_FALSE(doc.pictures.throughput[1].isNull());
}

TEST_F(ViewerTest, UnreadableFileIsReportedNotPreviewed) {
  for (const std::string& path : {scratch("no_such.mse").string(), fs::temp_directory_path().string()}) {
    dialogs.errors.clear();
    choose(path);
    viewer.viewreport();
    EXPECT_EQ(dialogs.previews, 0);
    ASSERT_EQ(dialogs.errors.size(), 1u) << path;
    EXPECT_NE(dialogs.errors[0].find(path), std::string::npos);
  }
}

TEST_F(ViewerTest, FileThatIsNoReportPreviewsAnEmptyReport) {
  const fs::path junk = scratch("junk.mse");
  const char bytes[] = "\0\1\2\3 not an ini file \xff\xfe";
  writeFile(junk, std::string(bytes, sizeof bytes - 1));
  settings.NrChannels = 3;
  EXPECT_TRUE(viewer.viewreportFile(junk.string()));
  EXPECT_EQ(dialogs.previews, 1);
  EXPECT_EQ(settings.NrChannels, 1);
  EXPECT_EQ(viewer.currentReport()->pages.size(), 1u);
}

TEST_F(ViewerTest, LogoIsFoundBesideTheReport) {
  const fs::path dir = scratch("with_logo");
  fs::create_directories(dir);
  fs::copy_file(kTwoChannels, dir / "r.mse", fs::copy_options::overwrite_existing);
  writeFile(dir / "report_viewer_logo.jpg", makeJpeg(80, 40));
  ASSERT_TRUE(viewer.viewreportFile((dir / "r.mse").string()));
  EXPECT_EQ(viewer.currentReport()->pictures.logo.size(), QSize(80, 40));
}

// A report of two channels after one of four: only two channels' bars remain.
TEST_F(ViewerTest, FewerChannelsAfterMoreLeavesNoStaleBars) {
  const fs::path four = scratch("four.mse");
  writeFile(four,
            "[Settings]\nNrChannels=4\n[Eka]\nCountname1=A\nCountname2=B\nCountname3=C\nCountname4=D\n"
            "[Distribution4]\nG0=10\nG5=7\n[Distribution3]\nG2=9\n");
  const fs::path two = scratch("two.mse");
  writeFile(two, "[Settings]\nNrChannels=2\n[Eka]\nCountname1=A\nCountname2=B\n[Distribution2]\nG0=10\nG1=1\n");
  ASSERT_TRUE(viewer.viewreportFile(four.string()));
  EXPECT_EQ(viewer.currentReport()->bands.distributions.size(), 4u);
  ASSERT_TRUE(viewer.viewreportFile(two.string()));
  const ReportBands& bands = viewer.currentReport()->bands;
  ASSERT_EQ(bands.distributions.size(), 2u);
  std::unique_ptr<QChart> chart = makeDistributionChart(bands.distributionTitle, bands.distributions);
  auto* series = qobject_cast<QBarSeries*>(chart->series().at(0));
  ASSERT_NE(series, nullptr);
  ASSERT_EQ(series->count(), 2);
  EXPECT_EQ(series->barSets().at(0)->label(), "A");
  EXPECT_EQ(series->barSets().at(1)->label(), "B");
  EXPECT_EQ(chart->title(), "Weight distribution ");
  EXPECT_EQ(settings.NrChannels, 2);
}

// The real preview opens maximised and zoomed to fit the page, the second
// time as the first.
TEST(PrintPreview, OpensFittedToThePage) {
  SettingsVariables settings;
  std::string error;
  std::optional<ReportDocument> doc = loadReportDocument(kTwoChannels, settings, &error);
  ASSERT_TRUE(doc) << error;
  for (int viewing = 1; viewing <= 2; ++viewing) {
    bool checked = false;
    QTimer::singleShot(0, [&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(w);
        if (!dialog || !dialog->isVisible()) continue;
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        if (preview) {
          checked = true;
          EXPECT_TRUE(dialog->isMaximized()) << viewing;
          EXPECT_EQ(preview->zoomMode(), QPrintPreviewWidget::FitInView) << viewing;
          EXPECT_EQ(preview->pageCount(), static_cast<int>(doc->pages.size()));
        }
        dialog->reject();
      }
    });
    QtReportViewerDialogs(nullptr).showPreview(*doc);
    EXPECT_TRUE(checked) << viewing;
  }
}

// The preview as it is about to open, without a modal window.
class InspectedPreviewDialogs : public QtReportViewerDialogs {
 public:
  InspectedPreviewDialogs() : QtReportViewerDialogs(nullptr) {}
  struct Seen {
    Qt::WindowStates state;
    QSize size;
    QSize screen;
    QPrintPreviewWidget::ZoomMode zoom = QPrintPreviewWidget::CustomZoom;
    bool fitPageDown = false;
    bool fitWidthDown = false;
  };
  std::vector<Seen> seen;

 protected:
  void execPreview(QPrintPreviewDialog& dialog) override {
    Seen s;
    s.state = dialog.windowState();
    s.size = dialog.size();
    s.screen = dialog.screen()->availableGeometry().size();
    if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) s.zoom = preview->zoomMode();
    if (auto* fit = dialog.findChild<QAction*>("fitPageAction")) s.fitPageDown = fit->isChecked();
    if (auto* fit = dialog.findChild<QAction*>("fitWidthAction")) s.fitWidthDown = fit->isChecked();
    seen.push_back(s);
  }
};

TEST(PrintPreview, EveryViewingIsMaximisedScreenSizedAndFittedToThePage) {
  SettingsVariables settings;
  std::string error;
  std::optional<ReportDocument> doc = loadReportDocument(kTwoChannels, settings, &error);
  ASSERT_TRUE(doc) << error;
  InspectedPreviewDialogs dialogs;
  dialogs.showPreview(*doc);
  dialogs.showPreview(*doc);
  ASSERT_EQ(dialogs.seen.size(), 2u);
  for (const InspectedPreviewDialogs::Seen& s : dialogs.seen) {
    EXPECT_TRUE(s.state.testFlag(Qt::WindowMaximized));
    EXPECT_EQ(s.size, s.screen);
    EXPECT_EQ(s.zoom, QPrintPreviewWidget::FitInView);
    EXPECT_TRUE(s.fitPageDown);
    EXPECT_FALSE(s.fitWidthDown);
  }
}

// What the print dialog chose reaches the paper: its page range, the job
// named after the report, and A4 as in the preview though the printer's own
// paper is Letter.
TEST(PrintPreview, PrintsTheChosenPagesOnA4UnderTheReportsName) {
  SettingsVariables settings;
  std::string error;
  std::optional<ReportDocument> doc = loadReportDocument(kTwoChannels, settings, &error);
  ASSERT_TRUE(doc) << error;
  const fs::path pdf = scratch("printed.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf.string()));
  printer.setPageSize(QPageSize(QPageSize::Letter));
  printer.setFromTo(2, 3);
  ASSERT_TRUE(printReport(printer, *doc));
  EXPECT_EQ(printer.docName(), QString::fromUtf8(kReportTitle));
  EXPECT_EQ(pdfPages(pdf), 2);
  const CommandResult info = run("pdfinfo " + shellQuoted(pdf.string()));
  EXPECT_NE(info.out.find("(A4)"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("Title:           Counting report"), std::string::npos) << info.out;
  // The first page printed is the report's second.
  const fs::path whole = scratch("whole.pdf");
  ASSERT_TRUE(writeReportPdf(*doc, whole.string(), &error)) << error;
  auto pageText = [](const fs::path& file, int page) {
    const std::string n = std::to_string(page);
    return run("pdftotext -f " + n + " -l " + n + " " + shellQuoted(file.string()) + " -").out;
  };
  EXPECT_EQ(pageText(pdf, 1), pageText(whole, 2));
  EXPECT_NE(pageText(pdf, 1), pageText(whole, 1));

  // The preview offers no other paper and says which it is.
  QPrintPreviewDialog dialog(&printer);
  preparePreviewDialog(dialog);
  for (QAction* a : dialog.findChildren<QAction*>()) {
    if (a->text() == QLatin1String("Page setup") || a->text() == QLatin1String("Landscape")) {
      EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    }
  }
  auto* note = dialog.findChild<QLabel*>(QStringLiteral("paperLabel"));
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(), QString::fromUtf8(kPaperNote));
}

// ---- PDF --------------------------------------------------------------------------

TEST(ReportPdf, PagesCarryTheReportAsText) {
  SettingsVariables settings;
  std::string error;
  std::optional<ReportDocument> doc = loadReportDocument(kTwoChannels, settings, &error);
  ASSERT_TRUE(doc) << error;
  const fs::path pdf = scratch("two.pdf");
  ASSERT_TRUE(writeReportPdf(*doc, pdf.string(), &error)) << error;
  // Two channel pages, the distribution page and the stored values page.
  EXPECT_EQ(pdfPages(pdf), 4);
  const CommandResult extracted = run("pdftotext -layout " + shellQuoted(pdf.string()) + " -");
  ASSERT_EQ(extracted.status, 0);
  const std::string text = squeezed(extracted.out);
  for (const char* want :
       {"Counting report", "Fjord Farming Ltd", "Tank 7 spring smolt", "Anna Jonsdottir", "15.3.2023 18:00",
        "North", "South", "Size settings:", "10 gr", "Channel Count:", "1190", "448", "Total  Count:", "1650",
        "2 fry/min", "1 fry/min", "0:15:00", "12:00:00", "Smolt from hatchery 3", "Water 8.5 C", "2.5 gr.",
        "0.4 gr.", "3 Kg", "2.4 gr.", "1 Kg", "Average Weight", "Standard deviation", "2.5 gr", "Stored Values",
        "12:00:00     610     230", "Path and file name:", "report_viewer_two_channels.mse",
        "Counted with Lumen/Norde counter from Tolu"}) {
    EXPECT_NE(text.find(squeezed(want)), std::string::npos) << "missing: " << want;
  }
  EXPECT_EQ(text.find("not printed"), std::string::npos);  // "Generation" gives way to the comments
  EXPECT_EQ(text.find("inf"), std::string::npos);
}

// Long texts are read whole on paper: a file name in a deep folder and a
// comment longer than the memo is wide are wrapped, not cut with "...".
TEST(ReportPdf, RegressionLongFileNameAndCommentArePrintedWhole) {
  const std::string folderName(70, 'f');
  const fs::path dir = scratch("deep") / folderName / "reports_of_the_north_fjord_station_2025";
  fs::create_directories(dir);
  const fs::path report = dir / "spring_smolt_count.mse";
  std::string comment;
  for (int i = 0; i < 30; ++i) comment += "word" + std::to_string(i) + " ";
  comment += "LASTWORD";
  writeFile(report, "[Program]\nNocommentlines=1\ncomment0=" + comment + "\n");
  SettingsVariables settings;
  std::string error;
  std::optional<ReportDocument> doc = loadReportDocument(report.string(), settings, &error);
  ASSERT_TRUE(doc) << error;
  EXPECT_GT(doc->bands.counting.at(0).comments.size(), 1u);
  const fs::path pdf = scratch("deep.pdf");
  ASSERT_TRUE(writeReportPdf(*doc, pdf.string(), &error)) << error;
  const std::string text = run("pdftotext " + shellQuoted(pdf.string()) + " -").out;
  EXPECT_NE(text.find("spring_smolt_count.mse"), std::string::npos) << text;
  EXPECT_NE(text.find(folderName), std::string::npos);
  EXPECT_NE(text.find("LASTWORD"), std::string::npos);
  EXPECT_EQ(text.find("\u2026"), std::string::npos);  // no ellipsis anywhere
}

// Every line the memo wrapper gives fits the memo, and together they hold
// the comment's words in order.
TEST(ReportPdf, MemoLinesFitAndKeepEveryWord) {
  const CommentWrapper wrap = memoCommentWrapper();
  std::string comment;
  for (int i = 0; i < 60; ++i) comment += "Smolt" + std::to_string(i) + (i % 7 == 0 ? "   " : " ");
  comment += std::string(300, 'z');  // a word longer than a line
  const std::vector<std::string> lines = wrap(comment);
  ASSERT_GT(lines.size(), 3u);
  QImage device(1, 1, QImage::Format_RGB32);
  device.setDotsPerMeterX(23622);
  device.setDotsPerMeterY(23622);
  QFont font("DejaVu Sans");
  font.setPointSizeF(9);
  const double memoWidth = (kBodyWidthMm - 36) * 23.622;
  std::string joined;
  for (const std::string& line : lines) {
    EXPECT_LE(QFontMetricsF(font, &device).horizontalAdvance(QString::fromStdString(line)), memoWidth) << line;
    joined += line;
  }
  auto withoutBlanks = [](std::string s) {
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
  };
  EXPECT_EQ(withoutBlanks(joined), withoutBlanks(comment));
  EXPECT_EQ(wrap(""), std::vector<std::string>{""});
}

TEST(ReportPdf, UnwritablePdfIsAnErrorNotACrash) {
  SettingsVariables settings;
  std::string error;
  std::optional<ReportDocument> doc = loadReportDocument(kTwoChannels, settings, &error);
  ASSERT_TRUE(doc);
  EXPECT_FALSE(writeReportPdf(*doc, "/nonexistent-folder/x.pdf", &error));
  EXPECT_NE(error.find("/nonexistent-folder/x.pdf"), std::string::npos);
}

TEST(ReportCli, WritesThePdfAndRefusesBadInput) {
  const std::string cli = shellQuoted(kCliPath);
  const fs::path pdf = scratch("cli.pdf");
  fs::remove(pdf);
  const CommandResult ok = run(cli + " report " + shellQuoted(kTwoChannels) + " --pdf " + shellQuoted(pdf.string()));
  EXPECT_EQ(ok.status, 0);
  EXPECT_NE(ok.out.find("\"pages\": 4"), std::string::npos) << ok.out;
  EXPECT_NE(ok.out.find("\"channels\": 2"), std::string::npos);
  EXPECT_EQ(pdfPages(pdf), 4);
  EXPECT_EQ(run(cli + " report " + shellQuoted(kTwoChannels)).status, 2);
  EXPECT_EQ(run(cli + " report --pdf " + shellQuoted(pdf.string())).status, 2);
  EXPECT_EQ(run(cli + " report " + shellQuoted(scratch("missing.mse").string()) + " --pdf x.pdf").status, 2);
  EXPECT_EQ(run(cli + " report " + shellQuoted(kTwoChannels) + " --pdf /nonexistent-folder/x.pdf").status, 2);
}

// The viewer reads floats with the decimal separator of the system's number
// settings: on an Icelandic system "0,5" is half a day and "0.5" no number.
TEST(ReportCli, RegressionFloatsFollowTheSystemDecimalSeparator) {
  const std::string cli = shellQuoted(kCliPath);
  const fs::path comma = scratch("comma.mse");
  writeFile(comma, "[Program]\nLasting=0,5\nOverload=0.25\n[Eka]\nCounters1=1200\n");
  const fs::path pdf = scratch("comma.pdf");
  auto durations = [&](const std::string& locale) {
    fs::remove(pdf);
    const CommandResult r = run("LC_ALL=" + locale + " " + cli + " report " + shellQuoted(comma.string()) + " --pdf " +
                            shellQuoted(pdf.string()));
    EXPECT_EQ(r.status, 0) << locale;
    return squeezed(run("pdftotext -layout " + shellQuoted(pdf.string()) + " -").out);
  };
  const std::string icelandic = durations("is_IS.UTF-8");
  EXPECT_NE(icelandic.find("Average: 2 fry/min"), std::string::npos) << icelandic;  // 1200 / 0.5 day
  EXPECT_NE(icelandic.find("Duration: 12:00:00"), std::string::npos);
  EXPECT_NE(icelandic.find("Overload: 0:00:00"), std::string::npos);  // "0.25" is no number there
  const std::string c = durations("C");
  EXPECT_NE(c.find("Average: 1 fry/min"), std::string::npos) << c;  // "Lasting" unread: one day
  EXPECT_NE(c.find("Duration: 0:00:00"), std::string::npos);
  EXPECT_NE(c.find("Overload: 6:00:00"), std::string::npos);
}

}  // namespace

namespace {

// The preview's toolbar answers Alt and a letter; its own keys stay.
TEST(PrintPreview, ToolbarAnswersAltLetters) {
  QPrinter printer;
  QPrintPreviewDialog dialog(&printer);
  auto actionOf = [&dialog](const char* text) -> QAction* {
    for (QAction* a : dialog.findChildren<QAction*>()) {
      if (a->text() == QLatin1String(text)) return a;
    }
    return nullptr;
  };
  QAction* print = actionOf("Print");
  ASSERT_NE(print, nullptr);
  const QList<QKeySequence> before = print->shortcuts();
  preparePreviewDialog(dialog);
  for (const auto& [text, key] : {std::pair{"Print", "Alt+P"}, std::pair{"Next page", "Alt+N"},
                                  std::pair{"Previous page", "Alt+B"}}) {
    QAction* action = actionOf(text);
    ASSERT_NE(action, nullptr) << text;
    EXPECT_TRUE(action->shortcuts().contains(QKeySequence(QString::fromLatin1(key)))) << text;
  }
  for (const QKeySequence& k : before) EXPECT_TRUE(print->shortcuts().contains(k));
}

}  // namespace
