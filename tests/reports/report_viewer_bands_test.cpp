// What each band of the printed report shows, read from report-file text
// through the report-file model, and on which pages the bands land.
#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "reports/report_bands.h"
#include "reports/report_file.h"
#include "settings/ini_file.h"

namespace {

ReportBands bandsOf(const std::string& text, const std::string& fileName = "/r/a.mse") {
  return buildReportBands(readReportFile(IniFile::fromBytes(text)), fileName);
}

const CountingBand& channel(const ReportBands& b, int n) { return b.counting.at(static_cast<size_t>(n - 1)); }

// ---- Rate, weights and biomass ----------------------------------------------

TEST(ReportBandsRate, CountOverLastingInFishPerMinute) {
  EXPECT_EQ(channel(bandsOf("[Program]\nLasting=0.5\n[Eka]\nCounters1=1200\n"), 1).average, "2 fry/min");
  // Absent "Lasting" counts as one day: C / 1440. 720 / 1440 = 0.5 rounds up.
  EXPECT_EQ(channel(bandsOf("[Eka]\nCounters1=2880\n"), 1).average, "2 fry/min");
  EXPECT_EQ(channel(bandsOf("[Eka]\nCounters1=720\n"), 1).average, "1 fry/min");
  EXPECT_EQ(channel(bandsOf("[Eka]\nCounters1=719\n"), 1).average, "0 fry/min");
}

TEST(ReportBandsRate, SessionOfNoLengthPrintsNoRate) {
  for (const char* lasting : {"0", "-0.5", "0.0"}) {
    const ReportBands b = bandsOf(std::string("[Program]\nLasting=") + lasting + "\n[Eka]\nCounters1=1200\n");
    EXPECT_EQ(channel(b, 1).average, "- fry/min") << lasting;
    EXPECT_EQ(channel(b, 1).average.find("inf"), std::string::npos);
  }
  // A "Lasting" that is no number takes the default of one day.
  EXPECT_EQ(channel(bandsOf("[Program]\nLasting=abc\n[Eka]\nCounters1=2880\n"), 1).average, "2 fry/min");
}

TEST(ReportBandsWeight, BiomassSwitchesUnitAtThousands) {
  auto biomass = [](const char* counters, const char* aw) {
    return channel(bandsOf(std::string("[Eka]\nCounters1=") + counters + "\n[Distribution1]\nAW=" + aw + "\n"), 1)
        .biomass;
  };
  EXPECT_EQ(biomass("400", "25"), "1 Kg");
  EXPECT_EQ(biomass("400", "24"), "960 g");
  EXPECT_EQ(biomass("2000000", "10"), "2 Tonn");
  EXPECT_EQ(biomass("0", "25"), "0 g");
  // Millions of fish of kilos each: beyond 32-bit grams, still right.
  EXPECT_EQ(biomass("2000000", "30000"), "6000 Tonn");
}

TEST(ReportBandsWeight, AverageAndDeviationInTenths) {
  const ReportBands b = bandsOf("[Eka]\nCountname1=North\n[Distribution1]\nAW=25\nStd=4\nDNr=400\n");
  EXPECT_EQ(channel(b, 1).averageWeight, "2.5 gr.");
  EXPECT_EQ(channel(b, 1).stdDeviation, "0.4 gr.");
  EXPECT_EQ(channel(b, 1).numbers, "400");
  ASSERT_EQ(b.weightRows.size(), 1u);
  EXPECT_EQ(b.weightRows[0].channelName, "North");
  EXPECT_EQ(b.weightRows[0].averageWeight, "2.5 gr");
  EXPECT_EQ(b.weightRows[0].stdDeviation, "0.4 gr");
  // Absent: "0", "0" and "0".
  const ReportBands empty = bandsOf("");
  EXPECT_EQ(channel(empty, 1).averageWeight, "0.0 gr.");
  EXPECT_EQ(channel(empty, 1).numbers, "0");
  EXPECT_EQ(channel(empty, 1).biomass, "0 g");
}

TEST(ReportBandsWeight, WeightThatIsNotAWholeNumberPrintsNoValue) {
  const ReportBands b = bandsOf("[Eka]\nCounters1=400\n[Distribution1]\nAW=25.5\nStd=x\n");
  EXPECT_EQ(channel(b, 1).averageWeight, "- gr.");
  EXPECT_EQ(channel(b, 1).stdDeviation, "- gr.");
  EXPECT_EQ(channel(b, 1).biomass, "-");  // not a biomass made up from 0
  EXPECT_EQ(b.weightRows[0].averageWeight, "- gr");
}

// ---- Dates, durations, labels ------------------------------------------------

TEST(ReportBandsTimes, DateAndDurations) {
  const ReportBands b = bandsOf("[Program]\nDateTime=45000.75\nOverload=1.25\nLasting=0.5\n");
  EXPECT_EQ(channel(b, 1).date, "15.3.2023 18:00");
  EXPECT_EQ(channel(b, 1).overload, "6:00:00");  // the time of day only
  EXPECT_EQ(channel(b, 1).duration, "12:00:00");
  // Absent values read as 0.
  const ReportBands empty = bandsOf("[Program]\nTank=x\n");
  EXPECT_EQ(channel(empty, 1).date, "30.12.1899 0:00");
  EXPECT_EQ(channel(empty, 1).overload, "0:00:00");
  EXPECT_EQ(channel(empty, 1).duration, "0:00:00");
  // A date no calendar holds prints no value instead of garbage.
  EXPECT_EQ(channel(bandsOf("[Program]\nDateTime=1e300\n"), 1).date, "-");
}

TEST(ReportBandsLabels, ClassLabelsFollowTheClassWidth) {
  const ReportBands b = bandsOf("[Distribution1]\nG0=25\nG3=40\nG11=2\n");
  const DistributionBars& d = channel(b, 1).distribution;
  EXPECT_EQ(d.labels[0], "2.5");
  EXPECT_EQ(d.labels[1], "5.0");
  EXPECT_EQ(d.labels[9], "25.0");
  EXPECT_EQ(d.labels[10], ">25.0");
  EXPECT_EQ(d.heights[2], 40);
  EXPECT_EQ(d.heights[10], 2);
  EXPECT_EQ(std::accumulate(d.heights.begin(), d.heights.end(), int64_t{0}), 42);
  // Without "G0" the width is 1.0 g.
  const DistributionBars plain = channel(bandsOf(""), 1).distribution;
  EXPECT_EQ(plain.labels[0], "1.0");
  EXPECT_EQ(plain.labels[10], ">10.0");
}

TEST(ReportBandsLabels, SizeGroupNamesAndChannelTexts) {
  const ReportBands b = bandsOf(
      "[Program]\nTank=T7\nPersonincharge=Anna\nTotal= 1 650 x\noperator=Fjord\n"
      "[Settings]\nNrChannels=3\n[Eka]\nSize Group1=1\nSize Group2=9\nSize Group3=12\n"
      "Countname1=North\nCountersT1=1190\n");
  EXPECT_EQ(channel(b, 1).sizeSettings, " 0.3 gr");  // leading blank as named
  EXPECT_EQ(channel(b, 2).sizeSettings, "3 Kg");
  EXPECT_EQ(channel(b, 3).sizeSettings, "-");  // no such group
  EXPECT_EQ(channel(b, 1).channelName, "North");
  EXPECT_EQ(channel(b, 1).channelCount, "1190");
  EXPECT_EQ(channel(b, 2).channelCount, "0");
  EXPECT_EQ(channel(b, 1).total, "1 650 x");  // as it stands
  EXPECT_EQ(channel(b, 1).description, "T7");
  EXPECT_EQ(channel(b, 1).countedBy, "Anna");
  EXPECT_EQ(b.operatorName, "Fjord");
  EXPECT_EQ(channel(b, 3).fileName, "/r/a.mse");
  EXPECT_EQ(b.trailer, trailerLine(reportWebAddress()));
}

// ---- Trailer ------------------------------------------------------------------

TEST(ReportBandsTrailer, AddressOnlyWhenThereIsOne) {
  EXPECT_EQ(trailerLine(""), "Counted with Lumen/Norde counter from Tolu");
  EXPECT_EQ(trailerLine("www.tolu.is"), "Counted with Lumen/Norde counter from Tolu      www.tolu.is");
  // The build's cache variable is what the report prints.
  EXPECT_STREQ(reportWebAddress(), TINDAVEL_REPORT_WEB_ADDRESS);
}

TEST(ReportBandsTrailer, DefaultBuildPrintsNoAddress) {
  if (std::string(TINDAVEL_REPORT_WEB_ADDRESS) != "") GTEST_SKIP() << "built with a web address";
  EXPECT_EQ(bandsOf("[Settings]\nNrChannels=2\n").trailer, "Counted with Lumen/Norde counter from Tolu");
}

// ---- Comments -----------------------------------------------------------------

TEST(ReportBandsComments, NumberedLinesOrGeneration) {
  EXPECT_EQ(channel(bandsOf("[Program]\nNocommentlines=2\ncomment0=a\ncomment1=b\nGeneration=g\n"), 1).comments,
            (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(channel(bandsOf("[Program]\nNocommentlines=0\nGeneration=g\n"), 1).comments.empty());
  EXPECT_EQ(channel(bandsOf("[Program]\nGeneration=g\n"), 1).comments, (std::vector<std::string>{"g"}));
}

TEST(ReportBandsComments, LongMemoIsCutToThePageAndSaysSo) {
  std::string text = "[Program]\nNocommentlines=40\n";
  for (int i = 0; i < 40; ++i) text += "comment" + std::to_string(i) + "=line " + std::to_string(i) + "\n";
  const ReportBands b = bandsOf(text);
  const std::vector<std::string>& lines = channel(b, 1).comments;
  ASSERT_EQ(static_cast<int>(lines.size()), kMaxCommentLines);
  EXPECT_EQ(lines.front(), "line 0");
  EXPECT_NE(lines.back().find(std::to_string(40 - kMaxCommentLines + 1) + " more lines"), std::string::npos);
  // The band still fits on one page under the page header.
  EXPECT_LE(kPageHeaderMm + countingBandHeightMm(channel(b, 1)), kBodyHeightMm);
}

// A comment longer than the memo is wide goes on as many lines as it needs;
// the memo never grows past its room, and says how many comments it leaves out.
TEST(ReportBandsComments, LongCommentsWrapWithinTheMemo) {
  auto byTens = [](const std::string& s) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < s.size(); i += 10) lines.push_back(s.substr(i, 10));
    return lines;
  };
  EXPECT_EQ(memoLines({"abcdefghijklmnopqrstuvwxy", "", "z"}, byTens),
            (std::vector<std::string>{"abcdefghij", "klmnopqrst", "uvwxy", "", "z"}));
  // Two comments that fill the memo exactly, and one that overflows it.
  const std::string fill(10 * static_cast<size_t>(kMaxCommentLines - 1), 'x');
  EXPECT_EQ(memoLines({fill, "y"}, byTens).size(), static_cast<size_t>(kMaxCommentLines));
  EXPECT_EQ(memoLines({fill, "y"}, byTens).back(), "y");
  const std::vector<std::string> cut = memoLines({"first", fill + "tail", "last"}, byTens);
  ASSERT_EQ(cut.size(), static_cast<size_t>(kMaxCommentLines));
  EXPECT_EQ(cut.front(), "first");
  EXPECT_EQ(cut[1], "xxxxxxxxxx");  // the start of the long one is still shown
  EXPECT_EQ(cut.back(), "... (2 more lines in the report file)");
  // One endless comment: the memo shows its start and its room, no more.
  const std::vector<std::string> endless = memoLines({std::string(100000, 'q')}, byTens);
  ASSERT_EQ(endless.size(), static_cast<size_t>(kMaxCommentLines));
  EXPECT_EQ(endless.front(), "qqqqqqqqqq");
  EXPECT_EQ(endless.back(), "... (1 more lines in the report file)");
}

// ---- Channels -----------------------------------------------------------------

TEST(ReportBandsChannels, ChannelCountIsBoundedToTheLayouts) {
  EXPECT_EQ(bandsOf("[Settings]\nNrChannels=9\n").counting.size(), 4u);
  EXPECT_EQ(bandsOf("[Settings]\nNrChannels=0\n").counting.size(), 1u);
  EXPECT_EQ(bandsOf("[Settings]\nNrChannels=-3\n").counting.size(), 1u);
  EXPECT_EQ(bandsOf("[Settings]\nNrChannels=2\n").distributions.size(), 2u);
}

TEST(ReportBandsChannels, FileThatIsNoReportPrintsAnEmptyOneChannelReport) {
  const char png[] = "\x89PNG\r\n\x1a\n\0\0garbage=1\n[[[";
  const ReportBands b = bandsOf(std::string(png, sizeof png - 1));
  EXPECT_EQ(b.nrChannels, 1);
  ASSERT_EQ(b.counting.size(), 1u);
  EXPECT_EQ(channel(b, 1).channelName, "");
  EXPECT_EQ(channel(b, 1).average, "0 fry/min");
  EXPECT_FALSE(b.hasDistributionPage);
  EXPECT_FALSE(b.hasStoredPage);
  EXPECT_EQ(paginateReport(b).size(), 1u);
}

TEST(ReportBandsChannels, ThroughputFallsBackToTheSharedCurve) {
  const ReportBands b = bandsOf(
      "[Settings]\nNrChannels=2\n[ThroughputChart]\nX1=0.5\nY1=3\nX2=0.6\nY2=4\n"
      "[ThroughputChart1]\nX1=0.25\nY1=7\n");
  ASSERT_EQ(channel(b, 1).throughput.size(), 1u);
  EXPECT_DOUBLE_EQ(channel(b, 1).throughput[0].y, 7);
  ASSERT_EQ(channel(b, 2).throughput.size(), 2u);
  EXPECT_DOUBLE_EQ(channel(b, 2).throughput[1].x, 0.6);
}

// ---- Pages --------------------------------------------------------------------

TEST(ReportBandsPages, OptionalPagesFollowTheirKeys) {
  const std::string two = "[Settings]\nNrChannels=2\n";
  // "G0" of the last channel decides the distribution page; channel 1's does not.
  EXPECT_FALSE(bandsOf(two + "[Distribution1]\nG0=10\n").hasDistributionPage);
  EXPECT_TRUE(bandsOf(two + "[Distribution2]\nG0=10\n").hasDistributionPage);
  EXPECT_FALSE(bandsOf(two + "[Distribution2]\nG1=10\n").hasDistributionPage);
  // Stored lines from "0" to the first gap; without "0" no page.
  const ReportBands stored = bandsOf("[StoredValues]\n0=a\n1=b\n3=d\n");
  EXPECT_TRUE(stored.hasStoredPage);
  EXPECT_EQ(stored.storedLines, (std::vector<std::string>{"a", "b"}));
  EXPECT_FALSE(bandsOf("[StoredValues]\n1=b\n").hasStoredPage);
  EXPECT_FALSE(bandsOf("").hasStoredPage);

  auto layouts = [](const ReportBands& b) {
    std::vector<ReportLayout> l;
    for (const PagePlan& p : paginateReport(b)) l.push_back(p.layout);
    return l;
  };
  using L = ReportLayout;
  EXPECT_EQ(layouts(bandsOf(two)), (std::vector<L>{L::Counting, L::Counting}));
  EXPECT_EQ(layouts(bandsOf(two + "[Distribution2]\nG0=10\n[StoredValues]\n0=x\n")),
            (std::vector<L>{L::Counting, L::Counting, L::Distribution, L::Stored}));
  EXPECT_EQ(layouts(bandsOf("[StoredValues]\n0=x\n")), (std::vector<L>{L::Counting, L::Stored}));
}

TEST(ReportBandsPages, StoredHeadingNamesEachChannel) {
  const ReportBands b = bandsOf("[Settings]\nNrChannels=2\n[Eka]\nCountname1=North\nCountname2=South\n");
  EXPECT_EQ(b.storedHeading, "Time    North    South    ");
}

// Every band is printed exactly once, in order, and no page overflows.
TEST(ReportBandsPages, EveryBandOncePagesNeverOverflow) {
  for (int lines : {0, 1, 49, 50, 51, 300}) {
    std::string text = "[Settings]\nNrChannels=4\n[Distribution4]\nG0=10\n[Program]\nNocommentlines=30\n[StoredValues]\n";
    for (int i = 0; i < lines; ++i) text += std::to_string(i) + "=12:00:00     " + std::to_string(i) + "\n";
    const ReportBands b = bandsOf(text);
    std::vector<int> counting, weights, stored;
    for (const PagePlan& p : paginateReport(b)) {
      double used = 0;
      switch (p.layout) {
        case ReportLayout::Counting:
          used = kPageHeaderMm;
          for (int r : p.rows) used += countingBandHeightMm(b.counting[static_cast<size_t>(r)]);
          counting.insert(counting.end(), p.rows.begin(), p.rows.end());
          break;
        case ReportLayout::Distribution:
          used = (p.titleBand ? kDistributionChartMm + kWeightHeadingMm : 0) + kWeightRowMm * p.rows.size();
          weights.insert(weights.end(), p.rows.begin(), p.rows.end());
          break;
        case ReportLayout::Stored:
          EXPECT_TRUE(p.headingBand);  // the heading repeats on every page
          used = (p.titleBand ? kStoredTitleMm : 0) + kStoredHeadingMm + kStoredLineMm * p.rows.size();
          stored.insert(stored.end(), p.rows.begin(), p.rows.end());
          break;
      }
      EXPECT_LE(used, kBodyHeightMm + 1e-9) << lines << " stored lines";
    }
    auto inOrder = [](const std::vector<int>& v, size_t n) {
      std::vector<int> want(n);
      std::iota(want.begin(), want.end(), 0);
      return v == want;
    };
    EXPECT_TRUE(inOrder(counting, 4));
    EXPECT_TRUE(inOrder(weights, 4));
    EXPECT_TRUE(inOrder(stored, static_cast<size_t>(lines))) << lines;
  }
}

}  // namespace
