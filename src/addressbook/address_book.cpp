#include "addressbook/address_book.h"

#include "base/code_page.h"

#include <array>
#include <span>
#include <utility>

#include "addressbook/book_sort.h"

namespace qr {

namespace {

StoreResult Failure(std::string reason) { return StoreResult{false, std::move(reason)}; }

std::string CouldNotRead(const std::string& path) { return path + " could not be read."; }
StoreResult Unreadable(const std::string& path) {
  return {.ok = false, .reason = CouldNotRead(path), .unreadable = true};
}
std::string CouldNotWrite(const std::string& path) { return path + " could not be written."; }

bool BookFileExists(FileSystem& fs, const AddressBook& book) {
  return fs.FileExistsInFolder(book.directory, book.fileName);
}

// A book file in name order.
struct SortedBook {
  std::string bytes;                  // the file's sorted form
  std::vector<AddressEntry> entries;  // what reading that form gives: no empty names,
                                      // numbered by position
};

SortedBook SortBook(std::string_view bytes) {
  std::vector<AddressEntry> entries = ParseBookFile(bytes);
  SortEntriesByName(entries);
  SortedBook sorted{FormatBookFile(entries), {}};
  sorted.entries.reserve(entries.size());
  for (AddressEntry& e : entries) {
    if (e.name.empty()) continue;
    e.number = std::to_string(sorted.entries.size());
    sorted.entries.push_back(std::move(e));
  }
  return sorted;
}

// Under the book's lock: rewrites the file that holds `bytes` in its sorted form, unless
// it is sorted already.
StoreResult WriteSorted(FileSystem& fs, const std::string& path, std::string_view bytes,
                        const SortedBook& sorted) {
  if (sorted.bytes != bytes && !WriteFileAtomically(fs, path, sorted.bytes)) {
    return Failure(CouldNotWrite(path) + " It is kept unsorted.");
  }
  return {};
}

// Takes the book's lock for one change. A lock another window held for the whole wait,
// or one that cannot be made, is the result the change reports.
StoreResult LockBook(FileSystem& fs, const AddressBook& book, LockClock& clock, HeldLock* held) {
  *held = LockForChange(fs, book.FilePath(), clock);
  switch (held->status) {
    case LockStatus::kTaken:
      return {};
    case LockStatus::kBusy:
      return {.ok = false, .reason = std::string(kInUseText), .inUse = true};
    case LockStatus::kFailed:
      break;
  }
  return Failure("The lock file " + LockFilePath(book.FilePath()) +
                 " could not be made or opened.");
}

// Under the lock: the entries of the book file as it is now; a missing file is an empty
// book.
StoreResult ReadCurrentEntries(FileSystem& fs, const AddressBook& book,
                               std::vector<AddressEntry>* entries) {
  entries->clear();
  if (!BookFileExists(fs, book)) return {};
  std::string bytes;
  if (!fs.ReadFile(book.FilePath(), &bytes)) return Failure(CouldNotRead(book.FilePath()));
  *entries = ParseBookFile(bytes);
  return {};
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

// After a successful rewrite with `written`, the file form of `entries` (sorted, no empty
// names), still under the lock: reads the book back, sorted. A file that holds what was
// written reads as `entries`, numbered by position. Should the file not be readable, the
// book still holds what was written.
StoreResult ReadBackSorted(FileSystem& fs, AddressBook& book, std::string_view written,
                           std::vector<AddressEntry> entries) {
  book.currentRecord = -1;
  const std::string path = book.FilePath();
  std::string bytes;
  const bool read = fs.ReadFile(path, &bytes);
  if (!read || bytes == written) {
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i].number = std::to_string(i);
    book.entries = std::move(entries);
    return read ? StoreResult{} : Failure(CouldNotRead(path));
  }
  SortedBook sorted = SortBook(bytes);
  const StoreResult result = WriteSorted(fs, path, bytes, sorted);
  book.entries = std::move(sorted.entries);
  return result;
}

// Under the lock: reads the book file into `entries` in file order, as it is.
StoreResult ReadInFileOrder(FileSystem& fs, AddressBook& book) {
  std::string bytes;
  if (!fs.ReadFile(book.FilePath(), &bytes)) return Failure(CouldNotRead(book.FilePath()));
  book.entries = ParseBookFile(bytes);
  return {};
}

std::string NotSavedText(const StoreResult& failed) {
  if (failed.inUse) return failed.reason;
  return "The address book could not be saved. " + failed.reason;
}

bool SameAddress(const AddressEntry& a, const AddressEntry& b) {
  return a.name == b.name && a.street == b.street && a.suite == b.suite && a.city == b.city &&
         a.state == b.state && a.zip == b.zip;
}

// Where the entry with the six fields of `seen` is in `entries`: at `hint` (the place this
// window saw it) when that one has them, otherwise the first that has them.
std::optional<std::size_t> FindAddress(std::span<const AddressEntry> entries,
                                       const AddressEntry& seen, std::size_t hint) {
  if (hint < entries.size() && SameAddress(entries[hint], seen)) return hint;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (SameAddress(entries[i], seen)) return i;
  }
  return std::nullopt;
}

std::string ChangedElsewhereText(const AddressEntry& seen, std::string_view consequence) {
  return "The address \"" + seen.name +
         "\" was changed or deleted in another window meanwhile, so " + std::string(consequence);
}

// The current record as this window last read it; null when there is none.
const AddressEntry* CurrentEntry(const AddressBook& book) {
  const int current = book.currentRecord;
  if (current < 0 || static_cast<std::size_t>(current) >= book.entries.size()) return nullptr;
  return &book.entries[static_cast<std::size_t>(current)];
}

SaveResult NotSaved(const StoreResult& failed) {
  return {SaveOutcome::kSaveFailed, std::string(kNotSavedTitle), NotSavedText(failed)};
}

SaveResult StoreForm(FileSystem& fs, AddressBook& book, const AddresseeForm& form,
                     LockClock& clock) {
  if (const auto found = FindUnstorableCharacter(form)) {
    return {SaveOutcome::kInvalidCharacter, std::string(kInvalidCharacterTitle),
            UnstorableCharacterText(*found)};
  }
  HeldLock lock;
  if (StoreResult r = LockBook(fs, book, clock, &lock); !r.ok) return NotSaved(r);
  std::vector<AddressEntry> entries;
  if (StoreResult r = ReadCurrentEntries(fs, book, &entries); !r.ok) return NotSaved(r);

  AddressEntry stored = EntryFromForm(form);
  std::string notice;
  std::optional<std::size_t> at;
  if (const AddressEntry* seen = book.newEntryFlag ? nullptr : CurrentEntry(book)) {
    at = FindAddress(entries, *seen, static_cast<std::size_t>(book.currentRecord));
    if (!at) notice = ChangedElsewhereText(*seen, "this one was saved as a new entry.");
  }
  if (at) {
    // Update in place: the entry takes the form and is listed.
    std::swap(entries[*at], stored);
  } else {
    // A new entry goes first, so that it comes before entries of the same name.
    entries.insert(entries.begin(), std::move(stored));
  }
  // The file is written in name order at once, as reading it back would sort it: lines
  // without a name are left out, and the others sorted.
  std::erase_if(entries, [](const AddressEntry& e) { return e.name.empty(); });
  SortEntriesByName(entries);
  const std::string bytes = FormatBookFile(entries);
  if (StoreResult r = RewriteWithBackup(fs, book, bytes); !r.ok) return NotSaved(r);
  const StoreResult readBack = ReadBackSorted(fs, book, bytes, std::move(entries));
  book.currentRecord = -1;
  book.newEntryFlag = false;
  if (!readBack.ok) {
    if (!notice.empty()) notice += ' ';
    notice +=
        "The address was saved, but the address book could not be read back. " + readBack.reason;
  }
  if (notice.empty()) return {};
  return {SaveOutcome::kSaved, std::string(kNoticeTitle), notice};
}

}  // namespace

StoreResult ReadAddressbook(FileSystem& fs, AddressBook& book, LockClock& clock) {
  book.currentRecord = -1;
  book.entries.clear();
  if (!BookFileExists(fs, book)) return {};
  const std::string path = book.FilePath();
  std::string bytes;
  if (!fs.ReadFile(path, &bytes)) return Unreadable(path);
  SortedBook sorted = SortBook(bytes);
  StoreResult result;
  if (sorted.bytes != bytes) {
    // Writing the sorted form is a change of the file: made under the lock, on the file
    // as it is then. Another window that holds the lock throughout leaves it sorted.
    const HeldLock lock = LockForChange(fs, path, clock);
    if (lock.status == LockStatus::kTaken) {
      if (fs.ReadFile(path, &bytes)) {
        sorted = SortBook(bytes);
        result = WriteSorted(fs, path, bytes, sorted);
      } else {
        result = Unreadable(path);
      }
    } else if (lock.status == LockStatus::kFailed) {
      result = Failure(CouldNotWrite(path) + " It is kept unsorted.");
    }
  }
  book.entries = std::move(sorted.entries);
  return result;
}

std::string_view StoreFailureTitle(const StoreResult& result) {
  return result.unreadable ? kNotReadTitle : kNotSavedTitle;
}

StoreResult RereadAddressbook(FileSystem& fs, AddressBook& book, LockClock& clock) {
  const std::string path = book.FilePath();
  if (!BookFileExists(fs, book)) {
    // Creating the file is a change too, unless another window makes it meanwhile.
    const HeldLock lock = LockForChange(fs, path, clock);
    if (lock.status == LockStatus::kFailed) return Failure(CouldNotWrite(path));
    if (lock.status == LockStatus::kTaken && !BookFileExists(fs, book) &&
        !WriteFileAtomically(fs, path, "")) {
      return Failure(CouldNotWrite(path));
    }
    if (!BookFileExists(fs, book)) {
      book.entries.clear();
      return {};
    }
  }
  return ReadInFileOrder(fs, book);
}

StoreResult ReadBookAsItIs(FileSystem& fs, const AddressBook& book,
                           std::vector<AddressEntry>* entries, LockClock& clock) {
  HeldLock lock;
  if (StoreResult r = LockBook(fs, book, clock, &lock); !r.ok) return r;
  return ReadCurrentEntries(fs, book, entries);
}

AddEntriesResult AddEntries(FileSystem& fs, AddressBook& book, const ChooseEntries& choose,
                            LockClock& clock) {
  HeldLock lock;
  if (StoreResult r = LockBook(fs, book, clock, &lock); !r.ok) return {false, std::move(r)};
  std::vector<AddressEntry> entries;
  if (StoreResult r = ReadCurrentEntries(fs, book, &entries); !r.ok) return {false, std::move(r)};
  std::vector<AddressEntry> added = choose(entries);
  if (added.empty()) return {};
  // Written in name order, so that reading it back finds nothing to rewrite.
  entries.insert(entries.end(), std::make_move_iterator(added.begin()),
                 std::make_move_iterator(added.end()));
  std::erase_if(entries, [](const AddressEntry& e) { return e.name.empty(); });
  SortEntriesByName(entries);
  const std::string bytes = FormatBookFile(entries);
  if (StoreResult r = RewriteWithBackup(fs, book, bytes); !r.ok) return {false, std::move(r)};
  const AddressEntry* current = CurrentEntry(book);
  const std::optional<AddressEntry> seen =
      current ? std::optional<AddressEntry>(*current) : std::nullopt;
  AddEntriesResult done{true, ReadBackSorted(fs, book, bytes, std::move(entries))};
  if (seen) {
    const auto at = FindAddress(book.entries, *seen, book.entries.size());
    book.currentRecord = at ? static_cast<int>(*at) : -1;
    done.recordGone = !at;
  }
  return done;
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

SaveResult SaveAddressee(FileSystem& fs, AddressBook& book, const AddresseeForm& form,
                         LockClock& clock) {
  if (form.name.find_first_not_of(' ') == std::string::npos) {
    return {SaveOutcome::kInvalidName, std::string(kInvalidNameTitle),
            std::string(kInvalidNameText)};
  }
  return StoreForm(fs, book, form, clock);
}

SaveResult SaveAfterPrinting(FileSystem& fs, AddressBook& book, const AddresseeForm& form,
                             LockClock& clock) {
  if (form.name.empty()) return {SaveOutcome::kNothingToSave, {}, {}};
  return StoreForm(fs, book, form, clock);
}

DeleteResult DeleteCurrentRecord(FileSystem& fs, AddressBook& book, LockClock& clock) {
  const AddressEntry* seen = CurrentEntry(book);
  if (!seen) return {DeleteOutcome::kNoCurrentRecord, {}, {}};
  auto failed = [](const StoreResult& r) {
    return DeleteResult{DeleteOutcome::kDeleteFailed, std::string(kNotSavedTitle), NotSavedText(r)};
  };
  HeldLock lock;
  if (StoreResult r = LockBook(fs, book, clock, &lock); !r.ok) return failed(r);
  std::vector<AddressEntry> entries;
  if (StoreResult r = ReadCurrentEntries(fs, book, &entries); !r.ok) return failed(r);

  DeleteResult result;
  const auto at = FindAddress(entries, *seen, static_cast<std::size_t>(book.currentRecord));
  if (at) {
    // Only that one entry goes; the others are renumbered from 0.
    const std::span<const AddressEntry> all(entries);
    std::string text;
    const std::size_t next = AppendBookLines(text, all.first(*at), 0);
    AppendBookLines(text, all.subspan(*at + 1), next);
    const std::string bytes = EncodeTextFile(text);
    if (StoreResult r = RewriteWithBackup(fs, book, bytes); !r.ok) return failed(r);
    if (!ReadInFileOrder(fs, book).ok) book.entries = ParseBookFile(bytes);
  } else {
    // Nothing to remove: the book is shown as the file holds it now.
    result = {DeleteOutcome::kDeleted, std::string(kNoticeTitle),
              ChangedElsewhereText(*seen, "nothing was deleted.")};
    book.entries = std::move(entries);
  }
  book.currentRecord = -1;
  book.newEntryFlag = false;
  return result;
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
