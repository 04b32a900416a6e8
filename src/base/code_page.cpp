#include "base/code_page.h"

#include <array>
#include <cstdint>

#include "base/letter_case.h"

namespace qr {

namespace {

// Unicode code points of the Windows-1252 bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

// The Windows-1252 byte of a code point, or '?' when there is none.
char ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// The plain neighbours of U+0100 to U+017F, where Windows-1252 lacks the letter and
// Windows' best-fit mapping gives one; "?" where it gives none. The seven letters
// Windows-1252 has (the S, Z and OE ligature pairs and Y with diaeresis) are taken by
// ByteOf before this table is asked.
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDd\xD0"
    "dEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKk?LlLlLl??LlNnNnNn???OoOoOo??"
    "RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYy?ZzZzZz?";
static_assert(kLatinExtendedA.size() == 0x80);

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `i`, advancing `i`. Malformed input (stray
// continuation bytes, truncated or overlong sequences, surrogates, values past
// U+10FFFF) yields U+FFFD and consumes one byte.
char32_t DecodeUtf8(std::string_view s, std::size_t& i) {
  constexpr char32_t kBad = 0xFFFD;
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return kBad;
  }
  if (i + length > s.size()) {
    ++i;
    return kBad;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kBad;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kBad;
  }
  i += length;
  return cp;
}

}  // namespace

std::string Windows1252FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) out += ByteOf(DecodeUtf8(utf8, i));
  return out;
}

std::string Windows1252FromUtf8BestFit(std::string_view utf8, bool* changed) {
  std::string out;
  out.reserve(utf8.size());
  bool lost = false;
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = DecodeUtf8(utf8, i);
    char byte = ByteOf(cp);
    if (byte == '?' && cp != U'?') {
      lost = true;
      if (cp >= 0x100 && cp < 0x180) byte = kLatinExtendedA[cp - 0x100];
    }
    out += byte;
  }
  if (changed) *changed = lost;
  return out;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char c : text) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
  return out;
}

#ifndef _WIN32
// The Windows build takes the system's code page instead (code_page_win.cpp).
std::string CodePageFromUtf8(std::string_view utf8) { return Windows1252FromUtf8(utf8); }
std::string CodePageToUtf8(std::string_view text) { return Windows1252ToUtf8(text); }
std::string CodePageFromUtf8BestFit(std::string_view utf8, bool* changed) {
  return Windows1252FromUtf8BestFit(utf8, changed);
}
void UpperCaseInCodePage(std::string& text) {
  for (char& c : text) c = static_cast<char>(UpperCase1252(static_cast<unsigned char>(c)));
}
#endif

char FoldLetterCase(char c) {
  return static_cast<char>(LowerCase1252(static_cast<unsigned char>(c)));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldLetterCase(a[i]) != FoldLetterCase(b[i])) return false;
  }
  return true;
}

}  // namespace qr
