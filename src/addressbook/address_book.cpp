#include "addressbook/address_book.h"

#include <array>
#include <span>
#include <utility>

#include "addressbook/book_sort.h"

namespace qr {

namespace {

StoreResult Failure(std::string reason) { return StoreResult{false, std::move(reason)}; }

std::string CouldNotRead(const std::string& path) { return path + " could not be read."; }
std::string CouldNotWrite(const std::string& path) { return path + " could not be written."; }

// Sorts the entries of a book file held in `bytes`, writes the sorted form back when it
// differs, and returns the entries as the sorted file holds them.
StoreResult SortBookBytes(FileSystem& fs, const std::string& path, std::string_view bytes,
                          std::vector<AddressEntry>* sorted) {
  std::vector<AddressEntry> entries = ParseBookFile(bytes);
  SortEntriesByName(entries);
  const std::string sortedBytes = FormatBookFile(entries);
  StoreResult result;
  if (sortedBytes != bytes && !WriteFileAtomically(fs, path, sortedBytes)) {
    result = Failure(CouldNotWrite(path) + " It is kept unsorted.");
  }
  if (sorted) {
    // What reading the sorted file gives: no empty names, numbered by position.
    sorted->clear();
    sorted->reserve(entries.size());
    for (AddressEntry& e : entries) {
      if (e.name.empty()) continue;
      e.number = std::to_string(sorted->size());
      sorted->push_back(std::move(e));
    }
  }
  return result;
}

bool BookFileExists(FileSystem& fs, const AddressBook& book) {
  return fs.FileExistsInFolder(book.directory, book.fileName);
}

// Replaces the book file with `bytes`: the old file is copied to the backup first, and a
// rewrite whose backup cannot be made does not happen. The replace itself is atomic.
StoreResult RewriteWithBackup(FileSystem& fs, const AddressBook& book, std::string_view bytes) {
  const std::string path = book.FilePath();
  if (BookFileExists(fs, book)) {
    const std::string backup = book.directory + BackupFileName(book.fileName);
    if (!fs.Copy(path, backup)) return Failure("The backup copy " + backup + " could not be made.");
  }
  if (!WriteFileAtomically(fs, path, bytes)) return Failure(CouldNotWrite(path));
  return {};
}

// After a successful rewrite with `written`: reads the book back, sorted. Should the file
// not be readable, the book still holds what was written.
StoreResult ReadBackSorted(FileSystem& fs, AddressBook& book, std::string_view written) {
  book.currentRecord = -1;
  const std::string path = book.FilePath();
  std::string bytes;
  if (!fs.ReadFile(path, &bytes)) {
    SortBookBytes(fs, path, written, &book.entries);
    return Failure(CouldNotRead(path));
  }
  return SortBookBytes(fs, path, bytes, &book.entries);
}

std::string NotSavedText(const std::string& reason) {
  return "The address book could not be saved. " + reason;
}

SaveResult StoreForm(FileSystem& fs, AddressBook& book, const AddresseeForm& form) {
  if (const auto found = FindUnstorableCharacter(form)) {
    return {SaveOutcome::kInvalidCharacter, std::string(kInvalidCharacterTitle),
            UnstorableCharacterText(*found)};
  }
  std::string bytes;
  const int current = book.currentRecord;
  if (current >= 0 && static_cast<std::size_t>(current) < book.entries.size() &&
      !book.newEntryFlag) {
    // Update in place: the current entry takes the form, keeping its number.
    AddressEntry& entry = book.entries[static_cast<std::size_t>(current)];
    AddressEntry updated = EntryFromForm(form);
    updated.number = entry.number;
    std::swap(entry, updated);
    bytes = FormatBookFile(book.entries);
    std::swap(entry, updated);  // the book changes only once the file has
  } else {
    const AddressEntry added = EntryFromForm(form);
    const std::size_t next = AppendBookLines(bytes, std::span(&added, 1), 0);
    AppendBookLines(bytes, book.entries, next);
  }
  const StoreResult written = RewriteWithBackup(fs, book, bytes);
  if (!written.ok) {
    return {SaveOutcome::kSaveFailed, std::string(kNotSavedTitle), NotSavedText(written.reason)};
  }
  const StoreResult readBack = ReadBackSorted(fs, book, bytes);
  book.currentRecord = -1;
  book.newEntryFlag = false;
  if (!readBack.ok) {
    return {
        SaveOutcome::kSaved, "Address Book",
        "The address was saved, but the address book could not be read back. " + readBack.reason};
  }
  return {};
}

}  // namespace

StoreResult ReadAddressbook(FileSystem& fs, AddressBook& book) {
  book.currentRecord = -1;
  book.entries.clear();
  if (!BookFileExists(fs, book)) return {};
  const std::string path = book.FilePath();
  std::string bytes;
  if (!fs.ReadFile(path, &bytes)) return {false, CouldNotRead(path), true};
  return SortBookBytes(fs, path, bytes, &book.entries);
}

std::string_view StoreFailureTitle(const StoreResult& result) {
  return result.unreadable ? kNotReadTitle : kNotSavedTitle;
}

StoreResult RereadAddressbook(FileSystem& fs, AddressBook& book) {
  const std::string path = book.FilePath();
  if (!BookFileExists(fs, book)) {
    if (!WriteFileAtomically(fs, path, "")) return Failure(CouldNotWrite(path));
    book.entries.clear();
    return {};
  }
  std::string bytes;
  if (!fs.ReadFile(path, &bytes)) return Failure(CouldNotRead(path));
  book.entries = ParseBookFile(bytes);
  return {};
}

StoreResult WriteAddressbook(FileSystem& fs, AddressBook& book, const AddresseeForm* newEntry) {
  std::string bytes;
  std::size_t next = 0;
  if (newEntry) {
    const AddressEntry added = EntryFromForm(*newEntry);
    next = AppendBookLines(bytes, std::span(&added, 1), 0);
  }
  AppendBookLines(bytes, book.entries, next);
  if (StoreResult written = RewriteWithBackup(fs, book, bytes); !written.ok) return written;
  return ReadBackSorted(fs, book, bytes);
}

AddEntriesResult AddEntries(FileSystem& fs, AddressBook& book,
                            std::span<const AddressEntry> added) {
  // Written in name order, so that reading it back finds nothing to rewrite.
  std::vector<AddressEntry> all;
  all.reserve(book.entries.size() + added.size());
  all.insert(all.end(), book.entries.begin(), book.entries.end());
  all.insert(all.end(), added.begin(), added.end());
  SortEntriesByName(all);
  const std::string bytes = FormatBookFile(all);
  if (StoreResult written = RewriteWithBackup(fs, book, bytes); !written.ok) {
    return {false, std::move(written)};
  }
  return {true, ReadBackSorted(fs, book, bytes)};
}

std::optional<UnstorableCharacter> FindUnstorableCharacter(const AddresseeForm& form) {
  const std::array<std::pair<std::string_view, const std::string*>, 6> fields = {{
      {"Name", &form.name},
      {"Street Address/Attn:", &form.street},
      {"Optional Suite, Apt", &form.suite},
      {"City", &form.city},
      {"State", &form.state},
      {"Zipcode", &form.zip},
  }};
  for (const auto& [label, text] : fields) {
    for (const char c : *text) {
      switch (c) {
        case '^':
          return UnstorableCharacter{label, "^"};
        case '\r':
          return UnstorableCharacter{label, "carriage return"};
        case '\n':
          return UnstorableCharacter{label, "line feed"};
        case '\0':
          return UnstorableCharacter{label, "NUL"};
        default:
          break;
      }
    }
  }
  return std::nullopt;
}

std::string UnstorableCharacterText(const UnstorableCharacter& found) {
  std::string what;
  if (found.characterName == "^") {
    what = "\"^\"";
  } else if (found.characterName == "NUL") {
    what = "a NUL character";
  } else {
    what = "a " + std::string(found.characterName);
  }
  return "The \"" + std::string(found.fieldLabel) + "\" field contains " + what +
         ", which an address book cannot store. Please remove it.";
}

SaveResult SaveAddressee(FileSystem& fs, AddressBook& book, const AddresseeForm& form) {
  if (form.name.find_first_not_of(' ') == std::string::npos) {
    return {SaveOutcome::kInvalidName, std::string(kInvalidNameTitle),
            std::string(kInvalidNameText)};
  }
  return StoreForm(fs, book, form);
}

SaveResult SaveAfterPrinting(FileSystem& fs, AddressBook& book, const AddresseeForm& form) {
  if (form.name.empty()) return {SaveOutcome::kNothingToSave, {}, {}};
  return StoreForm(fs, book, form);
}

DeleteResult DeleteCurrentRecord(FileSystem& fs, AddressBook& book) {
  const int current = book.currentRecord;
  if (current < 0 || static_cast<std::size_t>(current) >= book.entries.size()) {
    return {DeleteOutcome::kNoCurrentRecord, {}, {}};
  }
  // The record the form shows is the one at its position; only that one goes.
  const std::span<const AddressEntry> all(book.entries);
  const auto index = static_cast<std::size_t>(current);
  std::string bytes;
  const std::size_t next = AppendBookLines(bytes, all.first(index), 0);
  AppendBookLines(bytes, all.subspan(index + 1), next);
  const StoreResult written = RewriteWithBackup(fs, book, bytes);
  if (!written.ok) {
    return {DeleteOutcome::kDeleteFailed, std::string(kNotSavedTitle),
            NotSavedText(written.reason)};
  }
  if (!RereadAddressbook(fs, book).ok) book.entries = ParseBookFile(bytes);
  book.currentRecord = -1;
  book.newEntryFlag = false;
  return {};
}

void ClearAddressee(AddressBook& book) {
  book.currentRecord = -1;
  book.newEntryFlag = false;
}

bool NewEntryFlagFor(const AddresseeForm& form) {
  return form.street.empty() && form.suite.empty() && form.city.empty() && form.state.empty() &&
         form.zip.empty();
}

void NameChanged(AddressBook& book, const AddresseeForm& form) {
  book.newEntryFlag = NewEntryFlagFor(form);
}

std::optional<AddresseeForm> SelectRecord(AddressBook& book, int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= book.entries.size()) {
    return std::nullopt;
  }
  const AddressEntry& e = book.entries[static_cast<std::size_t>(position)];
  book.currentRecord = position;
  book.newEntryFlag = false;
  return AddresseeForm{e.name, e.street, e.suite, e.city, e.state, e.zip};
}

}  // namespace qr
