// The address book's name order computed the slow, literal way: bubble passes over the
// whole list until a pass makes no exchange. The fast sort in the program must give the
// very same order; the tests compare the two and the benchmark times both.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "addressbook/book_file.h"
#include "base/code_page.h"
#include "base/utf8.h"

namespace qr::reference {

// Character by character: a character the code page has weighs its upper-case byte
// (0 to 255), any other 256 plus its upper-case code point.
inline std::vector<std::uint32_t> BubbleSortKey(const std::string& name) {
  std::size_t begin = 0;
  std::size_t end = name.size();
  while (begin < end && name[begin] == ' ') ++begin;
  while (end > begin && name[end - 1] == ' ') --end;
  std::vector<std::uint32_t> key;
  for (std::size_t i = begin; i < end;) {
    const std::size_t at = i;
    DecodeUtf8(name, i);
    const std::string upper = UpperCaseText(name.substr(at, i - at));
    std::string byte;
    if (CodePageFromUtf8(upper, &byte)) {
      key.push_back(static_cast<unsigned char>(byte[0]));
    } else {
      std::size_t k = 0;
      key.push_back(256 + DecodeUtf8(upper, k));
    }
  }
  return key;
}

// Character by character; a key that runs out first is the smaller.
inline bool BubbleKeyGreater(const std::vector<std::uint32_t>& a,
                             const std::vector<std::uint32_t>& b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] != b[i]) return a[i] > b[i];
  }
  return a.size() > b.size();
}

// Exchanges neighbours whose keys are both non-empty and out of order; every field moves
// except `number`, which stays with the position.
inline void BubbleSortEntries(std::vector<AddressEntry>& entries) {
  std::vector<std::vector<std::uint32_t>> keys;
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
