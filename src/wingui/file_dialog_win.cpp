// clang-format off
#include "wingui/file_dialog_win.h"
#include <commdlg.h>  // needs windows.h first
// clang-format on

#include "base/dialog_filter.h"
#include "wingui/modal_win.h"

namespace qr {

std::string AskOpenFileName(HWND owner, std::string_view title, std::string_view filter,
                            const std::string& startFolder, DWORD flags) {
  const std::string pairs = DialogFilterWithNuls(filter);
  const std::string caption(title);
  char file[MAX_PATH * 4] = {};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = pairs.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
  ofn.lpstrTitle = caption.c_str();
  ofn.Flags = flags | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  ModalScope modal;
  return GetOpenFileNameA(&ofn) ? std::string(file) : std::string();
}

}  // namespace qr
