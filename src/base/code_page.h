// The system's ANSI code page, in which the program's files were written before they
// could hold any text, and the rules that keep those files and their order as they
// were: text inside the program is UTF-8; a file that begins with the UTF-8 mark is
// UTF-8, any other is in the code page; a file is written in the code page whenever
// every character it holds has an exact byte there.
#pragma once

#include <string>
#include <string_view>

namespace qr {

// Code-page bytes to UTF-8 (the system's ANSI code page on Windows, Windows-1252
// elsewhere). Single-byte: every byte is one character.
std::string CodePageToUtf8(std::string_view bytes);
// UTF-8 to the code page, exactly: false (and `*bytes` unspecified) when a character has
// no byte of its own there. No look-alike letters, no "?".
bool CodePageFromUtf8(std::string_view utf8, std::string* bytes);

// The text of a file's bytes: after the UTF-8 mark, UTF-8 (malformed sequences read as
// U+FFFD); without it, the code page.
std::string DecodeTextFile(std::string_view bytes);
// The bytes of a file holding `utf8`: the code page's bytes when every character has
// one; otherwise the UTF-8 mark followed by the text. `forceUtf8` keeps a file that
// was UTF-8 so.
std::string EncodeTextFile(std::string_view utf8, bool forceUtf8 = false);

// The upper-case form of `utf8` by the system's mapping: a character of the code page
// by the code page's own single-byte mapping (a letter whose capital the page lacks
// stays as it is), any other character by the system's Unicode mapping.
std::string UpperCaseText(std::string_view utf8);

// Appends the sort key of upper-case `utf8` to `key`, so that keys compared as
// unsigned bytes compare character by character: a character of the code page sorts
// by its byte, every other character after all of those, by its code point.
void AppendSortKey(std::string& key, std::string_view utf8);

// Windows-1252 to UTF-8 on every platform (a declared Western charset). The five
// bytes Windows-1252 leaves unassigned map to the C1 controls of the same number.
std::string Windows1252ToUtf8(std::string_view bytes);

// Whether two names are equal without regard to letter case (UpperCaseText's mapping).
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qr
