// The system's open-file and save-file dialogs.
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

// Shows the save-file dialog the same way, with `suggestedName` in its name field. A
// name typed without an extension gets `defaultExtension` (without its dot); an existing
// file is chosen only once the user has agreed to replace it. Returns the chosen path,
// or "" when the dialog was cancelled.
std::string AskSaveFileName(HWND owner, std::string_view title, std::string_view filter,
                            const std::string& startFolder, std::string_view suggestedName,
                            std::string_view defaultExtension);

}  // namespace qr
