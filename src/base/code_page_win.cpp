// The program's code page on Windows: the system's ANSI code page (CP_ACP).
#include <windows.h>

#include <string>

#include "base/code_page.h"

namespace qr {

namespace {

std::wstring Widen(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = ::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string Narrow(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  // Without best-fit mapping a character the code page lacks becomes the default
  // character "?" instead of a look-alike letter.
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
  const int n =
      ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, fallback, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, fallback, nullptr);
  return out;
}

}  // namespace

std::string CodePageFromUtf8(std::string_view utf8) { return Narrow(CP_ACP, Widen(CP_UTF8, utf8)); }

std::string CodePageToUtf8(std::string_view text) { return Narrow(CP_UTF8, Widen(CP_ACP, text)); }

std::string CodePageFromUtf8BestFit(std::string_view utf8, bool* changed) {
  const std::wstring wide = Widen(CP_UTF8, utf8);
  std::string out;
  if (!wide.empty()) {
    // Flags 0: the system's best-fit mapping turns a letter the code page lacks into its
    // plain neighbour; what has none becomes "?".
    const int size = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, "?", nullptr);
    if (n > 0) {
      out.assign(static_cast<std::size_t>(n), '\0');
      ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, out.data(), n, "?", nullptr);
    }
  }
  // Whatever does not read back as the text it came from was replaced, malformed UTF-8
  // (read as U+FFFD) included.
  if (changed) *changed = Widen(CP_ACP, out) != wide;
  return out;
}

void UpperCaseInCodePage(std::string& text) {
  // The system's upper-case mapping of the ANSI code page, byte for byte (a letter
  // whose capital the code page lacks stays as it is).
  if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
}

}  // namespace qr
