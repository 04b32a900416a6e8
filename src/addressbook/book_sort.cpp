#include "addressbook/book_sort.h"

#include "base/code_page.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace qr {

std::string NameSortKey(std::string_view name) {
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = name.find_last_not_of(' ');
  std::string key;
  key.reserve(last - first + 1);
  AppendSortKey(key, name.substr(first, last - first + 1));
  return key;
}

bool NameKeyLess(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  const int diff = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
  return diff != 0 ? diff < 0 : a.size() < b.size();
}

void SortEntriesByName(std::vector<AddressEntry>& entries) {
  struct Keyed {
    std::string key;
    std::size_t index;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    keyed.push_back({NameSortKey(entries[i].name), i});
  }
  const auto less = [](const Keyed& a, const Keyed& b) { return NameKeyLess(a.key, b.key); };
  // Entries with an empty key stay where they are and split the list into runs.
  auto runStart = keyed.begin();
  while (runStart != keyed.end()) {
    auto runEnd = std::find_if(runStart, keyed.end(), [](const Keyed& k) { return k.key.empty(); });
    std::stable_sort(runStart, runEnd, less);
    runStart = runEnd == keyed.end() ? runEnd : runEnd + 1;
  }
  // Record numbers belong to positions, not to entries.
  std::vector<std::string> numbers;
  numbers.reserve(entries.size());
  for (AddressEntry& e : entries) numbers.push_back(std::move(e.number));
  std::vector<AddressEntry> sorted;
  sorted.reserve(entries.size());
  for (std::size_t i = 0; i < keyed.size(); ++i) {
    sorted.push_back(std::move(entries[keyed[i].index]));
    sorted.back().number = std::move(numbers[i]);
  }
  entries = std::move(sorted);
}

}  // namespace qr
