#include "reports/report_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "reports/report_values.h"
#include "reports/report_writer.h"
#include "settings/ini_file.h"

namespace {

ReportFile parse(std::string_view text, ReportReadOptions options = {}) {
  return readReportFile(IniFile::fromBytes(text), options);
}

TEST(ReportRead, NotAReportReadsAsAllAbsent) {
  const ReportFile r = parse("just some text\nwithout sections\n");
  EXPECT_EQ(r, ReportFile{});
  EXPECT_EQ(r.NrChannels.value_or(kDefaultNrChannels), 1);
  EXPECT_EQ(commentLines(r), std::vector<std::string>{""});
  EXPECT_TRUE(throughputCurve(r, 1).empty());
}

TEST(ReportRead, NamesMatchWithoutCaseAndValuesAreUnquoted) {
  const ReportFile r = parse(
      "[PROGRAM]\r\ntank = ' Tank 7 '\r\nLASTING=0.5\r\n[settings]\nnrchannels=3\n"
      "[eka]\ncountname2=\"North\"\nsize group2=4\n%WIDTH2=333\n");
  EXPECT_EQ(r.Tank, " Tank 7 ");
  EXPECT_EQ(r.Lasting, 0.5);
  EXPECT_EQ(r.NrChannels, 3);
  EXPECT_EQ(r.channels[2].Countname, "North");
  EXPECT_EQ(r.channels[2].SizeGroup, 4);
  EXPECT_EQ(r.channels[2].Width, 333);
  EXPECT_EQ(r.channels[1].Countname, std::nullopt);
}

TEST(ReportRead, IntegersThatAreNotWholeNumbersTakeTheDefault) {
  const ReportFile r = parse("[Settings]\nNrChannels=2.0\nLedge=abc\nRedge=500\n");
  EXPECT_EQ(r.NrChannels, std::nullopt);
  EXPECT_EQ(r.Ledge.value_or(kDefaultLedge), 0);
  EXPECT_EQ(r.Redge, 500);
}

TEST(ReportRead, FloatRulesDiffer) {
  const char* text = "[Program]\nLasting=0,5\nOverload=0.25\nDateTime=\n";
  const ReportFile viewer = parse(text);
  EXPECT_EQ(viewer.Lasting, std::nullopt);  // "," is not this system's separator
  EXPECT_EQ(viewer.Overload, 0.25);
  EXPECT_EQ(viewer.DateTime, std::nullopt);
  const ReportFile comma = parse(text, {FloatRule::kReportViewer, ','});
  EXPECT_EQ(comma.Lasting, 0.5);
  EXPECT_EQ(comma.Overload, std::nullopt);
  const ReportFile record = parse(text, {FloatRule::kRecordViewer, '.'});
  EXPECT_EQ(record.Lasting, 0.5);
  EXPECT_EQ(record.Overload, 0.25);
  EXPECT_EQ(record.DateTime, 0.0);  // empty text is 0 to stringtofloat
}

TEST(ReportRead, NocommentlinesZeroPrintsNothingAndIgnoresGeneration) {
  const ReportFile r = parse("[Program]\nNocommentlines=0\ncomment0=hidden\nGeneration=G7\n");
  EXPECT_TRUE(commentLines(r).empty());
}

TEST(ReportRead, CommentLinesAreNumberedFromZero) {
  const ReportFile r = parse("[Program]\nNocommentlines=3\ncomment0=first\ncomment2=third\nGeneration=G7\n");
  EXPECT_EQ(commentLines(r), (std::vector<std::string>{"first", "", "third"}));
}

TEST(ReportRead, GenerationIsTheOneLineWithoutNocommentlines) {
  EXPECT_EQ(commentLines(parse("[Program]\ncomment0=x\nGeneration=G7\n")), std::vector<std::string>{"G7"});
  EXPECT_EQ(commentLines(parse("[Program]\nNocommentlines=-1\nGeneration=G7\n")),
            std::vector<std::string>{"G7"});
  EXPECT_EQ(commentLines(parse("[Program]\nNocommentlines=many\nGeneration=G7\n")),
            std::vector<std::string>{"G7"});
  EXPECT_TRUE(commentLines(parse("[Program]\nNocommentlines=-5\nGeneration=G7\n")).empty());
}

TEST(ReportRead, RegressionHugeCommentCountIsCapped) {
  const ReportFile r = parse("[Program]\nNocommentlines=2000000000\ncomment0=only\n");
  ASSERT_EQ(r.comments.size(), static_cast<size_t>(kReportCommentLimit));
  EXPECT_EQ(r.comments[0], "only");
}

TEST(ReportRead, StoredValuesStopAtTheFirstGap) {
  const ReportFile r = parse("[StoredValues]\n0=first\n1=second\n3=never\n");
  EXPECT_EQ(r.storedValues, (std::vector<std::string>{"first", "second"}));
  EXPECT_TRUE(parse("[StoredValues]\n1=no zero\n").storedValues.empty());
}

TEST(ReportRead, ChannelWithoutItsOwnCurveUsesTheSharedOne) {
  const ReportFile r = parse(
      "[Settings]\nNrChannels=2\n"
      "[ThroughputChart]\nX1=0.5\nY1=10\nX2=0.51\nY2=12\n"
      "[ThroughputChart1]\nX1=0.4\nY1=3\nX3=0.6\nY3=9\n");
  ASSERT_EQ(throughputCurve(r, 1).size(), 1u);  // stops at the first missing "X"
  EXPECT_EQ(throughputCurve(r, 1)[0], (ThroughputChartPoint{0.4, 3}));
  EXPECT_EQ(throughputCurve(r, 2), (ThroughputCurve{{0.5, 10}, {0.51, 12}}));
}

TEST(ReportRead, EmptyOwnSectionStillHidesTheSharedCurve) {
  const ReportFile r = parse("[ThroughputChart]\nX1=0.5\nY1=10\n[ThroughputChart2]\n");
  EXPECT_TRUE(throughputCurve(r, 2).empty());
  EXPECT_EQ(throughputCurve(r, 1).size(), 1u);
}

TEST(ReportRead, CurvePointsThatAreNotNumbersReadAsZero) {
  const ReportFile r = parse("[ThroughputChart]\nX1=noon\nY1=\nX2=0.5\n");
  EXPECT_EQ(throughputCurve(r, 1), (ThroughputCurve{{0, 0}, {0.5, 0}}));
}

TEST(ReportRead, DistributionNotesTheG0Key) {
  const ReportFile r = parse(
      "[Distribution1]\nG0=25\nG1=4\nG11=2\nAW=25\nStd=3.5\n"
      "[Distribution2]\nG0=\nDNr=17\n");
  const ReportDistribution& d1 = r.distributions[1];
  EXPECT_TRUE(d1.hasG0Key);
  EXPECT_EQ(d1.G0, 25);
  EXPECT_EQ(d1.G[1], 4);
  EXPECT_EQ(d1.G[2], std::nullopt);
  EXPECT_EQ(d1.G[11], 2);
  EXPECT_EQ(integerTextValue(d1.AW), 25);
  EXPECT_EQ(integerTextValue(d1.Std), std::nullopt);  // not a whole number
  EXPECT_EQ(integerTextValue(r.distributions[2].AW), 0);
  EXPECT_TRUE(r.distributions[2].hasG0Key);  // present without a number
  EXPECT_EQ(r.distributions[2].G0.value_or(kDefaultG0), 10);
  EXPECT_FALSE(r.distributions[3].hasG0Key);
}

// A report with every key filled, with texts that need care on the way
// through an INI file.
ReportFile fullReport() {
  ReportFile r;
  r.logoimage = "C:\\Logos\\tolu.jpg";
  r.Nocommentlines = 3;
  r.comments = {"  indented comment", "\"quoted\"", "a=b; c"};
  r.Generation = "Smolt 2024";
  r.Personincharge = "Jón Þórsson";
  r.Total = "1 234";
  r.Overload = 0.001;
  r.Lasting = 0.5;
  r.operatorName = "'Fiskeldi' ehf.";
  r.Tank = "Tank 7";
  r.DateTime = 45000.123456789;
  r.NrChannels = 4;
  r.Ledge = 3;
  r.Redge = 508;
  r.channelwidth = 2;
  r.Skuffubreidd = 1400;
  for (int n = 1; n <= kReportChannels; ++n) {
    ReportChannel& c = r.channels[n];
    c.Counters = 1000 * n;
    c.CountersT = 1000 * n - 1;
    c.Countname = "Channel " + std::to_string(n);
    c.SizeGroup = n;
    c.Width = 350;
    c.Multib = (n - 1) * 128;
    c.Multie = n * 128 - 5;
    ReportDistribution& d = r.distributions[n];
    d.hasG0Key = true;
    d.G0 = 5 * n;
    for (int k = 1; k <= kReportWeightClasses; ++k) d.G[k] = k * n;
    d.AW = std::to_string(100 + n);
    d.Std = "-3";
    d.DNr = "  42 ";
    r.channelThroughput[n] = ThroughputCurve{{0.4 + n / 100.0, 1.0 / 3.0}, {0.99, -0.0}, {0.01, 1e-7}};
  }
  r.channelThroughput[3] = ThroughputCurve{};  // section without points
  r.sharedThroughput = ThroughputCurve{{0.25, 6}};
  r.storedValues = {"14:05:09     120     87", " leading blank", "trailing blank "};
  return r;
}

TEST(ReportWrite, RoundTripThroughEveryReader) {
  const ReportFile r = fullReport();
  for (char separator : {'.', ','}) {
    const ReportWriteOptions options{separator};
    EXPECT_TRUE(reportWriteProblems(r, options).empty());
    const IniFile ini = IniFile::fromBytes(reportFileText(r, options));
    EXPECT_EQ(readReportFile(ini, {FloatRule::kReportViewer, separator}), r) << separator;
    EXPECT_EQ(readReportFile(ini, {FloatRule::kRecordViewer, separator}), r) << separator;
  }
}

TEST(ReportWrite, AbsentKeysStayAbsent) {
  ReportFile r;
  r.Tank = "";
  r.channels[2].Counters = 5;
  r.distributions[4].G[3] = 1;
  const ReportFile back = readReportFile(IniFile::fromBytes(reportFileText(r)));
  EXPECT_EQ(back, r);
  EXPECT_FALSE(back.channels[1].Counters.has_value());
}

TEST(ReportWrite, ExactSectionsKeysAndValueForms) {
  ReportFile r;
  r.Tank = " T7";
  r.Lasting = 0.5;
  r.NrChannels = 2;
  r.channels[1].SizeGroup = 2;
  r.channels[1].Width = 500;
  r.channels[2].Countname = "North";
  r.distributions[1].G0 = 25;
  r.channelThroughput[2] = ThroughputCurve{{0.5, 12}};
  r.storedValues = {"14:05:09     120     87"};
  EXPECT_EQ(reportFileText(r, {','}),
            "[Program]\r\nLasting=0,5\r\nTank=\" T7\"\r\n"
            "[Settings]\r\nNrChannels=2\r\n"
            "[Eka]\r\nSize Group1=2\r\nCountname2=North\r\n%width1=500\r\n"
            "[Distribution1]\r\nG0=25\r\n"
            "[ThroughputChart2]\r\nX1=0,5\r\nY1=12\r\n"
            "[StoredValues]\r\n0=14:05:09     120     87\r\n");
}

TEST(ReportWrite, ValuesThatCannotBeStoredAreRefused) {
  ReportFile lineBreak;
  lineBreak.Tank = "two\nlines";
  EXPECT_FALSE(reportWriteProblems(lineBreak).empty());

  ReportFile tooLong;
  tooLong.storedValues = {std::string(3000, 'x')};
  EXPECT_FALSE(reportWriteProblems(tooLong).empty());

  ReportFile notFinite;
  notFinite.Lasting = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(reportWriteProblems(notFinite).empty());

  ReportFile commentsMismatch;
  commentsMismatch.Nocommentlines = 1;
  commentsMismatch.comments = {"a", "b"};
  EXPECT_FALSE(reportWriteProblems(commentsMismatch).empty());

  const std::string path = testing::TempDir() + "/refused.mse";
  std::remove(path.c_str());
  std::string error;
  EXPECT_FALSE(saveReportFile(path, lineBreak, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ReportWrite, SavedFileReadsBack) {
  const std::string path = testing::TempDir() + "/saved.mse";
  std::string error;
  ASSERT_TRUE(saveReportFile(path, fullReport(), error)) << error;
  const std::optional<IniFile> ini = IniFile::fromFile(path);
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(readReportFile(*ini), fullReport());
  // A folder that cannot exist (its parent is a file): refused, with a reason.
  error.clear();
  EXPECT_FALSE(saveReportFile(path + "/sub/x.mse", fullReport(), error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
