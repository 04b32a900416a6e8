// What qrobjects.dll tells the driver of a window's font: the program's font handles
// mean nothing in the driver, so the font is described from inside the program.
#pragma once

#include <windows.h>

namespace qr::e2e {

struct FontQuery {
  HWND window = nullptr;  // in: the control
  LOGFONTW font = {};     // out: its font (WM_GETFONT), as GetObjectW gives it
  BOOL found = FALSE;     // out: whether it has one
};

}  // namespace qr::e2e
