// The whole run of the program: start-up, the event loop, shutdown.
#pragma once

#include <windows.h>

#include <string>

#include "app/shell_win.h"
#include "app/shutdown.h"

namespace qr {

// Runs the program; its update check asks the web site `updateSite` (scheme and host).
// Returns the process exit code.
int RunProgram(HINSTANCE instance, const std::string& updateSite);

// Ends the program for `reason`. After an installer was started the process ends here.
void EndProgram(Shell& shell, ShutdownReason reason);

}  // namespace qr
