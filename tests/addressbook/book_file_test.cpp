#include "addressbook/book_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "address_entry_print.h"

namespace qr {
namespace {

using namespace std::string_literals;

std::vector<std::string> Lines(std::string_view bytes) {
  std::vector<std::string> lines;
  for (std::string_view line : SplitBookLines(bytes)) lines.emplace_back(line);
  return lines;
}

TEST(BookFileTest, LinesEndAtCrLfCrLfOrNul) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\0b\0"s, {"a", "b"}},
      {"a\r\nb", {"a", "b"}},  // last line without terminator
      {"\r\n", {""}},
      {"a\n\nb", {"a", "", "b"}},  // blank line
      {"a\r\rb", {"a", "", "b"}},  // CR then a byte that is not LF: that byte starts a line
      {"a\n\r", {"a", ""}},        // LF CR is two terminators
      {"a\r\n\n", {"a", ""}},
      {"\0\0"s, {"", ""}},
      {"x\0y\r\nz"s, {"x", "y", "z"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Lines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
  }
}

TEST(BookFileTest, LinesSplitIntoEightFieldsByteForByte) {
  struct Case {
    std::string line;
    AddressEntry entry;
  };
  const std::vector<Case> cases = {
      {"A^^^^^^5^1", {"A", "", "", "", "", "", "5", "1"}},
      {"Bob^12 Elm", {"Bob", "12 Elm", "", "", "", "", "", ""}},
      {"", {}},
      {" Oak ^ x^^c^s^z^0^1", {" Oak ", " x", "", "c", "s", "z", "0", "1"}},
      {"n^s^u^c^t^z^7^1^extra^more", {"n", "s", "u", "c", "t", "z", "7", "1"}},
      {"n^^^^^^^", {"n", "", "", "", "", "", "", ""}},
      {"\xE9t\xE9^\xFF", {"\xE9t\xE9", "\xFF", "", "", "", "", "", ""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseBookLine(c.line), c.entry) << c.line;
  }
}

TEST(BookFileTest, AnyLineEndingReadsTheSameAndIsWrittenBackWithCrLf) {
  const std::string crlf =
      "Oak Hardware^ATTN: Receiving^12 Oak Road^Springfield^IL^^0^1\r\n"
      "Pine Bank^ 7 Pine St ^^Dover^DE^19901^1^1\r\n";
  for (const char* end : {"\n", "\r", "\0"}) {
    std::string other = crlf;
    for (std::size_t at; (at = other.find("\r\n")) != std::string::npos;) {
      other.replace(at, 2, std::string(end, 1));
    }
    EXPECT_EQ(ParseBookFile(other), ParseBookFile(crlf));
    EXPECT_EQ(FormatBookFile(ParseBookFile(other)), crlf);
  }
}

TEST(BookFileTest, WritingDropsEmptyNamesRenumbersAndFillsShortLines) {
  const std::string read =
      "A^^^^^^5^1\n"
      "\n"
      "^lost street^^^^^3^1\n"
      "Bob^12 Elm\n"
      "Cy^^^^^^9^0";
  const std::vector<AddressEntry> entries = ParseBookFile(read);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(FormatBookFile(entries),
            "A^^^^^^0^1\r\n"
            "Bob^12 Elm^^^^^1^\r\n"
            "Cy^^^^^^2^0\r\n");

  std::string appended = "first\r\n";
  EXPECT_EQ(AppendBookLines(appended, entries, 4), 7u);
  EXPECT_EQ(appended, "first\r\nA^^^^^^4^1\r\nBob^12 Elm^^^^^5^\r\nCy^^^^^^6^0\r\n");
  EXPECT_EQ(FormatBookFile({}), "");
}

TEST(BookFileTest, FormEntryIsListedWithNumberZero) {
  const AddresseeForm form{
      "Oak Hardware", "ATTN: Receiving", "12 Oak Road", "Springfield", "IL", ""};
  const AddressEntry entry = EntryFromForm(form);
  EXPECT_EQ(FormatBookFile({&entry, 1}),
            "Oak Hardware^ATTN: Receiving^12 Oak Road^Springfield^IL^^0^1\r\n");
}

TEST(BookFileTest, CompanionNamesDeriveFromTheFirstLowerCaseAdb) {
  struct Case {
    std::string chosen, book, base, backup, companion;
  };
  const std::vector<Case> cases = {
      {"Friends.adb", "Friends.adb", "Friends", "Friends.bak", "Friends.inf"},
      {"Friends", "Friends.adb", "Friends", "Friends.bak", "Friends.inf"},
      {"Friends.ADB", "Friends.ADB.adb", "Friends.ADB", "Friends.ADB.bak", "Friends.ADB.inf"},
      {"my.adb.old.adb", "my.adb.old.adb", "my", "my.bak", "my.inf"},
      {"notes.bak", "notes.bak.adb", "notes.bak", "notes.bak.bak", "notes.bak.inf"},
      {"", ".adb", "", ".bak", ".inf"},
  };
  for (const Case& c : cases) {
    const std::string book = WithBookExtension(c.chosen);
    EXPECT_EQ(book, c.book) << c.chosen;
    EXPECT_EQ(BookBaseName(book), c.base) << c.chosen;
    EXPECT_EQ(BackupFileName(book), c.backup) << c.chosen;
    EXPECT_EQ(CompanionFileName(book), c.companion) << c.chosen;
  }
}

}  // namespace
}  // namespace qr
