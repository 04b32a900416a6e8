// The print preview window: the envelope's page image at its own size, with a note
// below it. It runs its own loop until the user closes it.
#pragma once

#include <windows.h>

#include <functional>

namespace qr {

// Opens the window (not owned by any other) at the main window's recorded position
// (mainX, mainY) moved 25 left and 10 up, calls `drawPage` for the image store number
// of the page to show (0: none) while it is still hidden, then shows it and runs its
// loop. Nothing happens when the window cannot be opened.
void RunPreviewWindow(HINSTANCE instance, int mainX, int mainY,
                      const std::function<int()>& drawPage);

}  // namespace qr
