// How the driver finds and works the windows of another process: every call that
// talks to the program is either posted or sent with a time-out, so the driver
// never blocks on a program that is busy or stuck in a modal loop.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "image.h"

namespace qr::e2e {

// Bound for every message the driver sends and waits on.
inline constexpr UINT kSendTimeoutMs = 5000;

// Visible top-level windows that belong to process `pid`.
std::vector<HWND> TopLevelWindows(DWORD pid);
std::string WindowClass(HWND window);

// A window's text through WM_GETTEXT / WM_SETTEXT (so edit controls of another
// process give their current contents). False when the program does not answer.
bool ReadText(HWND window, std::string* text);
bool WriteText(HWND window, const std::string& text);

// A child (at any depth) of `parent` with control identifier `id`.
HWND FindControl(HWND parent, int id);

// Dialogs of the process, told apart by their controls: the file dialog has a
// file-name field, the font dialog face and size lists, a message box neither.
enum class DialogKind { kMessageBox, kFileDialog, kFontDialog };
HWND FindDialog(DWORD pid, DialogKind kind);
// Any "#32770" window of the process, whatever it is.
HWND FindAnyDialog(DWORD pid);
// The message text of a message box (its non-icon static control).
std::string MessageBoxText(HWND box);

// Presses the dialog button with identifier `id` (IDOK, IDNO, ...) by posting the
// WM_COMMAND the button itself would send. False when the dialog has no such button.
bool PressDialogButton(HWND dialog, int id);

// "F1".."F12", "Escape", "Tab", "Enter", "Space", "Backspace", "Delete", "Home",
// "End", "Up", "Down", "Left", "Right", or one letter or digit.
bool ParseKey(std::string_view name, UINT* virtual_key);
void PostKey(HWND window, UINT virtual_key);
// A left click (button down and up) in the window's top-left corner area.
void PostClick(HWND window);
void PostDoubleClick(HWND window);

// The control that has the keyboard focus in the thread owning `window`.
HWND FocusedWindow(HWND window);

// Has the window and its children repaint and waits (bounded) until the program has
// drawn them, so that a screenshot shows no remains of a dialog that just closed.
void SettlePainting(HWND window);

// Copies a screen rectangle (screen coordinates) into an image.
bool CaptureScreen(const RECT& area, Image* image);

// Last Win32 error as text, for messages.
std::string LastErrorText();

}  // namespace qr::e2e
