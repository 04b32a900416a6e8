// The keys of the application settings file "qr.inf" and of each address book's
// companion ".inf" file, and the routines that write, load and save them. Other windows
// may have the same book open: a book's companion file is changed under its lock, and a
// save writes only the keys this window changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_lock.h"
#include "base/preference_file.h"
#include "base/version.h"

namespace qr {

class FileSystem;

// Keys of "qr.inf", all in group "Application".
inline constexpr char kAppGroup[] = "Application";
inline constexpr char kVersionKey[] = "Version";
inline constexpr char kCurrentAddressbookKey[] = "CurrentAddressbook";
inline constexpr char kCurrentAddressbookDirectoryKey[] = "CurrentAddressbookDirectory";
inline constexpr char kLastCheckValueKey[] = "LastCheckValue";

// One key of a companion file with the value written for it.
struct SettingsValue {
  std::string group;
  std::string key;
  std::string value;
  bool afterLast = false;  // a file without the key gets it right after the key before it
};

// The settings of one address book, kept in its companion file.
struct BookSettings {
  std::string bookFolder;  // AddressbookDirectory, ending in a backslash
  std::string senderName;
  std::string senderStreet;
  std::string senderCsz;
  std::string returnFont;
  std::string returnSize;
  std::string returnStyle;
  std::string logoFilename;
  std::string defaultPrinter;
  std::int32_t senderHorizontal = 0;
  std::int32_t senderVertical = 0;
  std::int32_t addresseeHorizontal = 0;
  std::int32_t addresseeVertical = 0;
  std::string addressFont;
  std::string addressSize;
  std::string addressStyle;
  // "Placement" and "Envelope" as stored, empty while the book's user has not chosen
  // them: only a chosen value is written, so that other books keep their files as they
  // are. What a value means is the envelope's (envelope/envelope_size.h).
  std::string placement;
  std::string envelope;
  // "Label Sheet", kept the same way (envelope/label_sheet.h).
  std::string labelSheet;
  std::int32_t windowX = 0;
  std::int32_t windowY = 0;
  // Every key as this window last read or wrote the companion file, in file order.
  // A save writes only the keys whose value differs from it (and those the file lacks),
  // so that what another window saved meanwhile under other keys stays. Empty: nothing
  // is known, and a save writes every key.
  std::vector<SettingsValue> stored;
};

// First-run content of "qr.inf".
void WriteFirstRunAppSettings(PreferenceFile& pf, const std::string& path,
                              const std::string& dataFolder);
// Default writer: clears the sender lines, zeroes positions unless keepPositions, writes the whole
// companion file in the order given, with windowX/windowY taken from s.
void WriteDefaultBookSettings(PreferenceFile& pf, const std::string& companionPath,
                              const std::string& bookFileName, BookSettings& s, bool keepPositions);
// Loader: returns false when the companion did not open (the defaults were written instead).
// The file is written back (under its lock) only when its Version was not the program's.
bool LoadBookSettings(PreferenceFile& pf, const std::string& companionPath,
                      const std::string& bookFileName, BookSettings& s);
// Saver (the caller has already put the field texts, positions, window position and printer
// into s): fills empty font values; then, under the companion file's lock, reads the file as
// it is now, writes the keys that differ from s.stored or are missing, and closes it. Returns
// false if the file did not open or another window held its lock for the whole wait (nothing
// is written then, and the changes stay changes for the next save), and also when writing it
// back failed.
bool SaveBookSettings(PreferenceFile& pf, const std::string& companionPath,
                      const std::string& bookFileName, BookSettings& s,
                      LockClock& clock = SteadyLockClock());

// Which change of the open book "qr.inf" records.
enum class BookChange {
  kLoad,  // copies "qr.inf" over "qr.bak" first and also writes Version
  kNew,   // writes only the two book keys, without the copy
};

// Records the book `bookName` in `directory` as the one to open at the next start, in
// the "qr.inf" of `dataFolder`; nothing is written when that file does not exist.
void RememberCurrentBook(FileSystem& fs, PreferenceFile& pf, const std::string& dataFolder,
                         const std::string& bookName, const std::string& directory,
                         BookChange change);

}  // namespace qr
