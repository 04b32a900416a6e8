// Windows that take the program over while they are open: the windows with loops of
// their own (About, lookup, preview), the system's dialogs and message boxes. While
// any is open the main window does nothing with the events that still reach it.
#pragma once

#include <windows.h>

#include <string>

namespace qr {

// Marks a modal window open for its lifetime. The program has one thread, so one
// count serves every window.
class ModalScope {
 public:
  ModalScope();
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
};

// Whether a modal window is open now.
bool ModalWindowOpen();

// Runs `window`'s own loop until `done` becomes true or the window is gone: messages
// for `window` and its children are handled, input meant for any other window of the
// program is dropped. A WM_QUIT is passed on to the loop outside.
void RunModalLoop(HWND window, const bool& done);

// Handles the messages already waiting, as RunModalLoop does for `window`, without
// waiting for more: for a window that shows the progress of work done meanwhile.
void PumpModalMessages(HWND window);

// A message box owned by `owner`, inside a ModalScope.
int ShowMessageBox(HWND owner, const std::string& title, const std::string& text,
                   unsigned flags = MB_OK);

}  // namespace qr
