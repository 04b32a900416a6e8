// The main event loop: every user-interface event of the main window becomes one
// UiEvent, runs through the checks and the resulting actions are carried out here.
#pragma once

#include <windows.h>

#include "app/event_rules.h"
#include "app/shell_win.h"

namespace qr {

// A WM_COMMAND of the main window as an event: menu items, shortcuts and toolbar
// buttons are commands; notifications of the form's controls are control events.
UiEvent EventFromCommand(const Shell& shell, WPARAM wp, LPARAM lp);

// Runs the checks for one event and carries out what they decide.
void HandleEvent(Shell& shell, const UiEvent& event);

// Waits for events until a quit event has been handled.
void RunEventLoop(Shell& shell);

}  // namespace qr
