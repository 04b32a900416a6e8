#include "base/code_page.h"

#include <array>
#include <cstdint>

#include "base/code_page_table.h"
#include "base/letter_case.h"
#include "base/utf8.h"

namespace qr {

namespace {

// Unicode code points of the Windows-1252 bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Windows1252CodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

// The upper case of `cp`, and its code-page byte when it has one (-1 otherwise).
char32_t UpperCaseOf(const CodePageTable& page, char32_t cp, int* byte) {
  int b = page.ByteOf(cp);
  if (b >= 0) {
    b = page.upper[static_cast<unsigned char>(b)];
    *byte = b;
    return page.toUnicode[static_cast<unsigned char>(b)];
  }
  const char32_t upper = SystemUpperCase(cp);
  *byte = page.ByteOf(upper);
  return upper;
}

}  // namespace

void IndexCodePage(CodePageTable& table) {
  table.fromUnicode.assign(0x10000, CodePageTable::kNoByte);
  for (int b = 255; b >= 0; --b) {
    const char32_t cp = table.toUnicode[b];
    if (cp < 0x10000) table.fromUnicode[cp] = static_cast<std::uint16_t>(b);
  }
}

#ifndef _WIN32
// Elsewhere than Windows the code page is Windows-1252 and the Unicode upper case is a
// small table of the scripts people's names are most often written in; the Windows
// build asks the system (code_page_win.cpp).
const CodePageTable& SystemCodePage() {
  static const CodePageTable table = [] {
    CodePageTable t;
    for (int b = 0; b < 256; ++b) {
      t.toUnicode[b] = Windows1252CodePoint(static_cast<unsigned char>(b));
      t.upper[b] = UpperCase1252(static_cast<unsigned char>(b));
    }
    IndexCodePage(t);
    return t;
  }();
  return table;
}

const MultiByteConversions* SystemMultiByteConversions() { return nullptr; }

// Asked only for characters Windows-1252 lacks: ASCII and Latin-1 are its own.
char32_t SystemUpperCase(char32_t cp) {
  // Latin Extended-A and Latin Extended Additional: capitals and small letters in pairs.
  if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177) ||
      (cp >= 0x1E00 && cp <= 0x1EFF)) {
    return cp & ~char32_t{1};
  }
  if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) {
    return cp % 2 == 0 ? cp - 1 : cp;
  }
  if (cp == 0x1A1 || cp == 0x1B0) return cp - 1;                    // Vietnamese o and u with horn
  if (cp >= 0x3B1 && cp <= 0x3C9 && cp != 0x3C2) return cp - 0x20;  // Greek
  if (cp >= 0x430 && cp <= 0x44F) return cp - 0x20;                 // Cyrillic
  if (cp >= 0x450 && cp <= 0x45F) return cp - 0x50;
  return cp;
}
#endif

std::string CodePageToUtf8(std::string_view bytes) {
  if (const MultiByteConversions* system = SystemMultiByteConversions()) {
    return system->toUtf8(bytes);
  }
  const CodePageTable& page = SystemCodePage();
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t ascii = AsciiPrefixLength(bytes.substr(i));
    out.append(bytes.data() + i, ascii);
    i += ascii;
    if (i == bytes.size()) break;
    const char32_t cp = page.toUnicode[static_cast<unsigned char>(bytes[i++])];
    AppendUtf8(out, cp == CodePageTable::kNoCharacter ? kReplacementCharacter : cp);
  }
  return out;
}

bool CodePageFromUtf8(std::string_view utf8, std::string* bytes) {
  if (const MultiByteConversions* system = SystemMultiByteConversions()) {
    return system->fromUtf8(utf8, bytes);
  }
  const CodePageTable& page = SystemCodePage();
  bytes->clear();
  bytes->reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t ascii = AsciiPrefixLength(utf8.substr(i));
    bytes->append(utf8.data() + i, ascii);
    i += ascii;
    if (i == utf8.size()) break;
    const std::size_t at = i;
    const char32_t cp = DecodeUtf8(utf8, i);
    const int b = page.ByteOf(cp);
    // A malformed sequence is no character of the page, even where U+FFFD would be.
    if (b < 0 || (cp == kReplacementCharacter && utf8.substr(at, 3) != "\xEF\xBF\xBD")) {
      return false;
    }
    *bytes += static_cast<char>(b);
  }
  return true;
}

std::string DecodeTextFile(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return ValidUtf8(bytes.substr(kUtf8Mark.size()));
  return CodePageToUtf8(bytes);
}

std::string EncodeTextFile(std::string_view utf8, bool forceUtf8) {
  std::string bytes;
  // A code-page file must not begin with the mark's bytes, or it would read back as UTF-8.
  if (!forceUtf8 && CodePageFromUtf8(utf8, &bytes) && !bytes.starts_with(kUtf8Mark)) return bytes;
  bytes.assign(kUtf8Mark);
  bytes += ValidUtf8(utf8);
  return bytes;
}

std::string UpperCaseText(std::string_view utf8) {
  const CodePageTable& page = SystemCodePage();
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(page.upper[lead]);
      ++i;
      continue;
    }
    int byte = 0;
    AppendUtf8(out, UpperCaseOf(page, DecodeUtf8(utf8, i), &byte));
  }
  return out;
}

void AppendSortKey(std::string& key, std::string_view utf8) {
  const CodePageTable& page = SystemCodePage();
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    int byte = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
      byte = page.upper[lead];
      ++i;
    } else {
      cp = UpperCaseOf(page, DecodeUtf8(utf8, i), &byte);
    }
    // One byte for the bytes 00 to FE; FF 00 for FF; FF and three bytes of the code
    // point (offset so that the first is never 00) for a character outside the page.
    // No code is the start of another, so byte order is character order.
    if (byte >= 0 && byte < 0xFF) {
      key += static_cast<char>(byte);
    } else if (byte == 0xFF) {
      key += '\xFF';
      key += '\0';
    } else {
      const char32_t weight = cp + 0x10000;
      key += '\xFF';
      key += static_cast<char>(weight >> 16);
      key += static_cast<char>((weight >> 8) & 0xFF);
      key += static_cast<char>(weight & 0xFF);
    }
  }
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) AppendUtf8(out, Windows1252CodePoint(static_cast<unsigned char>(c)));
  return out;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a == b) return true;
  return UpperCaseText(a) == UpperCaseText(b);
}

}  // namespace qr
