// Conversion between UTF-8 and the program's single-byte code page, and letter-case
// comparison of names in that code page. All of the program's text is single-byte;
// UTF-8 appears only in settings files that begin with a UTF-8 byte-order mark.
#pragma once

#include <string>
#include <string_view>

namespace qr {

// UTF-8 to the program's code page (the system's ANSI code page on Windows,
// Windows-1252 elsewhere). Characters the code page lacks, and malformed UTF-8,
// become "?".
std::string CodePageFromUtf8(std::string_view utf8);
// The same for text written by other programs (imported contacts): a letter the code
// page lacks becomes its plain neighbour where the system maps one (l with stroke ->
// "l"), anything else "?". `changed` tells whether some character did not come
// through as itself.
std::string CodePageFromUtf8BestFit(std::string_view utf8, bool* changed);
// The program's code page to UTF-8.
std::string CodePageToUtf8(std::string_view text);
// Upper-cases `text` in place by the code page's own single-byte mapping (the system's
// on Windows, Windows-1252's elsewhere): what address books sort by.
void UpperCaseInCodePage(std::string& text);

// The Windows-1252 conversions, on every platform. The five bytes that
// Windows-1252 leaves unassigned map to the C1 controls of the same number, as
// Windows maps them, so every byte survives a round trip.
std::string Windows1252FromUtf8(std::string_view utf8);
std::string Windows1252ToUtf8(std::string_view text);
// Windows-1252 with the plain neighbours of the Latin letters U+0100 to U+017F that it
// lacks, as Windows' best-fit mapping gives them; what CodePageFromUtf8BestFit does on
// other platforms.
std::string Windows1252FromUtf8BestFit(std::string_view utf8, bool* changed);

// Lower-case form of one code-page character: ASCII and the Windows-1252 letters.
char FoldLetterCase(char c);
// Whether two names are equal without regard to letter case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qr
