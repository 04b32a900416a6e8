#include "wingui/clipboard_win.h"

#include <cstring>
#include <string>

#include "wingui/window_win.h"

namespace qr {

namespace {

// The focused control when it is a one-line edit field of `form`, else null.
HWND FocusedEditField(HWND form) {
  HWND focus = GetFocus();
  if (!focus || !form || GetParent(focus) != form) return nullptr;
  char cls[16] = {};
  GetClassNameA(focus, cls, sizeof cls);
  if (lstrcmpiA(cls, "Edit") != 0) return nullptr;
  if (GetWindowLongPtrA(focus, GWL_STYLE) & ES_MULTILINE) return nullptr;
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

bool PutText(HWND owner, const std::string& text) {
  ClipboardSession clip(owner);
  if (!clip.ok() || !EmptyClipboard()) return false;
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!mem) return false;
  if (void* p = GlobalLock(mem)) {
    std::memcpy(p, text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
  }
  if (!SetClipboardData(CF_TEXT, mem)) {
    GlobalFree(mem);  // still ours when the clipboard did not take it
    return false;
  }
  return true;
}

bool GetText(HWND owner, std::string* text) {
  ClipboardSession clip(owner);
  if (!clip.ok()) return false;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return false;
  const char* p = static_cast<const char*>(GlobalLock(data));
  if (!p) return false;
  text->assign(p, strnlen(p, GlobalSize(data)));
  GlobalUnlock(data);
  return true;
}

}  // namespace

void CutFocusedField(HWND form) {
  if (HWND field = FocusedEditField(form)) {
    if (PutText(form, WindowText(field))) SetWindowTextA(field, "");
  }
}

void CopyFocusedField(HWND form) {
  if (HWND field = FocusedEditField(form)) PutText(form, WindowText(field));
}

void PasteIntoFocusedField(HWND form) {
  std::string text;
  if (HWND field = FocusedEditField(form); field && GetText(form, &text))
    SetWindowTextA(field, text.c_str());
}

}  // namespace qr
