// Name order of an address book: what the file is rewritten in each time a book is read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "addressbook/book_file.h"

namespace qr {

// The key a name sorts by: spaces (only spaces) cut from both ends, upper-cased by the
// system's mapping, as bytes that compare character by character (AppendSortKey): a
// character of the code page by its byte, any other after all of those.
std::string NameSortKey(std::string_view name);

// Whether key `a` sorts before key `b`: bytes compared as unsigned values, a key that
// is a leading part of the other being the smaller.
bool NameKeyLess(std::string_view a, std::string_view b);

// Puts `entries` in name order in place. An entry whose key is empty never moves, so
// the entries between two such entries are ordered only among themselves; equal keys
// keep their order. Each entry keeps the `number` of the position it lands on, as the
// exchange-by-pairs sort this replaces did. O(n log n).
void SortEntriesByName(std::vector<AddressEntry>& entries);

}  // namespace qr
