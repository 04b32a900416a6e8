#include "app/event_loop_win.h"

#include "app/commands.h"

namespace qr {

Event Event::FromCommand(WPARAM wp, LPARAM lp) {
  Event e;
  e.number = LOWORD(wp);
  const int code = HIWORD(wp);
  if (lp == 0) {  // menu (code 0) or accelerator (code 1)
    e.kind = Kind::Command;
    return e;
  }
  e.kind = Kind::Control;
  e.window = reinterpret_cast<HWND>(lp);
  switch (code) {
    case BN_CLICKED: e.action = ControlAction::LeftClick; break;
    case EN_CHANGE: e.action = ControlAction::TextChange; break;
    case EN_SETFOCUS: e.action = ControlAction::FocusReceived; break;
    case EN_KILLFOCUS: e.action = ControlAction::FocusLost; break;
    case BN_DOUBLECLICKED: e.action = ControlAction::DoubleClick; break;
    default: e.action = ControlAction::None; break;
  }
  return e;
}

Event Event::CloseBox(HWND window) {
  Event e;
  e.kind = Kind::CloseBox;
  e.window = window;
  return e;
}

void HandleEvent(Shell& shell, const Event& event) {
  const bool command = event.kind == Event::Kind::Command;
  // Quit: the close box of the main window, Escape or File > Quit.
  if ((event.kind == Event::Kind::CloseBox && event.window == shell.mainWindow) ||
      (command && (event.number == kCmdEscape || event.number == kCmdQuit))) {
    shell.quit = true;
  }
}

void RunEventLoop(Shell& shell) {
  MSG msg;
  while (!shell.quit) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) break;  // WM_QUIT or an error: nothing more will arrive
    if (shell.accelerators && TranslateAcceleratorA(shell.mainWindow, shell.accelerators.get(), &msg))
      continue;
    if (IsDialogMessageA(shell.mainWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace qr
