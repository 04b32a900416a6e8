#include "wingui/clipboard_win.h"

#include <cstring>
#include <string>

#include "base/wide_text_win.h"
#include "wingui/window_win.h"

namespace qr {

namespace {

// The focused control when it is a one-line edit field of `form`, else null.
HWND FocusedEditField(HWND form) {
  HWND focus = GetFocus();
  if (!focus || !form || GetParent(focus) != form) return nullptr;
  wchar_t cls[16] = {};
  GetClassNameW(focus, cls, 16);
  if (lstrcmpiW(cls, L"Edit") != 0) return nullptr;
  if (GetWindowLongPtrW(focus, GWL_STYLE) & ES_MULTILINE) return nullptr;
  return focus;
}

// Opens the clipboard, retrying briefly while another program holds it.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) {
    for (int i = 0; i < 10 && !(open_ = OpenClipboard(owner)); ++i) Sleep(10);
  }
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool ok() const { return open_; }

 private:
  BOOL open_ = FALSE;
};

bool PutText(HWND owner, const std::string& utf8) {
  ClipboardSession clip(owner);
  if (!clip.ok() || !EmptyClipboard()) return false;
  const std::wstring text = Wide(utf8);
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!mem) return false;
  if (void* p = GlobalLock(mem)) {
    std::memcpy(p, text.c_str(), bytes);
    GlobalUnlock(mem);
  }
  if (!SetClipboardData(CF_UNICODETEXT, mem)) {
    GlobalFree(mem);  // still ours when the clipboard did not take it
    return false;
  }
  return true;
}

bool GetText(HWND owner, std::string* text) {
  ClipboardSession clip(owner);
  if (!clip.ok()) return false;
  // The system offers text put there in any form as CF_UNICODETEXT too.
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return false;
  const auto* p = static_cast<const wchar_t*>(GlobalLock(data));
  if (!p) return false;
  *text = Utf8(std::wstring_view(p, wcsnlen(p, GlobalSize(data) / sizeof(wchar_t))));
  GlobalUnlock(data);
  return true;
}

}  // namespace

void CutFocusedField(HWND form) {
  if (HWND field = FocusedEditField(form)) {
    if (PutText(form, WindowText(field))) SetWindowTextW(field, L"");
  }
}

void CopyFocusedField(HWND form) {
  if (HWND field = FocusedEditField(form)) PutText(form, WindowText(field));
}

void PasteIntoFocusedField(HWND form) {
  std::string text;
  if (HWND field = FocusedEditField(form); field && GetText(form, &text))
    SetWindowTextUtf8(field, text);
}

}  // namespace qr
