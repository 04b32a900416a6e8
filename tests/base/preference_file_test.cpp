#include "base/preference_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/memory_file_system.h"

namespace qr {
namespace {

using qr::testing::MemoryFileSystem;

constexpr char kPath[] = "data/test.inf";

class PreferenceFileTest : public ::testing::Test {
 protected:
  PreferenceFileTest() { fs_.folders.insert("data/"); }
  std::string& File() { return fs_.files[kPath]; }
  MemoryFileSystem fs_;
};

struct ReadCase {
  const char* what;
  const char* file;
  const char* group;
  const char* key;
  const char* expected;  // "<default>" when the default should come back
};

TEST_F(PreferenceFileTest, ReadsTextByTheReadingRules) {
  const ReadCase cases[] = {
      {"plain", "[Application]\r\nVersion = 2.80\r\n", "Application", "Version", "2.80"},
      {"leading blanks and tabs", "  \t[Application]\r\n \t Version = 2.80\r\n", "Application",
       "Version", "2.80"},
      {"group and key case", "[APPLICATION]\r\nversion = 2.80\r\n", "application", "VERSION",
       "2.80"},
      {"code-page letter case", "[\xC4nderung]\r\n\xC9t\xE9 = 1\r\n", "\xC3\xA4NDERUNG",
       "\xC3\x89T\xC3\x89", "1"},
      {"LF endings", "[A]\nk = v\n", "A", "k", "v"},
      {"CR endings", "[A]\rk = v\r", "A", "k", "v"},
      {"mixed endings, no final break", "[A]\r\n\nx = 1\rk = v", "A", "k", "v"},
      {"equals without blanks", "[Sender Address]\r\nName=Joe Smith\r\n", "Sender Address", "Name",
       "Joe Smith"},
      {"capitals, many blanks", "[Sender Address]\r\nNAME   =   Joe Smith   \r\n", "Sender Address",
       "Name", "Joe Smith"},
      {"tabs around the value", "[A]\r\nk\t=\tv\t\r\n", "A", "k", "v"},
      {"first of duplicate keys", "[A]\r\nk = first\r\nk = second\r\n", "A", "k", "first"},
      {"further equals signs are value", "[A]\r\nk = a=b = c\r\n", "A", "k", "a=b = c"},
      {"line without equals is an empty key", "[A]\r\nk\r\n", "A", "k", ""},
      {"empty value is not absent", "[A]\r\nk = \r\n", "A", "k", ""},
      {"text after the bracket", "  [Application] old name\r\nVersion = 1\r\n", "Application",
       "Version", "1"},
      {"group line without bracket", "[Application\r\nVersion = 1\r\n", "Application", "Version",
       "1"},
      {"key before first group is not in a named group", "Version = 1\r\n[Application]\r\n",
       "Application", "Version", "<default>"},
      {"key before first group is in the unnamed group", "Version = 1\r\n[Application]\r\n", "",
       "Version", "1"},
      {"keys belong to their own group", "[A]\r\nk = 1\r\n[B]\r\nj = 2\r\n", "B", "k", "<default>"},
      {"second group's key", "[A]\r\nk = 1\r\n[B]\r\nk = 2\r\n", "B", "k", "2"},
      {"commented-out key", "[A]\r\n;k = 1\r\n", "A", "k", "<default>"},
      {"unknown group", "[A]\r\nk = 1\r\n", "Missing", "k", "<default>"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    File() = c.file;
    PreferenceFile pf(fs_);
    ASSERT_TRUE(pf.Open(kPath));
    pf.SelectGroup(c.group);
    EXPECT_EQ(pf.ReadText(c.key, "<default>"), c.expected);
  }
}

TEST_F(PreferenceFileTest, ReadsTheLeadingDecimalNumber) {
  const struct {
    const char* value;
    std::int32_t expected;
  } cases[] = {
      {"250", 250},
      {"-3", -3},
      {" \t+7", 7},
      {"letters", 0},
      {"12abc", 12},
      {"", 0},
      {"$10", 0},
      {"%101", 0},
      {"2147483647", 2147483647},
      {"- 5", 0},
      {"-2147483648", -2147483647 - 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    File() = std::string("[Windows Defaults]\r\nWindowX = ") + c.value + "\r\n";
    PreferenceFile pf(fs_);
    ASSERT_TRUE(pf.Open(kPath));
    EXPECT_TRUE(pf.SelectGroup("Windows Defaults"));
    EXPECT_EQ(pf.ReadNumber("WindowX", 99), c.expected);
    EXPECT_EQ(pf.ReadNumber("WindowY", 99), 99);
  }
}

TEST_F(PreferenceFileTest, SelectGroupTellsWhetherTheGroupExists) {
  File() = "k = 0\r\n[Application]\r\n";
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Open(kPath));
  EXPECT_TRUE(pf.SelectGroup("application"));
  EXPECT_FALSE(pf.SelectGroup("Printer Defaults"));
  EXPECT_TRUE(pf.SelectGroup(""));
}

TEST_F(PreferenceFileTest, OnlyReadingLeavesTheFileByteForByte) {
  const std::string original =
      "\r\n; comment\n\n  [Application]  junk\r\n\r\nVersion=1.0   \rNoEquals\r\n\r\n"
      "[Application]\nVersion = 2\n\t\n";
  File() = original;
  {
    PreferenceFile pf(fs_);
    ASSERT_TRUE(pf.Open(kPath));
    pf.SelectGroup("Application");
    EXPECT_EQ(pf.ReadText("Version", ""), "1.0");
    EXPECT_EQ(pf.ReadNumber("NoEquals", 5), 0);
    pf.SelectGroup("Pending");  // a pending group alone writes nothing
    EXPECT_TRUE(pf.Close());
  }
  EXPECT_EQ(File(), original);
  EXPECT_EQ(fs_.creates, 0);
}

TEST_F(PreferenceFileTest, CreatedFileHoldsItsLinesInCallOrder) {
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Create(kPath));
  EXPECT_TRUE(fs_.files.contains(kPath));
  pf.Comment("Title");
  pf.Comment("");
  EXPECT_FALSE(pf.SelectGroup("Application"));
  pf.WriteText("Version", "2.80");
  pf.WriteText("Empty", "");
  pf.WriteNumber("Number", -3);
  pf.Comment("");
  pf.Comment("Next");
  pf.SelectGroup("Other");
  pf.WriteNumber("Zero", 0);
  ASSERT_TRUE(pf.Close());
  EXPECT_EQ(File(),
            "; Title\r\n; \r\n[Application]\r\nVersion = 2.80\r\nEmpty = \r\nNumber = -3\r\n"
            "; \r\n; Next\r\n[Other]\r\nZero = 0\r\n");
}

TEST_F(PreferenceFileTest, WritesReplaceInPlaceInsertInGroupAndAppendNewGroups) {
  File() =
      "; head\n[Sender Address]\nNAME=Old\nStreet =   Main St  \n\n[Printer Defaults]\n"
      "Default Printer=PDF\n";
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Open(kPath));
  EXPECT_TRUE(pf.SelectGroup("sender address"));
  pf.WriteText("Name", "New");            // replaced in place, caller's spelling
  pf.WriteText("CSZ", "Town, ST 12345");  // inserted before the next group line
  pf.Comment("after CSZ");                // after the line last written
  EXPECT_FALSE(pf.SelectGroup("Windows Defaults"));
  pf.WriteNumber("WindowX", 250);  // group and key appended at the end
  EXPECT_EQ(pf.ReadNumber("WindowX", 0), 250);
  ASSERT_TRUE(pf.Close());
  EXPECT_EQ(File(),
            "; head\r\n[Sender Address]\r\nName = New\r\nStreet = Main St  \r\nCSZ = Town, ST "
            "12345\r\n; after CSZ\r\n[Printer Defaults]\r\nDefault Printer = PDF\r\n"
            "[Windows Defaults]\r\nWindowX = 250\r\n");
}

TEST_F(PreferenceFileTest, WritingTheUnnamedGroupStaysBeforeTheFirstGroup) {
  File() = "a = 1\r\n[G]\r\nb = 2\r\n";
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Open(kPath));
  pf.WriteText("c", "3");  // no group selected: the unnamed group
  pf.SelectGroup("G");
  pf.WriteText("B", "4");
  ASSERT_TRUE(pf.Close());
  EXPECT_EQ(File(), "a = 1\r\nc = 3\r\n[G]\r\nB = 4\r\n");
}

TEST_F(PreferenceFileTest, RoundTripKeepsEveryValue) {
  const struct {
    const char* group;
    const char* key;
    const char* value;
  } entries[] = {
      {"Application", "Version", "2.80"},
      {"Application", "AddressbookDirectory", "C:\\ProgramData\\Quarrane\\"},
      {"Sender Address", "Name", "O'Brien & Sons; Ltd. [West]"},
      {"Sender Address", "CSZ", "Springfield, IL = 62701"},
      {"Sender Address", "Logo Filename", ""},
      {"Sender Address", "Return Style", "Bold Italic"},
      {"Printer Defaults", "Default Printer", "\\\\server\\Printer #2"},
      {"Printer Defaults", "Address Font", "Times New Roman"},
  };
  {
    PreferenceFile pf(fs_);
    ASSERT_TRUE(pf.Create(kPath));
    for (const auto& e : entries) {
      pf.SelectGroup(e.group);
      pf.WriteText(e.key, e.value);
    }
  }  // the destructor writes
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Open(kPath));
  for (const auto& e : entries) {
    SCOPED_TRACE(e.key);
    EXPECT_TRUE(pf.SelectGroup(e.group));
    EXPECT_EQ(pf.ReadText(e.key, "<absent>"), e.value);
  }
}

TEST_F(PreferenceFileTest, SavedFileIsNormalised) {
  File() = "\n\n[A]\nk=1\n\n\nx\t=  2\n\n;c\n";
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Open(kPath));
  pf.SelectGroup("A");
  pf.WriteText("k", "one");
  ASSERT_TRUE(pf.Close());
  EXPECT_EQ(File(), "[A]\r\nk = one\r\nx = 2\r\n; c\r\n");
}

TEST_F(PreferenceFileTest, LineBreaksInWrittenTextCannotForgeLines) {
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Create(kPath));
  pf.SelectGroup("Sender Address");
  pf.WriteText("Name", "Joe\r\n[Printer Defaults]\nDefault Printer = Evil");
  pf.Comment("two\nlines");
  ASSERT_TRUE(pf.Close());
  EXPECT_EQ(File(),
            "[Sender Address]\r\nName = Joe  [Printer Defaults] Default Printer = Evil\r\n"
            "; two lines\r\n");
}

TEST_F(PreferenceFileTest, CodePageFileStaysCodePageWhenALineBeginsWithTheMarkBytes) {
  // Not a mark: it follows a line break. Rewritten, the file must not start with it.
  File() = "\r\n \xEF\xBB\xBFx = 1\r\n[Sender Address]\r\nName = J\xFCrgen\r\n";
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Open(kPath));
  pf.SelectGroup("Sender Address");
  pf.WriteText("CSZ", "M\xC3\xBCnchen");
  ASSERT_TRUE(pf.Close());
  EXPECT_TRUE(File().starts_with("\r\n\xEF\xBB\xBFx = 1\r\n"));
  ASSERT_TRUE(pf.Open(kPath));
  pf.SelectGroup("Sender Address");
  EXPECT_EQ(pf.ReadText("Name", ""), "J\xC3\xBCrgen");
  EXPECT_EQ(pf.ReadText("CSZ", ""), "M\xC3\xBCnchen");
  pf.SelectGroup("");
  EXPECT_EQ(pf.ReadText("\xC3\xAF\xC2\xBB\xC2\xBFx", ""), "1");
}

TEST_F(PreferenceFileTest, ByteOrderMarkFileIsReadAndWrittenAsUtf8) {
  // "Jürgen" and a street with a character outside the code page.
  File() =
      "\xEF\xBB\xBF[Sender Address]\nName = J\xC3\xBCrgen\nStreet = 1 \xE6\x9D\xB1 St\n"
      "; \xE2\x82\xAC note\n";
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Open(kPath));
  EXPECT_TRUE(pf.SelectGroup("SENDER ADDRESS"));
  EXPECT_EQ(pf.ReadText("Name", ""), "J\xC3\xBCrgen");
  EXPECT_EQ(pf.ReadText("Street", ""), "1 \xE6\x9D\xB1 St");
  pf.WriteText("CSZ", "Stra\xC3\x9F" "e \xE2\x82\xAC 5");  // sharp s and the euro sign
  EXPECT_FALSE(pf.SelectGroup("\xC3\x84nderung"));
  pf.WriteText("\xC3\x89t\xC3\xA9", "x");
  EXPECT_TRUE(pf.SelectGroup("\xC3\xA4NDERUNG"));
  EXPECT_EQ(pf.ReadText("\xC3\x89T\xC3\x89", ""), "x");
  ASSERT_TRUE(pf.Close());
  // Lines not written keep characters the code page lacks.
  EXPECT_EQ(File(),
            "\xEF\xBB\xBF\r\n[Sender Address]\r\nName = J\xC3\xBCrgen\r\n"
            "Street = 1 \xE6\x9D\xB1 St\r\n; \xE2\x82\xAC note\r\n"
            "CSZ = Stra\xC3\x9F"
            "e \xE2\x82\xAC 5\r\n[\xC3\x84nderung]\r\n\xC3\x89t\xC3\xA9 = x\r\n");
  // Read back, the mark and its line break add nothing.
  ASSERT_TRUE(pf.Open(kPath));
  pf.SelectGroup("Sender Address");
  EXPECT_EQ(pf.ReadText("CSZ", ""), "Stra\xC3\x9F" "e \xE2\x82\xAC 5");
}

TEST_F(PreferenceFileTest, ACodePageFileBecomesUtf8OnlyForTextTheCodePageLacks) {
  const std::string ansi = "[Sender Address]\r\nName = J\xFCrgen\r\n";
  const struct {
    const char* what;
    std::string name;
    std::string file;
  } cases[] = {
      {"code-page text: byte for byte as before", "J\xC3\xBCrgen", ansi},
      {"a name the code page lacks: UTF-8 after the mark", "\xC5\x81ukasz",
       "\xEF\xBB\xBF\r\n[Sender Address]\r\nName = \xC5\x81ukasz\r\n"},
      {"bytes that are no UTF-8: U+FFFD, as the file reads back", "J\xFF",
       "\xEF\xBB\xBF\r\n[Sender Address]\r\nName = J\xEF\xBF\xBD\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    File() = ansi;
    PreferenceFile pf(fs_);
    ASSERT_TRUE(pf.Open(kPath));
    pf.SelectGroup("Sender Address");
    pf.WriteText("Name", c.name);
    ASSERT_TRUE(pf.Close());
    EXPECT_EQ(File(), c.file);
  }
}

TEST_F(PreferenceFileTest, FailedWriteAtCloseLeavesTheOldFileWhole) {
  const std::string original = "[A]\r\nk = old\r\n";
  for (const bool failRename : {false, true}) {
    SCOPED_TRACE(failRename ? "rename fails" : "disk full");
    File() = original;
    fs_.StopFailing();
    fs_.FailOn(failRename ? MemoryFileSystem::Op::Rename : MemoryFileSystem::Op::Write);
    PreferenceFile pf(fs_);
    ASSERT_TRUE(pf.Open(kPath));
    pf.SelectGroup("A");
    pf.WriteText("k", "new");
    EXPECT_FALSE(pf.Close());
    EXPECT_FALSE(pf.IsOpen());
    EXPECT_EQ(File(), original);
    EXPECT_EQ(fs_.files.size(), 1u) << "temporary file left behind";
  }
}

TEST_F(PreferenceFileTest, CreateMakesTheFileAtOnceAndFailsInAMissingFolder) {
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Create(kPath));
  EXPECT_TRUE(fs_.files.contains(kPath));
  EXPECT_EQ(File(), "");

  EXPECT_FALSE(pf.Create("missing/test.inf"));
  EXPECT_FALSE(pf.IsOpen());
  pf.SelectGroup("A");
  pf.WriteText("k", "2");  // goes nowhere
  EXPECT_EQ(pf.ReadText("k", "none"), "none");
  EXPECT_TRUE(pf.Close());
  EXPECT_FALSE(fs_.files.contains("missing/test.inf"));
}

TEST_F(PreferenceFileTest, CreateOverAnExistingFileReplacesItOnlyWhenTheNewOneIsWritten) {
  const std::string original = "[A]\r\nk = 1\r\n";
  File() = original;
  PreferenceFile pf(fs_);
  ASSERT_TRUE(pf.Create(kPath));
  EXPECT_EQ(pf.ReadText("k", "none"), "none");  // a created file starts empty
  pf.SelectGroup("B");
  pf.WriteText("j", "2");
  fs_.FailOn(MemoryFileSystem::Op::Write);
  EXPECT_FALSE(pf.Close());
  EXPECT_EQ(File(), original);  // a failed write leaves the old file whole

  fs_.StopFailing();
  ASSERT_TRUE(pf.Create(kPath));
  EXPECT_TRUE(pf.Close());
  EXPECT_EQ(File(), "");  // created and closed without writes: an empty file
}

TEST_F(PreferenceFileTest, OpeningAnotherFileClosesAndWritesTheFirst) {
  fs_.files["data/other.inf"] = "[B]\r\n";
  PreferenceFile pf(fs_);
  EXPECT_FALSE(pf.Open("data/none.inf"));
  EXPECT_FALSE(pf.IsOpen());
  ASSERT_TRUE(pf.Create(kPath));
  pf.SelectGroup("A");
  pf.WriteText("k", "1");
  ASSERT_TRUE(pf.Open("data/other.inf"));
  EXPECT_EQ(File(), "[A]\r\nk = 1\r\n");
  EXPECT_TRUE(pf.SelectGroup("B"));
  EXPECT_FALSE(pf.SelectGroup("A"));
}

}  // namespace
}  // namespace qr
