#include "wingui/dpi_win.h"

#include <map>
#include <vector>

#include "wingui/scoped_win.h"
#include "wingui/window_win.h"

namespace qr {

namespace {

// GetDpiForWindow and GetDpiForSystem came with Windows 10; found at run time, so the
// program still runs where they are missing (at the screen's one DPI).
using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForSystemFn = UINT(WINAPI*)();

template <typename Fn>
Fn User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const FARPROC proc = user32 ? GetProcAddress(user32, name) : nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

int ScreenDpi() {
  ScopedWindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : kBaseDpi;
}

struct ChildPlace {
  HWND child;
  RECT at96;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* places = reinterpret_cast<std::vector<ChildPlace>*>(param);
  RECT at96;
  if (ChildRectAt96(child, &at96)) places->push_back({child, at96});
  return TRUE;
}

}  // namespace

int ScaleForDpi(int pixels, int dpi) { return dpi == kBaseDpi ? pixels : MulDiv(pixels, dpi, kBaseDpi); }

int SystemDpi() {
  static const DpiForSystemFn forSystem = User32Function<DpiForSystemFn>("GetDpiForSystem");
  const int dpi = forSystem ? static_cast<int>(forSystem()) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

int WindowDpi(HWND window) {
  static const DpiForWindowFn forWindow = User32Function<DpiForWindowFn>("GetDpiForWindow");
  const int dpi = window && forWindow ? static_cast<int>(forWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

// The GUI fonts made for DPIs other than the system's, one for each, for the whole run.
std::map<int, HFONT>& ScaledGuiFonts() {
  static std::map<int, HFONT> fonts;
  return fonts;
}

HFONT GuiFontForDpi(int dpi) {
  const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  // The system's own font is made for the system's DPI; another DPI gets a copy of it
  // scaled from there.
  if (dpi == SystemDpi()) return stock;
  std::map<int, HFONT>& fonts = ScaledGuiFonts();
  if (const auto it = fonts.find(dpi); it != fonts.end()) return it->second;
  LOGFONTW lf = {};
  GetObjectW(stock, sizeof lf, &lf);
  lf.lfHeight = MulDiv(lf.lfHeight, dpi, SystemDpi());
  HFONT font = CreateFontIndirectW(&lf);
  if (!font) return stock;
  fonts[dpi] = font;
  return font;
}

bool IsGuiFont(HFONT font) {
  if (font == GetStockObject(DEFAULT_GUI_FONT)) return true;
  for (const auto& [dpi, made] : ScaledGuiFonts()) {
    if (made == font) return true;
  }
  return false;
}

void LayOutForDpi(HWND window, int dpi) {
  std::vector<ChildPlace> places;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&places));
  for (const ChildPlace& p : places) {
    if (GetParent(p.child) != window) continue;  // a child's child goes with its parent
    SetWindowPos(p.child, nullptr, ScaleForDpi(p.at96.left, dpi), ScaleForDpi(p.at96.top, dpi),
                 ScaleForDpi(p.at96.right - p.at96.left, dpi),
                 ScaleForDpi(p.at96.bottom - p.at96.top, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(p.child, WM_GETFONT, 0, 0));
    if (font && IsGuiFont(font)) SetControlFont(p.child, GuiFontForDpi(dpi));
  }
  InvalidateRect(window, nullptr, TRUE);
}

int FollowDpiChange(HWND window, WPARAM wp, LPARAM lp) {
  const int dpi = HIWORD(wp);
  const auto* suggested = reinterpret_cast<const RECT*>(lp);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutForDpi(window, dpi);
  return dpi;
}

}  // namespace qr
