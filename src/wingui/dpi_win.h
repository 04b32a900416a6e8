// The display scale. The program's geometry is given in pixels at 96 dots per inch and
// laid out at a window's DPI / 96; fonts are made for that DPI. A window moved to a
// monitor of another scale lays itself out again (LayOutForDpi, on WM_DPICHANGED).
#pragma once

#include <windows.h>

namespace qr {

inline constexpr int kBaseDpi = 96;

// `pixels` at 96 dpi, at `dpi` (rounded to the nearest pixel).
int ScaleForDpi(int pixels, int dpi);

// The DPI of `window` (the monitor it is on, for a window of this per-monitor aware
// program), or the system's for a null window.
int WindowDpi(HWND window);
int SystemDpi();

// The dialog font of the program's forms at `dpi`: the system's GUI font, made larger
// or smaller by dpi / 96. Shared, never to be deleted by a caller.
HFONT GuiFontForDpi(int dpi);
// Whether `font` is one of those.
bool IsGuiFont(HFONT font);

// The DPI `window`'s children were made or last laid out at, and the rectangle at 96
// dpi of each child made by AddChild; both noted by AddChild (in the program's own
// memory: no round trip to the window system for each control).
void NoteLayoutDpi(HWND window, int dpi);
void NoteBaseRect(HWND parent, HWND child, const RECT& base);
int LayoutDpi(HWND window);

// Moves and sizes a child to x, y, w, h at 96 dpi, at its parent's layout DPI; a later
// change of DPI keeps it there.
void PlaceChild(HWND child, int x, int y, int w, int h);

// Moves and sizes every child of `window` to `dpi` (those with a rectangle at 96 dpi from
// it, any other from the DPI they were laid out at), gives the controls that have the
// shared GUI font the one for `dpi`, and repaints. For WM_DPICHANGED, after the window
// took the suggested rectangle.
void LayOutForDpi(HWND window, int dpi);

// Takes WM_DPICHANGED's suggested rectangle and lays the children out again. Returns
// the new DPI, for fonts the window makes itself.
int FollowDpiChange(HWND window, WPARAM wp, LPARAM lp);

}  // namespace qr
