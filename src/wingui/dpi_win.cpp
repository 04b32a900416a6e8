#include "wingui/dpi_win.h"

#include <map>
#include <unordered_map>
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

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

std::unordered_map<HWND, int>& LayoutDpis() {
  static std::unordered_map<HWND, int> dpis;
  return dpis;
}

}  // namespace

int ScaleForDpi(int pixels, int dpi) {
  return dpi == kBaseDpi ? pixels : MulDiv(pixels, dpi, kBaseDpi);
}

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

void NoteLayoutDpi(HWND window, int dpi) {
  std::unordered_map<HWND, int>& dpis = LayoutDpis();
  // Windows come and go (every About, lookup and preview window): those gone are
  // forgotten now and then.
  if (dpis.size() >= 64 && !dpis.contains(window)) {
    std::erase_if(dpis, [](const auto& entry) { return !IsWindow(entry.first); });
  }
  dpis[window] = dpi;
}

int LayoutDpi(HWND window) {
  const auto it = LayoutDpis().find(window);
  return it != LayoutDpis().end() ? it->second : WindowDpi(window);
}

void LayOutForDpi(HWND window, int dpi) {
  const int from = LayoutDpi(window);
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (GetParent(child) != window) continue;  // a child's child goes with its parent
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    // Each edge and size from the old scale to the new one.
    SetWindowPos(child, nullptr, MulDiv(r.left, dpi, from), MulDiv(r.top, dpi, from),
                 MulDiv(r.right - r.left, dpi, from), MulDiv(r.bottom - r.top, dpi, from),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    if (font && IsGuiFont(font)) SetControlFont(child, GuiFontForDpi(dpi));
  }
  NoteLayoutDpi(window, dpi);
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
