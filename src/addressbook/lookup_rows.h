// The rows of the "Get Addressee" window: which entries of the book are listed for the
// text typed into the Name field, and what each column shows. Platform-free, so the
// filter and the row table are tested without a window.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "addressbook/book_file.h"

namespace qr {

// One column of the list: its title and width in pixels.
struct LookupColumn {
  std::string_view title;
  int width;
};

inline constexpr std::array<LookupColumn, 5> kLookupColumns = {{
    {"Name", 185},
    {"Address", 190},
    {"City", 120},
    {"State", 40},
    {"Zip", 78},
}};

// Whether `entry` gets a row for `searchText` (the Name field as typed, not trimmed).
// Only entries whose `listed` is exactly "1" are listed. An empty search text lists
// every such entry with a non-empty name; otherwise the name must begin with the
// search text, byte for byte (letter case counts).
bool ListedForSearch(const AddressEntry& entry, std::string_view searchText);

// The row table: for each row of the list, in row order, the position in `entries` of
// the entry it shows. Rows follow the order of `entries`.
//
// The row keeps the entry's position rather than its stored `number`: the store
// addresses records by position, and a book file whose numbers do not run 0, 1, 2...
// (edited by hand or by another program) must still select, update and delete the
// entry the row shows, never a different one.
std::vector<int> BuildLookupRows(const std::vector<AddressEntry>& entries,
                                 std::string_view searchText);

// The position of the entry shown in `row`, or nothing for a row the table lacks.
std::optional<int> PositionForRow(const std::vector<int>& rows, int row);

// The row that Select takes when rows are selected: the focused row (the one clicked
// last) when it is one of them, else the first selected row; -1 (none) when no row is.
int RowToChoose(int focusedRow, bool focusedSelected, int firstSelectedRow);

// The text of column `column` (0 to 4, as in kLookupColumns) for `entry`: name,
// street, city, state, zip. The suite is not shown. Any other column gives "".
std::string_view LookupCellText(const AddressEntry& entry, int column);

}  // namespace qr
