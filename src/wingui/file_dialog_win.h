// The system's open-file dialog.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qr {

// Shows the open-file dialog over `owner`, inside a ModalScope. `filter` lists
// description and pattern pairs separated by "|"; the first is selected. The current
// directory is left as it was. Returns the chosen path, or "" when the dialog was
// cancelled.
std::string AskOpenFileName(HWND owner, std::string_view title, std::string_view filter,
                            const std::string& startFolder, DWORD flags);

}  // namespace qr
