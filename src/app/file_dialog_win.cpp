#include "app/file_dialog_win.h"

#include <commdlg.h>

#include "app/dialog_filter.h"

namespace qr {

std::string AskOpenFileName(Shell& shell, std::string_view title, std::string_view filter,
                            const std::string& startFolder, DWORD flags) {
  const std::string pairs = DialogFilterWithNuls(filter);
  const std::string caption(title);
  char file[MAX_PATH * 4] = {};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = shell.mainWindow;
  ofn.lpstrFilter = pairs.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
  ofn.lpstrTitle = caption.c_str();
  ofn.Flags = flags | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  ++shell.modalDepth;
  const BOOL ok = GetOpenFileNameA(&ofn);
  --shell.modalDepth;
  return ok ? std::string(file) : std::string();
}

}  // namespace qr
