#include "app/startup.h"

#include "base/file_lock.h"
#include "base/file_system.h"
#include "base/number.h"
#include "base/preference_file.h"

namespace qr {

namespace {

constexpr char kAppSettingsName[] = "qr.inf";
constexpr std::int64_t kUpdateQuestionAfter = 25;

}  // namespace

UpdateCounterDecision DecideUpdateCounter(const std::string& lastCheckValue,
                                          const std::function<int()>& random0To18) {
  const std::int64_t n = ReadDecimal64(lastCheckValue);
  if (n < kUpdateQuestionAfter) return {n + 1, false};
  return {random0To18(), true};
}

StartupState RunStartupFiles(FileSystem& fs, PreferenceFile& prefs,
                             const std::optional<std::string>& allUsersProfile,
                             const std::string& currentDirectory,
                             const StartupCallbacks& callbacks) {
  StartupState s;
  s.dataFolder = allUsersProfile.value_or("") + "\\Quarrane\\";
  if (!fs.FolderExists(s.dataFolder)) fs.CreateFolder(s.dataFolder);
  s.book.bookFolder = s.dataFolder;
  s.programFolder = currentDirectory;

  // "qr.inf" is changed under its lock, as other windows may be changing it too; without
  // the lock it is only read.
  const std::string appSettings = s.dataFolder + kAppSettingsName;
  HeldLock lock = LockForChange(fs, appSettings);
  bool locked = lock.status == LockStatus::kTaken;
  if (locked && !fs.FileExistsInFolder(s.dataFolder, kAppSettingsName)) {
    WriteFirstRunAppSettings(prefs, appSettings, s.dataFolder);
  }
  if (prefs.Open(appSettings)) {
    prefs.SelectGroup("Application");
    s.bookName = prefs.ReadText("CurrentAddressbook", "");
    s.book.bookFolder = prefs.ReadText("CurrentAddressbookDirectory", "");
    if (locked) prefs.WriteText("Version", kProgramVersion);
    prefs.Close();
  } else {
    s.bookName = "Addresses";
  }
  lock = {};
  s.companionName = s.bookName + ".inf";
  s.bookFileName = s.bookName + ".adb";

  LoadBookSettings(prefs, s.book.bookFolder + s.companionName, s.bookFileName, s.book);

  lock = LockForChange(fs, appSettings);
  locked = lock.status == LockStatus::kTaken;
  if (prefs.Open(appSettings)) {
    prefs.SelectGroup("Application");
    s.version = prefs.ReadText("Version", "");
    const UpdateCounterDecision d =
        DecideUpdateCounter(prefs.ReadText("LastCheckValue", ""), callbacks.random0To18);
    if (locked) prefs.WriteText("LastCheckValue", std::to_string(d.newValue));
    prefs.Close();
    lock = {};  // not held while the question is asked
    if (d.ask && callbacks.offerUpdateCheck) callbacks.offerUpdateCheck(s.version);
  }
  return s;
}

std::string MainWindowTitle(const StartupState& state) {
  return "Quarrane " + state.version + " - " + state.bookFileName;
}

}  // namespace qr
