// The update check from the main window's point of view: where its progress window goes,
// and ending the program once an installer has been started.
#include "app/commands/commands_win.h"
#include "app/program_win.h"
#include "base/wide_text_win.h"
#include "update/update_info.h"
#include "update/update_window_win.h"

namespace qr {

namespace {

void RunCheck(Shell& shell, WindowCorner corner, const std::string& version) {
  HINSTANCE instance = shell.instance ? shell.instance : GetModuleHandleW(nullptr);
  if (RunUpdateCheck(instance, shell.mainWindow, corner, version, shell.updateSite,
                     shell.updateKey) == UpdateOutcome::kInstallerStarted) {
    EndProgram(shell, ShutdownReason::kInstallerStarted);
  }
}

}  // namespace

void CheckForUpdatesCommand(Shell& shell) {
  RECT outer = {}, client = {};
  GetWindowRect(shell.mainWindow, &outer);
  GetClientRect(shell.mainWindow, &client);
  RunCheck(shell,
           UpdateWindowCornerOverMainWindow(outer.left, outer.top, client.right, client.bottom),
           shell.startup.version);
}

void CheckForUpdatesAtStartup(Shell& shell, const std::string& version) {
  const int answer = MessageBoxW(nullptr, L"Would you like to check for any updates now?",
                                 Wide(kUpdateCheckTitle).c_str(), MB_YESNO | MB_SETFOREGROUND);
  if (answer != IDYES) return;
  RunCheck(shell, UpdateWindowCornerOnScreen(shell.desktopWidth, shell.desktopHeight), version);
}

}  // namespace qr
