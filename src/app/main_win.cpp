// Program entry: start-up, the event loop, shutdown.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <random>
#include <string>

#include "app/event_loop_win.h"
#include "app/file_system.h"
#include "app/main_window_win.h"
#include "app/preference_file.h"
#include "app/shell_win.h"
#include "app/startup.h"
#include "update/update_check_win.h"

namespace qr {

namespace {

constexpr char kZipDatabaseName[] = "envelope.dat";
constexpr char kNoZipDatabaseTitle[] = "Error";
constexpr char kNoZipDatabaseText[] =
    "You do not have the zipcode database installed\rAuto-fill of City, State based on zipcode "
    "disabled";

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
void OfferUpdateCheck(Shell& shell) {
  const int answer = MessageBoxA(nullptr, "Would you like to check for any updates now?",
                                 "Update Check", MB_YESNO | MB_SETFOREGROUND);
  if (answer != IDYES) return;
  const RECT r = {shell.desktopWidth / 2 - 200, shell.desktopHeight / 2 - 50,
                  shell.desktopWidth / 2 - 200 + 400, shell.desktopHeight / 2 - 50 + 100};
  RunUpdateCheck(shell, r, shell.startup.version);
}

bool StartUp(Shell& shell) {
  // 1. Platform layers.
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_LINK_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  // 3. Desktop size.
  shell.desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  shell.desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  // 4 to 10. Folders, settings files and the update-check counter.
  StartupCallbacks callbacks;
  callbacks.random0To18 = RandomUpTo18;
  callbacks.offerUpdateCheck = [&shell] { OfferUpdateCheck(shell); };
  shell.startup = RunStartupFiles(SystemFileSystem(), *shell.prefs,
                                  EnvironmentVariable("ALLUSERSPROFILE"), CurrentDirectory(),
                                  callbacks);
  // 11. The main window.
  if (!BuildMainWindow(shell, MainWindowTitle(shell.startup), shell.startup.book.windowX,
                       shell.startup.book.windowY)) {
    return false;
  }
  // 15. The ZIP code database lives in the program folder.
  if (!SystemFileSystem().FileExistsInFolder(shell.startup.programFolder + "\\",
                                             kZipDatabaseName)) {
    MessageBoxA(shell.mainWindow, kNoZipDatabaseText, kNoZipDatabaseTitle, MB_OK);
  }
  // 16 to 18.
  shell.currentRecord = -1;
  shell.newEntryFlag = 0;
  shell.hintTime = GetTickCount();
  return true;
}

void ShutDown(Shell& shell) {
  SaveBookSettingsFromWindow(shell);
  shell.prefs->Close();
  if (shell.mainWindow) DestroyWindow(shell.mainWindow);
  shell.mainWindow = nullptr;
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
