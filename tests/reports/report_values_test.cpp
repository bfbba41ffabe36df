#include "reports/report_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "reports/day_count.h"
#include "reports/stored_lines.h"

namespace {

TEST(ReportInteger, WholeNumbersOnly) {
  EXPECT_EQ(parseReportInteger("0"), 0);
  EXPECT_EQ(parseReportInteger("-17"), -17);
  EXPECT_EQ(parseReportInteger("2147483647"), 2147483647);
  EXPECT_EQ(parseReportInteger("-2147483648"), std::numeric_limits<int32_t>::min());
  for (const char* bad : {"", "-", "+5", "12x", "1.0", "1,0", "2147483648", " 5", "0x10", "--1", "1e3"}) {
    EXPECT_EQ(parseReportInteger(bad), std::nullopt) << bad;
  }
}

TEST(ReportInteger, IntegerTextIsZeroWhenAbsentAndNothingWhenNotWhole) {
  EXPECT_EQ(integerTextValue(std::nullopt), 0);
  EXPECT_EQ(integerTextValue(std::string("25")), 25);
  EXPECT_EQ(integerTextValue(std::string("2.5")), std::nullopt);
  EXPECT_EQ(integerTextValue(std::string("")), std::nullopt);
}

TEST(ReportViewerFloat, OnlyTheSystemSeparator) {
  EXPECT_EQ(parseReportViewerFloat("12.5"), 12.5);
  EXPECT_EQ(parseReportViewerFloat("12,5"), std::nullopt);
  EXPECT_EQ(parseReportViewerFloat("12,5", ','), 12.5);
  EXPECT_EQ(parseReportViewerFloat("12.5", ','), std::nullopt);
  EXPECT_EQ(parseReportViewerFloat("-0.25"), -0.25);
  EXPECT_EQ(parseReportViewerFloat("+3"), 3.0);
  EXPECT_EQ(parseReportViewerFloat("1.5E3"), 1500.0);
  EXPECT_EQ(parseReportViewerFloat(".5"), 0.5);
  for (const char* bad : {"", ".", "abc", "1.2.3", "inf", "nan", "0x1p3", "1e", "1e400", "5 "}) {
    EXPECT_EQ(parseReportViewerFloat(bad), std::nullopt) << bad;
  }
}

TEST(Stringtofloat, EitherSeparator) {
  EXPECT_EQ(stringtofloat("12.5"), 12.5);
  EXPECT_EQ(stringtofloat("12,5"), 12.5);
  EXPECT_EQ(stringtofloat("0,0416666"), 0.0416666);
  EXPECT_EQ(stringtofloat(""), 0.0);
  EXPECT_EQ(stringtofloat("7"), 7.0);
  EXPECT_EQ(stringtofloat("7."), 7.0);
  EXPECT_EQ(stringtofloat("1e3"), 1000.0);
}

TEST(Stringtofloat, FirstDotWinsOverComma) {
  // "1,234.5": the "." separates, so the whole part "1,234" is no number.
  EXPECT_EQ(stringtofloat("1,234.5"), std::nullopt);
  EXPECT_EQ(stringtofloat("1.2,3"), std::nullopt);
}

// The original added the fraction to a negative whole part (-1 + 0.5).
TEST(Stringtofloat, RegressionNegativeValueKeepsItsSign) {
  EXPECT_EQ(stringtofloat("-1.5"), -1.5);
  EXPECT_EQ(stringtofloat("-0,25"), -0.25);
}

TEST(Stringtofloat, MissingWholePartIsZeroAndGarbageIsNoNumber) {
  EXPECT_EQ(stringtofloat(",5"), 0.5);
  EXPECT_EQ(stringtofloat(".5"), 0.5);
  for (const char* bad : {".", ",", "abc", "1.2.3", "1.5e3", "12a", "-", "inf", "nan", "1e999"}) {
    EXPECT_EQ(stringtofloat(bad), std::nullopt) << bad;
  }
}

// Every float the writer produces reads back to the same double through both
// readers, whichever separator it was written with.
TEST(ReportFloatText, ReadsBackExactlyThroughBothReaders) {
  std::mt19937_64 random(20240501);
  std::vector<double> values = {0.0, -0.0, 1.0, 0.1, 45000.75, 1.0 / 3.0, 1e-12, 123456789.123456789,
                                -2.5, 5e-324, 1e300, std::nextafter(1.0, 2.0)};
  for (int i = 0; i < 2000; ++i) {
    uint64_t bits = random();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(static_cast<double>(random() % 10'000'000) / 86400.0);
  }
  for (double v : values) {
    for (char separator : {'.', ','}) {
      const std::string text = formatReportFloat(v, separator);
      EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
      EXPECT_EQ(stringtofloat(text), v) << text;
      EXPECT_EQ(parseReportViewerFloat(text, separator), v) << text;
    }
  }
  EXPECT_EQ(formatReportFloat(2.0), "2");
  EXPECT_EQ(formatReportFloat(0.5, ','), "0,5");
}

TEST(DayCount, KnownDates) {
  EXPECT_EQ(dayCountFromCivil({1899, 12, 30, 0, 0, 0, 0}), 0.0);
  EXPECT_EQ(dayCountFromCivil({2023, 3, 15, 18, 0, 0, 0}), 45000.75);
  EXPECT_EQ(dayCountFromCivil({1899, 12, 29, 6, 0, 0, 0}), -1.25);
  EXPECT_EQ(civilFromDayCount(45000.75), (CivilDateTime{2023, 3, 15, 18, 0, 0, 0}));
  EXPECT_EQ(civilFromDayCount(-1.25), (CivilDateTime{1899, 12, 29, 6, 0, 0, 0}));
  EXPECT_EQ(civilFromDayCount(1.0 - 1e-11), (CivilDateTime{1899, 12, 31, 0, 0, 0, 0}));
  EXPECT_EQ(civilFromDayCount(60.0), (CivilDateTime{1900, 2, 28, 0, 0, 0, 0}));
  EXPECT_EQ(civilFromDayCount(61.0), (CivilDateTime{1900, 3, 1, 0, 0, 0, 0}));
}

TEST(DayCount, OutOfRangeGivesNothing) {
  EXPECT_EQ(civilFromDayCount(std::nan("")), std::nullopt);
  EXPECT_EQ(civilFromDayCount(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(civilFromDayCount(3e6), std::nullopt);
  EXPECT_EQ(civilFromDayCount(-7e5), std::nullopt);
  EXPECT_EQ(civilFromDayCount(1e300), std::nullopt);
  EXPECT_TRUE(civilFromDayCount(2958465.5).has_value());  // 31 December 9999, noon
  EXPECT_EQ(formatDayCount("dd.mm.yyyy", 1e300), "");
}

TEST(DayCount, CivilRoundTripToTheMillisecond) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 5000; ++i) {
    CivilDateTime t;
    t.year = 1900 + static_cast<int>(random() % 200);
    t.month = 1 + static_cast<int>(random() % 12);
    t.day = 1 + static_cast<int>(random() % 28);
    t.hour = static_cast<int>(random() % 24);
    t.minute = static_cast<int>(random() % 60);
    t.second = static_cast<int>(random() % 60);
    t.millisecond = static_cast<int>(random() % 1000);
    const double days = dayCountFromCivil(t);
    EXPECT_EQ(civilFromDayCount(days), t) << days;
    // And through the text of a report file.
    EXPECT_EQ(civilFromDayCount(*stringtofloat(formatReportFloat(days))), t);
  }
}

TEST(DayCount, Patterns) {
  const double t = dayCountFromCivil({2023, 3, 5, 8, 7, 9, 0});
  EXPECT_EQ(formatDayCount("d.m.yyyy h:nn", t), "5.3.2023 8:07");
  EXPECT_EQ(formatDayCount("dd MMM yyyy", t), "05 Mar 2023");
  EXPECT_EQ(formatDayCount("hh:mm:ss", t), "08:07:09");  // "mm" after the hour: minutes
  EXPECT_EQ(formatDayCount("h:nn:ss", t), "8:07:09");
  EXPECT_EQ(formatDayCount("mm/dd/yy", t), "03/05/23");
  EXPECT_EQ(formatDayCount("'at' hh:nn", t), "at 08:07");
  DateTimeNames names;
  names.timeSeparator = '.';
  EXPECT_EQ(formatDayCount("hh:nn", t, names), "08.07");
  // Durations print the time of day only: 1.25 days is 6:00:00.
  EXPECT_EQ(formatDayCount("h:nn:ss", 1.25), "6:00:00");
  EXPECT_EQ(timeOfDayMilliseconds(1.25), 6 * 3'600'000);
  EXPECT_EQ(timeOfDayMilliseconds(1e300), 0);
}

TEST(StoredLines, StoreAndTargetForms) {
  const double t = dayCountFromCivil({2026, 12, 8, 14, 5, 9, 0});
  const int32_t counts[] = {120, 87};
  EXPECT_EQ(formatStoreLine(t, counts), "14:05:09     120     87");
  EXPECT_EQ(formatStoreLine(t, std::span<const int32_t>()), "14:05:09");
  EXPECT_EQ(formatTargetLine("14:05:09", 100), "14:05:09            100");
}

}  // namespace
