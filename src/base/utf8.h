// UTF-8, the program's one form of text, and UTF-16, the form Windows takes at its
// boundary. Platform-free: the conversions are plain arithmetic.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qr {

// The replacement character a malformed sequence reads as.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;
// The mark a UTF-8 file may begin with (EF BB BF).
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Decodes the character at `i` and moves `i` past it. A malformed sequence (a stray
// continuation byte, a truncated or overlong sequence, a surrogate, a value past
// U+10FFFF) gives U+FFFD and consumes one byte.
char32_t DecodeUtf8(std::string_view s, std::size_t& i);
// Appends the UTF-8 bytes of `cp` (a surrogate or a value past U+10FFFF as U+FFFD).
void AppendUtf8(std::string& out, char32_t cp);

// How many bytes from the start of `s` are ASCII (below 0x80): text of names is mostly
// ASCII, which every conversion copies as it is, a run at a time.
std::size_t AsciiPrefixLength(std::string_view s);

bool IsValidUtf8(std::string_view s);
// `s` with every malformed sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view s);

// UTF-8 to UTF-16 and back; a malformed sequence or an unpaired surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace qr
