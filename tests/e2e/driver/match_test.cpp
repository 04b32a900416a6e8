#include "match.h"

#include <gtest/gtest.h>

namespace qr::e2e {
namespace {

TEST(LikeMatch, WildcardStaysWithinOneLine) {
  struct Case {
    const char* pattern;
    const char* text;
    bool match;
  } cases[] = {
      {"abc", "abc", true},
      {"abc", "abcd", false},
      {"", "", true},
      {"%*%", "", true},
      {"%*%", "anything", true},
      {"%*%", "two\r\nlines", false},
      {"Printer = %*%\r\n", "Printer = PDF\r\n", true},
      {"Printer = %*%\r\n", "Printer = \r\n", true},
      {"Printer = %*%\r\nX", "Printer = a\r\nb\r\nX", false},
      {"a%*%b%*%c", "a1b2c", true},
      {"a%*%b%*%c", "abbbc", true},
      {"a%*%c", "a1b2", false},
      {"x\\%*%NoImage.bmp", "x\\\\NoImage.bmp", true},
      {"x\\%*%NoImage.bmp", "x\\NoImage.bmp", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LikeMatch(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
  }
}

TEST(SplitLines, AcceptsEveryLineEnd) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(AnyLineMatches, MatchesWholeLinesOnly) {
  const std::string file = "[Application]\r\nVersion = 2.80\r\nLastCheckValue = 17\r\n";
  const std::string counter = "LastCheckValue = ([0-9]|1[0-8])";
  std::string error;
  EXPECT_TRUE(AnyLineMatches(file, counter, &error));
  EXPECT_FALSE(AnyLineMatches("LastCheckValue = 19\r\n", counter, &error));
  EXPECT_FALSE(AnyLineMatches("LastCheckValue = 170\r\n", counter, &error));
  EXPECT_FALSE(AnyLineMatches("xLastCheckValue = 1\r\n", counter, &error));
  EXPECT_EQ(error, "");
  EXPECT_FALSE(AnyLineMatches(file, "([", &error));
  EXPECT_NE(error, "");
}

TEST(RegexQuote, PathsMatchThemselves) {
  const std::string path = "Z:\\w\\run (1)\\data.x+y\\[a]{b}^$|?*";
  std::string error;
  EXPECT_TRUE(AnyLineMatches("Dir = " + path, "Dir = " + RegexQuote(path), &error)) << error;
  EXPECT_FALSE(
      AnyLineMatches("Dir = Z:\\w\\run (1)\\dataAx+y", "Dir = " + RegexQuote(path), &error));
}

TEST(DescribeDifference, PointsAtTheFirstDifferentByte) {
  EXPECT_EQ(DescribeDifference("Version = 2.80\r\n", "Version = 1.00\r\n"),
            "first difference at byte 10 (of 16 expected, 16 found); from byte 0 expected "
            "\"Version = 2.80\\r\\n\", found \"Version = 1.00\\r\\n\"");
  EXPECT_NE(DescribeDifference("abc", "ab").find("at byte 2"), std::string::npos);
  EXPECT_NE(DescribeDifference("", "abc").find("expected <end of file>"), std::string::npos);
  const std::string long_text(100, 'x');
  EXPECT_NE(DescribeDifference(long_text + "1", long_text + "2").find("from byte 80 expected"),
            std::string::npos);
}

}  // namespace
}  // namespace qr::e2e
