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

// Imported contacts lose the letters the code page lacks to the system's best-fit
// mapping; the table the native build uses in its place must agree with it.
TEST(CodePageWin, SystemBestFitIsTheLatinTableOfOtherPlatforms) {
  for (unsigned cp = 0x100; cp < 0x180; ++cp) {
    const std::string utf8 = {static_cast<char>(0xC0 | (cp >> 6)),
                              static_cast<char>(0x80 | (cp & 0x3F))};
    bool systemChanged = false;
    bool tableChanged = false;
    EXPECT_EQ(CodePageFromUtf8BestFit(utf8, &systemChanged),
              Windows1252FromUtf8BestFit(utf8, &tableChanged))
        << "U+0" << std::hex << cp;
    EXPECT_EQ(systemChanged, tableChanged) << "U+0" << std::hex << cp;
  }
  bool changed = true;
  EXPECT_EQ(CodePageFromUtf8BestFit("Zo\xC3\xAB?", &changed), "Zo\xEB?");
  EXPECT_FALSE(changed);
  EXPECT_EQ(CodePageFromUtf8BestFit("\xE6\x9D\xB1 \xC3", &changed), "? ?");
  EXPECT_TRUE(changed);
}

}  // namespace
}  // namespace qr
