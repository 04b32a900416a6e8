// Start-up, the event loop and shutdown.
// clang-format off
#include "app/program_win.h"
#include <commctrl.h>  // needs windows.h first
// clang-format on

#include <optional>
#include <random>
#include <string>

#include "addressbook/book_location.h"
#include "app/commands/commands_win.h"
#include "app/event_loop_win.h"
#include "app/main_window_win.h"
#include "app/startup.h"
#include "app/startup_marks_win.h"
#include "base/file_system.h"
#include "base/preference_file.h"
#include "base/wide_text_win.h"
#include "printlib/printer_lib_win.h"

namespace qr {

namespace {

std::optional<std::string> EnvironmentVariable(const wchar_t* name) {
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::wstring value(needed, L'\0');
  const DWORD got = GetEnvironmentVariableW(name, value.data(), needed);
  value.resize(got < needed ? got : 0);
  return Utf8(value);
}

int RandomUpTo18() {
  static std::mt19937 engine(GetTickCount() ^ GetCurrentProcessId());
  return std::uniform_int_distribution<int>(0, 18)(engine);
}

bool StartUp(Shell& shell) {
  // The printer library and the common controls.
  Print_Init();
  INITCOMMONCONTROLSEX icc = {
      sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  shell.desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  shell.desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  // Folders, settings files and the update-check counter (which may ask to check now).
  StartupCallbacks callbacks;
  callbacks.random0To18 = RandomUpTo18;
  callbacks.offerUpdateCheck = [&shell](const std::string& version) {
    CheckForUpdatesAtStartup(shell, version);
  };
  shell.startup =
      RunStartupFiles(SystemFileSystem(), *shell.prefs, EnvironmentVariable(L"ALLUSERSPROFILE"),
                      CurrentDirectory(), callbacks);
  StartupMark("settings_files");
  // The main window with the sender lines, positions and book path; the logo; the book.
  if (!BuildMainWindow(shell, MainWindowTitle(shell.startup), shell.startup.book.windowX,
                       shell.startup.book.windowY)) {
    return false;
  }
  StartupMark("window_painted");
  // What the window does not need to be shown comes after it: the printers (their list
  // loads the printing system), then the fields, the logo, the book and the ZIP database
  // as before, with their messages in the same order.
  FinishMainWindow(shell);
  StartupMark("printers_listed");
  FillMainWindow(shell);
  ShowLogo(shell);
  StartupMark("fields_and_logo");
  FileSystem& fs = SystemFileSystem();
  const StoreResult read =
      OpenAddressbook(fs, shell.book, {shell.startup.book.bookFolder, shell.startup.bookFileName});
  if (!read.ok)
    ShowMessage(shell, std::string(StoreFailureTitle(read)), read.reason, MB_OK | MB_ICONWARNING);
  StartupMark("book_read");
  // The ZIP code database lives in the program folder.
  // A database that is there but cannot be read leaves the look-up just as disabled.
  if (LoadZipDatabase(fs, shell.startup.programFolder + "\\", &shell.zip) !=
      ZipDatabaseStatus::kLoaded) {
    ShowMessage(shell, std::string(kZipDatabaseMissingTitle), std::string(kZipDatabaseMissingText));
  }
  StartupMark("zip_database_read");
  // No record is current; the focus goes to the sender's name while it is empty, else to
  // the addressee's name; the hint's lifetime starts now.
  shell.book.currentRecord = -1;
  shell.book.newEntryFlag = false;
  HWND first = GetDlgItem(shell.mainWindow, ControlText(shell, ctl::kSenderName).empty()
                                                ? ctl::kSenderName
                                                : ctl::kAddresseeName);
  SetFocus(first);
  shell.hints.hintTime = GetTickCount();
  return true;
}

// Shutdown's steps on the running program.
class ProgramShutdown final : public ShutdownSteps {
 public:
  explicit ProgramShutdown(Shell& shell) : shell_(shell) {}
  void SaveBookSettings() override { SaveBookSettingsFromWindow(shell_); }
  void ReleasePrinterLibrary() override { Print_Free(); }
  void CloseSettingsFile() override {
    if (shell_.prefs) shell_.prefs->Close();
  }
  void CloseMainWindow() override { qr::CloseMainWindow(shell_); }

 private:
  Shell& shell_;
};

}  // namespace

void EndProgram(Shell& shell, ShutdownReason reason) {
  ProgramShutdown steps(shell);
  RunShutdown(steps, reason);
  if (reason == ShutdownReason::kInstallerStarted) ExitProcess(0);
}

int RunProgram(HINSTANCE instance, const std::string& updateSite, std::string_view updateKeyHex) {
  PreferenceFile prefs(SystemFileSystem());
  Shell shell;
  shell.instance = instance;
  shell.updateSite = updateSite;
  if (!DecodeHex(updateKeyHex, shell.updateKey)) shell.updateKey = {};
  shell.prefs = &prefs;
  StartupMark("program_entry");
  if (!StartUp(shell)) return 1;
  RunEventLoop(shell);
  WriteStartupMarks();
  EndProgram(shell, ShutdownReason::kQuit);
  return 0;
}

}  // namespace qr
