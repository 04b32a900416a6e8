#include "addressbook/contact.h"

#include "base/code_page.h"
#include "base/utf8.h"

namespace qr {

std::string DecodeContactText(std::string_view text, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kCodePage:
      return CodePageToUtf8(text);
    case TextEncoding::kUtf8:
      return ValidUtf8(text);
    case TextEncoding::kWindows1252:
      return Windows1252ToUtf8(text);
  }
  return {};
}

std::string_view TrimField(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string JoinNameParts(std::string_view first, std::string_view last) {
  std::string name(TrimField(first));
  const std::string_view second = TrimField(last);
  if (!name.empty() && !second.empty()) name += ' ';
  name += second;
  return name;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char a = text[i];
    char b = prefix[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

}  // namespace qr
