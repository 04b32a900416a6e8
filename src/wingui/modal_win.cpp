#include "wingui/modal_win.h"

#include "base/wide_text_win.h"

namespace qr {

namespace {

int modalDepth = 0;

bool IsUserInput(UINT msg) {
  return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
         (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
         (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) || msg == WM_COMMAND ||
         msg == WM_SYSCOMMAND || msg == WM_CLOSE;
}

// Handles one message for the modal `window`: input meant for any other window of the
// program is dropped.
void HandleModalMessage(HWND window, MSG& msg) {
  const bool mine = msg.hwnd == window || IsChild(window, msg.hwnd);
  if (!mine && IsUserInput(msg.message)) return;  // meant for another window: dropped
  if (mine && IsDialogMessageW(window, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace

ModalScope::ModalScope() { ++modalDepth; }
ModalScope::~ModalScope() { --modalDepth; }

bool ModalWindowOpen() { return modalDepth > 0; }

void RunModalLoop(HWND window, const bool& done) {
  ModalScope modal;
  MSG msg;
  while (!done && IsWindow(window)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    HandleModalMessage(window, msg);
  }
}

void PumpModalMessages(HWND window) {
  ModalScope modal;
  MSG msg;
  while (IsWindow(window) && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    HandleModalMessage(window, msg);
  }
}

int ShowMessageBox(HWND owner, const std::string& title, const std::string& text, unsigned flags) {
  ModalScope modal;
  return MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), flags);
}

}  // namespace qr
