// The program's code page on Windows: the system's ANSI code page (CP_ACP), with the
// system's upper-case mappings.
#include <windows.h>

#include "base/code_page_table.h"
#include "base/utf8.h"
#include "base/wide_text_win.h"

namespace qr {

const CodePageTable& SystemCodePage() {
  static const CodePageTable table = [] {
    CodePageTable t;
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      wchar_t wide = 0;
      // A lead byte of a double-byte page, or a byte the page leaves undefined, has no
      // character of its own.
      t.toUnicode[b] = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &byte, 1, &wide, 1) == 1
                           ? static_cast<char32_t>(wide)
                           : CodePageTable::kNoCharacter;
      // The system's upper case of the byte's character when the code page has it as a
      // byte of its own (a letter whose capital the page lacks stays as it is).
      t.upper[b] = static_cast<unsigned char>(b);
      if (t.toUnicode[b] != CodePageTable::kNoCharacter) {
        ::CharUpperBuffW(&wide, 1);
        char upper = 0;
        BOOL lost = FALSE;
        if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, &upper, 1, nullptr,
                                  &lost) == 1 &&
            !lost) {
          t.upper[b] = static_cast<unsigned char>(upper);
        }
      }
    }
    IndexCodePage(t);
    return t;
  }();
  return table;
}

namespace {

std::string DoubleByteToUtf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), n);
  return Utf8(wide);
}

bool DoubleByteFromUtf8(std::string_view utf8, std::string* bytes) {
  bytes->clear();
  if (utf8.empty()) return true;
  if (!IsValidUtf8(utf8)) return false;
  const std::wstring wide = Wide(utf8);
  const int size = static_cast<int>(wide.size());
  // No look-alike characters, and any character replaced by the default one fails.
  BOOL replaced = FALSE;
  const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                      nullptr, &replaced);
  if (n <= 0 || replaced) return false;
  bytes->assign(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes->data(), n, nullptr,
                        &replaced);
  return !replaced;
}

}  // namespace

const MultiByteConversions* SystemMultiByteConversions() {
  static const MultiByteConversions conversions = {DoubleByteToUtf8, DoubleByteFromUtf8};
  static const bool doubleByte = [] {
    CPINFO info = {};
    return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
  }();
  return doubleByte ? &conversions : nullptr;
}

char32_t SystemUpperCase(char32_t cp) {
  wchar_t units[2];
  DWORD count = 1;
  if (cp < 0x10000) {
    units[0] = static_cast<wchar_t>(cp);
  } else {
    units[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    count = 2;
  }
  ::CharUpperBuffW(units, count);
  if (count == 2) return 0x10000 + ((char32_t{units[0]} - 0xD800) << 10) + (units[1] - 0xDC00);
  return units[0];
}

}  // namespace qr
