// File > Import Contacts and File > Export Contacts: contacts from a vCard or CSV file
// become entries of the open book, and the book is written as a CSV file.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
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

// A longer field is cut to this many bytes on import.
inline constexpr std::size_t kImportFieldLimit = 1024;

struct ImportReport {
  std::size_t imported = 0;
  std::size_t withoutName = 0;
  std::size_t duplicates = 0;               // the name and street of an entry already in the book
  std::size_t incomplete = 0;               // cards without their END, a record cut off in a quote
  std::size_t shortened = 0;                // imported contacts with a field cut to the limit
  std::vector<std::string> shortenedNames;  // the first of them, for the message
};

// Decides for each contact whether it becomes a new entry. Its fields are cleaned first
// ("^", CR, LF and NUL, which a book line cannot hold, become a blank), trimmed and cut
// to kImportFieldLimit bytes. A contact without a name is skipped, and so is one whose
// name and street equal those of one kept before (without regard to letter case and
// surrounding blanks) or, once DropKnown has run, those of an entry of the book.
class ContactMerger {
 public:
  void Add(Contact contact);
  // Drops the kept contacts that `book` (the book file as it is now) has already.
  void DropKnown(std::span<const AddressEntry> book);
  void CountIncomplete(std::size_t count) { report_.incomplete += count; }

  const std::vector<AddressEntry>& added() const { return added_; }
  std::vector<AddressEntry> TakeAdded() { return std::move(added_); }
  // The counts so far, and the names of the contacts kept with shortened fields; asked
  // before TakeAdded.
  ImportReport Report() const;

 private:
  std::unordered_set<std::string> keys_;
  std::vector<AddressEntry> added_;
  std::vector<bool> shortened_;  // one for each of added_: a field was cut
  ImportReport report_;          // the counts of what was skipped
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
  bool clearForm = false;  // the record the form showed is gone from the book
};

// Imports the vCard or CSV file at `path` into `book`: the file is read and parsed first,
// then the book's lock is taken just to merge the contacts with the book file as it is
// now and write all new entries in one backup and one rewrite of it, which is then read
// back sorted. Nothing is written when no contact is new. A current record stays current
// where the book now has it; when it is gone, `clearForm` says so.
ImportResult ImportContacts(FileSystem& fs, AddressBook& book, const std::string& path,
                            LockClock& clock = SteadyLockClock());

struct ExportResult {
  bool ok = true;
  std::string text;  // the message, titled kExportTitle
};

// Writes the book file of `book` as it is now (read under its lock, with what other
// windows stored) to `path` as CSV (ContactsCsv).
ExportResult ExportContacts(FileSystem& fs, const AddressBook& book, const std::string& path,
                            LockClock& clock = SteadyLockClock());

}  // namespace qr
