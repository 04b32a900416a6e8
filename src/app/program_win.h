// The whole run of the program: start-up, the event loop, shutdown.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/shell_win.h"
#include "app/shutdown.h"

namespace qr {

// Runs the program; its update check asks the web site `updateSite` (scheme and host)
// and starts only installers signed with the key `updateKeyHex` (the P-256 point's X
// then Y, 128 hexadecimal digits; any other text refuses every installer).
// Returns the process exit code.
int RunProgram(HINSTANCE instance, const std::string& updateSite, std::string_view updateKeyHex);

// Ends the program for `reason`. After an installer was started the process ends here.
void EndProgram(Shell& shell, ShutdownReason reason);

}  // namespace qr
