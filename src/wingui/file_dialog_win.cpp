// clang-format off
#include "wingui/file_dialog_win.h"
#include <commdlg.h>  // needs windows.h first
// clang-format on

#include <algorithm>
#include <iterator>

#include "base/dialog_filter.h"
#include "base/wide_text_win.h"
#include "wingui/modal_win.h"

namespace qr {

namespace {

enum class DialogKind { kOpen, kSave };

std::string AskFileName(DialogKind kind, HWND owner, std::string_view title,
                        std::string_view filter, const std::string& startFolder, DWORD flags,
                        std::string_view suggestedName, std::string_view defaultExtension) {
  const std::wstring pairs = Wide(DialogFilterWithNuls(filter));
  const std::wstring caption = Wide(title);
  const std::wstring extension = Wide(defaultExtension);
  const std::wstring folder = Wide(startFolder);
  const std::wstring suggested = Wide(suggestedName);
  wchar_t file[MAX_PATH * 4] = {};
  suggested.copy(file, std::min(suggested.size(), std::size(file) - 1));
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = pairs.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = static_cast<DWORD>(std::size(file));
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = caption.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = flags | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  ModalScope modal;
  const BOOL chosen = kind == DialogKind::kOpen ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
  return chosen ? Utf8(file) : std::string();
}

}  // namespace

std::string AskOpenFileName(HWND owner, std::string_view title, std::string_view filter,
                            const std::string& startFolder, DWORD flags) {
  return AskFileName(DialogKind::kOpen, owner, title, filter, startFolder, flags, {}, {});
}

std::string AskSaveFileName(HWND owner, std::string_view title, std::string_view filter,
                            const std::string& startFolder, std::string_view suggestedName,
                            std::string_view defaultExtension) {
  return AskFileName(DialogKind::kSave, owner, title, filter, startFolder,
                     OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, suggestedName, defaultExtension);
}

}  // namespace qr
