// File > Import Contacts and File > Export Contacts: contacts from a vCard or CSV file
// become entries of the open book, and the book is written as a CSV file.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "addressbook/address_book.h"
#include "addressbook/contact.h"
#include "base/file_system.h"

namespace qr {

inline constexpr std::string_view kImportTitle = "Import Contacts";
inline constexpr std::string_view kImportFilter =
    "Contacts (*.vcf;*.csv)|*.vcf;*.csv|vCard (*.vcf)|*.vcf|CSV (*.csv)|*.csv";
inline constexpr std::string_view kExportTitle = "Export Contacts";
inline constexpr std::string_view kExportFilter = "CSV (*.csv)|*.csv";
// A larger file is refused unread.
inline constexpr std::size_t kImportSizeLimit = std::size_t{64} << 20;

struct ImportReport {
  std::size_t imported = 0;
  std::size_t withoutName = 0;
  std::size_t duplicates = 0;              // the name and street of an entry already in the book
  std::size_t incomplete = 0;              // cards without their END, a record cut off in a quote
};

// Decides for each contact whether it becomes a new entry. Its fields are cleaned first
// ("^", CR, LF and NUL, which a book line cannot hold, become a blank) and trimmed.
// A contact without a name is skipped, and so is one whose name and street equal those
// of an entry (in the book or imported before it), without regard to letter case and
// surrounding blanks.
class ContactMerger {
 public:
  explicit ContactMerger(std::span<const AddressEntry> existing);

  void Add(Contact contact);

  const std::vector<AddressEntry>& added() const { return added_; }
  ImportReport& report() { return report_; }

 private:
  std::unordered_set<std::string> keys_;
  std::vector<AddressEntry> added_;
  ImportReport report_;
};

// The message after an import: how many were imported, how many skipped and why.
std::string ImportReportText(const ImportReport& report, std::string_view bookFileName);

enum class ImportOutcome {
  kImported,  // `text` reports it (also when nothing was new)
  kRefused,   // the file is unreadable, too large, or not a contacts file; book untouched
  kNotSaved,  // the book file could not be rewritten; book untouched
  kInUse,     // another window held the book throughout: `text` is kInUseText, to be
              // titled kNotSavedTitle; book untouched
};

struct ImportResult {
  ImportOutcome outcome = ImportOutcome::kImported;
  std::string text;  // the message, titled kImportTitle
  ImportReport report;
};

// Imports the vCard or CSV file at `path` into `book`: the contacts are merged with the
// book file as it is now, under its lock, and all new entries go in one backup and one
// rewrite of it, which is then read back sorted. Nothing is written when no contact is
// new.
ImportResult ImportContacts(FileSystem& fs, AddressBook& book, const std::string& path,
                            LockClock& clock = SteadyLockClock());

struct ExportResult {
  bool ok = true;
  std::string text;  // the message, titled kExportTitle
};

// Writes the entries of `book` to `path` as CSV (ContactsCsv).
ExportResult ExportContacts(FileSystem& fs, const AddressBook& book, const std::string& path);

}  // namespace qr
