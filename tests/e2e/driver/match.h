// Comparisons behind the driver's file checks, kept apart from Win32 so they can be
// tested on their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qr::e2e {

// The wildcard of expect-file-like: it stands for any run of bytes other than CR
// and LF, so it never spans a line break.
inline constexpr std::string_view kWildcard = "%*%";

// Whether `text` matches `pattern` in full, where every kWildcard in `pattern`
// matches any run (possibly empty) of bytes other than CR and LF, and everything
// else must match byte for byte.
bool LikeMatch(std::string_view pattern, std::string_view text);

// Splits text at CR LF, CR or LF (the way the program reads its settings files).
// A final line break does not add an empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Whether any line of `text` matches the ECMAScript regular expression `regex` in
// full. False with `error` set when the expression is malformed.
bool AnyLineMatches(std::string_view text, const std::string& regex, std::string* error);

// Backslash-escapes every character that has a meaning in a regular expression, so
// that a placeholder's value (a Windows path) can be put into a pattern literally.
std::string RegexQuote(std::string_view text);

// For a failed byte-for-byte comparison: the offset of the first difference with a
// short excerpt of both sides around it, escaped for printing.
std::string DescribeDifference(std::string_view expected, std::string_view found);

}  // namespace qr::e2e
