// What every window of the program does the same way: the state a window procedure
// finds through its window, child controls, texts and fonts.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qr {

// The per-window state a window procedure works on: the pointer handed to
// CreateWindowEx as its creation parameter, kept with the window from WM_NCCREATE
// on. Call it first for every message; null until the window holds its state.
template <typename State>
State* WindowState(HWND hwnd, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// A visible child control of `parent` with number `id`; WS_CHILD and WS_VISIBLE are
// added to `style`, WS_EX_NOPARENTNOTIFY to `exStyle`. Class and text are UTF-8, as
// every text the kit takes. The rectangle is given at 96 dpi: the child is made at the
// parent's DPI, and both the DPI and the rectangle are remembered, to lay the child out
// again at another (LayOutForDpi). Given `font`, the child is made hidden, takes the
// font and only then shows: it never measures or draws itself in the system font, and
// an edit, which takes a cached device context while it is made, gives it back when it
// shows, free for the next control (Wine makes a new display device context, a dozen
// round trips to its server, for each control that finds none free).
HWND AddChild(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y,
              int w, int h, DWORD exStyle = 0, HFONT font = nullptr);
// The same in the dialog font at the parent's DPI, as controls of a form have it.
HWND AddFormChild(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y,
                  int w, int h, DWORD exStyle = 0);

// Gives `control` the dialog font at its DPI (GuiFontForDpi), or `font`.
void SetControlFont(HWND control, HFONT font = nullptr);

// A window's whole text ("" for a null window), and setting it.
std::string WindowText(HWND hwnd);
void SetWindowTextUtf8(HWND hwnd, std::string_view text);

// A new font of `points` at the DPI `hwnd` is laid out at (LayoutDpi). The caller owns it.
HFONT FontFromPoints(HWND hwnd, const char* face, int points, int weight, bool italic = false);

// The screen's pixels per vertical inch (96 when the screen cannot tell).
int ScreenPixelsPerInchY();

// The outer size of a window of `style` whose client area is width x height at 96 dpi,
// at the system's DPI.
SIZE OuterSizeForClient(int width, int height, DWORD style, bool menu = false, DWORD exStyle = 0);

// The top-left corner that centres a window of `size` over `owner`'s outer rectangle.
POINT CentreOver(HWND owner, SIZE size);

}  // namespace qr
