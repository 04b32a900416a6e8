// Contact files: whatever a vCard file (QR_FUZZ_VCARD) or a CSV file holds, importing it
// into a book either is refused and leaves the book file as it was, or writes only whole
// entries with a name and clean, trimmed fields; importing it a second time adds nothing;
// and the book's CSV export imports into an empty book as the same entries.
#include <cstdint>
#include <string>
#include <string_view>

#include "addressbook/address_book.h"
#include "addressbook/book_file.h"
#include "addressbook/contacts_import.h"
#include "addressbook/contacts_vcard.h"
#include "fuzz_check.h"
#include "support/memory_file_system.h"

namespace {

constexpr char kStored[] = "Adams^1 Elm St^^Dover^DE^19901^0^1\r\n";

bool Clean(const std::string& field) {
  return field.find_first_of(std::string_view("^\r\n\0", 4)) == std::string::npos &&
         qr::TrimField(field) == field;
}

qr::AddressBook OpenBook(qr::FileSystem& fs, const char* name) {
  qr::AddressBook book;
  book.fileName = name;
  QR_FUZZ_CHECK(qr::ReadAddressbook(fs, book).ok);
  return book;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
#ifdef QR_FUZZ_VCARD
  if (!qr::LooksLikeVCard(bytes)) bytes = "BEGIN:VCARD\r\n" + bytes;
#else
  if (qr::LooksLikeVCard(bytes)) return 0;  // the vCard target's input
#endif
  qr::testing::MemoryFileSystem fs;
  fs.files["Book.adb"] = kStored;
  fs.files["in"] = bytes;
  qr::AddressBook book = OpenBook(fs, "Book.adb");

  const qr::ImportResult first = qr::ImportContacts(fs, book, "in");
  if (first.outcome == qr::ImportOutcome::kRefused) {
    QR_FUZZ_CHECK(fs.files["Book.adb"] == kStored);
    QR_FUZZ_CHECK(!fs.files.contains("Book.bak"));
    return 0;
  }
  QR_FUZZ_CHECK(first.outcome == qr::ImportOutcome::kImported);
  const std::vector<qr::AddressEntry> written = qr::ParseBookFile(fs.files["Book.adb"]);
  QR_FUZZ_CHECK(written.size() == 1 + first.report.imported);
  QR_FUZZ_CHECK(book.entries == written);
  for (const qr::AddressEntry& e : written) {
    QR_FUZZ_CHECK(!e.name.empty() && e.listed == "1");
    for (const std::string* f : {&e.name, &e.street, &e.suite, &e.city, &e.state, &e.zip}) {
      QR_FUZZ_CHECK(Clean(*f));
    }
  }

  // Every named contact is in the book now.
  const qr::ImportResult second = qr::ImportContacts(fs, book, "in");
  QR_FUZZ_CHECK(second.report.imported == 0);
  QR_FUZZ_CHECK(second.report.duplicates == first.report.imported + first.report.duplicates);
  QR_FUZZ_CHECK(second.report.withoutName == first.report.withoutName);
  QR_FUZZ_CHECK(second.report.incomplete == first.report.incomplete);
  QR_FUZZ_CHECK(book.entries == written);

  QR_FUZZ_CHECK(qr::ExportContacts(fs, book, "out.csv").ok);
  qr::AddressBook copy = OpenBook(fs, "Copy.adb");
  const qr::ImportResult back = qr::ImportContacts(fs, copy, "out.csv");
  if (fs.files["out.csv"].size() > qr::kImportSizeLimit) {
    // The header and the quotes can take an export of a file near the limit past it.
    QR_FUZZ_CHECK(back.outcome == qr::ImportOutcome::kRefused);
    return 0;
  }
  QR_FUZZ_CHECK(back.report.imported == written.size());
  QR_FUZZ_CHECK(copy.entries == book.entries);
  return 0;
}
