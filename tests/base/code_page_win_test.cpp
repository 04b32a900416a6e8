// The code page as the system has it, under Wine's default Western code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/code_page.h"
#include "base/letter_case.h"

namespace qr {
namespace {

// Address books sort by the system's upper case; the table the native build uses in
// its place must agree with it byte for byte.
TEST(CodePageWin, SystemUpperCaseIsTheWindows1252Table) {
  ASSERT_EQ(GetACP(), 1252u);
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string upper = all;
  UpperCaseInCodePage(upper);
  for (int c = 1; c < 256; ++c) {
    EXPECT_EQ(static_cast<unsigned char>(upper[c - 1]),
              UpperCase1252(static_cast<unsigned char>(c)))
        << "byte " << c;
  }
}

}  // namespace
}  // namespace qr
