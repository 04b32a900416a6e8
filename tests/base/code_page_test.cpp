#include "base/code_page.h"
#include "base/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace qr {
namespace {

TEST(CodePageTest, ConvertsBetweenUtf8AndWindows1252) {
  const struct {
    const char* what;
    std::string utf8;
    std::string cp1252;
  } cases[] = {
      {"ASCII", "Main St. #5", "Main St. #5"},
      {"Latin-1 letters",
       "J\xC3\xBCrgen \xC3\x89"
       "cole",
       "J\xFCrgen \xC9"
       "cole"},
      {"0x80 to 0x9F", "\xE2\x82\xAC \xE2\x80\x9C\xC5\xA0\xE2\x80\x9D \xC5\xB8",
       "\x80 \x93\x8A\x94 \x9F"},
      {"unassigned bytes keep their C1 controls", "\xC2\x81\xC2\x9D", "\x81\x9D"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes;
    EXPECT_TRUE(CodePageFromUtf8(c.utf8, &bytes));
    EXPECT_EQ(bytes, c.cp1252);
    EXPECT_EQ(CodePageToUtf8(c.cp1252), c.utf8);
  }
}

TEST(CodePageTest, TextWithACharacterTheCodePageLacksHasNoCodePageForm) {
  const struct {
    const char* what;
    std::string utf8;
  } cases[] = {
      {"CJK", "a\xE6\x9D\xB1"},
      {"astral plane", "\xF0\x9F\x98\x80!"},
      {"a Polish letter with no byte, though best fit would give L", "\xC5\x81ukasz"},
      {"stray continuation byte", "a\x80"},
      {"truncated sequence at the end", "ab\xC3"},
      {"overlong slash", "\xC0\xAF"},
      {"surrogate", "\xED\xA0\x80"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes;
    EXPECT_FALSE(CodePageFromUtf8(c.utf8, &bytes));
  }
}

// What a file of the program holds for its text, and what it reads back.
TEST(CodePageTest, FilesStayInTheCodePageUntilTheirTextNeedsUtf8) {
  const struct {
    const char* what;
    std::string text;   // as the program holds it
    std::string bytes;  // the file
  } cases[] = {
      {"code-page text byte for byte", "Zo\xC3\xAB \xE2\x82\xAC^\r\n", "Zo\xEB \x80^\r\n"},
      {"one name outside the code page makes the whole file UTF-8",
       "Zo\xC3\xAB\r\n\xC5\x81ukasz\r\n", "\xEF\xBB\xBFZo\xC3\xAB\r\n\xC5\x81ukasz\r\n"},
      {"code-page text that would begin with the mark's bytes", "\xC3\xAF\xC2\xBB\xC2\xBF",
       "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(EncodeTextFile(c.text), c.bytes);
    EXPECT_EQ(DecodeTextFile(c.bytes), c.text);
  }
  // A marked file with bytes that are no UTF-8 reads them as U+FFFD.
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF"
                           "a\xFF"
                           "b\xC3"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
  // A file kept UTF-8 stays so.
  EXPECT_EQ(EncodeTextFile("A", /*forceUtf8=*/true),
            "\xEF\xBB\xBF"
            "A");
}

TEST(CodePageTest, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string back;
  ASSERT_TRUE(CodePageFromUtf8(CodePageToUtf8(all), &back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(Windows1252ToUtf8(all), CodePageToUtf8(all));
}

TEST(CodePageTest, UpperCaseKeepsTheCodePageMappingAndTakesTheSystemsForTheRest) {
  // Micro sign: its capital (Greek Mu) is not in the code page, so it stays.
  EXPECT_EQ(UpperCaseText("a\xC3\xBF\xC2\xB5\xC3\x9F"), "A\xC5\xB8\xC2\xB5\xC3\x9F");
  EXPECT_EQ(UpperCaseText("\xC5\x82\xC3\xB3"
                          "d\xC5\xBA"),
            "\xC5\x81\xC3\x93"
            "D\xC5\xB9");
  // Polish, Sami eng, Vietnamese, Greek, Cyrillic; capitals stay capitals.
  EXPECT_EQ(UpperCaseText("\xC4\x85\xC5\x8B\xE1\xBB\x85\xC6\xA1\xCE\xB1\xD0\xB6\xD1\x91\xC5\x81"),
            "\xC4\x84\xC5\x8A\xE1\xBB\x84\xC6\xA0\xCE\x91\xD0\x96\xD0\x81\xC5\x81");
}

TEST(CodePageTest, Utf8AndUtf16ConvertEveryCharacterAndMarkWhatIsBroken) {
  EXPECT_EQ(ValidUtf8("a\x80"
                      "b\xC3"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(u"A\xD83D\xDE00\xDBFF\xDFFF"), "A\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
  EXPECT_EQ(Utf16ToUtf8(u"\x7F\x80\x7FF\x800"), "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80");
  EXPECT_EQ(Utf16ToUtf8(u"\xD800"
                        "a\xE000\xDC00"),
            "\xEF\xBF\xBD"
            "a\xEE\x80\x80\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16("A\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF\xFF"),
            u"A\xD83D\xDE00\xDBFF\xDFFF\xFFFD");
}

TEST(CodePageTest, ComparesNamesWithoutRegardToLetterCase) {
  EXPECT_TRUE(EqualIgnoringCase("Sender Address", "SENDER address"));
  EXPECT_TRUE(EqualIgnoringCase(Windows1252ToUtf8("\xC4\xD6\xDC\x8A\x8C\x8E\x9F"),
                                Windows1252ToUtf8("\xE4\xF6\xFC\x9A\x9C\x9E\xFF")));
  EXPECT_FALSE(EqualIgnoringCase("\xC3\x97", "\xC3\xB7"));  // multiplication and division signs
  EXPECT_FALSE(EqualIgnoringCase("Name", "Names"));
  EXPECT_FALSE(EqualIgnoringCase("[", "{"));
  EXPECT_FALSE(EqualIgnoringCase("@", "`"));
}

}  // namespace
}  // namespace qr
