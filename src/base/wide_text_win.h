// Text at the Win32 boundary: the program holds UTF-8, Windows' W functions take
// UTF-16. Every window, file name, printer name and GDI text passes through here.
#pragma once

#include <string>
#include <string_view>

#include "base/utf8.h"

namespace qr {

inline std::wstring Wide(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

inline std::string Utf8(std::wstring_view wide) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");
  return Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace qr
