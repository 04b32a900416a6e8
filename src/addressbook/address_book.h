// The open address book behind the addressee form, and the commands that add, update,
// delete and clear records. The book file is the master copy, and other windows may
// change it too: every change takes the book's lock, reads the file as it is now,
// applies this window's one change to it, rewrites it (backup first, then an atomic
// replace), reads it back and releases the lock. Nothing here shows anything: each
// command returns what the window has to do and the texts it has to show.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/book_file.h"
#include "base/file_lock.h"
#include "base/file_system.h"

namespace qr {

struct AddressBook {
  std::string directory;  // ends with a path separator (or is empty: the current folder)
  std::string fileName;   // always contains ".adb"
  std::vector<AddressEntry> entries;  // the lines of the book file, in file order
  int currentRecord = -1;             // position of the entry the form shows; -1 for none
  bool newEntryFlag = false;          // the Name was typed into an otherwise empty form

  std::string FilePath() const { return directory + fileName; }
};

// Outcome of a file operation; `reason` says what went wrong when `ok` is false.
struct StoreResult {
  bool ok = true;
  std::string reason;
  bool unreadable = false;  // the failure was that the book file could not be read
  bool inUse = false;       // another window held the book's lock; `reason` is kInUseText
};

// Sorts the book file on disk by name (under the book's lock, when it is not sorted
// yet), then reads it into `entries` (numbers set to the line positions). A missing file
// gives an empty book. `currentRecord` becomes -1. Should another window hold the lock
// throughout, the file is left as it is and the book is still read sorted.
StoreResult ReadAddressbook(FileSystem& fs, AddressBook& book,
                            LockClock& clock = SteadyLockClock());

// Reads the book file into `entries` in file order, stored numbers included, without
// sorting; creates the file empty (under the lock) when it does not exist.
// `currentRecord` is kept. On failure `entries` stay as they were.
StoreResult RereadAddressbook(FileSystem& fs, AddressBook& book,
                              LockClock& clock = SteadyLockClock());

// The entries of the book file as it is now, in file order, read under its lock so that
// they include every change another window has made; a missing file is an empty book.
// `book` itself is not changed.
StoreResult ReadBookAsItIs(FileSystem& fs, const AddressBook& book,
                           std::vector<AddressEntry>* entries,
                           LockClock& clock = SteadyLockClock());

// Adds entries to the book in one change under its lock: `choose` gets the entries of
// the file as it is now and returns those to add after them; they are written in one
// backup and one rewrite, in name order, and the book is read back. Nothing is written
// when `choose` returns none (or is not asked, because the lock or the file could not be
// had). On a failed rewrite the file and `entries` stay as they were. After a rewrite
// the current record is found again by its six fields as this window last read them.
struct AddEntriesResult {
  bool written = false;     // the book file holds the added entries
  StoreResult result;       // why the rewrite failed, or how reading the book back went
  bool recordGone = false;  // the current record is no longer in the book (another
                            // window changed or deleted it): none is current now
};
using ChooseEntries =
    std::function<std::vector<AddressEntry>(std::span<const AddressEntry> current)>;
AddEntriesResult AddEntries(FileSystem& fs, AddressBook& book, const ChooseEntries& choose,
                            LockClock& clock = SteadyLockClock());

// What the window must do after a save or a delete.
enum class SaveOutcome {
  kSaved,             // empty the six fields and focus the Name field; `text`, when not
                      // empty, is a notice to show (saved as a new entry because another
                      // window changed the record; saved, but not read back / sorted)
  kInvalidName,       // show `title` / `text`; the form stays as it is
  kInvalidCharacter,  // show `title` / `text`; the form stays as it is
  kSaveFailed,        // show `title` / `text`; the form stays as it is, the book unchanged
                      // (also when another window held the book for the whole wait)
  kNothingToSave,     // save after printing with an empty Name: nothing happens
};

struct SaveResult {
  SaveOutcome outcome = SaveOutcome::kSaved;
  std::string title;
  std::string text;
};

inline constexpr std::string_view kInvalidNameTitle = "Invalid Name";
inline constexpr std::string_view kInvalidNameText =
    "You must at least enter a Name to associate this information with";
inline constexpr std::string_view kInvalidCharacterTitle = "Invalid Character";
inline constexpr std::string_view kNotSavedTitle = "Address Book Not Saved";
inline constexpr std::string_view kNotReadTitle = "Address Book Not Read";
inline constexpr std::string_view kInUseText =
    "The address book is in use in another window. Try again.";
// The title of a notice after a change that went through but not quite as asked.
inline constexpr std::string_view kNoticeTitle = "Address Book";

// The title of the message for a failed open or read: "Address Book Not Read" when the
// file could not be read, "Address Book Not Saved" when it was read but its sorted form
// could not be written back.
std::string_view StoreFailureTitle(const StoreResult& result);

// A character that cannot be stored in a book line ("^", CR, LF, NUL) and where it is.
struct UnstorableCharacter {
  std::string_view fieldLabel;     // "Name", "Street Address/Attn:", ... "Zipcode"
  std::string_view characterName;  // "^", "carriage return", "line feed", "NUL"
};

// The first such character in the form, fields in form order.
std::optional<UnstorableCharacter> FindUnstorableCharacter(const AddresseeForm& form);

// The text shown for it, e.g. The "City" field contains a line feed, which an address
// book cannot store. Please remove it.
std::string UnstorableCharacterText(const UnstorableCharacter& found);

// The Save command. The Name must hold a character other than a space. With a current
// record and `newEntryFlag` clear, that record takes the form: it is found in the file as
// it is now by its six fields as this window last read them, and when another window
// has changed or deleted it meanwhile, the form is added as a new entry with a notice.
// Otherwise the form is added as a new entry, first in the file before the sort. On
// success `currentRecord` is -1 and `newEntryFlag` clear.
SaveResult SaveAddressee(FileSystem& fs, AddressBook& book, const AddresseeForm& form,
                         LockClock& clock = SteadyLockClock());

// The save that follows a print run: as SaveAddressee, but any non-empty Name counts
// (spaces only included) and an empty Name saves nothing and says nothing.
SaveResult SaveAfterPrinting(FileSystem& fs, AddressBook& book, const AddresseeForm& form,
                             LockClock& clock = SteadyLockClock());

enum class DeleteOutcome {
  kDeleted,          // empty the six fields and focus the Name field; `text`, when not
                     // empty, is a notice to show (the record was gone or changed already)
  kNoCurrentRecord,  // nothing to delete: nothing happens
  kDeleteFailed,     // show `title` / `text`; the book and the form stay as they were
};

struct DeleteResult {
  DeleteOutcome outcome = DeleteOutcome::kDeleted;
  std::string title;
  std::string text;
};

// Drops the current record from the book file (backup first), then rereads it. The
// record is found in the file as it is now by its six fields as this window last read
// them; when another window has changed or deleted it meanwhile, nothing is removed and
// a notice says so.
DeleteResult DeleteCurrentRecord(FileSystem& fs, AddressBook& book,
                                 LockClock& clock = SteadyLockClock());

// The Clear command: no record current, flag clear. The window empties the six fields.
void ClearAddressee(AddressBook& book);

// Whether a Name change makes the form a new addressee: the five other fields are all
// exactly empty.
bool NewEntryFlagFor(const AddresseeForm& form);
// Recomputes `newEntryFlag` after any change of the Name field, typed or programmatic.
void NameChanged(AddressBook& book, const AddresseeForm& form);

// A selection in the lookup window: makes the entry at `position` current, clears the
// flag and returns the six fields to show. Nothing changes for a position out of range.
std::optional<AddresseeForm> SelectRecord(AddressBook& book, int position);

}  // namespace qr
