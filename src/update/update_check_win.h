// The update check, run from Help > Check for Updates and from the start-up question.
#pragma once

#include <windows.h>

#include <string>

#include "app/shell_win.h"

namespace qr {

// Runs the update check in a progress window placed at `rect`.
void RunUpdateCheck(Shell& shell, const RECT& rect, const std::string& version);

}  // namespace qr
