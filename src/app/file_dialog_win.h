// The system's open-file dialog, as the book and logo commands use it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/shell_win.h"

namespace qr {

// Shows the open-file dialog over the main window, which stays inert meanwhile.
// `filter` lists description and pattern pairs separated by "|"; the first is
// selected. The current directory is left as it was (the program folder). Returns the
// chosen path, or "" when the dialog was cancelled.
std::string AskOpenFileName(Shell& shell, std::string_view title, std::string_view filter,
                            const std::string& startFolder, DWORD flags);

}  // namespace qr
