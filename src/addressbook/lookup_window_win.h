// The "Get Addressee" window: lists the entries whose names begin with a search text and
// lets the user choose one. It runs its own loop over its owner, which does nothing
// until it closes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "addressbook/book_file.h"

namespace qr {

// Runs the window over `owner` (centred on it) for `entries` in file order. Returns
// the position in `entries` of the chosen entry, or nullopt when the user cancelled
// or the window could not be opened.
std::optional<int> RunLookupWindow(HWND owner, const std::vector<AddressEntry>& entries,
                                   const std::string& searchText);

}  // namespace qr
