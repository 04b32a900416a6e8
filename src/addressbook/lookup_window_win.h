// The "Get Addressee" window: lists the entries whose names begin with a search text and
// lets the user choose one. It runs its own loop over its owner, which does nothing
// until it closes.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/book_file.h"

namespace qr {

// What "Print Selected" does with the selected rows: the lookup window (to own what
// it shows) and the positions in `entries` of the rows, in list order.
using PrintSelectedFn = std::function<void(HWND, const std::vector<int>&)>;

// Runs the window over `owner` (centred on it) for `entries` in file order. Several
// rows can be selected (Ctrl+click, Shift+click, Ctrl+A); "Print Selected" hands them to
// `printSelected`, "Print Labels" to `printLabels`, and the window stays open. Returns the position
// in `entries` of the chosen entry (Select or a double-click), or nullopt when the user cancelled
// or the window could not be opened.
std::optional<int> RunLookupWindow(HWND owner, const std::vector<AddressEntry>& entries,
                                   const std::string& searchText,
                                   const PrintSelectedFn& printSelected,
                                   const PrintSelectedFn& printLabels);

}  // namespace qr
