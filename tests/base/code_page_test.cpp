#include "base/code_page.h"

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
    EXPECT_EQ(Windows1252FromUtf8(c.utf8), c.cp1252);
    EXPECT_EQ(Windows1252ToUtf8(c.cp1252), c.utf8);
  }
}

TEST(CodePageTest, CharactersTheCodePageLacksBecomeQuestionMarks) {
  const struct {
    const char* what;
    std::string utf8;
    std::string expected;
  } cases[] = {
      {"CJK",
       "a\xE6\x9D\xB1"
       "b",
       "a?b"},
      {"astral plane", "\xF0\x9F\x98\x80!", "?!"},
      {"stray continuation byte",
       "a\x80"
       "b",
       "a?b"},
      {"truncated sequence at the end", "ab\xC3", "ab?"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"Windows-1252 bytes given as UTF-8", "J\xFCrgen", "J?rgen"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Windows1252FromUtf8(c.utf8), c.expected);
  }
}

TEST(CodePageTest, BestFitGivesLettersThePlainNeighbourAndSaysSo) {
  const struct {
    std::string utf8;
    std::string expected;
    bool changed;
  } cases[] = {
      {"Zo\xC3\xAB? \xC5\xA0", "Zo\xEB? \x8A", false},  // the code page has them
      {"\xC5\x81ukasz D\xC5\x82uga \xC4\x90", "Lukasz Dluga \xD0", true},
      {"\xC5\x8A \xE6\x9D\xB1 \xC3", "? ? ?", true},  // no neighbour, CJK, malformed
  };
  for (const auto& c : cases) {
    bool changed = !c.changed;
    EXPECT_EQ(Windows1252FromUtf8BestFit(c.utf8, &changed), c.expected);
    EXPECT_EQ(changed, c.changed) << c.expected;
  }
}

TEST(CodePageTest, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Windows1252FromUtf8(Windows1252ToUtf8(all)), all);
  EXPECT_EQ(CodePageFromUtf8(CodePageToUtf8(all)), all);
}

TEST(CodePageTest, ComparesNamesWithoutRegardToLetterCase) {
  EXPECT_TRUE(EqualIgnoringCase("Sender Address", "SENDER address"));
  EXPECT_TRUE(EqualIgnoringCase("\xC4\xD6\xDC\x8A\x8C\x8E\x9F", "\xE4\xF6\xFC\x9A\x9C\x9E\xFF"));
  EXPECT_FALSE(EqualIgnoringCase("\xD7", "\xF7"));  // multiplication and division signs
  EXPECT_FALSE(EqualIgnoringCase("Name", "Names"));
  EXPECT_FALSE(EqualIgnoringCase("[", "{"));
  EXPECT_FALSE(EqualIgnoringCase("@", "`"));
}

}  // namespace
}  // namespace qr
