// tindavel-cli simulate, run as the user runs it: the files it writes must be
// well formed, agree with each other, describe countable fish, and come out
// the same for the same seed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/detection_state.h"
#include "analysis/size_classification.h"
#include "reports/report_file.h"
#include "reports/report_values.h"
#include "settings/ini_file.h"
#include "settings/settings_variables.h"
#include "tests/command_runner.h"

namespace {

// Runs tindavel-cli with `arguments`; its standard error goes with its output.
CommandResult run(const std::string& arguments) { return runCommand(kCliPath + " " + arguments + " 2>&1"); }

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Segment {
  int32_t Start;
  int32_t End;
};

// The recording decoded word by word, independently of the program's
// readers: header edges and every line's segments. Fails the test on any
// word that does not fit.
struct Recording {
  int16_t left = 0;
  int16_t right = 0;
  std::vector<std::vector<Segment>> lines;  // [0] is file line 1
};

Recording decode(const std::string& bytes) {
  Recording r;
  EXPECT_EQ(bytes.size() % 2, 0u);
  std::vector<int16_t> words(bytes.size() / 2);
  for (size_t i = 0; i < words.size(); ++i) {
    words[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  }
  if (words.size() < 2) {
    ADD_FAILURE() << "no header";
    return r;
  }
  r.left = words[0];
  r.right = words[1];
  size_t p = 2;
  while (p < words.size()) {
    const int n = words[p++];
    if (n < 0 || n > 500 || p + 2 * static_cast<size_t>(n) > words.size()) {
      ADD_FAILURE() << "bad count " << n << " at word " << p;
      break;
    }
    std::vector<Segment> line;
    for (int i = 0; i < n; ++i, p += 2) line.push_back({words[p], words[p + 1]});
    r.lines.push_back(std::move(line));
  }
  return r;
}

struct TruthRow {
  int64_t first, last;
  int channel;
  int64_t length;
  int32_t breadth;
};

std::vector<TruthRow> readTruth(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "first_line,last_line,channel,length_lines,breadth_pixels");
  std::vector<TruthRow> rows;
  while (std::getline(in, line)) {
    TruthRow t{};
    char c1, c2, c3, c4;
    std::istringstream s(line);
    s >> t.first >> c1 >> t.last >> c2 >> t.channel >> c3 >> t.length >> c4 >> t.breadth;
    EXPECT_TRUE(s && c1 == ',' && c4 == ',') << line;
    rows.push_back(t);
  }
  return rows;
}

class SimulateTest : public testing::Test {
 protected:
  std::string base(const std::string& name) { return testing::TempDir() + "/" + name; }
};

TEST_F(SimulateTest, SameSeedSameBytesOtherSeedOtherFish) {
  const std::string a = base("same_a"), b = base("same_b"), c = base("other");
  ASSERT_EQ(run("simulate --out " + a + " --minutes 1 --channels 3 --seed 42").status, 0);
  ASSERT_EQ(run("simulate --out " + b + " --minutes 1 --channels 3 --seed 42").status, 0);
  ASSERT_EQ(run("simulate --out " + c + " --minutes 1 --channels 3 --seed 43").status, 0);
  for (const char* ext : {".blb", ".mse", ".truth.csv"}) {
    EXPECT_EQ(fileBytes(a + ext), fileBytes(b + ext)) << ext;
  }
  EXPECT_NE(fileBytes(a + ".blb"), fileBytes(c + ".blb"));
}

// The report, the recording and the fish list tell the same story, and every
// fish is one the detection can count with the session's size limits.
TEST_F(SimulateTest, FilesAgreeAndFishAreCountable) {
  for (const int group : {0, 2, 5, 9}) {
    SCOPED_TRACE("size group " + std::to_string(group));
    const std::string out = base("agree" + std::to_string(group));
    const int channels = group == 9 ? 4 : 2;
    ASSERT_EQ(run("simulate --out " + out + " --minutes 2 --fish-per-minute 40 --seed 3 --channels " +
                  std::to_string(channels) + " --size-group " + std::to_string(group))
                  .status,
              0);
    const std::optional<IniFile> ini = IniFile::fromFile(out + ".mse");
    ASSERT_TRUE(ini.has_value());
    const ReportFile report = readReportFile(*ini, {FloatRule::kRecordViewer, '.'});
    ASSERT_EQ(report.NrChannels, channels);
    const Recording rec = decode(fileBytes(out + ".blb"));
    EXPECT_EQ(rec.left, 0);
    EXPECT_EQ(rec.right, 511);
    EXPECT_EQ(report.Ledge, 0);
    EXPECT_EQ(report.Redge, 511);
    EXPECT_EQ(static_cast<int64_t>(rec.lines.size()), 2 * 60 * 1116);
    ASSERT_TRUE(report.Lasting.has_value());
    EXPECT_NEAR(*report.Lasting * 86400 * 1116, static_cast<double>(rec.lines.size()), 1e-6);

    // Every line: segments left to right, apart, on the scan line.
    for (const auto& line : rec.lines) {
      for (size_t i = 0; i < line.size(); ++i) {
        EXPECT_LE(0, line[i].Start);
        EXPECT_LT(line[i].Start, line[i].End + 1);
        EXPECT_LE(line[i].End, 511);
        if (i > 0) {
          EXPECT_LT(line[i - 1].End + 1, line[i].Start);
        }
      }
    }

    const std::vector<TruthRow> truth = readTruth(out + ".truth.csv");
    ASSERT_FALSE(truth.empty());
    std::vector<int64_t> perChannel(static_cast<size_t>(channels) + 1, 0);

    SettingsVariables s;
    s.LeftEdge = *report.Ledge;
    s.RightEdge = *report.Redge;
    s.NrChannels = channels;
    s.ChannelWidthMm = report.Skuffubreidd.value_or(-1);
    auto detection = std::make_unique<DetectionState>();
    setDetectionConstants(*detection, s.ChannelWidthMm);
    for (int c = 1; c <= channels; ++c) {
      const ReportChannel& ch = report.channels[c];
      ASSERT_TRUE(ch.Multib && ch.Multie);
      s.ChannelPositions[c] = {*ch.Multib, *ch.Multie, ch.Width.value_or(0)};
      s.SizeGroup[c] = ch.SizeGroup.value_or(-1);
      EXPECT_EQ(s.SizeGroup[c], group);
      if (c > 1) {
        EXPECT_LT(s.ChannelPositions[c - 1].End, s.ChannelPositions[c].Begin);
      }
      stillafiskiflokk(c, *detection, s, 0, false);
    }
    for (const TruthRow& t : truth) {
      ASSERT_GE(t.channel, 1);
      ASSERT_LE(t.channel, channels);
      ++perChannel[static_cast<size_t>(t.channel)];
      EXPECT_EQ(t.last - t.first + 1, t.length);
      ASSERT_GE(t.first, 1);
      ASSERT_LE(t.last, static_cast<int64_t>(rec.lines.size()));
      // Within the size limits the group gives the channel.
      const int c = t.channel;
      EXPECT_LE(detection->MinLength[c], t.length);
      EXPECT_LT(t.length, detection->MaxLength[c]);
      EXPECT_LE(detection->MinBreadth[c], t.breadth);
      EXPECT_LT(t.breadth, detection->MaxBreadth[c]);
      // Dark on every one of its lines, inside its channel.
      const ChannelPosition& ch = s.ChannelPositions[c];
      for (int64_t line = t.first; line <= t.last; ++line) {
        bool dark = false;
        for (const Segment& seg : rec.lines[static_cast<size_t>(line - 1)]) {
          dark = dark || (seg.Start >= ch.Begin && seg.End <= ch.End);
        }
        EXPECT_TRUE(dark) << "fish at line " << t.first << " has no dark run on line " << line;
      }
    }

    // Counts: continuous recording, so the counter saw exactly these fish.
    int64_t total = 0;
    for (int c = 1; c <= channels; ++c) {
      const ReportChannel& ch = report.channels[c];
      EXPECT_EQ(ch.Counters, perChannel[static_cast<size_t>(c)]);
      EXPECT_EQ(ch.CountersT, ch.Counters);
      total += ch.Counters.value_or(0);
      const ReportDistribution& d = report.distributions[c];
      EXPECT_TRUE(d.hasG0Key);
      int64_t classes = 0;
      for (int k = 1; k <= kReportWeightClasses; ++k) classes += d.G[k].value_or(0);
      EXPECT_EQ(classes, ch.Counters.value_or(-1));
      EXPECT_EQ(d.DNr, std::to_string(*ch.Counters));
      EXPECT_TRUE(integerTextValue(d.AW).has_value());
      // The throughput curve adds up to the fish of its full 10-second steps.
      const ThroughputCurve& curve = throughputCurve(report, c);
      EXPECT_EQ(curve.size(), 12u);
      double perMinute = 0;
      for (const ThroughputChartPoint& p : curve) perMinute += p.y;
      EXPECT_EQ(perMinute / 6, static_cast<double>(*ch.Counters));
    }
    EXPECT_EQ(report.Total, std::to_string(total));
    ASSERT_FALSE(report.storedValues.empty());
    // The last Store line holds the final counts.
    std::string expectedTail;
    for (int c = 1; c <= channels; ++c) expectedTail += "     " + std::to_string(*report.channels[c].Counters);
    const std::string& last = report.storedValues.back();
    EXPECT_EQ(last.substr(8), expectedTail);
  }
}

TEST_F(SimulateTest, SamplingKeepsSamplesEachEndedByTheMarker) {
  const std::string out = base("sampling");
  ASSERT_EQ(run("simulate --out " + out + " --minutes 10.4 --sampling --seed 9").status, 0);
  const Recording rec = decode(fileBytes(out + ".blb"));
  // Samples start 1 s, 311 s and 621 s in; the first two end before the
  // session (624 s) does and are followed by the marker; the third is cut
  // after 3 s by the end of the session, which writes no marker.
  const size_t sample = 10 * 1116;
  ASSERT_EQ(rec.lines.size(), 2 * (sample + 3) + 3 * 1116);
  for (const size_t at : {sample, 2 * sample + 3}) {
    EXPECT_TRUE(rec.lines[at].empty());
    ASSERT_EQ(rec.lines[at + 1].size(), 1u);
    EXPECT_EQ(rec.lines[at + 1][0].Start, 0);
    EXPECT_EQ(rec.lines[at + 1][0].End, 511);
    EXPECT_TRUE(rec.lines[at + 2].empty());
  }
  // Fish lie wholly inside a sample, never across a marker.
  for (const TruthRow& t : readTruth(out + ".truth.csv")) {
    const auto sampleOf = [&](int64_t line) { return (line - 1) / static_cast<int64_t>(sample + 3); };
    EXPECT_EQ(sampleOf(t.first), sampleOf(t.last));
    EXPECT_LE((t.last - 1) % static_cast<int64_t>(sample + 3), static_cast<int64_t>(sample) - 1);
  }
}

// The detection counts the simulated fish: the program's own re-count of the
// recording finds nearly all of them (fish that touch may count as one).
TEST_F(SimulateTest, RecountFindsTheFish) {
  const std::string out = base("recount");
  ASSERT_EQ(run("simulate --out " + out + " --minutes 3 --channels 4 --size-group 3 --seed 11").status, 0);
  const CommandResult counted = run("recount " + out + ".blb --json");
  ASSERT_EQ(counted.status, 0) << counted.out;
  const size_t key = counted.out.find("\"total\": ");
  ASSERT_NE(key, std::string::npos) << counted.out;
  const long total = std::strtol(counted.out.c_str() + key + 9, nullptr, 10);
  const auto fish = static_cast<long>(readTruth(out + ".truth.csv").size());
  EXPECT_GT(fish, 300);
  EXPECT_LE(total, fish);
  EXPECT_GE(total, fish * 95 / 100);
}

TEST_F(SimulateTest, BadArgumentsExitWithTwoAndWriteNothing) {
  const std::string out = base("bad");
  for (const std::string& args : std::vector<std::string>{"", "--minutes 3", "--out " + out + " --channels 5", "--out " + out + " --channels 0",
                                 "--out " + out + " --size-group 10", "--out " + out + " --minutes -1",
                                 "--out " + out + " --minutes abc", "--out " + out + " --seed -3",
                                 "--out " + out + " --fish-per-minute", "--out " + out + " --colour blue"}) {
    const CommandResult r = run("simulate " + args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_FALSE(r.out.empty()) << args;
  }
  EXPECT_FALSE(std::filesystem::exists(out + ".blb"));
  EXPECT_FALSE(std::filesystem::exists(out + ".mse"));
  EXPECT_EQ(run("simulate --out " + testing::TempDir() + "/no/such/folder/x --minutes 1").status, 2);
}

}  // namespace
