// Helpers shared by the driver's source files.
#pragma once

#include <windows.h>

#include <string>

namespace qr::e2e::detail {

bool ReadWholeFile(const std::string& path, std::string* bytes);
// Writes the file, making its folders first.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Whether a file matching `pattern` (a path that may hold * and ?) exists; its name in `first`.
bool AnyFileMatches(const std::string& pattern, std::string* first);
// Text in double quotes with the scenario language's escapes, for messages.
std::string Quote(const std::string& text);
// IDOK, IDCANCEL, IDYES, IDNO for "OK", "Cancel", "Yes", "No"; 0 otherwise.
int AnswerId(const std::string& answer);

}  // namespace qr::e2e::detail
