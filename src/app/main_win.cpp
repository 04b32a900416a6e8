// Program entry: start-up, the event loop, shutdown.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <random>
#include <string>

#include "addressbook/book_form_win.h"
#include "addressbook/book_location.h"
#include "app/event_loop_win.h"
#include "app/file_system.h"
#include "app/main_window_win.h"
#include "app/preference_file.h"
#include "app/shell_win.h"
#include "app/startup.h"
#include "printlib/printer_lib.h"
#include "update/update_check_win.h"

namespace qr {

namespace {

std::optional<std::string> EnvironmentVariable(const char* name) {
  const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::string value(needed, '\0');
  const DWORD got = GetEnvironmentVariableA(name, value.data(), needed);
  value.resize(got < needed ? got : 0);
  return value;
}

std::string CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  std::string dir(needed, '\0');
  const DWORD got = GetCurrentDirectoryA(needed, dir.data());
  dir.resize(got < needed ? got : 0);
  return dir;
}

int RandomUpTo18() {
  static std::mt19937 engine(GetTickCount() ^ GetCurrentProcessId());
  return std::uniform_int_distribution<int>(0, 18)(engine);
}

// Start-up step 10's question. On Yes the update window is centred on the screen.
void OfferUpdateCheck(Shell& shell, const std::string& version) {
  const int answer = MessageBoxA(nullptr, "Would you like to check for any updates now?",
                                 "Update Check", MB_YESNO | MB_SETFOREGROUND);
  if (answer != IDYES) return;
  const RECT r = {shell.desktopWidth / 2 - 200, shell.desktopHeight / 2 - 50,
                  shell.desktopWidth / 2 - 200 + 400, shell.desktopHeight / 2 - 50 + 100};
  RunUpdateCheck(shell, r, version);
}

bool StartUp(Shell& shell) {
  // 1. Platform layers and the printer library.
  Print_Init();
  INITCOMMONCONTROLSEX icc = {
      sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  // 3. Desktop size.
  shell.desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  shell.desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  // 4 to 10. Folders, settings files and the update-check counter.
  StartupCallbacks callbacks;
  callbacks.random0To18 = RandomUpTo18;
  callbacks.offerUpdateCheck = [&shell](const std::string& version) {
    OfferUpdateCheck(shell, version);
  };
  shell.startup =
      RunStartupFiles(SystemFileSystem(), *shell.prefs, EnvironmentVariable("ALLUSERSPROFILE"),
                      CurrentDirectory(), callbacks);
  // 11. The main window.
  if (!BuildMainWindow(shell, MainWindowTitle(shell.startup), shell.startup.book.windowX,
                       shell.startup.book.windowY)) {
    return false;
  }
  // 12 to 14. The sender lines, positions and book path; the logo; the book.
  FillMainWindow(shell);
  ShowLogo(shell);
  FileSystem& fs = SystemFileSystem();
  const StoreResult read =
      OpenAddressbook(fs, shell.book, {shell.startup.book.bookFolder, shell.startup.bookFileName});
  if (!read.ok)
    ShowMessage(shell, std::string(kNotSavedTitle), read.reason, MB_OK | MB_ICONWARNING);
  // 15. The ZIP code database lives in the program folder.
  // A database that is there but cannot be read leaves the look-up just as disabled.
  if (LoadZipDatabase(fs, shell.startup.programFolder + "\\", &shell.zip) !=
      ZipDatabaseStatus::kLoaded) {
    ShowMessage(shell, std::string(kZipDatabaseMissingTitle), std::string(kZipDatabaseMissingText));
  }
  // 16 to 18.
  shell.book.currentRecord = -1;
  shell.book.newEntryFlag = false;
  HWND first = GetDlgItem(shell.mainWindow, ControlText(shell, ctl::kSenderName).empty()
                                                ? ctl::kSenderName
                                                : ctl::kAddresseeName);
  SetFocus(first);
  shell.hints.hintTime = GetTickCount();
  return true;
}

void ShutDown(Shell& shell) {
  // The printer in the drop-down and the window position go into the book's settings.
  SaveBookSettingsFromWindow(shell);
  Print_Free();
  shell.prefs->Close();
  CloseMainWindow(shell);
}

}  // namespace

int RunProgram(HINSTANCE instance) {
  PreferenceFile prefs(SystemFileSystem());
  Shell shell;
  shell.instance = instance;
  shell.prefs = &prefs;
  if (!StartUp(shell)) return 1;
  RunEventLoop(shell);
  ShutDown(shell);
  return 0;
}

}  // namespace qr

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return qr::RunProgram(instance); }
