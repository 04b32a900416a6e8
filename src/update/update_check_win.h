// The update check, run from Help > Check for Updates and from the start-up question.
#pragma once

#include <windows.h>

#include <string>

#include "app/shell_win.h"

namespace qr {

// Control numbers inside the "Checking for Updates" window.
inline constexpr int kUpdateProgressBarId = 101;
inline constexpr int kUpdateStatusId = 102;  // the newest status label
inline constexpr int kUpdateCountdownId = 103;
inline constexpr char kUpdateWindowClass[] = "QuarraneUpdateWindow";

// Runs the update check in a progress window whose outer top-left corner is
// (rect.left, rect.top) and whose inner size is the rectangle's size. Asks the web
// site this build was made for. When an installer has been started the program
// ends here (see EndProgramForInstaller) and the call does not return.
void RunUpdateCheck(Shell& shell, const RECT& rect, const std::string& version);

// The same against the web site `site` (scheme and host).
void RunUpdateCheckAt(Shell& shell, const RECT& rect, const std::string& version,
                      const std::string& site);

// The progress window's rectangle for Help > Check for Updates: 400 x 100, placed from
// the main window's outer top-left corner and its client size.
RECT UpdateWindowRectOverMainWindow(HWND mainWindow);

// Ends the program after an installer was started: the printer library, the main
// window and any settings file still open (written if changed, as the start-up counter
// is) are released as at shutdown, but the book settings are not saved.
[[noreturn]] void EndProgramForInstaller(Shell& shell);

}  // namespace qr
