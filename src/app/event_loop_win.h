// The main event loop: every user-interface event of the main window becomes one
// Event and runs through the checks in their fixed order.
#pragma once

#include <windows.h>

#include "app/shell_win.h"

namespace qr {

struct Event {
  enum class Kind { Command, Control, CloseBox, Other };
  enum class ControlAction { None, LeftClick, TextChange, FocusReceived, FocusLost, DoubleClick };

  Kind kind = Kind::Other;
  int number = 0;  // command or control number
  ControlAction action = ControlAction::None;
  HWND window = nullptr;

  // A WM_COMMAND message: a menu item, accelerator or toolbar button is a command;
  // a notification from a child control is a control event.
  static Event FromCommand(WPARAM wp, LPARAM lp);
  static Event CloseBox(HWND window);
};

// Runs the checks for one event.
void HandleEvent(Shell& shell, const Event& event);

// Waits for events until a quit event has been handled.
void RunEventLoop(Shell& shell);

}  // namespace qr
