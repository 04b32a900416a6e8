// The tables behind code_page.h: what each byte of the system's code page is, its
// upper case, and the byte of each character. Filled once, from the system on
// Windows (code_page_win.cpp) and from Windows-1252 elsewhere.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qr {

struct CodePageTable {
  static constexpr char32_t kNoCharacter = 0xFFFFFFFF;
  static constexpr std::uint16_t kNoByte = 0xFFFF;
  // The character of each byte, or kNoCharacter (a lead byte of a double-byte page, a
  // byte the page leaves undefined).
  std::array<char32_t, 256> toUnicode{};
  // Each byte's upper case in the code page.
  std::array<unsigned char, 256> upper{};
  // The byte of each character of the Basic Multilingual Plane, or kNoByte.
  std::vector<std::uint16_t> fromUnicode;

  int ByteOf(char32_t cp) const {
    return cp < fromUnicode.size() && fromUnicode[cp] != kNoByte ? fromUnicode[cp] : -1;
  }
};

// Fills `fromUnicode` from `toUnicode` (the first byte of a character wins).
void IndexCodePage(CodePageTable& table);

// The system's table, made on first use.
const CodePageTable& SystemCodePage();
// The system's upper case of a character the code page lacks.
char32_t SystemUpperCase(char32_t cp);

// A code page with characters of two bytes (the double-byte pages of East Asian
// Windows) is converted by the system as a whole; null for a single-byte page.
struct MultiByteConversions {
  std::string (*toUtf8)(std::string_view bytes);
  bool (*fromUtf8)(std::string_view utf8, std::string* bytes);  // exactly, or false
};
const MultiByteConversions* SystemMultiByteConversions();

}  // namespace qr
