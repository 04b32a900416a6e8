// The file side of start-up: the data folder, "qr.inf", the open book's settings and
// the periodic update-check question. The window side lives in the Win32 layer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/settings.h"

namespace qr {

class FileSystem;
class PreferenceFile;

// Everything start-up decides about files, for the rest of the program.
struct StartupState {
  std::string dataFolder;     // ALLUSERSPROFILE + "\Quarrane\"
  std::string programFolder;  // the current directory, without a trailing separator
  std::string bookName;       // base name of the open book, without extension
  std::string bookFileName;   // bookName + ".adb"
  std::string companionName;  // bookName + ".inf"
  std::string version;        // "Version" as read back from "qr.inf"
  BookSettings book;          // book.bookFolder is the open book's folder
};

struct StartupCallbacks {
  // A whole number from 0 to 18 inclusive, uniformly drawn.
  std::function<int()> random0To18;
  // Shows the "Update Check" question and, on Yes, runs the update check against
  // `version`, the "Version" just read back (the start-up state is not returned yet).
  std::function<void(const std::string& version)> offerUpdateCheck;
};

// The "qr.inf" counter rule: below 25 counts up; otherwise draws a new value and asks.
struct UpdateCounterDecision {
  std::int64_t newValue;
  bool ask;
};
UpdateCounterDecision DecideUpdateCounter(const std::string& lastCheckValue,
                                          const std::function<int()>& random0To18);

// The file side of start-up, before the main window opens: forms and creates the data folder,
// creates "qr.inf" on the first run, reads which book to open, loads (or creates) its companion
// settings, and applies the update-check counter. `allUsersProfile` is the environment variable's
// value, or nullopt when it is not set.
StartupState RunStartupFiles(FileSystem& fs, PreferenceFile& prefs,
                             const std::optional<std::string>& allUsersProfile,
                             const std::string& currentDirectory,
                             const StartupCallbacks& callbacks);

// The main-window title: "Quarrane 2.80 - Addresses.adb".
std::string MainWindowTitle(const StartupState& state);

}  // namespace qr
