// The store file: where it is, how values read, and what a save keeps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "settings/settings_store.h"
#include "tests/settings/settings_test_util.h"

namespace fs = std::filesystem;

namespace {

TEST(StoreIntegerTest, ParsesLikeStrToIntDef) {
  struct Row { const char* text; std::optional<int32_t> want; };
  const Row rows[] = {
      {"12", 12}, {"-3", -3}, {"+4", 4}, {"  7", 7}, {"007", 7}, {"$1F", 31}, {"0x10", 16}, {"-$10", -16},
      {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"", std::nullopt}, {"-", std::nullopt}, {"$", std::nullopt}, {"7 ", std::nullopt}, {"abc", std::nullopt},
      {"1.5", std::nullopt}, {"1e3", std::nullopt}, {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt}, {"99999999999999999999", std::nullopt}, {"12abc", std::nullopt},
      {"\t5", std::nullopt}, {"$G", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(parseStoreInteger(row.text), row.want) << '"' << row.text << '"';
}

TEST(SettingsStoreTest, TypedReadsFallBackToTheirDefaults) {
  const fs::path path = testFolder() / "store.ini";
  writeBytes(path, "[EKA]\nn=42\nbad=4x\nflag=7\noff=0\nnotbool=yes\ntext=  hello \nempty=\n");
  SettingsStore store(path.string());
  EXPECT_EQ(store.readInteger("N", 1), 42);
  EXPECT_EQ(store.readInteger("bad", -1), -1);
  EXPECT_EQ(store.readInteger("missing", 9), 9);
  EXPECT_TRUE(store.readBool("flag", false));
  EXPECT_FALSE(store.readBool("off", true));
  EXPECT_TRUE(store.readBool("notbool", true));
  EXPECT_FALSE(store.readBool("notbool", false));
  EXPECT_EQ(store.readString("text", "x"), "hello");
  EXPECT_EQ(store.readString("empty", "x"), "");  // present but empty is not absent
  EXPECT_EQ(store.readString("missing", "x"), "x");
}

TEST(SettingsStoreTest, DefaultPathFollowsXdgConfigHome) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = oldXdg != nullptr ? oldXdg : "";
  ::setenv("XDG_CONFIG_HOME", "/some/config", 1);
  EXPECT_EQ(defaultStorePath(), "/some/config/Eka Registry.ini");
  ::setenv("XDG_CONFIG_HOME", "relative/config", 1);  // not absolute: ignored
  EXPECT_EQ(defaultStorePath(), std::string(std::getenv("HOME")) + "/.config/Eka Registry.ini");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(defaultStorePath(), std::string(std::getenv("HOME")) + "/.config/Eka Registry.ini");
  if (oldXdg != nullptr) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST(SettingsStoreTest, WriteCreatesTheFileAndKeepsOtherWritersValues) {
  const fs::path path = testFolder() / "new folder" / "Eka Registry.ini";
  SettingsStore store(path.string());
  ASSERT_TRUE(store.writeInteger("Size Group1", 3));
  EXPECT_EQ(stored(path, "Size Group1"), "3");
  // Another program (or another store object) writes in between.
  SettingsStore other(path.string());
  ASSERT_TRUE(other.writeString("Companyname", "Acme"));
  ASSERT_TRUE(store.writeBool("Threshold", true));
  EXPECT_EQ(stored(path, "Companyname"), "Acme");
  EXPECT_EQ(stored(path, "Threshold"), "1");
  EXPECT_EQ(store.readString("Companyname", ""), "Acme");
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(path.parent_path())) ++entries;
  EXPECT_EQ(entries, 1u);  // no temporary left
}

TEST(SettingsStoreTest, ReadOnlyStoreNeverTouchesItsFile) {
  const fs::path path = testFolder() / "store.ini";
  writeBytes(path, "[Eka]\nThreshold=1\n");
  const std::string before = readBytes(path);
  SettingsStore store(path.string());
  store.setReadOnly(true);
  EXPECT_TRUE(store.writeBool("Threshold", false));
  EXPECT_FALSE(store.readBool("Threshold", true));
  EXPECT_EQ(readBytes(path), before);
}

TEST(SettingsStoreTest, StoreOnNoFileGivesDefaultsAndCannotSave) {
  SettingsStore store;
  EXPECT_EQ(store.readInteger("ByrjunY", 511), 511);
  EXPECT_FALSE(store.writeInteger("ByrjunY", 400));
  const fs::path path = testFolder() / "Eka Registry.ini";
  writeBytes(path, "[Eka]\nByrjunY=300\n");
  store.setPath(path.string());
  EXPECT_EQ(store.readInteger("ByrjunY", 511), 300);
}

}  // namespace
