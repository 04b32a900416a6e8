// The address book's name order computed the slow, literal way: bubble passes over the
// whole list until a pass makes no exchange. The fast sort in the program must give the
// very same order; the tests compare the two and the benchmark times both.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "addressbook/book_file.h"

namespace qr::reference {

inline std::string BubbleSortKey(const std::string& name) {
  std::size_t begin = 0;
  std::size_t end = name.size();
  while (begin < end && name[begin] == ' ') ++begin;
  while (end > begin && name[end - 1] == ' ') --end;
  std::string key;
  for (std::size_t i = begin; i < end; ++i) {
    unsigned c = static_cast<unsigned char>(name[i]);
    if (c >= 'a' && c <= 'z')
      c -= 32;
    else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
      c -= 32;
    else if (c == 0x9A)
      c = 0x8A;
    else if (c == 0x9C)
      c = 0x8C;
    else if (c == 0x9E)
      c = 0x8E;
    else if (c == 0xFF)
      c = 0x9F;
    key += static_cast<char>(c);
  }
  return key;
}

// Byte-wise, unsigned; a key that runs out first is the smaller.
inline bool BubbleKeyGreater(const std::string& a, const std::string& b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x > y;
  }
  return a.size() > b.size();
}

// Exchanges neighbours whose keys are both non-empty and out of order; every field moves
// except `number`, which stays with the position.
inline void BubbleSortEntries(std::vector<AddressEntry>& entries) {
  std::vector<std::string> keys;
  for (const AddressEntry& e : entries) keys.push_back(BubbleSortKey(e.name));
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
      if (keys[i].empty() || keys[i + 1].empty() || !BubbleKeyGreater(keys[i], keys[i + 1])) {
        continue;
      }
      std::swap(keys[i], keys[i + 1]);
      std::swap(entries[i].number, entries[i + 1].number);
      std::swap(entries[i], entries[i + 1]);
      swapped = true;
    }
  }
}

}  // namespace qr::reference
