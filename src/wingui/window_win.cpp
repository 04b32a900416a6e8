#include "wingui/window_win.h"

#include "base/wide_text_win.h"
#include "wingui/dpi_win.h"
#include "wingui/scoped_win.h"

namespace qr {

HWND AddChild(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y,
              int w, int h, DWORD exStyle, HFONT font) {
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  const int dpi = WindowDpi(parent);
  NoteLayoutDpi(parent, dpi);
  // As the dialog manager makes its controls: no WM_PARENTNOTIFY for each one made,
  // destroyed or clicked, which nothing here reads and which costs a message each.
  // A child given a font is made hidden and shown once it has the font (see the header).
  const DWORD visible = font ? 0 : WS_VISIBLE;
  HWND child = CreateWindowExW(
      exStyle | WS_EX_NOPARENTNOTIFY, Wide(cls).c_str(), Wide(text ? text : "").c_str(),
      WS_CHILD | visible | (style & ~WS_VISIBLE), ScaleForDpi(x, dpi), ScaleForDpi(y, dpi),
      ScaleForDpi(w, dpi), ScaleForDpi(h, dpi), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!child) return nullptr;
  NoteBaseRect(parent, child, {x, y, x + w, y + h});
  if (font) {
    SetControlFont(child, font);
    ShowWindow(child, SW_SHOWNA);
  }
  return child;
}

HWND AddFormChild(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y,
                  int w, int h, DWORD exStyle) {
  return AddChild(parent, cls, text, style, id, x, y, w, h, exStyle,
                  GuiFontForDpi(WindowDpi(parent)));
}

void SetControlFont(HWND control, HFONT font) {
  if (!font) font = GuiFontForDpi(WindowDpi(control));
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

std::string WindowText(HWND hwnd) {
  if (!hwnd) return {};
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return Utf8(text);
}

void SetWindowTextUtf8(HWND hwnd, std::string_view text) {
  if (hwnd) SetWindowTextW(hwnd, Wide(text).c_str());
}

HFONT FontFromPoints(HWND hwnd, const char* face, int points, int weight, bool italic) {
  // The DPI the window is laid out at: after WM_DPICHANGED, the one the message gave.
  const int dpi = LayoutDpi(hwnd);
  return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, weight, italic ? TRUE : FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, Wide(face).c_str());
}

int ScreenPixelsPerInchY() {
  ScopedWindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

SIZE OuterSizeForClient(int width, int height, DWORD style, bool menu, DWORD exStyle) {
  const int dpi = SystemDpi();
  RECT r = {0, 0, ScaleForDpi(width, dpi), ScaleForDpi(height, dpi)};
  AdjustWindowRectEx(&r, style, menu ? TRUE : FALSE, exStyle);
  return {r.right - r.left, r.bottom - r.top};
}

POINT CentreOver(HWND owner, SIZE size) {
  RECT r = {};
  GetWindowRect(owner, &r);
  return {r.left + ((r.right - r.left) - size.cx) / 2, r.top + ((r.bottom - r.top) - size.cy) / 2};
}

}  // namespace qr
