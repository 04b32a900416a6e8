#include "app/number.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

TEST(ReadNumber, FollowsTheNumberSyntax) {
  struct Case {
    const char* text;
    std::int64_t expected;
  } cases[] = {
      {"", 0},          {"abc", 0},        {"250", 250},        {"  \t 42", 42},
      {"-3", -3},       {"+7", 7},         {"- 3", 0},          {"12abc", 12},
      {"$A", 10},       {"$ff", 255},      {"$1G", 1},          {"-$10", -16},
      {"%101", 5},      {"%102", 2},       {"%", 0},            {"$", 0},
      {"1.5", 1},       {"\n5", 0},        {"0012", 12},        {"  -0", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ReadNumber, HugeInputsWrapInsteadOfFailing) {
  EXPECT_EQ(ReadNumber("18446744073709551616"), 0);  // 2^64 wraps to 0
  EXPECT_EQ(ReadNumber32("4294967297"), 1);          // low 32 bits
  EXPECT_EQ(ReadNumber32("-1"), -1);
}

}  // namespace
}  // namespace qr
