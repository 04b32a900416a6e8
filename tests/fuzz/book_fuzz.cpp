// Address book files: whatever a book file holds, sorting it and writing it loses no entry
// that has a name, keeps the name order, and reading back the written file changes nothing
// more (a sorted file is left untouched when the book is read again).
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "addressbook/address_book.h"
#include "addressbook/book_file.h"
#include "addressbook/book_sort.h"
#include "fuzz_check.h"
#include "support/memory_file_system.h"

namespace {

// An entry without its running number, which every write renumbers.
using Content = std::tuple<std::string, std::string, std::string, std::string, std::string,
                           std::string, std::string>;

std::vector<Content> NamedContents(const std::vector<qr::AddressEntry>& entries) {
  std::vector<Content> out;
  for (const qr::AddressEntry& e : entries) {
    if (e.name.empty()) continue;
    out.emplace_back(e.name, e.street, e.suite, e.city, e.state, e.zip, e.listed);
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<qr::AddressEntry> original = qr::ParseBookFile(bytes);

  std::vector<qr::AddressEntry> sorted = original;
  qr::SortEntriesByName(sorted);
  QR_FUZZ_CHECK(sorted.size() == original.size());
  // The running numbers stay with the positions; the entries move.
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    QR_FUZZ_CHECK(sorted[i].number == original[i].number);
  }
  // Between two entries whose key is empty, the entries are in name order.
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    const std::string previous = qr::NameSortKey(sorted[i - 1].name);
    const std::string current = qr::NameSortKey(sorted[i].name);
    if (!previous.empty() && !current.empty()) {
      QR_FUZZ_CHECK(!qr::NameKeyLess(current, previous));
    }
  }

  const std::string written = qr::FormatBookFile(sorted);
  const std::vector<qr::AddressEntry> reread = qr::ParseBookFile(written);
  QR_FUZZ_CHECK(NamedContents(reread) == NamedContents(original));
  for (std::size_t i = 0; i < reread.size(); ++i) {
    QR_FUZZ_CHECK(!reread[i].name.empty());
    QR_FUZZ_CHECK(reread[i].number == std::to_string(i));
  }

  // The store: reading the book sorts the file on disk once; a second read leaves it be.
  qr::testing::MemoryFileSystem fs;
  fs.files["Addresses.adb"] = std::string(bytes);
  qr::AddressBook book;
  book.fileName = "Addresses.adb";
  QR_FUZZ_CHECK(qr::ReadAddressbook(fs, book).ok);
  const std::string onDisk = fs.files["Addresses.adb"];
  QR_FUZZ_CHECK(onDisk == written);
  QR_FUZZ_CHECK(NamedContents(book.entries) == NamedContents(original));
  QR_FUZZ_CHECK(book.entries == qr::ParseBookFile(onDisk));
  // A line without a name holds the entries around it apart in the first sort; once it
  // is dropped they may be sorted together, so only a book without one is final at once.
  QR_FUZZ_CHECK(qr::ReadAddressbook(fs, book).ok);
  QR_FUZZ_CHECK(NamedContents(book.entries) == NamedContents(original));
  const bool hadUnnamed = std::any_of(original.begin(), original.end(),
                                      [](const qr::AddressEntry& e) { return e.name.empty(); });
  if (!hadUnnamed) QR_FUZZ_CHECK(fs.files["Addresses.adb"] == onDisk);
  return 0;
}
