// The INI reader and writer against the quirks of files written and read by
// the Windows private-profile functions.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <string>

#include "settings/atomic_file.h"
#include "settings/ini_file.h"
#include "settings/text_encoding.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::string valueOr(const IniFile& f, std::string_view section, std::string_view key) {
  return f.value(section, key).value_or("<absent>");
}

}  // namespace

// ---- reading -------------------------------------------------------------

TEST(IniFileTest, NamesMatchWithoutCaseAndFirstOccurrenceWins) {
  const IniFile f = IniFile::fromBytes(
      "[Eka]\nEnablemulti=1\nENABLEMULTI=0\nNrChannels=3\n"
      "[eka]\nExtra=5\nNrChannels=4\n");
  EXPECT_EQ(valueOr(f, "EKA", "enablemulti"), "1");
  EXPECT_EQ(valueOr(f, "eka", "EnableMulti"), "1");
  EXPECT_EQ(valueOr(f, "Eka", "nrchannels"), "3");
  // A repeated section is not searched, as with the Windows functions.
  EXPECT_EQ(valueOr(f, "Eka", "Extra"), "<absent>");
  EXPECT_EQ(f.sectionNames(), (std::vector<std::string>{"Eka"}));
  EXPECT_EQ(f.keys("EKA"), (std::vector<std::string>{"Enablemulti", "NrChannels"}));
}

TEST(IniFileTest, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
  const IniFile f = IniFile::fromBytes(
      "[S]\n"
      "  plain  =   some text \t\n"
      "dq=\"  padded  \"\n"
      "sq='C:\\Reports\\'\n"
      "twice=\"\"inner\"\"\n"
      "mixed=\"abc'\n"
      "lone=\"\n"
      "empty=\n"
      "emptyquotes=\"\"\n"
      "eq=a=b\n");
  EXPECT_EQ(valueOr(f, "S", "plain"), "some text");
  EXPECT_EQ(valueOr(f, "S", "dq"), "  padded  ");
  EXPECT_EQ(valueOr(f, "S", "sq"), "C:\\Reports\\");
  EXPECT_EQ(valueOr(f, "S", "twice"), "\"inner\"");
  EXPECT_EQ(valueOr(f, "S", "mixed"), "\"abc'");
  EXPECT_EQ(valueOr(f, "S", "lone"), "\"");
  EXPECT_EQ(valueOr(f, "S", "empty"), "");
  EXPECT_EQ(valueOr(f, "S", "emptyquotes"), "");
  EXPECT_EQ(valueOr(f, "S", "eq"), "a=b");
}

TEST(IniFileTest, ValueIsCutTo2047Characters) {
  const std::string longValue(3000, 'x');
  const IniFile f = IniFile::fromBytes("[S]\nk=" + longValue + "\nexact=" + std::string(2047, 'y') + "\n");
  EXPECT_EQ(f.value("S", "k")->size(), 2047u);
  EXPECT_EQ(f.value("S", "exact")->size(), 2047u);
  // The cut counts characters, so a multi-byte character is never split.
  std::string wide;
  for (int i = 0; i < 2100; ++i) wide += "\xC3\xBE";  // þ
  const IniFile g = IniFile::fromBytes("[S]\nk=" + wide + "\n");
  EXPECT_EQ(utf8Length(*g.value("S", "k")), 2047u);
  EXPECT_TRUE(isValidUtf8(*g.value("S", "k")));
}

TEST(IniFileTest, CommentsJunkAndLineEnds) {
  const IniFile f = IniFile::fromBytes(
      "orphan=1\r\n"        // before any section: not part of one
      "[A]\r\n"
      "; Total=99\r\n"
      "   ;also=comment\r\n"
      "no equals sign\r\n"
      "=novalue\r\n"
      "[broken header\r\n"
      "Total=7\r\n"
      "[B]\rcr=only\r"       // old Mac line ends
      "[ C ]\nk = v");       // no line end at the very end
  EXPECT_EQ(valueOr(f, "A", "Total"), "7");
  EXPECT_EQ(valueOr(f, "A", ";also"), "<absent>");
  EXPECT_EQ(valueOr(f, "A", "orphan"), "<absent>");
  EXPECT_EQ(valueOr(f, "B", "cr"), "only");
  EXPECT_EQ(valueOr(f, "c", "K"), "v");
  EXPECT_EQ(f.sectionNames(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_FALSE(f.hasSection("orphan"));
  EXPECT_TRUE(f.keys("missing").empty());
}

TEST(IniFileTest, PercentNamesAreLiteral) {
  const IniFile f = IniFile::fromBytes("[Eka]\n%width1=30\n%Width2=40\n");
  EXPECT_EQ(valueOr(f, "Eka", "%width1"), "30");
  EXPECT_EQ(valueOr(f, "Eka", "%WIDTH2"), "40");
  EXPECT_EQ(valueOr(f, "Eka", "%25width1"), "<absent>");
}

TEST(IniFileTest, EightBitTextIsUtf8OrWindows1252) {
  // "Ólafur" in UTF-8, "Þórður – €" in Windows-1252, in one file.
  const IniFile f = IniFile::fromBytes(
      "[Eka]\nCompanyname=\xC3\x93lafur\nCountname1=\xDE\xF3r\xF0ur \x96 \x80\nodd=\x81\n");
  EXPECT_EQ(valueOr(f, "Eka", "Companyname"), "\xC3\x93lafur");
  EXPECT_EQ(valueOr(f, "Eka", "Countname1"), "\xC3\x9E\xC3\xB3r\xC3\xB0ur \xE2\x80\x93 \xE2\x82\xAC");
  EXPECT_EQ(valueOr(f, "Eka", "odd"), "\xC2\x81");
}

TEST(IniFileTest, ByteOrderMarks) {
  EXPECT_EQ(valueOr(IniFile::fromBytes("\xEF\xBB\xBF[S]\nk=v\n"), "S", "k"), "v");
  // UTF-16LE with a mark, as Notepad saves "Unicode".
  const std::u16string text = u"[S]\r\nk=\u00DEr\U0001F41F\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  EXPECT_EQ(valueOr(IniFile::fromBytes(bytes), "S", "k"), "\xC3\x9Er\xF0\x9F\x90\x9F");
  // Marks repeated at the start are all marks, in either encoding and with
  // an odd last byte, and what serialize() writes reads the same again.
  for (const std::string& twice : {std::string("\xEF\xBB\xBF\xEF\xBB\xBF[S]\nk=v\n"),
                                   std::string("\xFF\xFE\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0\n", 19)}) {
    const IniFile f = IniFile::fromBytes(twice);
    EXPECT_EQ(f.sectionNames(), std::vector<std::string>{"S"});
    EXPECT_EQ(valueOr(f, "S", "k"), "v");
    EXPECT_EQ(IniFile::fromBytes(f.serialize()).sectionNames(), std::vector<std::string>{"S"});
  }
}

TEST(IniFileTest, BinaryJunkNeverCrashes) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919 + 13) & 0xFF);
  const IniFile f = IniFile::fromBytes(junk + "\n[Eka]\nk=v\n" + junk);
  EXPECT_EQ(valueOr(f, "Eka", "k"), "v");
  for (const std::string& name : f.sectionNames()) {
    EXPECT_TRUE(isValidUtf8(name));
    for (const std::string& key : f.keys(name)) EXPECT_TRUE(isValidUtf8(*f.value(name, key)));
  }
  // A NUL ends the text of its line.
  EXPECT_EQ(valueOr(IniFile::fromBytes(std::string("[S]\nk=ab\0cd\nm=2\n", 16)), "S", "k"), "ab");
}

TEST(IniFileTest, FromFileFailsOnlyWhenUnreadable) {
  const fs::path folder = testFolder();
  EXPECT_FALSE(IniFile::fromFile((folder / "missing.ini").string()).has_value());
  EXPECT_FALSE(IniFile::fromFile(folder.string()).has_value());
  std::ofstream(folder / "empty.ini").close();
  ASSERT_TRUE(IniFile::fromFile((folder / "empty.ini").string()).has_value());
  EXPECT_TRUE(IniFile::fromFile((folder / "empty.ini").string())->sectionNames().empty());
}

// ---- writing -------------------------------------------------------------

TEST(IniFileRewriteTest, SetValueReplacesAppendsAndAddsSections) {
  IniFile doc = IniFile::fromBytes(
      "; saved by hand\n[Eka]\nEnablemulti=1\nKeep=me\n; trailing comment\n\n[Other]\nx=1\n");
  doc.setValue("EKA", "EnableMulti", "0");
  doc.setValue("Eka", "NrChannels", "2");
  doc.setValue("New", "a", "1");
  doc.setValue("New", "b", "2");
  EXPECT_EQ(doc.serialize(),
            "; saved by hand\r\n[Eka]\r\nEnableMulti=0\r\nKeep=me\r\nNrChannels=2\r\n"
            "; trailing comment\r\n\r\n[Other]\r\nx=1\r\n[New]\r\na=1\r\nb=2\r\n");
  const IniFile back = IniFile::fromBytes(doc.serialize());
  EXPECT_EQ(back.keys("Eka"), (std::vector<std::string>{"EnableMulti", "Keep", "NrChannels"}));
  EXPECT_EQ(back.sectionNames(), (std::vector<std::string>{"Eka", "Other", "New"}));
}

TEST(IniFileRewriteTest, DuplicatesStayAsTheReaderSeesThem) {
  IniFile doc = IniFile::fromBytes("[Eka]\nk=first\nK=second\n[EKA]\nk=third\n");
  doc.setValue("eka", "k", "new");
  const IniFile back = IniFile::fromBytes(doc.serialize());
  EXPECT_EQ(back.value("Eka", "k"), "new");
  EXPECT_EQ(doc.value("Eka", "k"), "new");
  // The untouched lines are kept, not silently dropped.
  EXPECT_NE(doc.serialize().find("K=second"), std::string::npos);
  EXPECT_NE(doc.serialize().find("k=third"), std::string::npos);
}

// Many keys in one section, read and added in any case: each is found under
// every spelling, the first line of a name wins, and the file keeps its order.
TEST(IniFileRewriteTest, ManyKeysAreFoundUnderAnySpelling) {
  std::string text = "[Eka]\n";
  for (int i = 0; i < 300; ++i) {
    text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\nKEY" + std::to_string(i) + "=late\n";
  }
  IniFile doc = IniFile::fromBytes(text);
  for (int i = 300; i < 600; ++i) doc.setValue("Eka", "kEy" + std::to_string(i), std::to_string(i));
  const IniFile back = IniFile::fromBytes(doc.serialize());
  for (const IniFile* file : {static_cast<const IniFile*>(&doc), &back}) {
    const std::vector<std::string> keys = file->keys("eka");
    ASSERT_EQ(keys.size(), 600u);
    for (int i = 0; i < 600; ++i) {
      EXPECT_EQ(keys[static_cast<size_t>(i)], (i < 300 ? "Key" : "kEy") + std::to_string(i));
      EXPECT_EQ(file->section("EKA").value("key" + std::to_string(i)), std::to_string(i));
    }
  }
}

TEST(IniFileRewriteTest, AnswersAfterSetValueAreThoseOfTheSavedFile) {
  IniFile doc = IniFile::fromBytes("[Eka]\nk=first\nK=second\n; note\n[EKA]\nExtra=hidden\nk=third\n[Other]\n");
  doc.setValue("eka", "K", "new");       // replaces the first line and its spelling
  doc.setValue("EKA", "extra", "seen");  // only in the repeated section: added to the first
  doc.setValue("other", "x", "1");       // no value line yet
  EXPECT_EQ(doc.serialize(),
            "[Eka]\r\nK=new\r\nK=second\r\nextra=seen\r\n; note\r\n[EKA]\r\nExtra=hidden\r\nk=third\r\n"
            "[Other]\r\nx=1\r\n");
  EXPECT_EQ(doc.keys("Eka"), (std::vector<std::string>{"K", "extra"}));
  const IniFile back = IniFile::fromBytes(doc.serialize());
  EXPECT_EQ(doc.sectionNames(), back.sectionNames());
  for (const std::string& section : back.sectionNames()) {
    EXPECT_EQ(doc.keys(section), back.keys(section)) << section;
    for (const std::string& key : back.keys(section)) EXPECT_EQ(doc.value(section, key), back.value(section, key));
  }
}

TEST(IniFileRewriteTest, ValuesRoundTripThroughQuoting) {
  const std::vector<std::string> values = {
      "", "plain", "  lead", "trail  ", "\"quoted\"", "'single'", "\"half", "a=b;c", "C:\\Reports\\",
      "\xC3\x9E\xC3\xB3r\xC3\xB0ur", "%width1"};
  IniFile doc;
  for (size_t i = 0; i < values.size(); ++i) doc.setValue("S", "k" + std::to_string(i), values[i]);
  const IniFile back = IniFile::fromBytes(doc.serialize());
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(back.value("S", "k" + std::to_string(i)), values[i]) << "value " << i;
    EXPECT_EQ(doc.value("S", "k" + std::to_string(i)), values[i]) << "value " << i;
  }
}

TEST(IniFileRewriteTest, ALineEndInAValueCannotInjectKeys) {
  IniFile doc;
  doc.setValue("Eka", "Companyname", "Acme\r\n[Eka]\nNrChannels=4");
  doc.setValue("Eka", "NrChannels", "2");
  const IniFile back = IniFile::fromBytes(doc.serialize());
  EXPECT_EQ(back.value("Eka", "NrChannels"), "2");
  EXPECT_EQ(back.keys("Eka").size(), 2u);
  EXPECT_EQ(back.sectionNames().size(), 1u);
}

TEST(IniFileRewriteTest, Windows1252LinesAreRewrittenAsUtf8) {
  IniFile doc = IniFile::fromBytes("[Eka]\r\nCountname1=\xDE\xF3r\r\n");
  doc.setValue("Eka", "Total", "5");
  const std::string out = doc.serialize();
  EXPECT_TRUE(isValidUtf8(out));
  EXPECT_EQ(IniFile::fromBytes(out).value("Eka", "Countname1"), "\xC3\x9E\xC3\xB3r");
}

// ---- atomic save ---------------------------------------------------------

TEST(AtomicSaveTest, ReplacesTheFileAndLeavesNoTemporary) {
  const fs::path folder = testFolder();
  const fs::path target = folder / "sub dir" / "Eka Registry.ini";  // missing folder is made
  ASSERT_TRUE(saveAtomically(target.string(), "first"));
  ::chmod(target.c_str(), 0640);
  ASSERT_TRUE(saveAtomically(target.string(), "second"));
  EXPECT_EQ(fileContents(target), "second");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(target.parent_path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(AtomicSaveTest, FailureLeavesTheOriginalIntact) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const fs::path folder = testFolder();
  const fs::path target = folder / "store.ini";
  ASSERT_TRUE(saveAtomically(target.string(), "original"));
  ::chmod(folder.c_str(), 0555);
  EXPECT_FALSE(saveAtomically(target.string(), "replacement"));
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(fileContents(target), "original");
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(AtomicSaveTest, AWriteCutShortLeavesTheOriginalIntact) {
  // A file size limit makes the write of the temporary fail part-way, as a
  // full disk would; it binds root too.
  const fs::path folder = testFolder();
  const fs::path target = folder / "store.ini";
  ASSERT_TRUE(saveAtomically(target.string(), "original"));
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tight = old;
  tight.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
  const bool saved = saveAtomically(target.string(), std::string(4096, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);
  EXPECT_EQ(fileContents(target), "original");
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(AtomicSaveTest, ReplacesTheFileALinkPointsTo) {
  const fs::path folder = testFolder();
  fs::create_directories(folder / "dotfiles");
  ASSERT_TRUE(saveAtomically((folder / "dotfiles" / "store.ini").string(), "old"));
  fs::create_symlink(folder / "dotfiles" / "store.ini", folder / "link.ini");
  ASSERT_TRUE(saveAtomically((folder / "link.ini").string(), "new"));
  EXPECT_TRUE(fs::is_symlink(folder / "link.ini"));
  EXPECT_EQ(fileContents(folder / "dotfiles" / "store.ini"), "new");
}

TEST(AtomicSaveTest, RefusesAFolderAndAnEmptyPath) {
  const fs::path folder = testFolder();
  EXPECT_FALSE(saveAtomically(folder.string(), "x"));
  EXPECT_FALSE(saveAtomically("", "x"));
  EXPECT_TRUE(fs::is_directory(folder));
}
