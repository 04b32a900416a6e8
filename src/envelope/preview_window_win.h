// The print preview window: the envelope's page image at its own size, with a note
// below it. It runs its own loop until the user closes it.
#pragma once

#include <windows.h>

#include <functional>

#include "envelope/envelope_print.h"

namespace qr {

// Opens the window (not owned by any other) at the main window's recorded position
// (mainX, mainY) moved 25 left and 10 up, calls `drawPage` for the image store number
// of the page to show (0: none) and where it stands on the paper while the window is
// still hidden, then shows it and runs its loop. Nothing happens when the window cannot
// be opened.
void RunPreviewWindow(HINSTANCE instance, int mainX, int mainY,
                      const std::function<int(PreviewPlacement&)>& drawPage);

}  // namespace qr
