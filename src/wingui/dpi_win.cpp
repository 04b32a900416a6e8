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

// What a window's children were laid out at: the DPI, and the rectangle at 96 dpi of
// each child that AddChild made or PlaceChild placed.
struct Layout {
  int dpi = 0;
  std::vector<std::pair<HWND, RECT>> bases;
};

std::unordered_map<HWND, Layout>& Layouts() {
  static std::unordered_map<HWND, Layout> layouts;
  return layouts;
}

Layout& LayoutOf(HWND window) {
  std::unordered_map<HWND, Layout>& layouts = Layouts();
  // Windows come and go (every About, lookup and preview window): those gone are
  // forgotten now and then.
  if (layouts.size() >= 64 && !layouts.contains(window)) {
    std::erase_if(layouts, [](const auto& entry) { return !IsWindow(entry.first); });
  }
  return layouts[window];
}

const RECT* BaseRect(HWND window, HWND child) {
  const auto it = Layouts().find(window);
  if (it == Layouts().end()) return nullptr;
  for (const auto& [made, base] : it->second.bases) {
    if (made == child) return &base;
  }
  return nullptr;
}

// `base` (96 dpi) at `dpi`, each of position and size scaled as AddChild scales them.
void PlaceAt(HWND child, const RECT& base, int dpi) {
  SetWindowPos(child, nullptr, ScaleForDpi(base.left, dpi), ScaleForDpi(base.top, dpi),
               ScaleForDpi(base.right - base.left, dpi), ScaleForDpi(base.bottom - base.top, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
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

void NoteLayoutDpi(HWND window, int dpi) { LayoutOf(window).dpi = dpi; }

void NoteBaseRect(HWND parent, HWND child, const RECT& base) {
  std::vector<std::pair<HWND, RECT>>& bases = LayoutOf(parent).bases;
  for (auto& [made, known] : bases) {
    if (made == child) {
      known = base;
      return;
    }
  }
  bases.emplace_back(child, base);
}

int LayoutDpi(HWND window) {
  const auto it = Layouts().find(window);
  return it != Layouts().end() && it->second.dpi ? it->second.dpi : WindowDpi(window);
}

void PlaceChild(HWND child, int x, int y, int w, int h) {
  const HWND parent = GetParent(child);
  const RECT base = {x, y, x + w, y + h};
  NoteBaseRect(parent, child, base);
  PlaceAt(child, base, LayoutDpi(parent));
}

void LayOutForDpi(HWND window, int dpi) {
  const int from = LayoutDpi(window);
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (GetParent(child) != window) continue;  // a child's child goes with its parent
    // A child made or placed at 96 dpi goes to that rectangle at the new DPI, always
    // from there: scaled from where it stands, it would move by a pixel or two after
    // a few changes and not come back. Any other child is scaled from where it stands.
    if (const RECT* base = BaseRect(window, child)) {
      PlaceAt(child, *base, dpi);
    } else {
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
      SetWindowPos(child, nullptr, MulDiv(r.left, dpi, from), MulDiv(r.top, dpi, from),
                   MulDiv(r.right - r.left, dpi, from), MulDiv(r.bottom - r.top, dpi, from),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
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
