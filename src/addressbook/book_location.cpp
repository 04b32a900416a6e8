#include "addressbook/book_location.h"

namespace qr {

BookLocation SplitBookPath(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return {"", std::string(path)};
  return {std::string(path.substr(0, slash + 1)), std::string(path.substr(slash + 1))};
}

BookChoice ChooseBook(std::string_view dialogAnswer, const BookLocation& current) {
  BookLocation chosen = SplitBookPath(dialogAnswer);
  chosen.fileName = WithBookExtension(chosen.fileName);
  if (chosen.fileName == ".adb") return {current, true};
  return {chosen, false};
}

StoreResult OpenAddressbook(FileSystem& fs, AddressBook& book, const BookLocation& location,
                            LockClock& clock) {
  book.directory = location.directory;
  book.fileName = location.fileName;
  book.entries.clear();
  book.newEntryFlag = false;
  return ReadAddressbook(fs, book, clock);
}

AddressEntry SampleEntry() {
  return AddressEntry{"Oak Hardware Supply",
                      "1200 Main Street, Box 42",
                      "",
                      "Springfield",
                      "IL",
                      "62701",
                      "0",
                      "1"};
}

StoreResult CreateAddressbook(FileSystem& fs, AddressBook& book, const BookLocation& location,
                              LockClock& clock) {
  AddressBook created;
  created.directory = location.directory;
  created.fileName = location.fileName;
  const std::string path = created.FilePath();
  HeldLock lock = LockForChange(fs, path, clock);
  if (lock.status == LockStatus::kBusy) {
    return {.ok = false, .reason = std::string(kInUseText), .inUse = true};
  }
  if (lock.status == LockStatus::kFailed) {
    return {false, "The lock file " + LockFilePath(path) + " could not be made."};
  }
  if (fs.FileExistsInFolder(created.directory, created.fileName)) {
    const std::string backup = created.directory + BackupFileName(created.fileName);
    if (!fs.Copy(path, backup)) {
      return {false, "The backup copy " + backup + " could not be made."};
    }
  }
  const AddressEntry sample = SampleEntry();
  if (!WriteFileAtomically(fs, path, FormatBookFile(std::span(&sample, 1)))) {
    return {false, path + " could not be written."};
  }
  lock.lock.reset();
  book = std::move(created);
  return ReadAddressbook(fs, book, clock);
}

std::string BookFolderAfterLoad(FileSystem& fs, const std::string& storedFolder,
                                const std::string& chosenFolder) {
  if (!storedFolder.empty() && !fs.FolderExists(storedFolder)) return chosenFolder;
  return storedFolder;
}

}  // namespace qr
