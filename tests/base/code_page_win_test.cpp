// The code page as the system has it, under Wine's default Western code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/code_page.h"
#include "base/letter_case.h"
#include "base/utf8.h"

namespace qr {
namespace {

// Address books sort by the system's upper case; the table the native build uses in
// its place must agree with it byte for byte, and every byte must come back as itself.
TEST(CodePageWin, SystemCodePageIsTheWindows1252Table) {
  ASSERT_EQ(GetACP(), 1252u);
  for (int c = 1; c < 256; ++c) {
    const std::string byte(1, static_cast<char>(c));
    EXPECT_EQ(CodePageToUtf8(byte), Windows1252ToUtf8(byte)) << "byte " << c;
    std::string upper;
    ASSERT_TRUE(CodePageFromUtf8(UpperCaseText(CodePageToUtf8(byte)), &upper)) << "byte " << c;
    EXPECT_EQ(static_cast<unsigned char>(upper[0]), UpperCase1252(static_cast<unsigned char>(c)))
        << "byte " << c;
  }
}

// Letters the code page lacks take the system's Unicode upper case, as the native
// build's table gives them for the scripts names are most often written in.
TEST(CodePageWin, LettersOutsideTheCodePageTakeTheSystemsUpperCase) {
  EXPECT_EQ(UpperCaseText("\xC5\x82\xC5\xBC\xC4\x99"), "\xC5\x81\xC5\xBB\xC4\x98");  // l, z, e
  EXPECT_EQ(UpperCaseText("\xE1\xBB\x85\xC6\xB0"), "\xE1\xBB\x84\xC6\xAF");          // Vietnamese
  EXPECT_EQ(UpperCaseText("\xD0\xB6\xCE\xB1"), "\xD0\x96\xCE\x91");  // Cyrillic, Greek
  EXPECT_EQ(UpperCaseText("\xE5\xB1\xB1\xF0\x9F\x98\x80"), "\xE5\xB1\xB1\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace qr
