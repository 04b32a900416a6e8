// The open address book behind the addressee form, and the commands that add, update,
// delete and clear records. The book file is the master copy: every change rewrites it
// (backup first, then an atomic replace) and reads it back. Nothing here shows anything:
// each command returns what the window has to do and the texts it has to show.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/book_file.h"
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
};

// Sorts the book file on disk by name, then reads it into `entries` (numbers set to
// the line positions). A missing file gives an empty book. `currentRecord` becomes -1.
StoreResult ReadAddressbook(FileSystem& fs, AddressBook& book);

// Reads the book file into `entries` in file order, stored numbers included, without
// sorting; creates the file empty when it does not exist. `currentRecord` is kept.
// On failure `entries` stay as they were.
StoreResult RereadAddressbook(FileSystem& fs, AddressBook& book);

// Backs up and rewrites the book file from `entries`, with the form as a new first entry
// when `newEntry` is given, then ReadAddressbook. On a failed rewrite the file, `entries`
// and `currentRecord` stay as they were.
StoreResult WriteAddressbook(FileSystem& fs, AddressBook& book, const AddresseeForm* newEntry);

// Adds `added` to the present entries in one backup and one rewrite of the book file,
// in name order, then reads the book back (as WriteAddressbook). On a failed rewrite the
// file and `entries` stay as they were.
struct AddEntriesResult {
  bool written = false;  // the book file holds the added entries
  StoreResult result;    // why the rewrite failed, or how reading the book back went
};
AddEntriesResult AddEntries(FileSystem& fs, AddressBook& book, std::span<const AddressEntry> added);

// What the window must do after a save or a delete.
enum class SaveOutcome {
  kSaved,             // empty the six fields and focus the Name field; `text`, when not
                      // empty, is a notice to show (saved, but not read back / sorted)
  kInvalidName,       // show `title` / `text`; the form stays as it is
  kInvalidCharacter,  // show `title` / `text`; the form stays as it is
  kSaveFailed,        // show `title` / `text`; the form stays as it is, the book unchanged
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
// record and `newEntryFlag` clear, that record takes the form; otherwise the form is
// added as a new entry. On success `currentRecord` is -1 and `newEntryFlag` clear.
SaveResult SaveAddressee(FileSystem& fs, AddressBook& book, const AddresseeForm& form);

// The save that follows a print run: as SaveAddressee, but any non-empty Name counts
// (spaces only included) and an empty Name saves nothing and says nothing.
SaveResult SaveAfterPrinting(FileSystem& fs, AddressBook& book, const AddresseeForm& form);

enum class DeleteOutcome {
  kDeleted,          // empty the six fields and focus the Name field
  kNoCurrentRecord,  // nothing to delete: nothing happens
  kDeleteFailed,     // show `title` / `text`; the book and the form stay as they were
};

struct DeleteResult {
  DeleteOutcome outcome = DeleteOutcome::kDeleted;
  std::string title;
  std::string text;
};

// Drops the current record from the book file (backup first), then RereadAddressbook.
DeleteResult DeleteCurrentRecord(FileSystem& fs, AddressBook& book);

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
