#include "base/number.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

TEST(ReadNumber, FollowsTheNumberSyntax) {
  struct Case {
    const char* text;
    std::int64_t expected;
  } cases[] = {
      {"", 0},    {"abc", 0},    {"250", 250},  {"  \t 42", 42}, {"-3", -3},
      {"+7", 7},  {"- 3", 0},    {"12abc", 12}, {"$A", 10},      {"$ff", 255},
      {"$1G", 1}, {"-$10", -16}, {"%101", 5},   {"%102", 2},     {"%", 0},
      {"$", 0},   {"1.5", 1},    {"\n5", 0},    {"0012", 12},    {"  -0", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ReadNumber, HugeInputsWrapInsteadOfFailing) {
  EXPECT_EQ(ReadNumber("18446744073709551616"), 0);  // 2^64 wraps to 0
  EXPECT_EQ(ReadNumber32("4294967297"), 1);          // low 32 bits
  EXPECT_EQ(ReadNumber32("-1"), -1);
}

// Only numbers that fit 32 signed bits are taken; larger ones are refused rather than
// cut to their low bits ("4294967297" is not one copy).
TEST(ReadNumber, FittingNumbersAre32BitSigned) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> expected;
  } cases[] = {
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN},
      {"-2147483649", std::nullopt},
      {"4294967297", std::nullopt},
      {"-0", 0},
      {"$7fffffff", 2147483647},
      {"$80000000", std::nullopt},
      {"abc", 0},
      {"99999999999999999999999", std::nullopt},
      {" 12x", 12},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadFittingNumber32(c.text), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace qr

namespace qr {
namespace {

TEST(ReadDecimal64, ReadsSignedDecimalAndSaturates) {
  EXPECT_EQ(ReadDecimal64(""), 0);
  EXPECT_EQ(ReadDecimal64("abc"), 0);
  EXPECT_EQ(ReadDecimal64(" 25"), 25);
  EXPECT_EQ(ReadDecimal64("-7x"), -7);
  EXPECT_EQ(ReadDecimal64("$10"), 0);  // no hexadecimal here
  EXPECT_EQ(ReadDecimal64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(ReadDecimal64("99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(ReadDecimal64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(ReadDecimal64("-99999999999999999999999"), INT64_MIN);
}

}  // namespace
}  // namespace qr
