// The main window: building it, and reading back what shutdown and the settings
// saver need from it.
#pragma once

#include <windows.h>

#include <string>

#include "app/shell_win.h"

namespace qr {

inline constexpr char kMainWindowClass[] = "QuarraneMainWindow";
inline constexpr int kMainClientWidth = 660;
inline constexpr int kMainClientHeight = 310;

// Opens the main window with `title`, its outer top-left corner at (x, y); an x of 0
// or less becomes 250 and a y of 0 or less 200, and shows it with every control its
// first paint shows (FinishMainWindow adds the rest). Returns false when it cannot be
// opened.
bool BuildMainWindow(Shell& shell, const std::string& title, int x, int y);

// Adds what the shown window's first paint does not need, each in its place in the
// window's order (and so in the tab order): the hint line and the book path line, both
// empty until written, and PrinterCombo after the "Printer" caption, with the printers of
// the system (none when their list cannot be obtained). Listing them loads the printing
// system, so start-up calls this once the window is on screen.
void FinishMainWindow(Shell& shell);

// Closes the main window and frees what its build made.
void CloseMainWindow(Shell& shell);

// Fills the sender lines, the four positions and the book path from the book settings,
// and marks the book's placement and envelope size in the Options menu.
void FillMainWindow(Shell& shell);

// Marks "Place at True Size" and the book's envelope size in the Options menu.
void ShowEnvelopeChoices(const Shell& shell);

// Puts the window's current state into the book settings before they are saved:
// the outer window position, and the field texts once the fields exist.
void GatherBookSettings(Shell& shell);

// Writes the open book's settings to its companion file.
void SaveBookSettingsFromWindow(Shell& shell);

}  // namespace qr
