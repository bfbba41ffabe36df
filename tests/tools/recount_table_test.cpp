// tindavel-cli recount beside the counter's live counts, and --csv over many
// recordings read back by a CSV reader of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/command_runner.h"
#include "tests/tools/csv_reader.h"
#include "tests/records/recount_test_support.h"
#include "tests/temp_folder.h"

namespace {

using namespace recount_test;
namespace fs = std::filesystem;

class RecountTableTest : public TempFolderTest {
 protected:
  CliRun run(const std::vector<std::string>& args) { return runCli("recount", args, dir); }

  // The words of the JSON list under `key` ("null" stays a word).
  static std::vector<std::string> jsonList(const std::string& json, const std::string& key) {
    std::vector<std::string> words;
    const std::string quoted = "\"" + key + "\": [";
    const size_t begin = json.find(quoted);
    if (begin == std::string::npos) return words;
    const size_t end = json.find(']', begin);
    std::istringstream list(json.substr(begin + quoted.size(), end - begin - quoted.size()));
    std::string word;
    while (std::getline(list, word, ',')) words.push_back(word.substr(word.find_first_not_of(' ')));
    return words;
  }

  std::string recording(const std::string& name, int32_t lines, int channels, const std::string& report) {
    return writeRecording(dir / name, recordWords(drawFish(lines, fishEvery(lines, 37, channels))), report);
  }
};

TEST_F(RecountTableTest, LiveCountsAndDifferencesComeFromTheReport) {
  // Channel 2's live count is no number and reads as absent; "Counters4"
  // lies beyond the recording's three channels.
  const std::string path =
      recording("a", 12000, 3, reportFor(3, "Counters1=5\nCounters2=many\nCounters3=900\nCounters4=7\n"));
  const CliRun json = run({path, "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const std::vector<std::string> counts = jsonList(json.out, "counts");
  ASSERT_EQ(counts.size(), 3u) << json.out;
  const int c1 = std::stoi(counts[0]);
  const int c3 = std::stoi(counts[2]);
  ASSERT_GT(c1, 5);
  ASSERT_LT(c3, 900);
  EXPECT_EQ(jsonList(json.out, "live_counts"), (std::vector<std::string>{"5", "null", "900"}));
  EXPECT_EQ(jsonList(json.out, "differences"),
            (std::vector<std::string>{std::to_string(c1 - 5), "null", std::to_string(c3 - 900)}));

  // The summary's rows: channel, re-count, live count, difference.
  const CliRun text = run({path});
  ASSERT_EQ(text.status, 0) << text.err;
  std::vector<Row> table;
  std::istringstream lines(text.out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    Row row;
    for (std::string w; words >> w;) row.push_back(w);
    if (row.size() == 4) table.push_back(row);
  }
  EXPECT_EQ(table, (std::vector<Row>{{"channel", "re-count", "live", "difference"},
                                     {"1", counts[0], "5", "+" + std::to_string(c1 - 5)},
                                     {"2", counts[1], "-", "-"},
                                     {"3", counts[2], "900", std::to_string(c3 - 900)},
                                     {"total", std::to_string(c1 + std::stoi(counts[1]) + c3), "-", "-"}}))
      << text.out;
}

TEST_F(RecountTableTest, CsvHasARowPerChannelAndGoesOnPastAFileItCannotCount) {
  // Two recordings unlike each other, so that state carried from the first
  // into the second would change its counts; the second has a damaged end
  // and a channel name that needs quoting.
  const std::string a = recording("a", 25000, 4, reportFor(4, "Counters2=3\n"));
  std::string reportB = reportFor(2, "Counters1=2\nCounters2=4000\n");
  reportB.replace(reportB.find("Countname1=Ch1"), 14, "Countname1=North, \"big\" pen");
  reportB.replace(reportB.find("DateTime=45000.75"), 17, "DateTime=45001");
  const std::string b = recording("b", 9000, 2, reportB);
  {
    std::ofstream damaged(b, std::ios::binary | std::ios::app);
    damaged << 'x';
  }
  const fs::path broken = dir / "alone.blb";
  writeFile(broken, encodeBinary(recordWords(drawFish(100, {}))));

  const CliRun csv = run({a, broken.string(), b, "--csv"});
  EXPECT_EQ(csv.status, 2);
  EXPECT_NE(csv.err.find("Cant find corresponding reportfile (.mse)"), std::string::npos) << csv.err;
  std::vector<Row> rows;
  ASSERT_TRUE(parseCsv(csv.out, rows)) << csv.out;
  ASSERT_EQ(rows.size(), 1u + 4 + 1 + 2) << csv.out;
  EXPECT_EQ(rows[0], (Row{"file", "start_time", "channel_name", "size_group", "live_count", "recount", "difference",
                          "lines", "damage_kinds", "error"}));
  for (const Row& r : rows) ASSERT_EQ(r.size(), rows[0].size()) << csv.out;

  // Each recording counts as it does alone.
  const std::vector<std::string> countsA = jsonList(run({a, "--json"}).out, "counts");
  const std::vector<std::string> countsB = jsonList(run({b, "--json"}).out, "counts");
  ASSERT_EQ(countsA.size(), 4u);
  ASSERT_EQ(countsB.size(), 2u);
  for (int c = 0; c < 4; ++c) {
    const Row& r = rows[1 + c];
    EXPECT_EQ(r[0], a);
    EXPECT_EQ(r[1], "2023-03-15 12:00:00");  // DateTime less Lasting
    EXPECT_EQ(r[2], "Ch" + std::to_string(c + 1));
    EXPECT_EQ(r[3], " 1 gr");
    EXPECT_EQ(r[5], countsA[c]);
    EXPECT_EQ(r[7], "25000");
    EXPECT_EQ(r[8], "");
    EXPECT_EQ(r[9], "");
  }
  EXPECT_EQ(rows[1][4], "");
  EXPECT_EQ(rows[1][6], "");
  EXPECT_EQ(rows[2][4], "3");
  EXPECT_EQ(rows[2][6], std::to_string(std::stoi(countsA[1]) - 3));

  const Row& failed = rows[5];
  EXPECT_EQ(failed[0], broken.string());
  for (size_t k = 1; k + 1 < failed.size(); ++k) EXPECT_EQ(failed[k], "") << k;
  EXPECT_NE(failed[9].find("Cant find corresponding reportfile (.mse)"), std::string::npos) << failed[9];

  EXPECT_EQ(rows[6][2], "North, \"big\" pen");
  EXPECT_EQ(rows[7][2], "Ch2");
  for (int c = 0; c < 2; ++c) {
    const Row& r = rows[6 + c];
    EXPECT_EQ(r[0], b);
    EXPECT_EQ(r[1], "2023-03-15 18:00:00");
    EXPECT_EQ(r[5], countsB[c]);
    EXPECT_EQ(r[8], "odd byte at end of file");
    EXPECT_EQ(r[9], "");
  }
  EXPECT_EQ(rows[6][6], std::to_string(std::stoi(countsB[0]) - 2));
  EXPECT_EQ(rows[7][6], std::to_string(std::stoi(countsB[1]) - 4000));

  // Every recording counted: status 0. Options that do not fit a batch: 2.
  EXPECT_EQ(run({a, b, "--csv"}).status, 0);
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {a, b}, {a, "--csv", "--json"}, {a, b, "--csv", "--trace", (dir / "t").string()}}) {
    const CliRun r = run(bad);
    EXPECT_EQ(r.status, 2) << bad.back();
    EXPECT_TRUE(r.out.empty()) << bad.back();
  }
}

}  // namespace
