// Which book file the Load and New commands open, from the file dialog's answer, and
// the book file a new book starts with.
#pragma once

#include <string>
#include <string_view>

#include "addressbook/address_book.h"
#include "base/file_system.h"

namespace qr {

inline constexpr std::string_view kBookDialogTitle = "Please choose Address Book file to load";
// Description and pattern pairs, separated by "|".
inline constexpr std::string_view kBookDialogFilter =
    "ADdressBook (*.adb)|*.adb|Backup Files (*.bak)|*.bak|All files (*.*)|*.*";

struct BookLocation {
  std::string directory;  // ends with a path separator, or is empty
  std::string fileName;

  bool operator==(const BookLocation&) const = default;
};

// Splits a path into its directory (up to and including the last "\" or "/") and file name.
BookLocation SplitBookPath(std::string_view path);

struct BookChoice {
  BookLocation location;   // the book to open
  bool cancelled = false;  // the dialog gave no name: `location` is the current book
};

// The book a Load or New dialog answer chooses: its directory and file name, with ".adb"
// appended to a name without it. A name that is then exactly ".adb" (the dialog was
// cancelled and gave nothing) keeps the current book.
BookChoice ChooseBook(std::string_view dialogAnswer, const BookLocation& current);

// The folder a loaded book lives in: the AddressbookDirectory its settings name (empty
// means the current directory, as at start-up), unless that names a folder that is gone
// (the book was moved or copied away from it), when it is the folder the dialog found
// the book in, `chosenFolder`.
std::string BookFolderAfterLoad(FileSystem& fs, const std::string& storedFolder,
                                const std::string& chosenFolder);

// Opens the book at `location`: the book becomes that file's entries, sorted (empty when
// the file does not exist), with no record current.
StoreResult OpenAddressbook(FileSystem& fs, AddressBook& book, const BookLocation& location,
                            LockClock& clock = SteadyLockClock());

// The one entry a new book file starts with.
AddressEntry SampleEntry();

// Makes `location` a new book holding only the sample entry, replacing a file of that
// name (which is first copied to its backup), under that book's lock, then opens it.
// When the file cannot be written, or another window holds its lock throughout, nothing
// is replaced and `book` is not changed.
StoreResult CreateAddressbook(FileSystem& fs, AddressBook& book, const BookLocation& location,
                              LockClock& clock = SteadyLockClock());

}  // namespace qr
