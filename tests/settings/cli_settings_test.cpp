// tindavel-cli settings, run as a separate program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/command_runner.h"
#include "tests/settings/settings_test_util.h"

namespace fs = std::filesystem;

namespace {

CommandResult runCli(const std::string& configHome, const std::string& args) {
  return runCommand("XDG_CONFIG_HOME=" + shellQuoted(configHome) + " " + shellQuoted(kCliPath) + " settings " + args +
                    " 2>/dev/null");
}

bool hasLine(const std::string& out, const std::string& line) {
  return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
}

TEST(CliSettingsTest, EmptyStorePrintsTheDefaults) {
  const fs::path config = testFolder() / "config";
  const CommandResult r = runCli(config.string(), "");
  ASSERT_EQ(r.status, 0) << r.out;
  for (const char* line : {"ByrjunX=0", "ByrjunY=511", "Size Group1=2", "Size Group4=2", "Threshold=0",
                           "autosence=1", "CtrlNone=1", "CtrlBatchSplitter=0", "targetvalue=100", "channelwidth=1",
                           "WCSalmon=128", "%width1=25", "Multib1=10", "Multie1=500", "EnableMulti=0",
                           "Countname1=Counter 1", "Countname4=Counter 4", "Malanr=1", "ChannelWidthMm=1000",
                           "NrChannels=1", "LeftEdge=0", "RightEdge=511", "Channel1=10,500,25"}) {
    EXPECT_TRUE(hasLine(r.out, line)) << line << "\n" << r.out;
  }
  EXPECT_FALSE(hasLine(r.out, "Multib2=510"));
  EXPECT_FALSE(fs::exists(config / "Eka Registry.ini"));  // nothing written
}

TEST(CliSettingsTest, ReadsAnotherStoreAndNeverWritesIt) {
  const fs::path folder = testFolder();
  const fs::path store = folder / "copy.ini";
  writeBytes(store, "[Eka]\nThreshold=1\nNrChannels=2\nMultib2=600\nMultie2=900\nchannelwidth=7\n");
  const std::string before = readBytes(store);
  const CommandResult r = runCli((folder / "config").string(), "--store '" + store.string() + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(hasLine(r.out, "Threshold=0"));
  EXPECT_TRUE(hasLine(r.out, "Channel2=600,900,25"));
  EXPECT_TRUE(hasLine(r.out, "ChannelWidthMm=1400"));
  EXPECT_EQ(readBytes(store), before);
}

TEST(CliSettingsTest, BadArgumentsAndUnreadableStore) {
  const fs::path folder = testFolder();
  EXPECT_EQ(runCli(folder.string(), "--bogus").status, 2);
  EXPECT_EQ(runCli(folder.string(), "--store").status, 2);
  EXPECT_EQ(runCli(folder.string(), "--store '" + folder.string() + "'").status, 2);  // a folder
}

}  // namespace
