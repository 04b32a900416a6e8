#include "addressbook/lookup_rows.h"

#include <cstddef>

namespace qr {

bool ListedForSearch(const AddressEntry& entry, std::string_view searchText) {
  if (entry.listed != "1") return false;
  if (searchText.empty()) return !entry.name.empty();
  return std::string_view(entry.name).starts_with(searchText);
}

std::vector<int> BuildLookupRows(const std::vector<AddressEntry>& entries,
                                 std::string_view searchText) {
  std::vector<int> rows;
  rows.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (ListedForSearch(entries[i], searchText)) rows.push_back(static_cast<int>(i));
  }
  return rows;
}

std::optional<int> PositionForRow(const std::vector<int>& rows, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return std::nullopt;
  return rows[static_cast<std::size_t>(row)];
}

int RowToChoose(int focusedRow, bool focusedSelected, int firstSelectedRow) {
  if (firstSelectedRow < 0) return -1;
  return focusedRow >= 0 && focusedSelected ? focusedRow : firstSelectedRow;
}

std::string_view LookupCellText(const AddressEntry& entry, int column) {
  switch (column) {
    case 0:
      return entry.name;
    case 1:
      return entry.street;
    case 2:
      return entry.city;
    case 3:
      return entry.state;
    case 4:
      return entry.zip;
    default:
      return {};
  }
}

}  // namespace qr
